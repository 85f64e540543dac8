// UsbInstanceId: what a Windows device instance ID tells of a USB device. A USB device's ID is
// "USB\VID_0403&PID_6001\A10K3Z1Q": the bus, the vendor and product ids, and the instance part,
// which is the device's serial number where the device reported one (its unique-ID capability
// says so; Windows keeps it in upper case) and a name Windows made up otherwise
// ("5&2A3B4C5D&0&2"). An interface of a composite device ("USB\VID_2341&PID_0043&MI_00\...") and
// the devices of other buses (FTDI's own driver's "FTDIBUS\VID_0403+PID_6001+A10K3Z1QA\0000") are
// not the USB device: an ancestor of theirs is.
// Pure text, no Windows call, so it is tested on every system. Any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vortana {

struct UsbInstanceId {
    std::string vendorId;   // four hexadecimal digits in lower case, as Linux's sysfs has them
    std::string productId;  // the same
    std::string instance;   // the instance part as the ID has it
};

// Nothing when `id` is not a USB device's instance ID (the bus name is compared ignoring case).
std::optional<UsbInstanceId> ParseUsbInstanceId(std::string_view id);

}  // namespace vortana
