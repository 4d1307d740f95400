// How the command-line tools declare their options and read a command line: QCommandLineParser
// underneath, UTF-8 arguments in, usage errors as values so that a tool can print its usage and
// exit with status 2.
#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellora {

struct ToolOption {
  QString name;         // long name, used as "--name"
  QString description;  // one line for the usage text
  QString valueName;    // empty for a flag
};

class ToolCommandLine {
 public:
  // "--help" and "-h" are always understood.
  explicit ToolCommandLine(const std::vector<ToolOption>& options);

  // args excludes the program name. False on a usage error, with Error() saying what is wrong.
  bool Parse(const std::vector<std::string>& args);
  const std::string& Error() const { return error_; }

  bool HelpRequested() const;
  bool IsSet(const QString& name) const;
  // The option's value as UTF-8 (the last one when given more than once).
  std::string Value(const QString& name) const;
  std::vector<std::string> Values(const QString& name) const;
  std::vector<std::string> Positional() const;

  // The option's value as a whole number in [minimum, maximum]; a usage error otherwise.
  // Returns fallback when the option is absent.
  std::optional<std::int64_t> Integer(const QString& name, std::int64_t fallback,
                                      std::int64_t minimum, std::int64_t maximum);

  // Usage lines for the declared options, aligned, one per option.
  std::string OptionsHelp() const;

 private:
  std::vector<ToolOption> options_;
  QCommandLineParser parser_;
  std::string error_;
};

}  // namespace vellora
