// A setup project as the builder holds it: the package's description with every record and
// script in place, and for each file the path on the author's disk that supplies its bytes.
// The project reader fills it; the assembler compresses the files into the archives and
// writes the setup.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "package/PackageWriter.h"
#include "vntbuild/assemble/VersionResource.h"
#include "vntbuild/wizard/WizardPages.h"
#include "vntbuild/wizard/WizardTexts.h"

namespace vnt {

// Record.Id of a file whose id the project leaves open: the assembler gives it the next free
// id in list order.
constexpr int32_t UnassignedFileId = -1;

// A file the build reads, and where the project names it, for messages ("p.json: /files/3/source").
struct TInputFile {
  std::string Path, Origin;
};

// A product or support file: its record (id, version, date, size and the TSetupFile fields
// as the project gives them) and where its bytes come from. The assembler takes size and date
// from the file, and the version from its version resource when it has one.
struct TProjectFile {
  std::string SourcePath;  // on the author's disk, absolute
  TSetupInstallerFile Record = [] {
    TSetupInstallerFile r;
    r.Id = UnassignedFileId;
    return r;
  }();
  // The project gave the version or the date itself: the assembler keeps it instead of
  // taking the file's own.
  bool VersionGiven = false;
  bool DateGiven = false;
  // The uninstaller that is the setup program itself: packed as an empty member, which the
  // setup fills with its own program; the source (the stub) gives the date.
  bool RunningSetup = false;
  std::string Origin;  // where the project names it, for messages
};

// Where a script's statements stand in its source: the script file, or for an inline script
// the project file and its JSON path ("p.json /scripts/start"), and each statement's line.
struct TScriptSource {
  std::string Name;
  std::vector<int> Lines;
};

struct TProject {
  std::string Path;     // the project file, for messages
  std::string BaseDir;  // relative source paths start here: the project file's folder
  // The files the build reads besides the product and support files: the project file, the
  // message and script files it names; the build writes over none of them.
  std::vector<TInputFile> OtherInputs;
  // Everything but the archives: properties, options, languages, scripts, dialogs, records.
  // Description.ProductFiles and SupportFiles are left empty: the assembler fills them
  // from the lists below, in their order.
  TPackageContent Content;
  std::vector<TProjectFile> ProductFiles;
  std::vector<TProjectFile> SupportFiles;
  // The setup's uninstaller program, added as "VNTUNINST.DAT" when the setup creates an
  // uninstaller (option 6); empty: the setup program itself, as an empty member.
  std::string UninstallerPath;
  // Components whose files (those that belong to that component alone) get an archive of
  // their own, restored only when the component is chosen.
  std::vector<std::string> ComponentArchives;
  // The default wizard's texts per language name, over the built-in ones.
  TWizardTranslations WizardTranslations;
  // Pages of the project's own that go into the default wizard ("pages").
  std::vector<TWizardPage> WizardPages;
  // product.launch: the program the default wizard's finish page offers to start.
  std::string LaunchProgram;
  // The project lists its dialogs, possibly none ("dialogs": []: no wizard, the setup installs
  // at once); without the key the builder gives it the default wizard.
  bool DialogsGiven = false;
  // The setup program's own icon file ("product/icon"); no path: the stub's icon stays.
  TInputFile Icon;
  // The setup program's version resource, defaults filled in; an empty original file name
  // becomes the setup's own file name.
  TVersionInfo VersionInfo;
  // Product archive in volume files of at most this many bytes beside the setup; 0: inside.
  uint64_t VolumeSize = 0;
  // For messages about what the project names: each script's source by the script's JSON
  // path ("/dialogs/2/controls/5/script"), and the JSON paths of the name lists written as
  // arrays, whose items have paths of their own ("/files/3/components/0").
  std::map<std::string, TScriptSource> ScriptSources;
  std::set<std::string> ArrayLists;
};

}  // namespace vnt
