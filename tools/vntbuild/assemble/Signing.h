// Authenticode signing of the setups and uninstallers the builder writes, through osslsigncode.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vnt {

struct TSignOptions {
  std::string Certificate;   // PKCS#12 (.pfx) file; empty: nothing is signed
  std::string PasswordFile;  // its first line is the certificate's password; empty: no password
  std::string TimestampUrl;  // an RFC 3161 time-stamping server; empty: no time stamp
  std::string ProductName;   // shown by Windows as the signed program's description

  bool Enabled() const { return !Certificate.empty(); }
};

class ESigningError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Takes "--sign CERT.pfx", "--sign-password-file F" and "--timestamp URL" out of the
// arguments and leaves the others in their order. Throws std::invalid_argument on an option
// without its value, one given twice, or a password file or time stamp without --sign.
TSignOptions TakeSignOptions(std::vector<std::string>& args);

// The password file's first line without its line end (a file saved on Windows ends it in
// CR LF); "" without a file. Throws ESigningError when it cannot be read or is over 1024
// characters.
std::string ReadPasswordFile(const std::string& file);

// The usage lines of those options, for the commands that take them.
const char* SignOptionsUsage();

// The osslsigncode arguments that sign `in` into `out`; the password comes on standard input,
// never on the command line, where other users could read it in the process list.
std::vector<std::string> SignCommand(const TSignOptions& options, const std::string& in, const std::string& out);

// Signs the file in place: osslsigncode writes a signed copy beside it, which then replaces
// it. On failure the file is left as it was and ESigningError says why.
void SignFile(const std::string& path, const TSignOptions& options);

// Signs a setup just written, when signing is asked for; a setup that cannot be signed is
// removed, so that no unsigned one ships by mistake.
void SignSetup(const std::string& path, const TSignOptions& options);

// A signed copy of a program in tempDir, under the program's name and with its date (products
// that share the program keep the newer one by date); answers its path.
std::string SignedCopy(const std::string& program, const TSignOptions& options, const std::string& tempDir);

}  // namespace vnt
