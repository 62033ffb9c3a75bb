#include "setup/LoaderFileFilter.h"

#include <algorithm>

#include "package/SetupQueries.h"
#include "package/VarList.h"

namespace vnt {

void TLoaderFileFilter::vntZipFileRestoreFile(uint32_t filterMode, int32_t id, std::string& fileName,
                                              bool& restore) {
  auto record = std::find_if(SupportFiles.begin(), SupportFiles.end(),
                             [id](const TSetupInstallerFile& f) { return f.Id == id; });
  if (record == SupportFiles.end()) {
    restore = false;
    return;
  }
  std::string folder = Vars.ExpandText(record->File.DestFolder);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  fileName = folder + FileNamePart(record->File.SourceName);
  bool isSplash = CompareTextIgnoringCase(FileNamePart(fileName), SplashFileName) == 0;
  restore = filterMode == SupportSplashPass ? isSplash : !isSplash;
  if (restore) RestoredFiles.push_back(fileName);
}

void TLoaderFileFilter::BindTo(TSetupVNTZip& zip) {
  zip.OnRestoreFile = [this, &zip](int32_t id, std::string& fileName, int32_t&, uint32_t, bool& restore) {
    vntZipFileRestoreFile(zip.FilterMode, id, fileName, restore);
  };
}

}  // namespace vnt
