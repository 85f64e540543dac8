// FakeSysfs: a scratch sysfs and /dev laid out as Linux lays out serial devices, for port
// discovery (comm/PortDiscovery.h) to read through Roots() instead of the system's. Both trees
// are removed with the object. Made and changed on one thread; throws when a folder cannot be
// made.
#pragma once

#include <string>

#include "comm/PortDiscovery.h"

namespace vortana::test {

// A folder under the temporary folder, removed with the object; parents are made as needed.
struct ScratchTree {
    ScratchTree();
    ~ScratchTree();
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    std::string At(const std::string& relative) const;
    void File(const std::string& relative, const std::string& text = "") const;
    void Link(const std::string& relative, const std::string& target) const;
    void Remove(const std::string& relative) const;

    std::string root;
};

struct FakeSysfs {
    PortDiscoveryRoots Roots() const { return {sys.root, dev.root}; }

    // class/tty/NAME -> DEVICE/tty/NAME, whose device is DEVICE (a folder below the sys root),
    // which has a driver; and /dev/NAME, a file or, when `devTarget` is given, a link to it.
    void Tty(const std::string& name, const std::string& device,
             const std::string& devTarget = "") const;
    // An FTDI adapter (0403:6001) carrying `serial`, plugged into USB socket `socket` ("1-2"),
    // its tty NAME below its interface.
    void UsbAdapter(const std::string& name, const std::string& socket, const std::string& serial,
                    const std::string& devTarget = "") const;
    // The tty NAME gone from class/tty and /dev, as when its adapter is pulled out.
    void Unplug(const std::string& name) const;

    ScratchTree sys;
    ScratchTree dev;
};

}  // namespace vortana::test
