// Showing the brand in the main window's controls: the banner picture or animation, the link
// labels' text, and the centring of a banner inside its panel.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "BrandSettings.h"

class QLabel;

namespace vellora {

// The offset that centres a banner in its panel along one axis: each size is halved on its own,
// truncating toward zero, before the subtraction (panel 6, banner 3 gives 2). A banner larger
// than its panel gets a negative offset.
int CentredOffset(int panelSize, int bannerSize);

// Shows the banner file in stillView (sized to its picture) or, when the banner is animated, in
// animatedView (playing and repeating), hides the other control and returns the height of the
// one shown. Nothing is shown and nothing is returned when the file does not decode.
std::optional<int> ShowBanner(const BannerChoice& banner, QLabel& stillView, QLabel& animatedView);

// Rich text of a link label: the caption as a link to the address, both escaped; empty when the
// caption is empty.
QString LinkLabelText(const std::string& caption, const std::string& address);

}  // namespace vellora
