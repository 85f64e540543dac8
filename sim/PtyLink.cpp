#include "sim/PtyLink.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim/SerialLine.h"

namespace vortana::sim {

PtyLink::PtyLink(std::string path, std::string target)
    : path_(std::move(path)), target_(std::move(target)) {
    const std::string beside = path_ + ".new-" + std::to_string(::getpid());
    ::unlink(beside.c_str());
    if (::symlink(target_.c_str(), beside.c_str()) != 0)
        throw SimError("cannot make the link " + path_ + ": " + std::strerror(errno));
    if (std::rename(beside.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(beside.c_str());
        throw SimError("cannot make the link " + path_ + ": " + std::strerror(error));
    }
}

PtyLink::~PtyLink() {
    std::vector<char> pointsTo(target_.size() + 2);
    const ssize_t length = ::readlink(path_.c_str(), pointsTo.data(), pointsTo.size());
    if (length >= 0 && std::string(pointsTo.data(), static_cast<std::size_t>(length)) == target_)
        ::unlink(path_.c_str());
}

}  // namespace vortana::sim
