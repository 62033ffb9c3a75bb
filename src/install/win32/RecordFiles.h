// The uninstall record on the disk and in its Add/Remove Programs entry: whose record a file
// is, whether a record is the entry's own and unchanged (the entry keeps its SHA-256), the
// other products' records in a folder, and writing a record anew.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "install/RecordRules.h"
#include "install/UninstallData.h"

namespace vnt {

// The entry's value that keeps the SHA-256 of the record's bytes. The entry of a per-machine
// product lies under the machine's key, which only administrators can change.
constexpr char RecordDigestValue[] = "VantryRecordSHA256";

// A product's Add/Remove Programs entry.
struct TProductEntry {
  HKEY Root = HKEY_LOCAL_MACHINE;
  std::string Key;   // the whole key path below the root
  std::string Name;  // the product: the key's last part
};
TProductEntry ProductEntryOf(HKEY root, const std::string& uninstallKey, const std::string& product);

// The product of the record file at path: "" when no file is there, nothing for a file that is
// no readable record.
std::optional<std::string> RecordOwnerAt(const std::string& path);

// Why the record at path is not to be used for the entry's product; empty when it is: the
// record must be the product's, the entry's command must name it, and a digest kept in the
// entry must be that of its bytes. A record without a kept digest (written before digests
// were kept) passes.
std::string RecordTrustProblem(const TProductEntry& entry, const std::string& path, const TUninstallRecord& record,
                               const std::string& bytes);

// Keeps the digest of the record's bytes in the entry; false when it cannot.
bool StoreRecordDigest(const TProductEntry& entry, const std::string& bytes);

// What the records of other products in the folder of recordPath name.
TOtherProducts OtherProductsBeside(const std::string& recordPath, const std::string& product);

// Writes the record under a temporary name and puts it in place whole.
bool ReplaceRecordFile(const std::string& path, const std::string& bytes);

}  // namespace vnt
