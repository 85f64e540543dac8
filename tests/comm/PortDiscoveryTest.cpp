// Port discovery over a fake sysfs and /dev laid out as Linux lays them out: a USB serial
// adapter, a USB modem-class device, an on-board port that answers and one that does not, a
// virtual console.
#include <gtest/gtest.h>

#include "comm/PortDiscovery.h"
#include "tests/comm/FakeTree.h"

namespace vortana::test {
namespace {

class FakeMachine {
  public:
    FakeMachine() {
        const std::string usb = "devices/pci0000:00/0000:00:14.0/usb1";
        // FTDI adapter: the tty hangs below the usb-serial port, below the interface, below the
        // device that has the ids.
        UsbDevice(usb + "/1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A10K3Z1Q");
        Tty("ttyUSB0", usb + "/1-2/1-2:1.0/ttyUSB0", "bus/usb-serial/drivers/ftdi_sio");
        dev.File("ttyUSB0");
        dev.Link("serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3Z1Q-if00-port0", "../../ttyUSB0");
        // Modem class: the tty's device is the interface itself; no serial number.
        UsbDevice(usb + "/1-3", "2341", "0043", "Arduino (www.arduino.cc)", "", "");
        Tty("ttyACM0", usb + "/1-3/1-3:1.0", "bus/usb/drivers/cdc_acm");
        dev.File("ttyACM0");
        Tty("ttyS0", "devices/pnp0/00:00", "bus/pnp/drivers/serial");
        sys.File("class/tty/ttyS0/type", "4\n");
        Tty("ttyS1", "devices/platform/serial8250", "bus/platform/drivers/serial8250");
        sys.File("class/tty/ttyS1/type", "0\n");
        // A virtual console: a tty without a device.
        sys.Link("class/tty/tty1", sys.Path("devices/virtual/tty/tty1"));
        sys.File("devices/virtual/tty/tty1/dev", "4:1\n");
    }

    std::vector<PortInfo> Ports() const { return DiscoverPorts({sys.Path(), dev.Path()}); }

    FakeTree sys;
    FakeTree dev;

  private:
    void UsbDevice(const std::string& folder, const std::string& vendor,
                   const std::string& productId, const std::string& manufacturer,
                   const std::string& product, const std::string& serial) {
        sys.File(folder + "/idVendor", vendor + "\n");
        sys.File(folder + "/idProduct", productId + "\n");
        sys.File(folder + "/manufacturer", manufacturer + "\n");
        if (!product.empty())
            sys.File(folder + "/product", product + "\n");
        if (!serial.empty())
            sys.File(folder + "/serial", serial + "\n");
    }

    // class/tty/NAME -> DEVICE/tty/NAME, whose "device" is DEVICE, bound to DRIVER.
    void Tty(const std::string& name, const std::string& device, const std::string& driver) {
        const std::string ttyFolder = device + "/tty/" + name;
        sys.Folder(ttyFolder);
        sys.Link("class/tty/" + name, sys.Path(ttyFolder));
        sys.Link(ttyFolder + "/device", sys.Path(device));
        sys.Folder(driver);
        sys.Link(device + "/driver", sys.Path(driver));
    }
};

TEST(DiscoverPorts, ListsDevicesWithDriversAndTheirUsbFacts) {
    const FakeMachine machine;
    const std::vector<PortInfo> ports = machine.Ports();
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].name, "ttyACM0");
    EXPECT_EQ(ports[1].name, "ttyS0");
    EXPECT_EQ(ports[2].name, "ttyUSB0");

    const PortInfo& ftdi = ports[2];
    EXPECT_EQ(ftdi.path, machine.dev.Path("ttyUSB0"));
    EXPECT_EQ(ftdi.byIdPath,
              machine.dev.Path("serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3Z1Q-if00-port0"));
    EXPECT_EQ(ftdi.Hint(), "FTDI FT232R USB UART (0403:6001) SN A10K3Z1Q");

    EXPECT_EQ(ports[0].Hint(), "Arduino (www.arduino.cc) (2341:0043)");
    EXPECT_EQ(ports[0].byIdPath, "");
    EXPECT_EQ(ports[1].Hint(), "") << "nothing is known of an on-board port";
    EXPECT_EQ(ports[1].path, machine.dev.Path("ttyS0"));
}

TEST(DiscoverPorts, NumbersInNamesSortByValueAndAMissingTreeGivesNone) {
    EXPECT_TRUE(PortNameLess("ttyS2", "ttyS10"));
    EXPECT_TRUE(PortNameLess("ttyACM9", "ttyS0"));
    EXPECT_FALSE(PortNameLess("ttyS10", "ttyS10"));
    EXPECT_TRUE(DiscoverPorts({"/no/such/sys", "/no/such/dev"}).empty());
}

}  // namespace
}  // namespace vortana::test
