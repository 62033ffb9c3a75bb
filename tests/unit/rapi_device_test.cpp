#include <gtest/gtest.h>

#include "device/RapiDevice.h"
#include "package/PackagePrimitives.h"

using namespace vnt;

namespace {

TRapiDevice Definition(const std::string& name, uint16_t processors, int32_t minMajor, int32_t minMinor,
                       int32_t maxMajor, int32_t maxMinor) {
  TRapiDevice d;
  d.Name = name;
  d.Processors = processors;
  d.MinMajor = minMajor;
  d.MinMinor = minMinor;
  d.MaxMajor = maxMajor;
  d.MaxMinor = maxMinor;
  return d;
}

constexpr uint16_t AllProcessors = 0xFFFF;
constexpr int32_t StrongArm = 2577;

TDeviceFacts Device(const std::string& platform, int32_t major, int32_t minor, int32_t processor = StrongArm) {
  return TDeviceFacts{platform, processor, major, minor};
}

// One definition in the stream form, the match byte left out.
std::string OldFormDefinition(const std::string& name, uint32_t processors, const std::string& minVersion,
                              const std::string& maxVersion) {
  TMemoryStream s;
  WritePackageString(s, name);
  WritePackageString(s, "PocketPC");
  WritePackageString(s, "HPC");
  WriteU32(s, processors);
  WriteU32(s, 0);
  WritePackageString(s, minVersion);
  WritePackageString(s, maxVersion);
  return s.Bytes();
}

std::string Counted(uint32_t count, const std::string& body) {
  TMemoryStream s;
  WriteU32(s, count);
  s.Write(body.data(), body.size());
  return s.Bytes();
}

}  // namespace

TEST(RapiDefinitions, RoundTripKeepsEveryField) {
  TRapiDevice a = Definition("PPC2003", 0x0206, 4, 20, 4, 99);
  a.MatchByName = 1;
  a.PlatformName = "PocketPC";
  a.ExtraProcessors = 0x0010;
  TRapiDevice b = Definition("HPC2000", 0x0010, -1, 0, 3, 0);
  b.ExcludedPlatforms = "HPC, HPC Pro, Jupiter, Palm PC2";
  TMemoryStream out;
  SaveDefinitions(out, {a, b});
  TMemoryStream in(out.Bytes());
  TRapiDevices read;
  LoadDefinitions(in, true, true, read);
  EXPECT_EQ(read, (TRapiDevices{a, b}));
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(RapiDefinitions, OldFormWithoutMatchByteAndVersionTexts) {
  std::string body = OldFormDefinition("WM5", 0xABCD0200, "5.1.2", "6") + OldFormDefinition("X", 0, "", ".7");
  TMemoryStream in(Counted(2, body));
  TRapiDevices read;
  LoadDefinitions(in, false, true, read);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].MatchByName, 0);
  EXPECT_EQ(read[0].Name, "WM5");
  EXPECT_EQ(read[0].ExcludedPlatforms, "HPC");
  EXPECT_EQ(read[0].Processors, 0x0200);  // the high half of the 32-bit set is not used
  EXPECT_EQ(read[0].MinMajor, 5);
  EXPECT_EQ(read[0].MinMinor, 1);
  EXPECT_EQ(read[0].MaxMajor, 6);
  EXPECT_EQ(read[0].MaxMinor, 0);
  EXPECT_EQ(read[1].MinMajor, 0);
  EXPECT_EQ(read[1].MinMinor, 0);
  EXPECT_EQ(read[1].MaxMajor, 0);
  EXPECT_EQ(read[1].MaxMinor, 7);
}

TEST(RapiDefinitions, ReplaceOrAdd) {
  TRapiDevices list{Definition("Old", 1, 0, 0, 9, 9)};
  TMemoryStream out;
  SaveDefinitions(out, {Definition("New", 2, 0, 0, 9, 9)});
  TMemoryStream add(out.Bytes());
  LoadDefinitions(add, true, false, list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Name, "New");
  TMemoryStream replace(out.Bytes());
  LoadDefinitions(replace, true, true, list);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Name, "New");
}

TEST(RapiDefinitions, DamagedStreamsFailCleanlyAndLeaveTheList) {
  TMemoryStream good;
  SaveDefinitions(good, {Definition("PPC", 1, 3, 0, 4, 0)});
  const std::string bytes = good.Bytes();
  std::vector<std::string> damaged = {
      Counted(0xFFFFFFFFu, bytes.substr(4)),  // a count no data could hold
      Counted(2, bytes.substr(4)),            // one definition short
      bytes.substr(0, bytes.size() - 1),      // the last version text without its end
      bytes.substr(0, 9),                     // cut inside the name
      bytes.substr(0, 2),                     // cut inside the count
  };
  for (const auto& d : damaged) {
    TRapiDevices list{Definition("Kept", 1, 0, 0, 0, 0)};
    TMemoryStream in(d);
    EXPECT_THROW(LoadDefinitions(in, true, true, list), EPackageError) << d.size();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Name, "Kept");
  }
}

TEST(RapiProcessors, TableNamesAndFamilies) {
  struct TRow { int32_t Type; int Code; const char* Name; TProcessorFamily Family; };
  const TRow rows[] = {
      {1824, 1, "ARM720", TProcessorFamily::Arm},     {2080, 2, "ARM820", TProcessorFamily::Arm},
      {2336, 3, "ARM920", TProcessorFamily::Arm},     {10003, 4, "SH3", TProcessorFamily::Sh3},
      {10005, 5, "SH4", TProcessorFamily::Sh4},       {2000, 6, "MIPS2000", TProcessorFamily::Mips},
      {3000, 7, "MIPS3000", TProcessorFamily::Mips},  {4000, 8, "MIPS4000", TProcessorFamily::Mips},
      {2577, 9, "STRONGARM", TProcessorFamily::Arm},  {586, 0, "", TProcessorFamily::Other},
      {-1, 0, "", TProcessorFamily::Other},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ProcessorCode(r.Type), r.Code) << r.Type;
    EXPECT_EQ(ProcessorName(r.Type), r.Name) << r.Type;
    EXPECT_EQ(ProcessorFamilyOf(r.Type), r.Family) << r.Type;
  }
  EXPECT_TRUE(ProcessorSetHolds(0x0200, 9));
  EXPECT_FALSE(ProcessorSetHolds(0x0200, 8));
  EXPECT_FALSE(ProcessorSetHolds(0xFFFF, 16));
}

TEST(RapiPlatform, ExclusionEntriesDropTheirDigitsAndTakeSuffixes) {
  auto list = ExcludedPlatformList(" HPC, HPC Pro ,, Palm PC2 ");
  auto has = [&](const std::string& p) { return std::find(list.begin(), list.end(), p) != list.end(); };
  EXPECT_TRUE(has("HPC"));
  EXPECT_TRUE(has("HPC50"));
  EXPECT_TRUE(has("HPCPRO7"));
  EXPECT_TRUE(has("PALMPC"));
  EXPECT_TRUE(has("PALMPC12"));
  EXPECT_FALSE(has("PALMPC51"));
  EXPECT_FALSE(has(""));  // the empty entry names nothing
  EXPECT_EQ(list.size(), 3u * 51u);

  TRapiDevice d = Definition("Any", AllProcessors, 0, 0, 99, 0);
  d.ExcludedPlatforms = "HPC, HPC Pro, Jupiter, Palm PC2";
  EXPECT_FALSE(MatchesPlatform({d}, "Any", Device("Palm PC 12", 3, 0)));
  EXPECT_FALSE(MatchesPlatform({d}, "Any", Device("hpc pro", 3, 0)));
  EXPECT_TRUE(MatchesPlatform({d}, "Any", Device("PocketPC", 3, 0)));
  EXPECT_TRUE(MatchesPlatform({d}, "Any", Device("Palm PC 51", 3, 0)));
}

TEST(RapiPlatform, VersionRangeComparesMajorFirst) {
  TRapiDevice d = Definition("PPC", AllProcessors, 2, 11, 4, 0);
  EXPECT_TRUE(VersionInRange(d, 3, 0));
  EXPECT_TRUE(VersionInRange(d, 2, 11));
  EXPECT_TRUE(VersionInRange(d, 4, 0));
  EXPECT_TRUE(VersionInRange(d, 3, 99));
  EXPECT_FALSE(VersionInRange(d, 4, 1));
  EXPECT_FALSE(VersionInRange(d, 2, 10));
  EXPECT_FALSE(VersionInRange(d, 1, 50));
  EXPECT_TRUE(MatchesPlatform({d}, "PPC", Device("PocketPC", 3, 0)));
  EXPECT_FALSE(MatchesPlatform({d}, "PPC", Device("PocketPC", 4, 1)));
  // Negative bounds are open ends.
  EXPECT_TRUE(VersionInRange(Definition("", 0, -1, 0, 4, 0), -5, 0));
  EXPECT_FALSE(VersionInRange(Definition("", 0, -1, 0, 4, 0), 4, 1));
  EXPECT_TRUE(VersionInRange(Definition("", 0, 3, 0, -1, 0), 1000, 0));
  EXPECT_FALSE(VersionInRange(Definition("", 0, 3, 0, -1, 0), 2, 99));
}

TEST(RapiPlatform, MatchingGoesLastToFirstOverNameAndProcessor) {
  TRapiDevice byName = Definition("PPC", 1 << 9, 3, 0, 5, 0);
  byName.MatchByName = 1;
  byName.PlatformName = "Pocket PC";
  TRapiDevice mips = Definition("ppc", 1 << 7, 0, 0, 9, 0);
  TRapiDevice old = Definition("PPC", AllProcessors, 2, 0, 2, 99);
  TRapiDevices list{old, byName, mips};
  // The MIPS definition does not take a StrongARM; the named one does, and decides.
  EXPECT_EQ(MatchingDefinition(list, "Ppc", Device("PocketPC", 4, 0)), 1u);
  // Its platform rule refuses another platform and the search stops before the old one.
  EXPECT_FALSE(MatchesPlatform(list, "PPC", Device("Smartphone", 2, 5)));
  // Outside its version range the search goes on to the earlier definition.
  EXPECT_EQ(MatchingDefinition(list, "PPC", Device("PocketPC", 2, 5)), 0u);
  EXPECT_EQ(MatchingDefinition(list, "PPC", Device("Anything", 2, 5, 3000)), 2u);
  EXPECT_FALSE(MatchesPlatform(list, "Other", Device("PocketPC", 4, 0)));
  // An unknown processor is code 0, which only a set with bit 0 takes.
  EXPECT_FALSE(MatchesPlatform({Definition("X", 0xFFFE, 0, 0, 9, 0)}, "X", Device("P", 1, 0, 586)));
  EXPECT_TRUE(MatchesPlatform({Definition("X", 0x0001, 0, 0, 9, 0)}, "X", Device("P", 1, 0, 586)));
}

TEST(RapiPlatform, FindPlatformAndExtraProcessors) {
  TRapiDevice hpc = Definition("HPC2000", AllProcessors, 3, 0, 3, 99);
  hpc.ExtraProcessors = 1 << 9;
  TRapiDevice ppc = Definition("PPC2003", AllProcessors, 4, 0, 4, 99);
  TRapiDevice wm5 = Definition("WM5", AllProcessors, 4, 0, 5, 99);
  wm5.ExtraProcessors = 1 << 4;
  TRapiDevices list{hpc, ppc, wm5};
  EXPECT_EQ(FindPlatform(list, Device("PocketPC", 4, 20)), 2u);  // the last wins over PPC2003
  EXPECT_EQ(FindPlatform(list, Device("PocketPC", 3, 0)), 0u);
  EXPECT_EQ(FindPlatform(list, Device("PocketPC", 6, 0)), std::nullopt);
  EXPECT_TRUE(InExtraProcessors(list, Device("HPC", 3, 0)));
  EXPECT_FALSE(InExtraProcessors(list, Device("PocketPC", 4, 20)));
  EXPECT_TRUE(InExtraProcessors(list, Device("PocketPC", 4, 20, 10003)));
  EXPECT_FALSE(InExtraProcessors(list, Device("PocketPC", 6, 0, 10003)));
}

TEST(RapiOwner, NameAndCompanyByVersion) {
  std::string record(200, '\0');
  auto put = [&](size_t at, const std::u16string& text) {
    for (char16_t c : text) {
      record[at++] = char(c & 0xFF);
      record[at++] = char(c >> 8);
    }
  };
  put(0, u"J\u00F6rg");
  put(66, u"Old Co");
  put(72, u"New Co");
  EXPECT_EQ(OwnerRecordText(record, TOwnerField::Name, 4), u"J\u00F6rg");
  EXPECT_EQ(OwnerRecordText(record, TOwnerField::Company, 3), u"New Co");
  EXPECT_EQ(OwnerRecordText(record, TOwnerField::Company, 2), u"OldNew Co");  // runs into byte 72's text
  // A record that ends without a zero character, or ends before the field, or mid-character.
  EXPECT_EQ(OwnerRecordText(record.substr(0, 77), TOwnerField::Company, 3), u"Ne");
  EXPECT_EQ(OwnerRecordText(record.substr(0, 60), TOwnerField::Company, 3), u"");
  EXPECT_EQ(OwnerRecordText(std::string("A\0B", 3), TOwnerField::Name, 3), u"A");
  EXPECT_EQ(OwnerRecordText("", TOwnerField::Name, 3), u"");
}

TEST(RapiPaths, PartsOfADevicePath) {
  EXPECT_EQ(DevicePathPart("\\Windows\\Start Menu\\app.v2.lnk", TDevicePathPart::Extension), ".lnk");
  EXPECT_EQ(DevicePathPart("\\Windows\\Start Menu\\app.v2.lnk", TDevicePathPart::FileName), "app.v2.lnk");
  EXPECT_EQ(DevicePathPart("\\Windows\\Start Menu\\app.v2.lnk", TDevicePathPart::Folder), "\\Windows\\Start Menu\\");
  EXPECT_EQ(DevicePathPart("\\My.Folder\\README", TDevicePathPart::Extension), "");
  EXPECT_EQ(DevicePathPart("file.txt", TDevicePathPart::Folder), "");
  EXPECT_EQ(DevicePathPart("\\", TDevicePathPart::FileName), "");
}
