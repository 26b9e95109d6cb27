#pragma once

#include "form.h"

#include <functional>
#include <windows.h>

namespace tarvino {

namespace win32 {
class WinForm;
}

// Creates the window, loads it, shows it centred and runs it until it closes.
// Returns the program's exit status: 0 when a key closed it, 1 after a
// failure has been reported. A test may put a window of its own between the
// window logic and the real one (writeThrough); the program never does.
int runInformationWindow(HINSTANCE instance,
                         const std::function<Form&(win32::WinForm&)>& writeThrough = {});

} // namespace tarvino
