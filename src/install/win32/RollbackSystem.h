// The rollback's reach into the machine: the removal's, and the steps that put back what
// stood before (files moved aside, old values, registrations, folders).
#pragma once

#include <functional>
#include <string>

#include "install/Rollback.h"

namespace vnt {

// progress (items undone of all) lets the windows breathe while a large run is undone;
// dropJournal deletes the journal (and its note) once only the folders are left to remove.
TRollbackSystem MachineRollbackSystem(const std::string& fontsFolder,
                                      std::function<void(size_t done, size_t total)> progress,
                                      std::function<void()> dropJournal);

}  // namespace vnt
