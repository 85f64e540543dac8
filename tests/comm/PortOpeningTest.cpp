// The POSIX backend's decision on a port name before anything opens it, the reasons it gives for
// a port that cannot be opened, and the hints that tell them to the user.
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "comm/PortFailure.h"
#include "comm/posix/DeviceCheck.h"
#include "comm/posix/PosixSerialPort.h"
#include "tests/comm/FakeTree.h"
#include "tests/comm/Pty.h"

namespace vortana::test {
namespace {

// Counts the opens of the watched paths, by anyone.
class OpenWatch {
  public:
    OpenWatch() : inotify_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    void Watch(const std::string& path) {
        ASSERT_GE(::inotify_add_watch(inotify_.Get(), path.c_str(), IN_OPEN), 0) << path;
    }
    std::size_t Opens() const {
        alignas(inotify_event) char buffer[4096];
        std::size_t opens = 0;
        for (ssize_t n; (n = ::read(inotify_.Get(), buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                opens += (event->mask & IN_OPEN) != 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        return opens;
    }

  private:
    UniqueFd inotify_;
};

TEST(SerialDeviceCheck, RefusesWhatIsNoTerminalWithoutOpeningIt) {
    const FakeTree sysWithoutTtys;
    const FakeTree files;
    files.File("plain");
    ASSERT_EQ(::mkfifo(files.Path("fifo").c_str(), 0600), 0);
    std::vector<std::string> names = {files.Path("plain"), files.Path("fifo")};
    // A character device of a driver that is no tty, as /dev/watchdog is; its numbers are
    // /dev/null's, harmless should it be opened after all. Only root may make one.
    if (::mknod(files.Path("watchdog").c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0)
        names.push_back(files.Path("watchdog"));
    OpenWatch watch;
    for (const std::string& name : names)
        watch.Watch(name);

    for (const std::string& name : names) {
        const OpenResult result = OpenSerialPort(name, sysWithoutTtys.Path());
        EXPECT_FALSE(result.port) << name;
        EXPECT_EQ(result.error, OpenError::NotACommHandle) << name;
        EXPECT_EQ(result.failure, PortFailure::NotATerminal) << name;
    }
    EXPECT_EQ(watch.Opens(), 0u) << "none of them was opened";
}

TEST(SerialDeviceCheck, SysfsTellsTtyDevicesAndPseudoTerminalsNeedNone) {
    const FakeTree sys;
    EXPECT_EQ(CheckSerialDevice("/dev/null", sys.Path()).refusal, PortFailure::NotATerminal);
    sys.File("class/tty/ttyFAKE0/dev", "1:3\n");
    sys.Link("dev/char/1:3", "../../class/tty/ttyFAKE0");
    EXPECT_EQ(CheckSerialDevice("/dev/null", sys.Path()).refusal, std::nullopt)
        << "a tty driver's device by sysfs";
    sys.File("class/tty/ttyFAKE0/dev", "1:4\n");
    EXPECT_EQ(CheckSerialDevice("/dev/null", sys.Path()).refusal, PortFailure::NotATerminal)
        << "listed under other numbers";

    sys.File("class/tty/tty/dev", "5:0\n");
    sys.Link("dev/char/5:0", "../../class/tty/tty");
    EXPECT_EQ(CheckSerialDevice("/dev/tty", sys.Path()).refusal, PortFailure::NotATerminal)
        << "a terminal, but no serial line";

    const Pty pty;
    EXPECT_EQ(CheckSerialDevice(pty.SlavePath(), sys.Path()).refusal, std::nullopt);
    EXPECT_TRUE(OpenSerialPort(pty.SlavePath(), sys.Path()).port);
}

// Opens the pty, with its permissions taken away, as a user without rights; nothing when no such
// user can be had.
std::optional<PortFailure> FailureWithoutRights(const Pty& pty) {
    constexpr int kOpened = 100;
    constexpr int kNoUserWithoutRights = 101;
    if (::chmod(pty.SlavePath().c_str(), 0) != 0)
        return std::nullopt;
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t unprivileged = nobody ? nobody->pw_uid : 65534;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(unprivileged) != 0)
            ::_exit(kNoUserWithoutRights);
        const OpenResult result = OpenSerialPort(pty.SlavePath());
        ::_exit(result.port ? kOpened : static_cast<int>(result.failure));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == kNoUserWithoutRights)
        return std::nullopt;
    return static_cast<PortFailure>(WEXITSTATUS(status));
}

TEST(SerialPortFailure, ADeviceTheUserMayNotOpenIsPermissionDenied) {
    const Pty pty;
    const std::optional<PortFailure> failure = FailureWithoutRights(pty);
    if (!failure)
        GTEST_SKIP() << "cannot open the device as a user without rights here";
    EXPECT_EQ(*failure, PortFailure::PermissionDenied);
}

TEST(PortFailureHint, EachReasonHasItsOwnLineAndPermissionNamesTheDialoutGroup) {
    const PortFailure all[] = {PortFailure::Other, PortFailure::Missing, PortFailure::Busy,
                               PortFailure::PermissionDenied, PortFailure::NotATerminal};
    std::set<std::string> chinese;
    std::set<std::string> english;
    for (const PortFailure failure : all) {
        chinese.insert(PortFailureHintChinese(failure));
        english.insert(PortFailureHintEnglish(failure));
    }
    EXPECT_EQ(chinese.size(), std::size(all));
    EXPECT_EQ(english.size(), std::size(all));
    for (const std::string& line :
         {std::string(PortFailureHintChinese(PortFailure::PermissionDenied)),
          std::string(PortFailureHintEnglish(PortFailure::PermissionDenied))}) {
        EXPECT_NE(line.find("dialout"), std::string::npos) << line;
        EXPECT_NE(line.find("sudo usermod -aG dialout $USER"), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace vortana::test
