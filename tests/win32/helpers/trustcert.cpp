// trustcert [--remove] <certificate.pem>: puts a certificate into (or takes it out of) the
// machine's trusted root certificates, as an administrator would, so that the web tests'
// own https server is trusted for a run.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> DerOf(const std::string& pem) {
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.data(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
    return {};
  std::vector<BYTE> der(size);
  if (!CryptStringToBinaryA(pem.data(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr))
    return {};
  return der;
}

}  // namespace

int main(int argc, char** argv) {
  const bool remove = argc == 3 && std::strcmp(argv[1], "--remove") == 0;
  if (argc != 2 && !remove) {
    std::fprintf(stderr, "usage: trustcert [--remove] <certificate.pem>\n");
    return 2;
  }
  std::ifstream file(argv[argc - 1], std::ios::binary);
  std::vector<BYTE> der = DerOf(std::string(std::istreambuf_iterator<char>(file), {}));
  PCCERT_CONTEXT cert = der.empty() ? nullptr : CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), DWORD(der.size()));
  if (!cert) {
    std::fprintf(stderr, "trustcert: no certificate in %s\n", argv[argc - 1]);
    return 1;
  }
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  BOOL ok = FALSE;
  if (store && remove) {
    PCCERT_CONTEXT found = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, cert, nullptr);
    ok = found ? CertDeleteCertificateFromStore(found) : TRUE;  // frees found
    // Wine keeps a deletion only once the store is committed.
    if (ok) CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
  } else if (store) {
    ok = CertAddCertificateContextToStore(store, cert, CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  }
  DWORD error = GetLastError();
  if (store) CertCloseStore(store, 0);
  CertFreeCertificateContext(cert);
  if (!ok) std::fprintf(stderr, "trustcert: the root store refused (error %lu)\n", error);
  return ok ? 0 : 1;
}
