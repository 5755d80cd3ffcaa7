#pragma once
// Where a top-level window opens.
class QWidget;

namespace quovella {

// Moves the window so that its outer size (frame included) sits in the middle of the
// primary screen; without a screen it stays where it is.
void centreOnScreen(QWidget& window, int outerWidth, int outerHeight);

}  // namespace quovella
