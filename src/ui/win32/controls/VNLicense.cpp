#include "ui/win32/controls/VNLicense.h"

#include <richedit.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/win32/FileStream.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

// The rich edit library stays loaded while any viewer holds it.
struct TRichEditLibrary {
  HMODULE Module = nullptr;
  int Version = 0;
  int Users = 0;
};
TRichEditLibrary RichEdit;

int AcquireRichEdit() {
  if (RichEdit.Users == 0) {
    // By full path: a planted copy beside the setup is never loaded.
    std::string system = SystemSystemFolder() + "\\";
    if ((RichEdit.Module = LoadLibraryA((system + "RICHED20.DLL").c_str()))) RichEdit.Version = 2;
    else if ((RichEdit.Module = LoadLibraryA((system + "RICHED32.DLL").c_str()))) RichEdit.Version = 1;
    else return 0;
  }
  ++RichEdit.Users;
  return RichEdit.Version;
}

void ReleaseRichEdit() {
  if (RichEdit.Users == 0 || --RichEdit.Users > 0) return;
  FreeLibrary(RichEdit.Module);
  RichEdit = {};
}

struct TStreamSource {
  const std::string* Bytes;
  size_t At = 0;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto* source = reinterpret_cast<TStreamSource*>(cookie);
  size_t n = std::min(size_t(size), source->Bytes->size() - source->At);
  std::copy_n(source->Bytes->data() + source->At, n, buffer);
  source->At += n;
  *read = LONG(n);
  return 0;
}

// A plain edit breaks lines only at CR LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

TVNLicense::~TVNLicense() {
  DestroyHandle();  // before the library that runs the window goes
  Release();
}

void TVNLicense::Release() {
  if (Library) ReleaseRichEdit();
  Library = 0;
}

const char* TVNLicense::ClassName() const {
  if (Library == 2) return "RichEdit20A";
  return Library == 1 ? "RICHEDIT" : "EDIT";
}

bool TVNLicense::PrepareClass() {
  if (!UseRich || Library) return true;
  Library = AcquireRichEdit();
  return Library != 0;
}

void TVNLicense::AfterCreate() {
  if (Library != 2) return;
  LRESULT mask = SendMessageA(Handle(), EM_GETEVENTMASK, 0, 0);
  SendMessageA(Handle(), EM_SETEVENTMASK, 0, mask | ENM_LINK);
  SendMessageA(Handle(), EM_AUTOURLDETECT, TRUE, 0);
}

void TVNLicense::SetUseRichEdit(bool on) {
  if (on == UseRich) return;
  UseRich = on;
  if (on) {
    if (!PrepareClass()) return;
    Recreate();
  } else {
    int held = Library;
    Library = 0;
    Recreate();
    if (held) ReleaseRichEdit();
  }
}

// Read through our own file stream: C++ streams would add their locale machinery to the stub.
bool TVNLicense::LoadFile(const std::string& path) {
  auto in = TFileStream::OpenRead(path);
  std::string text;
  if (in) {
    text.resize(size_t(in->Size()));
    text.resize(in->Read(text.data(), text.size()));
  }
  SetText(text);
  return in != nullptr;
}

void TVNLicense::SetText(const std::string& text) {
  if (!Handle()) return;
  if (!Library) {
    SetCaption(WithCrLf(text));
    return;
  }
  TStreamSource source{&text};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadChunk};
  SendMessageA(Handle(), EM_STREAMIN, IsRichText(text) ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

LRESULT TVNLicense::Notify(NMHDR& header) {
  if (header.code != EN_LINK) return 0;
  auto& link = reinterpret_cast<ENLINK&>(header);
  if (link.msg != WM_LBUTTONDOWN) return 0;
  CHARRANGE range = link.chrg;
  if (range.cpMin == 0 && range.cpMax == -1) range.cpMax = LONG(GetWindowTextLengthA(Handle()));
  if (range.cpMax <= range.cpMin) return 0;
  std::string text(size_t(range.cpMax - range.cpMin) + 1, '\0');
  TEXTRANGEA request{range, text.data()};
  text.resize(size_t(SendMessageA(Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&request))));
  if (OpenLink) OpenLink(text);
  else ShellExecuteA(Handle(), "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return 1;
}

}  // namespace vnt
