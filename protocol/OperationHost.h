// OperationHost: what the dispatcher needs of the main window. The window implements it by
// writing its controls, its timers and its serial component; tests implement it by recording.
//
// Every call comes on the user-interface thread, from inside a Dispatcher entry point. Only
// ShowMessage may run a nested event loop and so re-enter the dispatcher (a reply or a timer tick
// handled while the box is open); the other calls must return without handling events.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vortana {

class OperationHost {
  public:
    virtual ~OperationHost() = default;

    // Whether Comm1 is open. Commands start only on an open port.
    virtual bool PortOpen() const = 0;

    // Comm1's SendBytes. The bytes are valid only during the call; the result is not examined
    // (a block asked for after the port closed is lost with it).
    virtual void SendBytes(std::span<const std::uint8_t> bytes) = 0;

    // The modal information box (caption "VORTANA Programer", the text, one OK button). Returns
    // when the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;

    virtual void SetProgressLabel(const std::string& text) = 0;  // Label7
    virtual void SetElapsedLabel(const std::string& text) = 0;   // Label9

    // Timer1's period in milliseconds: 0 never ticks; the same period as now changes nothing;
    // a different one restarts a running timer. Enabling a running timer does not restart it.
    virtual void SetTimer1Interval(std::uint32_t ms) = 0;
    virtual void SetTimer1Enabled(bool enabled) = 0;
    // Fixed period of 100 ms. While it runs an operation waits for the device, and the window
    // holds its command buttons disabled.
    virtual void SetTimer2Enabled(bool enabled) = 0;

    // The read-out view's list (TForm3's Memo1): empty it; append rows as new last lines, in
    // order. A read-out page comes as its 256 rows in one call so they can be added in one go.
    virtual void ClearReadOut() = 0;
    virtual void AppendReadOutRows(std::span<const std::string> rows) = 0;

    // What happened that the window's button rules answer (the window empties Edit1, Edit2 and
    // Edit3 and enables Button1 for the first, enables Button4, Button5 and Button6 for the
    // second): the settings command started (called before its frame is built, so also for a
    // burn count that then stops it); the device accepted a download.
    virtual void SettingsSent() = 0;
    virtual void DownloadAccepted() = 0;
};

}  // namespace vortana
