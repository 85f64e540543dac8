// The line settings expressed in termios terms, and the modem-line levels that go with them.
// Pure functions on a termios record; the device is touched elsewhere (PosixSerialPort).
//
// What termios cannot express is dropped, and written down in Termios.cpp where it is dropped.
// Safe on any thread.
#pragma once

#include <termios.h>

#include "comm/LineSettings.h"

namespace vortana {

// The levels DTR and RTS are set to when the settings apply (true: raised).
struct ModemLineLevels {
    bool Dtr = false;
    bool Rts = false;
};

// A non-canonical byte queue: no line editing, echo, signals, output processing or character
// translation, so every byte passes as received, whatever the length of a "line".
void MakeRawByteQueue(termios& t);

// MakeRawByteQueue, then speed, character size, parity, stop bits, flow control and the flow
// characters from `settings`; CLOCAL and CREAD always.
void SetLineSettings(const LineSettings& settings, termios& t);

ModemLineLevels ModemLinesFor(const LineSettings& settings);

// Whether `actual` (read back from the device) holds everything SetLineSettings put into
// `wanted`: a device may accept tcsetattr and still drop part of it.
bool LineSettingsTaken(const termios& wanted, const termios& actual);

}  // namespace vortana
