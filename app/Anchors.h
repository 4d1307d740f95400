// Right-edge anchoring for controls placed at fixed positions inside a bar: the form marks such a
// control with the dynamic property "anchors" ("right": keeps its distance to the right edge;
// "leftright": also keeps its left edge and stretches), and its container with "designWidth".
#pragma once

class QWidget;

namespace vellora {

// Finds the anchored controls below root and keeps them in place whenever their container is
// resized. Call once, right after the form is set up.
void InstallAnchors(QWidget* root);

}  // namespace vellora
