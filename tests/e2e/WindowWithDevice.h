// WindowWithDevice: the program's windows over a FakeDesktop with the main window's port on a
// pseudo-terminal that the device simulator serves, so that clicks and replies go through the
// serial component's threads and the Qt event loop as in the program.
//
// The model is set in the session state as the model list would leave it, and a download is
// started through the window's protocol with blocks built from an image the test makes, as the
// load-file handler does once the file is read. Waits run the event loop, with generous limits.
#pragma once

#include <QPushButton>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "shell/ui/TForm1.h"
#include "sim/Simulator.h"
#include "tests/support/ShellFixture.h"

namespace vortana {

using Bytes = std::vector<std::uint8_t>;

class WindowWithDevice : public ShellFixture {
  protected:
    // Starts the simulator with `config` and the windows with their port on its line.
    void StartWithDevice(sim::SimConfig config = sim::SimConfig::Immediate());

    // The chosen model: flash range, model code and image size, as the model list sets them.
    void ChooseModel(const char* code, const char* flashStart, const char* flashEnd, int sizeK);

    // Clicks a command button, enabling it first as the button course would have.
    void Click(QPushButton* TForm1::*button);

    // Clicks a command button and returns the box its outcome brought; empty when none came.
    QString Run(QPushButton* TForm1::*button);

    // Runs the event loop until `done` holds; false when it did not within the limit.
    static bool EventuallyHolds(const std::function<bool()>& done);
    // Until `count` information boxes were shown.
    bool MessagesShown(qsizetype count);
    // The last information box shown, once `count` were shown; empty when they were not.
    QString NthMessage(qsizetype count);

    // Downloads `image` (ImageSize bytes, laid out for the chosen model) through the window:
    // the header, then block 0; the device asks for the others. Returns once the device has
    // answered the download (or the limit passed) with the box it brought.
    QString Download(const Bytes& image);

    std::unique_ptr<sim::Simulator> sim_;
};

// The read-out view's rows for `bytes` listed from `listedAt` on, 16 bytes a row.
QStringList ListingRows(std::span<const std::uint8_t> bytes, std::uint32_t listedAt);

// Bytes where each address holds a value of its own, so that a listing at a wrong address or
// from a stale page shows: byte a is (a * 7 + a / 256 + seed) mod 256.
Bytes AddressPattern(std::size_t count, std::uint8_t seed = 0);

}  // namespace vortana
