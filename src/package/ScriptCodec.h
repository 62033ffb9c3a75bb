// The stored form of scripts: a statement count, then per statement the opcode word, the
// argument fields its opcode carries and the condition, each text scrambled with the key.
#pragma once

#include <string>

#include "package/PackageStream.h"
#include "package/ScriptTypes.h"

namespace vnt {

// Turns text into stored bytes and back (the same operation both ways).
std::string ScrambleScriptText(std::string text);

// Raises EPackageError on damaged data (counts or lengths beyond the data, short reads).
TScript ReadScript(TStream& s);
void WriteScript(TStream& s, const TScript& script);

}  // namespace vnt
