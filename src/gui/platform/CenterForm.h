// Places a window in the middle of the screen.
#pragma once

class QWidget;

namespace quillon {

// left = screen width / 2 - window width / 2, top likewise (integer halves).
void CenterForm(QWidget& window);

}  // namespace quillon
