// Tests of code that shows a modal window or box: WhenModalShown lets a test look at the modal
// window once the nested event loop shows it (and act while that loop runs), then closes it.
#pragma once

#include <functional>

class QWidget;

namespace vortana {

// Returns at once; the test then starts what should show the window. Closing it ends the exec().
void WhenModalShown(std::function<void(QWidget*)> look);

}  // namespace vortana
