#include "ToolCommandLine.h"

#include <charconv>

namespace vellora {

ToolCommandLine::ToolCommandLine(const std::vector<ToolOption>& options) : options_(options) {
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
  for (const ToolOption& o : options_) {
    parser_.addOption(o.valueName.isEmpty()
                          ? QCommandLineOption(o.name, o.description)
                          : QCommandLineOption(o.name, o.description, o.valueName));
  }
}

bool ToolCommandLine::Parse(const std::vector<std::string>& args) {
  QStringList list{QStringLiteral("tool")};
  for (const std::string& a : args) list << QString::fromStdString(a);
  if (!parser_.parse(list)) {
    error_ = parser_.errorText().toStdString();
    return false;
  }
  return true;
}

bool ToolCommandLine::HelpRequested() const {
  return parser_.isSet(QStringLiteral("help"));
}

bool ToolCommandLine::IsSet(const QString& name) const {
  return parser_.isSet(name);
}

std::string ToolCommandLine::Value(const QString& name) const {
  return parser_.value(name).toStdString();
}

std::vector<std::string> ToolCommandLine::Values(const QString& name) const {
  std::vector<std::string> out;
  for (const QString& v : parser_.values(name)) out.push_back(v.toStdString());
  return out;
}

std::vector<std::string> ToolCommandLine::Positional() const {
  std::vector<std::string> out;
  for (const QString& v : parser_.positionalArguments()) out.push_back(v.toStdString());
  return out;
}

std::optional<std::int64_t> ToolCommandLine::Integer(const QString& name, std::int64_t fallback,
                                                     std::int64_t minimum, std::int64_t maximum) {
  if (!IsSet(name)) return fallback;
  const std::string value = Value(name);
  std::int64_t parsed = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, parsed);
  if (value.empty() || ec != std::errc() || ptr != end || parsed < minimum || parsed > maximum) {
    error_ = "--" + name.toStdString() + " needs a whole number" +
             (minimum >= 0 ? " of at least " + std::to_string(minimum) : std::string()) +
             ", not \"" + value + "\"";
    return std::nullopt;
  }
  return parsed;
}

std::string ToolCommandLine::OptionsHelp() const {
  std::size_t width = 0;
  std::vector<std::string> heads;
  for (const ToolOption& o : options_) {
    std::string head = "  --" + o.name.toStdString();
    if (!o.valueName.isEmpty()) head += " " + o.valueName.toStdString();
    width = std::max(width, head.size());
    heads.push_back(head);
  }
  std::string out;
  for (std::size_t i = 0; i < options_.size(); ++i) {
    out += heads[i] + std::string(width + 2 - heads[i].size(), ' ') +
           options_[i].description.toStdString() + "\n";
  }
  return out;
}

}  // namespace vellora
