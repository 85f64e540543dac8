// The POSIX backend's decision on a port name before anything opens it, the reasons it gives for
// a port that cannot be opened with their hints, and port discovery over a fake sysfs and /dev.
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "comm/PortDiscovery.h"
#include "comm/PortIdentity.h"
#include "comm/UsbPortName.h"
#include "comm/posix/DeviceCheck.h"
#include "comm/posix/PosixSerialPort.h"
#include "harness/FakeSysfs.h"
#include "harness/Pty.h"

namespace vortana::test {
namespace {

std::size_t OpensSeen(const UniqueFd& inotify) {
    alignas(inotify_event) char events[4096];
    std::size_t opens = 0;
    for (ssize_t n; (n = ::read(inotify.Get(), events, sizeof events)) > 0;)
        for (ssize_t at = 0; at < n; ++opens)
            at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(events + at)->len;
    return opens;
}

TEST(SerialDeviceCheck, RefusesWhatIsNoTerminalWithoutOpeningIt) {
    const ScratchTree sysWithoutTtys;
    const ScratchTree files;
    files.File("plain");
    ASSERT_EQ(::mkfifo(files.At("fifo").c_str(), 0600), 0);
    std::vector<std::string> names = {files.At("plain"), files.At("fifo")};
    // A character device of a driver that is no tty, as /dev/watchdog is, with /dev/null's
    // numbers should it be opened after all. Only root may make one.
    if (::mknod(files.At("watchdog").c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0)
        names.push_back(files.At("watchdog"));
    const UniqueFd inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    for (const std::string& name : names)
        ASSERT_GE(::inotify_add_watch(inotify.Get(), name.c_str(), IN_OPEN), 0) << name;

    for (const std::string& name : names) {
        const OpenResult result = OpenSerialPort(name, sysWithoutTtys.root);
        EXPECT_FALSE(result.port) << name;
        EXPECT_EQ(result.error, OpenError::NotACommHandle) << name;
        EXPECT_EQ(result.failure, PortFailure::NotATerminal) << name;
    }
    EXPECT_EQ(OpensSeen(inotify), 0u) << "none of them was opened";
}

TEST(SerialDeviceCheck, SysfsTellsTtyDevicesAndPseudoTerminalsNeedNone) {
    const ScratchTree sys;
    EXPECT_EQ(CheckSerialDevice("/dev/null", sys.root).refusal, PortFailure::NotATerminal);
    sys.File("class/tty/ttyFAKE0/dev", "1:3\n");
    sys.Link("dev/char/1:3", "../../class/tty/ttyFAKE0");
    EXPECT_EQ(CheckSerialDevice("/dev/null", sys.root).refusal, std::nullopt) << "a tty, by sysfs";
    sys.File("class/tty/ttyFAKE0/dev", "1:4\n");
    EXPECT_EQ(CheckSerialDevice("/dev/null", sys.root).refusal, PortFailure::NotATerminal);

    const Pty pty;
    EXPECT_TRUE(OpenSerialPort(pty.SlavePath(), sys.root).port) << "no sysfs needed";
}

TEST(PortIdentity, NamesOfOneDeviceAreOneAndOtherDevicesAreNot) {
    const Pty one;
    const Pty other;
    const ScratchTree tree;
    tree.Link("alias", one.SlavePath());
    EXPECT_EQ(PortIdentity(tree.root + "/alias"), PortIdentity(one.SlavePath()));
    EXPECT_NE(PortIdentity(other.SlavePath()), PortIdentity(one.SlavePath()));
    EXPECT_EQ(PortIdentity("COM1"), PortIdentity("/dev/ttyS0"));
    EXPECT_EQ(PortIdentity("ttyNone7"), PortIdentity("/dev/./ttyNone7"));  // by the path alone
    EXPECT_NE(PortIdentity("ttyNone7"), PortIdentity("ttyNone8"));
}

TEST(SerialPortFailure, ADeviceTheUserMayNotOpenIsPermissionDenied) {
    constexpr int kCannotDropRoot = 100;
    constexpr int kOpened = 101;
    const Pty pty;
    ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0), 0);
    const passwd* nobody = ::getpwnam("nobody");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(nobody ? nobody->pw_uid : 65534) != 0)
            ::_exit(kCannotDropRoot);
        const OpenResult result = OpenSerialPort(pty.SlavePath());
        ::_exit(result.port ? kOpened : static_cast<int>(result.failure));
    }
    int status = 0;
    ASSERT_TRUE(::waitpid(child, &status, 0) == child && WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotDropRoot)
        GTEST_SKIP() << "cannot drop root here";
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(PortFailure::PermissionDenied));
}

TEST(PortFailureHint, PermissionDeniedNamesTheDialoutGroupAndTheCommandThatJoinsIt) {
    const std::string chinese = PortFailureHintChinese(PortFailure::PermissionDenied);
    const std::string english = PortFailureHintEnglish(PortFailure::PermissionDenied);
    EXPECT_NE(chinese.find("dialout 组（sudo usermod -aG dialout $USER）"), std::string::npos);
    EXPECT_NE(english.find("dialout group (sudo usermod -aG dialout $USER)"), std::string::npos);
}

// A USB serial adapter with a by-id link, a USB modem-class device, an on-board port that answers
// and one without a UART (type 0), and a virtual console (no device), as Linux lays them out.
struct FakeMachine : FakeSysfs {
    FakeMachine() {
        UsbAdapter("ttyUSB0", "1-2", "A10K3Z1Q");
        sys.File("devices/pci0000:00/usb1/1-2/manufacturer", "FTDI\n");
        sys.File("devices/pci0000:00/usb1/1-2/product", "FT232R USB UART\n");
        dev.Link("serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3Z1Q-if00-port0", "../../ttyUSB0");
        const std::string acm = "devices/pci0000:00/usb1/1-3";
        sys.File(acm + "/idVendor", "2341\n");
        sys.File(acm + "/idProduct", "0043\n");
        Tty("ttyACM0", acm + "/1-3:1.0");  // the interface itself
        Tty("ttyS0", "devices/pnp0/00:00");
        sys.File("class/tty/ttyS0/type", "4\n");
        Tty("ttyS1", "devices/platform/serial8250");
        sys.File("class/tty/ttyS1/type", "0\n");
        sys.File("class/tty/tty1/dev", "4:1\n");  // a virtual console has no device
    }
};

TEST(DiscoverPorts, ListsDevicesWithDriversAndTheirUsbFacts) {
    const FakeMachine machine;
    const std::vector<PortInfo> ports = DiscoverPorts(machine.Roots());
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].name, "ttyACM0");
    EXPECT_EQ(ports[0].Hint(), "(2341:0043)");
    EXPECT_EQ(ports[1].name, "ttyS0");
    EXPECT_EQ(ports[1].Hint(), "");
    const PortInfo& ftdi = ports[2];
    EXPECT_EQ(ftdi.path, machine.dev.At("ttyUSB0"));
    EXPECT_EQ(ftdi.byIdPath,
              machine.dev.At("serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3Z1Q-if00-port0"));
    EXPECT_EQ(ftdi.Hint(), "FTDI FT232R USB UART (0403:6001) SN A10K3Z1Q");
    EXPECT_TRUE(PortNameLess("ttyS2", "ttyS10"));
}

TEST(FindUsbPort, FindsTheAdapterByItsExactSerialWhereverItIsPluggedIn) {
    const FakeSysfs machine;
    machine.UsbAdapter("ttyUSB0", "1-2", "A10K3Z1Q");
    machine.UsbAdapter("ttyUSB1", "1-4", "B2000");
    const UsbPortMatch found = FindUsbPort("usb:A10K3Z1Q", DiscoverPorts(machine.Roots()));
    ASSERT_TRUE(found.port) << found.failure;
    EXPECT_EQ(found.port->path, machine.dev.At("ttyUSB0"));
    EXPECT_EQ(FindUsbPort("usb:a10k3z1q", DiscoverPorts(machine.Roots())).failure,
              "no programmer with USB serial a10k3z1q is plugged in");

    machine.Unplug("ttyUSB0");
    EXPECT_EQ(FindUsbPort("usb:A10K3Z1Q", DiscoverPorts(machine.Roots())).failure,
              "no programmer with USB serial A10K3Z1Q is plugged in");
    machine.UsbAdapter("ttyUSB3", "1-3", "A10K3Z1Q");
    const UsbPortMatch replugged = FindUsbPort("usb:A10K3Z1Q", DiscoverPorts(machine.Roots()));
    ASSERT_TRUE(replugged.port) << replugged.failure;
    EXPECT_EQ(replugged.port->name, "ttyUSB3");
}

TEST(FindUsbPort, RefusesASerialSeveralAdaptersShareAndAnEmptyOne) {
    const FakeSysfs machine;
    machine.UsbAdapter("ttyUSB0", "1-2", "FT000001");
    machine.UsbAdapter("ttyUSB1", "1-3", "FT000001");
    machine.Tty("ttyS0", "devices/pnp0/00:00");  // no serial number
    const std::vector<PortInfo> ports = DiscoverPorts(machine.Roots());
    const UsbPortMatch shared = FindUsbPort("usb:FT000001", ports);
    EXPECT_FALSE(shared.port);
    EXPECT_EQ(shared.failure,
              "USB serial FT000001 is carried by ttyUSB0 and ttyUSB1: name these programmers by "
              "their ports");
    EXPECT_FALSE(FindUsbPort("usb:", ports).port);
}

}  // namespace
}  // namespace vortana::test
