#include "vntbuild/assemble/Signing.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "vntbuild/assemble/Process.h"

namespace fs = std::filesystem;

namespace vnt {

namespace {

// Where osslsigncode reads the password that comes on its standard input. Its own "-" for
// that is recent; on POSIX systems the device works with every version.
#ifdef _WIN32
constexpr char PasswordInput[] = "-";
#else
constexpr char PasswordInput[] = "/dev/stdin";
#endif

std::string* OptionField(TSignOptions& o, const std::string& arg) {
  if (arg == "--sign") return &o.Certificate;
  if (arg == "--sign-password-file") return &o.PasswordFile;
  if (arg == "--timestamp") return &o.TimestampUrl;
  return nullptr;
}

void CheckOptions(const TSignOptions& o) {
  if (!o.Enabled() && (!o.PasswordFile.empty() || !o.TimestampUrl.empty()))
    throw std::invalid_argument("--sign-password-file and --timestamp need --sign");
  const std::string& url = o.TimestampUrl;
  if (!url.empty() && url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0)
    throw std::invalid_argument("--timestamp needs an http:// or https:// address, not \"" + url + "\"");
}

std::string ReadLog(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Says(const std::string& log, const char* phrase) { return log.find(phrase) != std::string::npos; }

// What went wrong, in words a vendor can act on; osslsigncode's own lines where we know no better.
std::string FailureText(const TSignOptions& o, const std::string& path, int exitCode, const std::string& log) {
  if (Says(log, "Wrong password") || Says(log, "mac verify failure"))
    return "wrong password for the certificate " + o.Certificate +
           (o.PasswordFile.empty() ? " (no --sign-password-file given)" : " (from " + o.PasswordFile + ")");
  if (Says(log, "PKCS#12") || Says(log, "Failed to read key or certificates"))
    return o.Certificate + " is not a PKCS#12 (.pfx) file with a certificate and its private key";
  if (Says(log, "timestamping failed") || Says(log, "HTTP failure"))
    return "the time-stamping server " + o.TimestampUrl + " gave no time stamp";
  std::string first = log.substr(0, log.find('\n'));
  return "osslsigncode failed with exit code " + std::to_string(exitCode) + " on " + path +
         (first.empty() ? "" : ": " + first);
}

void RunSigner(const TSignOptions& o, const std::string& path, const std::string& signedPath) {
  std::string password = ReadPasswordFile(o.PasswordFile);
  TSignOptions run = o;
  if (password.empty()) run.PasswordFile.clear();  // osslsigncode refuses an empty password read
  std::string log = path + ".vntsign.log";
  TProgramRun result = RunProgram(SignCommand(run, path, signedPath), password + "\n", log);
  std::string output = ReadLog(log);
  fs::remove(log);
  if (!result.Started)
    throw ESigningError("cannot run osslsigncode: is it installed? (Debian and Ubuntu: apt-get install osslsigncode)");
  if (result.ExitCode != 0 || !fs::exists(signedPath)) {
    fs::remove(signedPath);
    throw ESigningError("cannot sign " + path + ": " + FailureText(o, path, result.ExitCode, output));
  }
}

}  // namespace

std::string ReadPasswordFile(const std::string& file) {
  if (file.empty()) return "";
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ESigningError("cannot read the password file " + file);
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > 1024) throw ESigningError("the password in " + file + " is longer than 1024 characters");
  return line;
}

TSignOptions TakeSignOptions(std::vector<std::string>& args) {
  TSignOptions o;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string* field = OptionField(o, args[i]);
    if (!field) {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 == args.size() || args[i + 1].empty() || args[i + 1].rfind("--", 0) == 0)
      throw std::invalid_argument(args[i] + " needs a value");
    if (!field->empty()) throw std::invalid_argument(args[i] + " is given twice");
    *field = args[++i];
  }
  CheckOptions(o);
  args = std::move(rest);
  return o;
}

const char* SignOptionsUsage() {
  return "    --sign CERT.pfx               sign with this certificate (Authenticode, through osslsigncode)\n"
         "    --sign-password-file FILE     the certificate's password: the file's first line\n"
         "    --timestamp URL               time-stamp the signature at this RFC 3161 server\n";
}

std::vector<std::string> SignCommand(const TSignOptions& o, const std::string& in, const std::string& out) {
  std::vector<std::string> argv = {"osslsigncode", "sign", "-pkcs12", o.Certificate, "-h", "sha256"};
  if (!o.PasswordFile.empty()) argv.insert(argv.end(), {"-readpass", PasswordInput});
  if (!o.ProductName.empty()) argv.insert(argv.end(), {"-n", o.ProductName});
  if (!o.TimestampUrl.empty()) argv.insert(argv.end(), {"-ts", o.TimestampUrl});
  argv.insert(argv.end(), {"-in", in, "-out", out});
  return argv;
}

void SignFile(const std::string& path, const TSignOptions& options) {
  if (!fs::is_regular_file(path)) throw ESigningError("cannot sign " + path + ": no such file");
  if (!fs::is_regular_file(options.Certificate) || !std::ifstream(options.Certificate))
    throw ESigningError("cannot read the certificate " + options.Certificate);
  std::string signedPath = path + ".vntsign";
  fs::remove(signedPath);  // osslsigncode will not write over a file
  RunSigner(options, path, signedPath);
  fs::rename(signedPath, path);
}

void SignSetup(const std::string& path, const TSignOptions& options) {
  if (!options.Enabled()) return;
  try {
    SignFile(path, options);
  } catch (...) {
    fs::remove(path);
    throw;
  }
}

std::string SignedCopy(const std::string& program, const TSignOptions& options, const std::string& tempDir) {
  fs::create_directories(tempDir);
  fs::path copy = fs::path(tempDir) / fs::path(program).filename();
  fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
  SignFile(copy.string(), options);
  fs::last_write_time(copy, fs::last_write_time(program));
  return copy.string();
}

}  // namespace vnt
