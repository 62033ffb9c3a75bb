#include "vntbuild/assemble/Extractor.h"

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>

#include "archive/SetupVNTZip.h"
#include "archive/VolumeNames.h"
#include "package/PackagePrimitives.h"
#include "package/PeResource.h"
#include "package/SetupQueries.h"
#include "package/SetupSections.h"
#include "vntbuild/assemble/DiskFileSystem.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/StdFileStream.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

void OpenSetup(TPackage& pkg, const std::string& path) {
  std::string image;
  try {
    image = ReadWholeFile(path);
  } catch (const std::exception&) {
    throw EBuildError("cannot read " + path);
  }
  uint32_t end = 0;
  auto res = FindPeResource(image, PackageEndResourceType, PackageEndResourceName);
  if (res && res->Size >= 4) {
    TMemoryStream s(image.substr(res->FileOffset, 4));
    end = ReadU32(s);
  }
  if (!OpenPackage(pkg, path, TStdFileStream::OpenRead(path), end)) throw EBuildError("cannot open " + path);
  if (!PackageIsValid(pkg)) throw EBuildError(path + " carries no valid setup package");
}

// Windows opens a device, not a file, for these names, whatever their extension.
bool IsDeviceName(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  for (auto& c : stem) c = char(std::toupper(uint8_t(c)));
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

bool SafeName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of(":*?\"<>|") == std::string::npos &&
         !IsDeviceName(name) && name.back() != '.' && name.back() != ' ';
}

class TExtraction {
public:
  TExtraction(const std::string& setupPath, const std::string& outDir, std::ostream& progress)
      : SetupPath(setupPath), OutDir(outDir), Progress(progress), Zip(Disk) {
    Zip.OnRestoreFile = [this](int32_t id, std::string& name, int32_t&, uint32_t, bool& restore) {
      name = ExtractedPath(OutDir, Support, id, SourceNameOf(id));
      restore = true;
    };
    // A member cut by a volume switch is reported once for each of its pieces.
    Zip.OnFileRestored = [this](int32_t, std::string& name, TStream& out, int32_t) {
      auto [at, first] = Written.emplace(name, 0);
      Summary.Bytes += out.Position() - at->second;
      at->second = out.Position();
      if (!first) return;
      ++Summary.Files;
      Progress << "  " << name << "\n";
    };
    Zip.OnNeedVolume = [this](uint16_t volume, std::string& name, bool& cont) {
      name = ChangeFileExtension(SetupPath, "." + VolumeExtension(volume));
      if (!Disk.FileExists(name)) {
        MissingVolume = name;
        cont = false;
      }
    };
    Zip.OnCannotReplace = [this](int32_t, std::string& name) { Unwritable = name; };
  }

  // Restores one archive of the list; raises EBuildError when it cannot be read to its end.
  void Restore(const std::vector<TSetupInstallerFile>& records, bool support, const std::function<bool()>& run) {
    Records = &records;
    Support = support;
    bool whole = false;
    try {
      whole = run();
    } catch (const EArchiveError& e) {
      throw EBuildError(std::string("damaged archive in ") + SetupPath + ": " + e.what());
    }
    if (!MissingVolume.empty()) throw EBuildError("missing volume file " + MissingVolume);
    if (!Unwritable.empty()) throw EBuildError("cannot replace " + Unwritable);
    if (Zip.ErrorCode == 1) throw EBuildError("cannot write " + Zip.CurrentFileName);
    if (!whole) throw EBuildError(std::string("damaged archive in ") + SetupPath);
  }

  TDiskFileSystem Disk;
  std::string SetupPath, OutDir;
  std::ostream& Progress;
  TSetupVNTZip Zip;
  TExtractSummary Summary;

private:
  std::string SourceNameOf(int32_t id) const {
    for (const auto& r : *Records)
      if (r.Id == id) return r.File.SourceName;
    return std::string();
  }

  const std::vector<TSetupInstallerFile>* Records = nullptr;
  bool Support = false;
  std::string MissingVolume, Unwritable;
  std::map<std::string, uint64_t> Written;  // output name and the bytes counted for it
};

}  // namespace

std::string ExtractedPath(const std::string& outDir, bool support, int32_t id, const std::string& sourceName) {
  std::string name = FileNamePart(sourceName);
  if (!SafeName(name)) name = "file" + std::to_string(id);
  return (fs::path(outDir) / (support ? "support" : "files") / std::to_string(id) / name).string();
}

TExtractSummary ExtractSetup(const std::string& setupPath, const std::string& outDir, std::ostream& progress) {
  TPackage pkg;
  OpenSetup(pkg, setupPath);
  TSetupDescription d;
  try {
    ReadSupportFiles(pkg, d);
    ReadComponents(pkg, d);
    ReadProductFiles(pkg, d);
  } catch (const EPackageError& e) {
    throw EBuildError(std::string("damaged setup package in ") + setupPath + ": " + e.what());
  }
  TExtraction x(setupPath, outDir, progress);
  TStream& package = *pkg.PackageStream;
  auto fromPackage = [&](uint64_t position) {
    return [&x, &package, position] {
      package.Seek(position);
      return x.Zip.RestoreFromStream(package, "");
    };
  };
  TStream& supportSection = SeekSection(pkg, SecSupportArchive);
  if (ReadByte(supportSection) == 1) x.Restore(d.SupportFiles, true, fromPackage(supportSection.Position()));
  if (pkg.ArchiveOffset < 1) {
    std::string first = ChangeFileExtension(setupPath, ".001");
    if (!x.Disk.FileExists(first)) throw EBuildError("missing volume file " + first);
    x.Restore(d.ProductFiles, false, [&x, first] { return x.Zip.RestoreFromFile(first, ""); });
  } else if (d.ProductArchiveRange > 0) {
    x.Restore(d.ProductFiles, false, fromPackage(uint64_t(pkg.ArchiveOffset)));
  }
  for (const auto& c : d.Components)
    if (c.ArchiveRange > 0 && pkg.ArchiveOffset >= 1) x.Restore(d.ProductFiles, false, fromPackage(c.ArchivePosition));
  return x.Summary;
}

}  // namespace vnt
