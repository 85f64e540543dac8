// WindowContext: what every window is given when it is made: the one program-wide session state
// and the desktop services. Both outlive every window; user-interface thread only.
#pragma once

namespace vortana {

struct SessionState;
class Desktop;

struct WindowContext {
    SessionState& State;  // the one program-wide state
    Desktop& Desk;        // boxes, file dialog, beep, screen size, executable directory
};

}  // namespace vortana
