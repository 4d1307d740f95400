// Reports of real comparisons for the report tests, and the outside programs that read them back.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <QImage>
#include <QString>
#include <QStringList>

#include "ComparisonReport.h"

namespace vellora::test {

// Compares the two texts as the window does and fills a report from what it found.
ComparisonReport MakeReport(const std::u16string& text1, const std::u16string& text2,
                            ComparisonSettings settings = {MatchMode::InOrder, 3, 0, 0},
                            std::u16string source1 = u"first.txt",
                            std::u16string source2 = u"second.txt");

std::u16string U16(std::string_view utf8);
std::string ReadFile(const std::filesystem::path& path);

// Full path of a program on PATH, or nothing.
std::optional<QString> FindProgram(const QString& name);

struct ProgramRun {
  int ExitCode = -1;
  QByteArray Output;
};
// Runs a program to its end (at most two minutes) and returns its standard output.
ProgramRun RunProgram(const QString& program, const QStringList& arguments);

// Palette colours as the pixels of a rendered page show them.
QRgb PaletteRgb(int index);
// True when some pixel of the image inside rect has exactly this colour.
bool HasColour(const QImage& image, const QRect& rect, QRgb colour);

}  // namespace vellora::test
