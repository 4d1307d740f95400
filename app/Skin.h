// The look of the windows: a Qt style sheet. The program starts with the skin it carries; a
// brand may bring another one as text.
#pragma once

#include <QString>

class QWidget;

namespace vellora {

// The built-in skin.
QString DefaultSkin();

// Applies a style sheet text to a window and everything it contains, dialogs it parents included.
void ApplySkin(QWidget* window, const QString& styleSheet);

// Makes the program's resources (skin, pictures) available; safe to call more than once.
void InitAppResources();

}  // namespace vellora
