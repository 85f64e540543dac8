// PortFailure: why a serial port could not be opened, as far as the system tells it, and a
// one-line hint for the user that says what to do about it: in Chinese for the window, in
// English for the command line. The backend decides the reason; these texts are the same on
// every platform. Pure; safe on any thread. The hints are static UTF-8 texts.
#pragma once

namespace vortana {

enum class PortFailure {
    Other,             // anything not listed below (also failures after the device was opened)
    Missing,           // no such device, or its hardware has gone
    Busy,              // another program holds the port
    PermissionDenied,  // the user may not open the device
    NotATerminal,      // the name denotes something that is no serial line
};

const char* PortFailureHintChinese(PortFailure failure);
const char* PortFailureHintEnglish(PortFailure failure);

}  // namespace vortana
