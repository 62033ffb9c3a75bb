// libFuzzer target: bytes as the install journal a killed run leaves. The input is read as it
// is, and, so that the checksums do not stop every change, as a journal whose frames are the
// input's parts between "|JNL" with their checksums made whole. Promises: nothing is raised; a
// journal cut short reads as the entries before the cut; one that reads is written anew and
// reads back the same.
#include <string>
#include <string_view>

#include <zlib.h>

#include "install/InstallJournal.h"
#include "package/PackagePrimitives.h"

using namespace vnt;

namespace {

std::string Framed(std::string_view payload) {
  TMemoryStream s;
  WriteU32(s, uint32_t(payload.size()));
  s.Write(payload.data(), payload.size());
  WriteU32(s, uint32_t(crc32(0L, reinterpret_cast<const Bytef*>(payload.data()), uInt(payload.size()))));
  return s.Bytes();
}

std::string FramedParts(std::string_view input) {
  std::string journal = "vJNL";
  for (;;) {
    size_t cut = input.find("|JNL");
    journal += Framed(input.substr(0, cut));
    if (cut == std::string_view::npos) return journal;
    input.remove_prefix(cut + 4);
  }
}

// Writing keeps file records in their reduced form.
TJournal AsWritten(TJournal journal) {
  for (auto& e : journal.Entries)
    if (e.Item.Kind <= UninstDeviceFile) e.Item.File = UninstallFileRecord(*e.Item.File);
  return journal;
}

bool KeepsPromises(const std::string& bytes) {
  std::optional<TJournal> journal = ReadJournal(bytes);
  if (!journal) return true;
  std::optional<TJournal> cut = ReadJournal(bytes.substr(0, bytes.size() - 1));
  if (cut && (!(cut->Start == journal->Start) || cut->Entries.size() > journal->Entries.size() ||
              !std::equal(cut->Entries.begin(), cut->Entries.end(), journal->Entries.begin())))
    return false;
  TJournal expected = AsWritten(*journal);
  std::string again = JournalOpening(expected.Start);
  for (const auto& e : expected.Entries) again += JournalFrame(e);
  std::optional<TJournal> back = ReadJournal(again);
  return back && back->Start == expected.Start && back->Entries == expected.Entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (!KeepsPromises(std::string(input)) || !KeepsPromises(FramedParts(input))) __builtin_trap();
  return 0;
}
