#include "BinaryDocReader.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "ImportLimits.h"
#include "UPlainText.h"

namespace vellora {
namespace {

constexpr qsizetype kMaxConverterOutput = 64 * 1024 * 1024;
constexpr qsizetype kMaxConverterMessage = 4096;

QString FindProgram(const std::string& program) {
  const QString name = QString::fromStdString(program);
  if (name.contains(u'/')) {
    const QFileInfo info(name);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
  }
  return QStandardPaths::findExecutable(name);
}

struct ConverterRun {
  bool Ok = false;
  QByteArray Output;
  std::string Problem;  // why the run failed
};

std::string FirstLine(const QByteArray& bytes) {
  QString text = QString::fromUtf8(bytes).trimmed();
  const qsizetype end = text.indexOf(u'\n');
  if (end >= 0) text.truncate(end);
  return text.trimmed().toStdString();
}

ConverterRun RunConverter(const QString& program, const DocConverter& converter,
                          const std::filesystem::path& path, int timeoutMs) {
  ConverterRun run;
  QStringList arguments;
  for (const std::string& argument : converter.Arguments)
    arguments << QString::fromStdString(argument);
  // An absolute path never looks like an option to the converter.
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  arguments << QString::fromStdString((ec ? path : absolute).string());

  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.start(QIODevice::ReadOnly);
  if (!process.waitForStarted(timeoutMs)) {
    run.Problem = "it could not be started";
    return run;
  }
  QDeadlineTimer deadline(timeoutMs);
  QByteArray errors;
  while (process.state() != QProcess::NotRunning) {
    if (deadline.hasExpired()) {
      process.kill();
      process.waitForFinished(5000);
      run.Problem = "it did not finish within " +
                    (timeoutMs >= 1000 ? std::to_string(timeoutMs / 1000) + " seconds"
                                       : std::to_string(timeoutMs) + " milliseconds");
      return run;
    }
    process.waitForReadyRead(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 1000)));
    run.Output += process.readAllStandardOutput();
    errors += process.readAllStandardError();
    if (errors.size() > kMaxConverterMessage) errors.truncate(kMaxConverterMessage);
    if (run.Output.size() > kMaxConverterOutput) {
      process.kill();
      process.waitForFinished(5000);
      run.Problem = "its output was larger than the text an article can hold";
      return run;
    }
  }
  run.Output += process.readAllStandardOutput();
  errors += process.readAllStandardError();
  if (process.exitStatus() != QProcess::NormalExit) {
    run.Problem = "it stopped abnormally";
  } else if (process.exitCode() != 0) {
    const std::string message = FirstLine(errors);
    run.Problem = message.empty() ? "it failed with exit code " + std::to_string(process.exitCode())
                                  : "\"" + message + "\"";
  } else if (run.Output.size() > kMaxConverterOutput) {
    run.Problem = "its output was larger than the text an article can hold";
  } else {
    run.Ok = true;
  }
  return run;
}

std::u16string CleanConverterText(const QByteArray& output, bool dropBlankLines) {
  std::u16string text =
      NormalizeLineBreaks(FromUtf8(std::string_view(output.constData(), output.size())));
  if (dropBlankLines) {
    std::u16string kept;
    kept.reserve(text.size());
    for (const char16_t c : text)
      if (c != u'\n' || (!kept.empty() && kept.back() != u'\n')) kept.push_back(c);
    text = std::move(kept);
  }
  // Converters end the last paragraph with line breaks that are not part of the document.
  while (!text.empty() && (text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  return text;
}

}  // namespace

BinaryDocReaderOptions DefaultBinaryDocReaderOptions() {
  BinaryDocReaderOptions options;
  options.Converters.push_back({"antiword", {"-w", "0", "-m", "UTF-8.txt"}, true});
  options.Converters.push_back({"catdoc", {"-w", "-d", "utf-8"}, false});
  return options;
}

ReadOutcome<std::u16string> ReadBinaryDoc(const std::filesystem::path& path,
                                          const BinaryDocReaderOptions& options) {
  using Outcome = ReadOutcome<std::u16string>;
  std::string problems;
  for (const DocConverter& converter : options.Converters) {
    const QString program = FindProgram(converter.Program);
    if (program.isEmpty()) continue;
    const ConverterRun run = RunConverter(program, converter, path, options.TimeoutMs);
    if (run.Ok) return Outcome::Success(CleanConverterText(run.Output, converter.DropsBlankLines));
    if (!problems.empty()) problems += "; ";
    problems += converter.Program + ": " + run.Problem;
  }
  if (problems.empty())
    return Outcome::Failure(
        "it is an old binary Word document (.doc), which can only be read with the antiword or "
        "catdoc program, and neither is installed; install antiword (for example "
        "\"sudo apt install antiword\"), or save the document as .docx in a word processor and "
        "import that");
  return Outcome::Failure("it is an old binary Word document (.doc) that could not be read (" +
                          problems + "); save it as .docx in a word processor and import that");
}

}  // namespace vellora
