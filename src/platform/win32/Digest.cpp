#include "platform/win32/Digest.h"

#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>

#include <algorithm>
#include <array>

#include "platform/win32/SystemServices.h"

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

using TDigest = std::array<BYTE, 32>;
// Both interfaces take a ULONG length: large inputs go in pieces.
constexpr size_t Piece = 1 << 24;

// CNG is what Windows itself uses since Vista and starts in a fraction of CryptoAPI's time
// (no provider to load); its entries are looked up, as XP has no bcrypt.dll.
std::optional<TDigest> CngSha256(const std::string& bytes) {
  TSystemLibrary cng("bcrypt.dll");
  auto open = cng.Proc<NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG)>("BCryptOpenAlgorithmProvider");
  auto close = cng.Proc<NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, ULONG)>("BCryptCloseAlgorithmProvider");
  auto create = cng.Proc<NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR, ULONG, ULONG)>(
      "BCryptCreateHash");
  auto add = cng.Proc<NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG)>("BCryptHashData");
  auto finish = cng.Proc<NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG)>("BCryptFinishHash");
  auto destroy = cng.Proc<NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE)>("BCryptDestroyHash");
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!open || !close || !create || !add || !finish || !destroy || open(&algorithm, L"SHA256", nullptr, 0) < 0)
    return std::nullopt;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool done = create(algorithm, &hash, nullptr, 0, nullptr, 0, 0) >= 0;
  for (size_t at = 0; done && at < bytes.size(); at += Piece) {
    ULONG length = ULONG(std::min(Piece, bytes.size() - at));
    done = add(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data() + at)), length, 0) >= 0;
  }
  TDigest digest;
  done = done && finish(hash, digest.data(), ULONG(digest.size()), 0) >= 0;
  if (hash) destroy(hash);
  close(algorithm, 0);
  return done ? std::optional<TDigest>(digest) : std::nullopt;
}

std::optional<TDigest> CryptoApiSha256(const std::string& bytes) {
  TCryptProvider provider;
  TCryptHash hash(provider.Handle);
  if (!hash.Handle) return std::nullopt;
  for (size_t at = 0; at < bytes.size(); at += Piece) {
    DWORD length = DWORD(std::min(Piece, bytes.size() - at));
    if (!CryptHashData(hash.Handle, reinterpret_cast<const BYTE*>(bytes.data() + at), length, 0)) return std::nullopt;
  }
  TDigest digest;
  DWORD size = DWORD(digest.size());
  if (!CryptGetHashParam(hash.Handle, HP_HASHVAL, digest.data(), &size, 0) || size != digest.size())
    return std::nullopt;
  return digest;
}

}  // namespace

std::optional<std::string> Sha256Hex(const std::string& bytes) {
  std::optional<TDigest> digest = CngSha256(bytes);
  if (!digest) digest = CryptoApiSha256(bytes);
  if (!digest) return std::nullopt;
  static constexpr char Hex[] = "0123456789abcdef";
  std::string text;
  for (BYTE b : *digest) {
    text += Hex[b >> 4];
    text += Hex[b & 15];
  }
  return text;
}

}  // namespace vnt
