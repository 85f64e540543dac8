#include "comm/posix/DeviceCheck.h"

#include <linux/major.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <filesystem>

#include "comm/posix/Sysfs.h"

namespace vortana {
namespace {

// The virtual consoles /dev/tty0 to /dev/tty63 share their major with the on-board serial ports,
// which start at minor 64.
constexpr unsigned kVirtualConsoleMinorEnd = 64;

// Terminals that are no serial line: /dev/tty, /dev/console, /dev/ptmx (TTYAUX_MAJOR) and the
// virtual consoles.
bool IsConsole(dev_t device) {
    return major(device) == TTYAUX_MAJOR ||
           (major(device) == TTY_MAJOR && minor(device) < kVirtualConsoleMinorEnd);
}

bool IsPseudoTerminal(dev_t device) {
    return major(device) >= UNIX98_PTY_SLAVE_MAJOR &&
           major(device) < UNIX98_PTY_SLAVE_MAJOR + UNIX98_PTY_MAJOR_COUNT;
}

// sysfs links every character device as dev/char/MAJ:MIN to its device folder; a tty driver's
// device is listed in class/tty under that folder's name with the same numbers.
bool IsTtyDriverDevice(dev_t device, const std::string& sysRoot) {
    const std::string numbers = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::error_code error;
    const std::filesystem::path deviceFolder =
        std::filesystem::read_symlink(sysRoot + "/dev/char/" + numbers, error);
    if (error || !deviceFolder.has_filename())
        return false;
    const std::string name = deviceFolder.filename().string();
    return ReadSysfsAttribute(sysRoot + "/class/tty/" + name + "/dev") == numbers;
}

}  // namespace

DeviceCheck CheckSerialDevice(const std::string& path, const std::string& sysRoot) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {PortFailureFromErrno(errno)};
    // A folder ("/dev/" for an empty name) is no device at all, as good as a missing one.
    if (S_ISDIR(info.st_mode))
        return {PortFailure::Missing};
    const dev_t device = info.st_rdev;
    if (!S_ISCHR(info.st_mode) || IsConsole(device))
        return {PortFailure::NotATerminal};
    if (IsPseudoTerminal(device) || IsTtyDriverDevice(device, sysRoot))
        return {std::nullopt, device};
    return {PortFailure::NotATerminal};
}

bool IsCheckedDevice(int fd, dev_t device) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && info.st_rdev == device;
}

PortFailure PortFailureFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENODEV:
        case ENXIO:
        case EIO:  // a serial port without a UART behind it, or an adapter being unplugged
            return PortFailure::Missing;
        case EBUSY:
        case EWOULDBLOCK:
            return PortFailure::Busy;
        case EACCES:
        case EPERM:
            return PortFailure::PermissionDenied;
        case ENOTTY:
            return PortFailure::NotATerminal;
        default:
            return PortFailure::Other;
    }
}

}  // namespace vortana
