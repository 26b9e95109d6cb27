#pragma once

#include "window_text.h"

namespace tarvino {

// What the window logic needs of the toolkit's window beyond writing text.
class Form : public WindowText {
public:
    // Closes the window; with it the program ends.
    virtual void unload() = 0;
};

} // namespace tarvino
