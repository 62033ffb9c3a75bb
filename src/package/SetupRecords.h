// Codecs of the setup records. Each record's field order is written once, in Transfer(), and
// serves both the reader and the writer, so the two cannot drift apart.
#pragma once

#include "package/PackagePrimitives.h"
#include "package/SetupTypes.h"

namespace vnt {

// Reads fields from a stream into a record.
class TFieldReader {
public:
  TFieldReader(TStream& s, TFieldWidth width = TFieldWidth::Wide) : S(s), Width(width) {}
  void U8(uint8_t& v) { v = ReadByte(S); }
  void U16(uint16_t& v) { v = ReadU16(S); }
  void Reserved16(uint16_t& v) { v = ReadReserved16(S, Width); }
  void I32(int32_t& v) { v = ReadI32(S); }
  void U32(uint32_t& v) { v = ReadU32(S); }
  void Dbl(double& v) { v = ReadDouble(S); }
  void Str(std::string& v) { v = ReadPackageString(S); }
  void Font(TFontRecord& v) { v = ReadFontRecord(S); }
  void Version(TVersionLimit& v, bool withServicePack) { v = ReadVersionLimit(S, withServicePack); }
  TStream& Stream() { return S; }
  static constexpr bool Reading = true;

private:
  TStream& S;
  TFieldWidth Width;
};

// Writes a record's fields to a stream.
class TFieldWriter {
public:
  TFieldWriter(TStream& s, TFieldWidth width = TFieldWidth::Wide) : S(s), Width(width) {}
  void U8(const uint8_t& v) { WriteByte(S, v); }
  void U16(const uint16_t& v) { WriteU16(S, v); }
  void Reserved16(const uint16_t& v) { WriteReserved16(S, v, Width); }
  void I32(const int32_t& v) { WriteI32(S, v); }
  void U32(const uint32_t& v) { WriteU32(S, v); }
  void Dbl(const double& v) { WriteDouble(S, v); }
  void Str(const std::string& v) { WritePackageString(S, v); }
  void Font(const TFontRecord& v) { WriteFontRecord(S, v); }
  void Version(const TVersionLimit& v, bool withServicePack) { WriteVersionLimit(S, v, withServicePack); }
  TStream& Stream() { return S; }
  static constexpr bool Reading = false;

private:
  TStream& S;
  TFieldWidth Width;
};

// A TSetupFile's 17 stored fields; the size is not stored here.
template <class A, class F>
void TransferSetupFile(A& a, F& f) {
  a.Str(f.SourceName);
  a.Str(f.DestFolder);
  a.U8(f.OverwriteMode);
  a.Reserved16(f.Reserved);
  a.Str(f.ReservedText);
  a.U8(f.Shared);
  a.U8(f.RegisterServer);
  a.U8(f.TypeLibrary);
  a.U8(f.HotSync);
  a.U8(f.RegisterServer2);
  a.U8(f.ReservedFlag);
  a.Str(f.ReservedFileName);
  a.U8(f.Font);
  a.Str(f.FontFaceName);
  a.Str(f.Group);
  a.Str(f.Components);
  a.Str(f.Condition);
}

template <class A, class R>
void TransferShortcut(A& a, R& r) {
  a.Str(r.Name);
  a.Str(r.Target);
  a.Str(r.Arguments);
  a.Str(r.Description);
  a.I32(r.ShowCommand);
  a.Str(r.Folder);
  a.Str(r.IconFile);
  a.I32(r.IconIndex);
  a.Reserved16(r.Reserved);
  a.Str(r.ReservedText);
  a.Str(r.Group);
  a.Str(r.Components);
  a.Str(r.Condition);
}

template <class A, class R>
void TransferRegChange(A& a, R& r) {
  a.U8(r.Root);
  a.Str(r.Key);
  a.I32(r.Type);
  a.Str(r.ValueName);
  a.Str(r.Data);
  a.Reserved16(r.Reserved);
  a.Str(r.ReservedText1);
  a.Str(r.ReservedText2);
  a.Str(r.Components);
  a.Str(r.Condition);
}

template <class A, class R>
void TransferDeviceFileGroup(A& a, R& g) {
  a.Str(g.Name);
  a.Str(g.DesktopFolder);
  a.Str(g.Description);
  a.Str(g.ReservedText);
  a.Str(g.CabinetFiles);
}

template <class A, class R>
void TransferComponent(A& a, R& c) {
  a.Str(c.Name);
  a.Str(c.Description);
  a.Str(c.IconFile);
  a.U32(c.ArchivePosition);
  a.U32(c.ArchiveRange);
  a.U32(c.ProgressStart);
}

template <class A, class R>
void TransferConduit(A& a, R& c) {
  a.Str(c.Creator);
  a.U8(c.Integrate);
  a.Str(c.ConduitFile);
  a.Str(c.Directory);
  a.Str(c.RemoteDatabase);
  a.Str(c.File);
  a.Str(c.Name);
  a.Str(c.Information);
  a.U8(c.Priority);
  a.Str(c.Module);
  a.U8(c.ComConduit);
  a.Str(c.ComClient);
}

template <class A, class R>
void TransferBackItem(A& a, R& b) {
  a.U8(b.Kind);
  a.U8(b.Position);
  a.U8(b.Effect);
  if (b.IsText()) {  // when reading, Kind has just been read
    a.Str(b.Text);
    a.Font(b.Font);
    a.I32(b.ShadowColor);
    a.U8(b.Shadow);
  } else {
    a.Str(b.Picture);
    a.I32(b.TransparentColor);
    a.U8(b.Transparent);
  }
}

TSetupFile ReadSetupFile(TStream& s, TFieldWidth width);
void WriteSetupFile(TStream& s, const TSetupFile& f, TFieldWidth width);
TSetupInstallerFile ReadSupportFileRecord(TStream& s);
void WriteSupportFileRecord(TStream& s, const TSetupInstallerFile& f);
TSetupInstallerFile ReadProductFileRecord(TStream& s);
void WriteProductFileRecord(TStream& s, const TSetupInstallerFile& f);
TSetupShortcut ReadShortcut(TStream& s, TFieldWidth width);
void WriteShortcut(TStream& s, const TSetupShortcut& r, TFieldWidth width);
TSetupRegChange ReadRegChange(TStream& s, TFieldWidth width);
void WriteRegChange(TStream& s, const TSetupRegChange& r, TFieldWidth width);
TSetupVariable ReadVariableRecord(TStream& s);
void WriteVariableRecord(TStream& s, const TSetupVariable& v);
TSetupBackItem ReadBackItem(TStream& s);
void WriteBackItem(TStream& s, const TSetupBackItem& b);
// Older uninstall records leave out the match-by-name byte (read as 0).
TRapiDevice ReadRapiDevice(TStream& s, bool withMatchByte = true);
void WriteRapiDevice(TStream& s, const TRapiDevice& d);

// "3.99" -> (3, 99); missing parts read as 0, anything after a second dot is ignored.
void ParseVersionText(const std::string& text, int32_t& major, int32_t& minor);
std::string FormatVersionText(int32_t major, int32_t minor);
// Variable names always carry their percent signs.
std::string WithPercentSigns(const std::string& name);

}  // namespace vnt
