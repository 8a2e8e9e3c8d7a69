// Places a window in the middle of the screen.
#pragma once

class QWidget;

namespace quillon {

// left = screen width / 2 - window width / 2, top likewise (integer halves),
// in the screen's area left free by panels, the window manager's frame and
// title bar counted; a window larger than that is first shrunk to fit (as
// far as its layout allows).
void CenterForm(QWidget& window);

}  // namespace quillon
