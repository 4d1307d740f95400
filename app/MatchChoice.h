// The window's comparison choices kept between runs in the program's settings: the match mode,
// the allowed gap (and the unit word it is counted in), and whether the passage list shows.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "UMatchBlocks.h"

class QSettings;

namespace vellora {

struct MatchChoice {
  MatchMode Mode = MatchMode::InOrder;
  std::int32_t Gap = 0;
  bool operator==(const MatchChoice&) const = default;
};

// The largest gap the window offers.
inline constexpr std::int32_t kMaxGap = 1000;

// The program's own settings of the user (the organisation and the program are both "Vellora").
std::unique_ptr<QSettings> OpenProgramSettings();

// The stored choice; anything missing or out of range gives the default for that part.
MatchChoice LoadMatchChoice(QSettings& settings);
void SaveMatchChoice(QSettings& settings, const MatchChoice& choice);

// Whether the shared-passage list is shown; hidden unless stored otherwise.
bool LoadPassagesShown(QSettings& settings);
void SavePassagesShown(QSettings& settings, bool shown);

// "word(s)", "sentence(s)" or "paragraph(s)" for the unit choice's index.
QString GapUnitText(std::int32_t unitType);

}  // namespace vellora
