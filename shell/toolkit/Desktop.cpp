#include "shell/toolkit/Desktop.h"

namespace vortana {

std::string StandardErrorText(std::string_view message) {
    std::string text(message);
    // UTF-8 bytes of a non-ASCII character are all 0x80 or above, so the last byte alone decides.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

void Desktop::HandleException(std::string_view message) noexcept {
    if (errorBoxOpen_)
        return;
    errorBoxOpen_ = true;
    try {
        ShowErrorBox(QString::fromStdString(StandardErrorText(message)));
    } catch (...) {
        // Nothing is left to show an error with; the handler has stopped either way.
    }
    errorBoxOpen_ = false;
}

}  // namespace vortana
