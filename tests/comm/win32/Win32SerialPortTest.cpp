// The Win32 backend: port names in the device namespace, the line settings as the device
// control block, names that open no serial line, Windows' own exclusive use, and the line
// settings given back on close.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "comm/PortDiscovery.h"
#include "comm/TComm.h"
#include "comm/win32/Dcb.h"
#include "comm/win32/DevicePath.h"
#include "comm/win32/SystemErrors.h"
#include "comm/win32/UniqueHandle.h"
#include "tests/comm/CommEvents.h"
#include "tests/comm/TestLine.h"

namespace vortana::test {
namespace {

std::string OpenPortError(TComm& comm, PortFailure* reason = nullptr) {
    try {
        comm.OpenPort();
    } catch (const ECommsError& error) {
        if (reason != nullptr)
            *reason = error.Reason();
        return error.what();
    }
    return "(opened)";
}

DWORD HandleCount() {
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return count;
}

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(Win32DevicePath, EveryNameIsADeviceUnlessItIsAPath) {
    const struct {
        const char* name;
        const wchar_t* path;
    } cases[] = {
        {"COM1", L"\\\\.\\COM1"},
        {"COM9", L"\\\\.\\COM9"},
        {"COM10", L"\\\\.\\COM10"},  // not reachable as plain "COM10"
        {"com256", L"\\\\.\\com256"},
        {"CNCA0", L"\\\\.\\CNCA0"},
        {"\\\\.\\COM12", L"\\\\.\\COM12"},
        {"\\\\?\\usb#vid_0403", L"\\\\?\\usb#vid_0403"},
        {"", L"\\\\.\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DevicePathForCommName(c.name), c.path) << c.name;
}

TEST(Win32Dcb, TheFlagsWordFillsTheControlBlocksFlagFields) {
    DCB dcb{};
    SetLineSettings(LineSettings{}, dcb);  // the flags word 0x1391
    EXPECT_EQ(dcb.fBinary, 1u);
    EXPECT_EQ(dcb.fParity, 0u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
    EXPECT_EQ(dcb.fOutX, 1u);
    EXPECT_EQ(dcb.fInX, 1u);
    EXPECT_EQ(dcb.fNull, 0u);
    EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(dcb.fAbortOnError, 0u);

    LineSettings s = MainWindowSettings();
    s.ParityCheck = true;
    s.ReplaceWhenParityError = true;
    s.RtsControl = TRtsControl::RtsTransmissionAvailable;
    s.DtrControl = TDtrControl::DtrHandshake;
    SetLineSettings(s, dcb);
    EXPECT_EQ(dcb.fParity, 1u);
    EXPECT_EQ(dcb.fErrorChar, 1u);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_HANDSHAKE));
    EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_TOGGLE));
}

TEST(Win32Dcb, SpeedFramingLimitsAndCharacters) {
    LineSettings s;
    s.BaudRate = 12345;  // any rate: the driver decides whether it can
    s.ByteSize = TByteSize::_7;
    s.Parity = TParity::Space;
    s.StopBits = TStopBits::_1_5;
    s.XonLimit = 100;
    s.XoffLimit = 200;
    s.XonChar = 0x21;
    s.XoffChar = 0x23;
    s.ReplacedChar = 0x3F;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.EofChar = 0x1A;
    SetLineSettings(s, dcb);
    EXPECT_EQ(dcb.BaudRate, 12345u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, SPACEPARITY);
    EXPECT_EQ(dcb.StopBits, ONE5STOPBITS);
    EXPECT_EQ(dcb.XonLim, 100);
    EXPECT_EQ(dcb.XoffLim, 200);
    EXPECT_EQ(dcb.XonChar, 0x21);
    EXPECT_EQ(dcb.XoffChar, 0x23);
    EXPECT_EQ(dcb.ErrorChar, 0x3F);
    EXPECT_EQ(dcb.EofChar, 0x1A) << "what the component has no property for stays";
    EXPECT_EQ(dcb.DCBlength, sizeof dcb);
}

TEST(Win32Open, NamesThatOpenNoSerialLineLeaveNoHandleBehind) {
    const std::filesystem::path regular =
        std::filesystem::temp_directory_path() /
        ("vortana-comm-" + std::to_string(::GetCurrentProcessId()));
    std::FILE* file = std::fopen(regular.string().c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    RecordedComm recorded("COM1");
    const DWORD handles = HandleCount();
    const struct {
        std::string name;
        const char* message;
        PortFailure reason;
    } cases[] = {
        {"COM200", "Error opening serial port", PortFailure::Missing},
        {"", "Error opening serial port", PortFailure::Missing},
        {"NUL", "File handle is not a comm handle ", PortFailure::NotATerminal},
        {regular.string(), "File handle is not a comm handle ", PortFailure::NotATerminal},
    };
    for (const auto& c : cases) {
        recorded.comm->SetCommName(c.name);
        PortFailure reason = PortFailure::Other;
        EXPECT_EQ(OpenPortError(*recorded.comm, &reason), c.message) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
        EXPECT_FALSE(recorded.comm->IsOpen()) << c.name;
    }
    EXPECT_EQ(HandleCount(), handles);
    std::filesystem::remove(regular);
}

TEST(Win32Open, ASecondOpenersAccessDeniedIsBusyAMissingPortIsMissing) {
    EXPECT_EQ(PortFailureFromWin32Error(ERROR_ACCESS_DENIED), PortFailure::Busy);
    EXPECT_EQ(PortFailureFromWin32Error(ERROR_SHARING_VIOLATION), PortFailure::Busy);
    EXPECT_EQ(PortFailureFromWin32Error(ERROR_FILE_NOT_FOUND), PortFailure::Missing);
    EXPECT_EQ(PortFailureFromWin32Error(ERROR_DEV_NOT_EXIST), PortFailure::Missing);
    EXPECT_EQ(PortFailureFromWin32Error(ERROR_GEN_FAILURE), PortFailure::Other);
}

TEST(Win32PortDiscovery, ListsThePortsTheSerialDriversAnnounce) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                          REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        GTEST_SKIP() << "announcing a port takes an administrator";
    const wchar_t value[] = L"\\Device\\VortanaTest";
    const wchar_t port[] = L"COM42";
    ::RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(port), sizeof port);
    const std::vector<PortInfo> ports = DiscoverPorts();
    ::RegDeleteValueW(key, value);
    ::RegCloseKey(key);
    const auto found = std::find_if(ports.begin(), ports.end(),
                                    [](const PortInfo& p) { return p.name == "COM42"; });
    ASSERT_NE(found, ports.end());
    EXPECT_EQ(found->path, "\\\\.\\COM42");
}

class Win32OnLine : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!line.Available())
            GTEST_SKIP() << "no serial line to test on";
    }

    // Opens the component's port as another program would and reads its speed; or sets it.
    DWORD SpeedSetElsewhere(DWORD speed = 0) {
        UniqueHandle port(::CreateFileW(DevicePathForCommName(line.CommName()).c_str(),
                                        GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!port || !::GetCommState(port.Get(), &dcb))
            return 0;
        if (speed != 0) {
            dcb.BaudRate = speed;
            ::SetCommState(port.Get(), &dcb);
        }
        return dcb.BaudRate;
    }

    TestLine line;
};

TEST_F(Win32OnLine, ASecondOpenerIsToldThePortIsBusy) {
    if (UnderWine())
        GTEST_SKIP() << "Wine lets a device be opened twice, whatever the share mode";
    RecordedComm first(line.CommName());
    ASSERT_TRUE(first.OpenAndSettle());
    RecordedComm second(line.CommName());
    EXPECT_EQ(OpenPortError(*second.comm), "Error opening serial port");
    first.comm->ClosePort();
    EXPECT_EQ(OpenPortError(*second.comm), "(opened)") << "closing gives the port up";
}

TEST_F(Win32OnLine, ClosingGivesTheLineSettingsBack) {
    ASSERT_EQ(SpeedSetElsewhere(1200), 1200u);
    RecordedComm recorded(line.CommName());
    ASSERT_TRUE(recorded.OpenAndSettle());
    if (UnderWine()) {  // only Wine lets the open port be looked at from outside
        EXPECT_EQ(SpeedSetElsewhere(), 38400u) << "the component's speed while open";
    }
    recorded.comm->ClosePort();
    EXPECT_EQ(SpeedSetElsewhere(), 1200u);
}

}  // namespace
}  // namespace vortana::test
