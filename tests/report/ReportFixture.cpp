#include "ReportFixture.h"

#include <fstream>
#include <sstream>

#include <QProcess>
#include <QStandardPaths>

#include "UCompare.h"
#include "UPlainText.h"

namespace vellora::test {

ComparisonReport MakeReport(const std::u16string& text1, const std::u16string& text2,
                            ComparisonSettings settings, std::u16string source1,
                            std::u16string source2) {
  ArticleSpans spans1;
  ArticleSpans spans2;
  const CompareOutcome outcome = CompareArticles(text1, spans1, text2, spans2, settings);
  ComparisonReport report = MakeComparisonReport(std::move(source1), text1, spans1,
                                                 std::move(source2), text2, spans2, outcome);
  report.Version = "2.0";
  report.DateTime = "2026-12-09 21:45";
  return report;
}

std::u16string U16(std::string_view utf8) {
  return FromUtf8(utf8);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::optional<QString> FindProgram(const QString& name) {
  const QString found = QStandardPaths::findExecutable(name);
  if (found.isEmpty()) return std::nullopt;
  return found;
}

ProgramRun RunProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.start(program, arguments);
  ProgramRun run;
  if (!process.waitForStarted(10000)) return run;
  process.closeWriteChannel();
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Output = process.readAllStandardOutput();
  return run;
}

QRgb PaletteRgb(int index) {
  const auto c = static_cast<std::uint32_t>(PaletteColor(index));
  return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
              static_cast<int>((c >> 16) & 0xFF));
}

bool HasColour(const QImage& image, const QRect& rect, QRgb colour) {
  const QRect area = rect.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    }
  }
  return false;
}

}  // namespace vellora::test
