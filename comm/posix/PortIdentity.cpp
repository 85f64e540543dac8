#include "comm/PortIdentity.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include "comm/posix/DevicePath.h"

namespace vortana {

std::string PortIdentity(const std::string& commName) {
    const std::string path = DevicePathForCommName(commName);
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return "path " + std::filesystem::path(path).lexically_normal().string();
    if (S_ISCHR(status.st_mode))
        return "device " + std::to_string(major(status.st_rdev)) + ":" +
               std::to_string(minor(status.st_rdev));
    return "file " + std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

}  // namespace vortana
