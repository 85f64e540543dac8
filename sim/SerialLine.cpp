#include "sim/SerialLine.h"

#include <fcntl.h>
#include <termios.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vortana::sim {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw SimError(what + ": " + std::strerror(errno));
}

// Raw 38400 8N1, no flow control, receiver on, modem lines ignored.
void MakeRaw(int fd, const std::string& path) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        Fail(path + " is not a serial line");
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetspeed(&settings, B38400);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0)
        Fail("cannot set up " + path);
}

}  // namespace

PtyLine OpenPtyLine() {
    PtyLine line;
    line.master = UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!line.master)
        Fail("cannot create a pseudo-terminal");
    char name[128];
    if (::grantpt(line.master.Get()) != 0 || ::unlockpt(line.master.Get()) != 0 ||
        ::ptsname_r(line.master.Get(), name, sizeof name) != 0)
        Fail("cannot unlock the pseudo-terminal");
    line.slavePath = name;
    line.slave = UniqueFd(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!line.slave)
        Fail("cannot open " + line.slavePath);
    MakeRaw(line.slave.Get(), line.slavePath);
    return line;
}

UniqueFd OpenSerialDevice(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!fd)
        Fail("cannot open " + path);
    MakeRaw(fd.Get(), path);
    return fd;
}

}  // namespace vortana::sim
