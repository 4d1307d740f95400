// Labels placed at fixed positions were measured for one font; where the skin's font is not
// installed, a fallback font can need more room and the end of the caption would be cut. Such a
// label is widened to its text and the controls after it on its row make way.
#pragma once

class QWidget;

namespace vellora {

// Widens every label below root whose text needs more room than it has, in containers without a
// layout. The controls to its right on the same row move right by the difference; a text field
// or a stretched control (anchors "leftright") right after it gives up that width instead, so the
// row keeps its right end. Call once the skin is applied.
void FitLabelsToText(QWidget* root);

}  // namespace vellora
