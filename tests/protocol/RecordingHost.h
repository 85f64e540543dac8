// An OperationHost that writes down every call as one line of text, in order, and keeps the
// bytes sent and the rows appended. `onMessage` stands in for the nested event loop of a
// message box: whatever it does happens while the box is open.
#pragma once

#include "protocol/OperationHost.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vortana {

class RecordingHost : public OperationHost {
  public:
    std::vector<std::string> log;
    std::vector<std::vector<std::uint8_t>> sent;
    std::vector<std::string> rows;
    std::function<void(const std::string&)> onMessage;
    bool portOpen = true;

    bool PortOpen() const override { return portOpen; }

    // Frames up to 12 bytes are written out in hexadecimal; longer sends by their size.
    void SendBytes(std::span<const std::uint8_t> bytes) override {
        sent.emplace_back(bytes.begin(), bytes.end());
        std::string line = "send";
        if (bytes.size() > 12) {
            line += " " + std::to_string(bytes.size()) + " bytes";
        } else {
            for (std::uint8_t byte : bytes) {
                char text[4];
                std::snprintf(text, sizeof text, " %02X", byte);
                line += text;
            }
        }
        log.push_back(line);
    }
    void ShowMessage(const std::string& text) override {
        log.push_back("box " + text);
        if (onMessage)
            onMessage(text);
    }
    void SetProgressLabel(const std::string& text) override { log.push_back("label7 " + text); }
    void SetElapsedLabel(const std::string& text) override { log.push_back("label9 " + text); }
    void SetTimer1Interval(std::uint32_t ms) override {
        log.push_back("timer1 interval " + std::to_string(ms));
    }
    void SetTimer1Enabled(bool on) override { log.push_back(on ? "timer1 on" : "timer1 off"); }
    void SetTimer2Enabled(bool on) override { log.push_back(on ? "timer2 on" : "timer2 off"); }
    void ClearReadOut() override { log.push_back("clear readout"); }
    // Logged as "rows <address of the first row> x<count>".
    void AppendReadOutRows(std::span<const std::string> added) override {
        const std::string first =
            added.empty() ? "" : added.front().substr(0, added.front().find(':'));
        log.push_back("rows " + first + " x" + std::to_string(added.size()));
        rows.insert(rows.end(), added.begin(), added.end());
    }
    void SettingsSent() override { log.push_back("reset boxes"); }
    void DownloadAccepted() override { log.push_back("enable program buttons"); }
};

}  // namespace vortana
