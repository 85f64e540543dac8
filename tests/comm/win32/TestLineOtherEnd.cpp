// TestLine on Windows: the second port of a null-modem pair, opened by the test without
// overlapped input and output, raw 38400 8N1 as the component's side is set in the tests.
#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "comm/win32/Dcb.h"
#include "comm/win32/DevicePath.h"
#include "comm/win32/UniqueHandle.h"
#include "tests/comm/CommEvents.h"
#include "tests/comm/TestLine.h"

namespace vortana::test {
namespace {

constexpr const char* kPairVariable = "VORTANA_TEST_COM_PAIR";
// How often Read looks at the driver's queue: the test side need not be quick.
constexpr auto kReadPoll = 2ms;

}  // namespace

class TestLine::OtherEnd {
  public:
    explicit OtherEnd(const std::string& name)
        : port(::CreateFileW(DevicePathForCommName(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                             nullptr, OPEN_EXISTING, 0, nullptr)) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        COMMTIMEOUTS waitForAll{};  // Read asks only for what is queued
        if (!port || !::GetCommState(port.Get(), &dcb))
            throw std::runtime_error("cannot open the test's end of the line, " + name);
        SetLineSettings(MainWindowSettings(), dcb);
        ::SetCommState(port.Get(), &dcb);
        ::SetCommTimeouts(port.Get(), &waitForAll);
        ::PurgeComm(port.Get(), PURGE_RXCLEAR | PURGE_TXCLEAR);
    }

    DWORD Queued() const {
        COMSTAT status{};
        DWORD errors = 0;
        return ::ClearCommError(port.Get(), &errors, &status) ? status.cbInQue : 0;
    }

    UniqueHandle port;
};

TestLine::TestLine() {
    const char* pair = std::getenv(kPairVariable);
    const std::string names = pair != nullptr ? pair : "";
    const std::size_t colon = names.find(':');
    if (colon == std::string::npos)
        return;
    commName_ = names.substr(0, colon);
    other_ = std::make_unique<OtherEnd>(names.substr(colon + 1));
}

TestLine::~TestLine() = default;

void TestLine::Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(other_->port.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                         &written, nullptr))
            throw std::runtime_error("write at the test's end of the line failed");
        bytes = bytes.subspan(written);
    }
}

std::vector<std::uint8_t> TestLine::Read(std::size_t count, std::chrono::milliseconds timeout) {
    std::vector<std::uint8_t> got;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (got.size() < count && std::chrono::steady_clock::now() < end) {
        const DWORD take =
            std::min<DWORD>(other_->Queued(), static_cast<DWORD>(count - got.size()));
        if (take == 0) {
            std::this_thread::sleep_for(kReadPoll);
            continue;
        }
        const std::size_t had = got.size();
        got.resize(had + take);
        DWORD read = 0;
        if (!::ReadFile(other_->port.Get(), got.data() + had, take, &read, nullptr))
            throw std::runtime_error("read at the test's end of the line failed");
        got.resize(had + read);
    }
    return got;
}

}  // namespace vortana::test
