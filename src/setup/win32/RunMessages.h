// The messages and questions of a run, as its switches allow: shown to the person, or, in a
// run without one, answered by their default button. Every one goes into the log.
#pragma once

#include <windows.h>

#include <string>

#include "setup/SetupSwitches.h"
#include "setup/win32/SetupLog.h"

namespace vnt {

struct TSetupState;

// A message box (MessageBoxA's flags); answers the button, chosen or by default.
int RunMessageBox(const TSetupSwitches& switches, TSetupLog& log, HWND owner, const std::string& text,
                  const std::string& caption, UINT flags);
// The same with the application title as caption.
int RunMessageBox(TSetupState& state, HWND owner, const std::string& text, UINT flags);

// The button a box answers when nobody is there: its default one.
int DefaultButton(UINT flags);

// Writes to standard output or standard error when the program has one (started from a
// console, or with its output redirected); answers false when it has none.
bool WriteToConsole(bool error, const std::string& text);

// A text for an administrator at a command line: on the console when there is one, else in
// a message box unless the switches suppress it.
void ReportToAdministrator(const TSetupSwitches& switches, const std::string& text, const std::string& caption,
                           bool error);

}  // namespace vnt
