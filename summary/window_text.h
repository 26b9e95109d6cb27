#pragma once

#include <string_view>

namespace tarvino {

// The window's controls that carry text written at run time.
enum class Control {
    LabelDriveName,
    LabelDriveSerialNumber,
    LabelTotalSize,
    LabelFileSystem,
    LabelOS,
    labelStatus,
};

// Writes a caption (or the text box's text) into the window. Text is UTF-8.
class WindowText {
public:
    virtual ~WindowText() = default;
    virtual void setText(Control control, std::string_view text) = 0;
};

} // namespace tarvino
