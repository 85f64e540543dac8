// What a Windows device instance ID tells of a USB device: only a USB device's own ID gives ids
// and an instance part; an interface's, another bus's and a malformed one give nothing.
#include <gtest/gtest.h>

#include "comm/win32/UsbInstanceId.h"

namespace vortana::test {
namespace {

TEST(UsbInstanceId, AUsbDevicesIdGivesItsIdsAndInstanceOthersNothing) {
    const std::optional<UsbInstanceId> ftdi =
        ParseUsbInstanceId("USB\\VID_0403&PID_6001\\A10K3Z1Q");
    ASSERT_TRUE(ftdi);
    EXPECT_EQ(ftdi->vendorId, "0403");
    EXPECT_EQ(ftdi->productId, "6001");
    EXPECT_EQ(ftdi->instance, "A10K3Z1Q");
    const std::optional<UsbInstanceId> ch340 =
        ParseUsbInstanceId("usb\\vid_1A86&pid_7523\\5&2A3B&0&2");
    ASSERT_TRUE(ch340);
    EXPECT_EQ(ch340->vendorId, "1a86");
    EXPECT_EQ(ch340->instance, "5&2A3B&0&2");

    for (const char* other : {"USB\\VID_2341&PID_0043&MI_00\\6&1A2B&0&0000",
                              "FTDIBUS\\VID_0403+PID_6001+A10K3Z1QA\\0000", "USB\\ROOT_HUB30\\4&1",
                              "USB\\VID_04G3&PID_6001\\X", "USB\\VID_0403&PID_6001\\",
                              "USB\\VID_0403&PID_6001", "USB\\VID_0403&PID_6001\\A\\B", "USB\\"})
        EXPECT_FALSE(ParseUsbInstanceId(other)) << other;
}

}  // namespace
}  // namespace vortana::test
