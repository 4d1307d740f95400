#include "BrandTool.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "AesLib.h"
#include "BrandLint.h"
#include "BrandSettings.h"
#include "BrandText.h"
#include "UUtils.h"

namespace vellora {
namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] =
    "usage: vellora-brand encrypt PLAIN CONTAINER [--password P]\n"
    "       vellora-brand decrypt CONTAINER PLAIN [--password P]\n"
    "       vellora-brand lint FILE [--password P]\n"
    "FILE may be a plain or an encrypted settings file. Without --password the program's own\n"
    "settings password is used.\n";

struct Options {
  std::string Command;
  std::vector<std::string> Files;
  std::string Password = kBrandPassword;
  bool Help = false;
};

bool Parse(const std::vector<std::string>& args, Options& o, std::string& problem) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      o.Help = true;
    } else if (a == "--password") {
      if (i + 1 >= args.size()) {
        problem = "--password needs a value";
        return false;
      }
      o.Password = args[++i];
    } else if (a.rfind("--password=", 0) == 0) {
      o.Password = a.substr(11);
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      problem = "unknown option " + a;
      return false;
    } else if (o.Command.empty()) {
      o.Command = a;
    } else {
      o.Files.push_back(a);
    }
  }
  if (o.Help) return true;
  if (o.Command != "encrypt" && o.Command != "decrypt" && o.Command != "lint") {
    problem = o.Command.empty() ? "no command given" : "unknown command " + o.Command;
    return false;
  }
  const std::size_t wanted = o.Command == "lint" ? 1 : 2;
  if (o.Files.size() != wanted) {
    problem = o.Command + " takes " + std::to_string(wanted) + " file name(s)";
    return false;
  }
  if (o.Password.size() > kMaxPasswordLength) {
    problem = "the password is longer than 128 bytes";
    return false;
  }
  return true;
}

int Encrypt(const Options& o, std::ostream& out, std::ostream& err) {
  const CryptResult r =
      EncryptFileWithPassword(o.Files[0], o.Files[1], o.Password, kFileBufferSize);
  if (!r.Ok()) {
    err << "vellora-brand: " << r.Message << "\n";
    return 1;
  }
  std::error_code ec;
  out << "encrypted \"" << o.Files[0] << "\" into \"" << o.Files[1] << "\" ("
      << fs::file_size(o.Files[1], ec) << " bytes)\n";
  return 0;
}

int Decrypt(const Options& o, std::ostream& out, std::ostream& err) {
  const CryptResult r =
      DecryptFileWithPassword(o.Files[0], o.Files[1], o.Password, kFileBufferSize);
  if (!r.Ok()) {
    err << "vellora-brand: " << r.Message << "; \"" << o.Files[1] << "\" was not written\n";
    return 1;
  }
  std::error_code ec;
  out << "decrypted \"" << o.Files[0] << "\" into \"" << o.Files[1] << "\" ("
      << fs::file_size(o.Files[1], ec) << " bytes)\n";
  return 0;
}

int Lint(const Options& o, std::ostream& out, std::ostream& err) {
  const fs::path file = o.Files[0];
  std::string plain;
  const CryptResult r = DecryptFileToString(file, o.Password, kMaxSettingsTextSize, plain);
  if (r.Ok()) {
    out << "\"" << file.string() << "\": encrypted settings file, password verified\n";
  } else if (r.Status == CryptStatus::WrongPassword || r.Status == CryptStatus::TooShort) {
    // Not a container for this password: a plain settings text is recognised by its tags.
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!in || ec || size > kMaxSettingsTextSize) {
      err << "vellora-brand: cannot read \"" << file.string() << "\"\n";
      return 1;
    }
    plain.assign(static_cast<std::size_t>(size), '\0');
    in.read(plain.data(), static_cast<std::streamsize>(plain.size()));
    if (FindIgnoringCase(plain, "<%%") == std::string::npos) {
      err << "vellora-brand: " << r.Message << ", and it holds no settings tags\n";
      return 1;
    }
    out << "\"" << file.string() << "\": plain settings text\n";
  } else {
    err << "vellora-brand: " << r.Message << "\n";
    return 1;
  }
  fs::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  const LintReport report = LintBrandText(plain, folder);
  for (const auto& line : report.Lines) out << line << "\n";
  return report.Faults == 0 ? 0 : 1;
}

}  // namespace

int RunBrandTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  std::string problem;
  if (!Parse(args, o, problem)) {
    err << "vellora-brand: " << problem << "\n" << kUsage;
    return 2;
  }
  if (o.Help) {
    out << kUsage;
    return 0;
  }
  try {
    if (o.Command == "encrypt") return Encrypt(o, out, err);
    if (o.Command == "decrypt") return Decrypt(o, out, err);
    return Lint(o, out, err);
  } catch (const std::exception& e) {
    err << "vellora-brand: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace vellora
