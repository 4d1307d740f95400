#include "MatchChoice.h"

#include <QSettings>

namespace vellora {

namespace {

const QString kModeKey = QStringLiteral("Compare/Match");
const QString kGapKey = QStringLiteral("Compare/Gap");
const QString kAnywhere = QStringLiteral("anywhere");
const QString kInOrder = QStringLiteral("in-order");
const QString kPassagesKey = QStringLiteral("Compare/PassagesShown");

}  // namespace

std::unique_ptr<QSettings> OpenProgramSettings() {
  // Named here rather than through the application object: an organisation name set there
  // would also move the program's standard data folders.
  return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Vellora"),
                                     QStringLiteral("Vellora"));
}

MatchChoice LoadMatchChoice(QSettings& settings) {
  MatchChoice choice;
  if (settings.value(kModeKey).toString() == kAnywhere) choice.Mode = MatchMode::Anywhere;
  bool ok = false;
  const int gap = settings.value(kGapKey).toString().toInt(&ok);
  if (ok && gap >= 0 && gap <= kMaxGap) choice.Gap = gap;
  return choice;
}

void SaveMatchChoice(QSettings& settings, const MatchChoice& choice) {
  settings.setValue(kModeKey, choice.Mode == MatchMode::Anywhere ? kAnywhere : kInOrder);
  settings.setValue(kGapKey, choice.Gap);
}

bool LoadPassagesShown(QSettings& settings) {
  return settings.value(kPassagesKey).toString() == QLatin1String("true");
}

void SavePassagesShown(QSettings& settings, bool shown) {
  settings.setValue(kPassagesKey, shown);
}

QString GapUnitText(std::int32_t unitType) {
  switch (unitType) {
    case 1:
      return QStringLiteral("sentence(s)");
    case 2:
      return QStringLiteral("paragraph(s)");
    default:
      return QStringLiteral("word(s)");
  }
}

}  // namespace vellora
