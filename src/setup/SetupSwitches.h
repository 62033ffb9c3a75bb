// The switches administrators give a setup or the uninstaller on the command line, for runs
// without a person: how quiet, where to, what to choose, where the log goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vnt {

enum class TQuietness : uint8_t { Interactive, Silent, VerySilent };

struct TSetupSwitches {
  TQuietness Quietness = TQuietness::Interactive;
  bool SuppressMsgBoxes = false;
  bool NoRestart = false;
  bool AllowRestart = false;  // a very silent run may restart Windows
  std::optional<std::string> Dir, Group, Lang;
  std::optional<std::vector<std::string>> Components;
  std::optional<int> Type;
  std::vector<std::pair<std::string, std::string>> Vars;  // names without percent signs
  bool Log = false;
  std::string LogFile;  // empty: the default name
  bool Usage = false;
  // The uninstaller's copy that deletes the original once it has ended: "<handle>:<path>".
  std::optional<std::string> DeleteAfter;
  // Words that are not switches: the uninstaller's record and product, or a setup's words
  // after "--", which belong to the package.
  std::vector<std::string> Words;

  bool Unattended() const { return Quietness != TQuietness::Interactive; }
  // Whether an error or a warning is shown: always when a person clicks through, in a silent
  // run unless suppressed, never in a very silent one. Nothing else shows without a person.
  bool ShowsMessages() const {
    return Quietness == TQuietness::Interactive || (Quietness == TQuietness::Silent && !SuppressMsgBoxes);
  }
};

// Which program reads the switches: the uninstaller knows only the quietness, message boxes
// and the log, and takes its record and product as plain words.
enum class TSwitchOwner : uint8_t { Setup, Uninstaller };

struct TSwitchReading {
  TSetupSwitches Switches;
  std::string Problem;  // empty when the command line is sound
};

// A setup command line that names none of the switches is the package's alone and is not
// checked (packages read their own parameters); once one is named, every word up to "--"
// must be a switch, and the words after it are the package's.
TSwitchReading ReadSetupSwitches(const std::vector<std::string>& words, TSwitchOwner owner = TSwitchOwner::Setup);

// program: the name the program was started by, shown in the examples.
std::string SetupUsageText(const std::string& program);
std::string UninstallerUsageText();

// The command line for the log: values of variables that look like secrets become "***".
std::string ElidedCommandLine(const std::vector<std::string>& words);
// Whether a variable's value is kept out of the log.
bool IsSecretName(const std::string& name);

// The log's last line: what an exit code of the setup means.
std::string SetupResultText(int exitCode);

// What a run without a person does when Windows must restart: /NORESTART never restarts, a
// silent run restarts, a very silent one only with /ALLOWRESTART. Left: exit code 3010.
enum class TRestartStep : uint8_t { NotNeeded, Restart, Leave };
TRestartStep UnattendedRestartStep(const TSetupSwitches& switches, bool needed);

// The time-out after which a very silent or silent run gives up waiting for a medium or a
// device that nobody can bring.
constexpr unsigned UnattendedWaitSeconds = 60;

}  // namespace vnt
