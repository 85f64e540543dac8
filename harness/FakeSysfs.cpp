#include "harness/FakeSysfs.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vortana::test {

namespace fs = std::filesystem;

ScratchTree::ScratchTree() {
    std::string name = (fs::temp_directory_path() / "vortana-tree-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    root = name;
}

ScratchTree::~ScratchTree() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::string ScratchTree::At(const std::string& relative) const {
    fs::create_directories(fs::path(root + "/" + relative).parent_path());
    return root + "/" + relative;
}

void ScratchTree::File(const std::string& relative, const std::string& text) const {
    std::ofstream(At(relative)) << text;
}

void ScratchTree::Link(const std::string& relative, const std::string& target) const {
    fs::create_symlink(target, At(relative));
}

void ScratchTree::Remove(const std::string& relative) const {
    fs::remove(root + "/" + relative);
}

void FakeSysfs::Tty(const std::string& name, const std::string& device,
                    const std::string& devTarget) const {
    const std::string tty = device + "/tty/" + name;
    sys.File(tty + "/dev");
    sys.Link("class/tty/" + name, sys.At(tty));
    sys.Link(tty + "/device", sys.At(device));
    sys.File("drivers/" + name + "/bind");
    sys.Link(device + "/driver", sys.At("drivers/" + name));
    if (devTarget.empty())
        dev.File(name);
    else
        dev.Link(name, devTarget);
}

void FakeSysfs::UsbAdapter(const std::string& name, const std::string& socket,
                           const std::string& serial, const std::string& devTarget) const {
    const std::string usb = "devices/pci0000:00/usb1/" + socket;
    sys.File(usb + "/idVendor", "0403\n");
    sys.File(usb + "/idProduct", "6001\n");
    sys.File(usb + "/serial", serial + "\n");
    // below the usb-serial port and its interface
    Tty(name, usb + "/" + socket + ":1.0/" + name, devTarget);
}

void FakeSysfs::Unplug(const std::string& name) const {
    sys.Remove("class/tty/" + name);
    dev.Remove(name);
}

}  // namespace vortana::test
