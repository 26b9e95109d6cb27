#pragma once

namespace tarvino::qt {

// Sets up, before QApplication exists, a Qt that draws without any GPU driver
// and still gives the window a title bar. What the user has already set in the
// environment is left as it is.
void chooseRasterOnlyPlatform();

} // namespace tarvino::qt
