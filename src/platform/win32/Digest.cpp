#include "platform/win32/Digest.h"

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>

namespace vnt {

namespace {

class TCryptProvider {
public:
  TCryptProvider() {
    if (!CryptAcquireContextA(&Handle, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) Handle = 0;
  }
  ~TCryptProvider() {
    if (Handle) CryptReleaseContext(Handle, 0);
  }
  TCryptProvider(const TCryptProvider&) = delete;
  TCryptProvider& operator=(const TCryptProvider&) = delete;
  HCRYPTPROV Handle = 0;
};

class TCryptHash {
public:
  explicit TCryptHash(HCRYPTPROV provider) {
    if (!provider || !CryptCreateHash(provider, CALG_SHA_256, 0, 0, &Handle)) Handle = 0;
  }
  ~TCryptHash() {
    if (Handle) CryptDestroyHash(Handle);
  }
  TCryptHash(const TCryptHash&) = delete;
  TCryptHash& operator=(const TCryptHash&) = delete;
  HCRYPTHASH Handle = 0;
};

}  // namespace

std::optional<std::string> Sha256Hex(const std::string& bytes) {
  TCryptProvider provider;
  TCryptHash hash(provider.Handle);
  if (!hash.Handle) return std::nullopt;
  // CryptHashData takes a DWORD length: large inputs go in pieces.
  constexpr size_t Piece = 1 << 24;
  for (size_t at = 0; at < bytes.size(); at += Piece) {
    DWORD length = DWORD(std::min(Piece, bytes.size() - at));
    if (!CryptHashData(hash.Handle, reinterpret_cast<const BYTE*>(bytes.data() + at), length, 0)) return std::nullopt;
  }
  BYTE digest[32];
  DWORD size = sizeof digest;
  if (!CryptGetHashParam(hash.Handle, HP_HASHVAL, digest, &size, 0) || size != sizeof digest) return std::nullopt;
  static constexpr char Hex[] = "0123456789abcdef";
  std::string text;
  for (BYTE b : digest) {
    text += Hex[b >> 4];
    text += Hex[b & 15];
  }
  return text;
}

}  // namespace vnt
