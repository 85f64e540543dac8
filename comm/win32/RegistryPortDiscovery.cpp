// FindPresentPorts on Windows: the COM ports the serial drivers announce under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, one value a port whose data is its name ("COM3"), with the
// USB facts the device tree has of those Windows sorts under Ports (SetupAPI): the "PortName"
// value of a device's registry key ties it to its COM name; its USB device is the device itself
// or the nearest ancestor whose instance ID is a USB device's (comm/win32/UsbInstanceId.h), as
// for a composite device's interface or FTDI's own driver's port; the serial number is that ID's
// instance part where the device reported one, in the upper case Windows keeps it in; the
// product is what the bus reported for the port. No maker: the device tree has only the driver
// package's. Nothing is opened. The roots of PortDiscoveryRoots are the Linux side's and have no
// meaning here.
#include <windows.h>

// The device class and the property key this file uses are defined in it.
#include <initguid.h>

#include <cfgmgr32.h>
#include <devguid.h>
#include <devpkey.h>
#include <setupapi.h>

#include <map>

#include "comm/PortDiscovery.h"
#include "comm/win32/UsbInstanceId.h"

namespace vortana {
namespace {

constexpr wchar_t kSerialCommKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr DWORD kLongestName = 256;  // characters of a value name or of its data
// The port, an interface of a composite device (or FTDI's port below it), the USB device.
constexpr int kUsbDeviceDepth = 3;

std::string Utf8(const wchar_t* text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();  // the closing zero
    return utf8;
}

std::string InstanceId(DEVINST device) {
    wchar_t id[MAX_DEVICE_ID_LEN + 1] = {};
    if (::CM_Get_Device_IDW(device, id, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS)
        return {};
    return Utf8(id);
}

// Whether the device gave a serial number, so that its instance part is that number.
bool HasUniqueId(DEVINST device) {
    ULONG capabilities = 0;
    ULONG bytes = sizeof capabilities;
    return ::CM_Get_DevNode_Registry_PropertyW(device, CM_DRP_CAPABILITIES, nullptr, &capabilities,
                                               &bytes, 0) == CR_SUCCESS &&
           (capabilities & CM_DEVCAP_UNIQUEID) != 0;
}

void ReadUsbDevice(DEVINST device, PortInfo& port) {
    for (int level = 0; level < kUsbDeviceDepth; ++level) {
        if (const std::optional<UsbInstanceId> usb = ParseUsbInstanceId(InstanceId(device))) {
            port.vendorId = usb->vendorId;
            port.productId = usb->productId;
            if (HasUniqueId(device))
                port.serialNumber = usb->instance;
            return;
        }
        if (::CM_Get_Parent(&device, device, 0) != CR_SUCCESS)
            return;
    }
}

// The COM name a port device has in its registry key, or empty.
std::string PortName(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    const HKEY key =
        ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[kLongestName] = {};
    DWORD bytes = sizeof name - sizeof(wchar_t);  // room left for a closing zero
    DWORD type = 0;
    const LONG result =
        ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &bytes);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? Utf8(name) : std::string();
}

// What the bus reported the device to be ("FT232R USB UART"), or empty.
std::string BusReportedName(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    wchar_t text[kLongestName] = {};
    DEVPROPTYPE type = 0;
    if (!::SetupDiGetDevicePropertyW(devices, &device, &DEVPKEY_Device_BusReportedDeviceDesc, &type,
                                     reinterpret_cast<BYTE*>(text), sizeof text - sizeof(wchar_t),
                                     nullptr, 0) ||
        type != DEVPROP_TYPE_STRING)
        return {};
    return Utf8(text);
}

// COM name -> the USB facts of its device; ports of no USB device are left out.
std::map<std::string, PortInfo> UsbFactsByName() {
    std::map<std::string, PortInfo> facts;
    const HDEVINFO devices =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return facts;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const std::string name = PortName(devices, device);
        if (name.empty())
            continue;
        PortInfo port;
        ReadUsbDevice(device.DevInst, port);
        if (port.vendorId.empty())
            continue;
        port.product = BusReportedName(devices, device);
        facts.emplace(name, std::move(port));
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return facts;
}

}  // namespace

std::vector<PortInfo> FindPresentPorts(const PortDiscoveryRoots&) {
    std::vector<PortInfo> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;  // no serial driver has announced a port
    const std::map<std::string, PortInfo> usbFacts = UsbFactsByName();
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[kLongestName];
        DWORD valueNameLength = kLongestName;
        wchar_t data[kLongestName] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t);  // room left for a closing zero
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, valueName, &valueNameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const std::string name = Utf8(data);
        const auto facts = usbFacts.find(name);
        PortInfo port = facts != usbFacts.end() ? facts->second : PortInfo{};
        port.name = name;
        port.path = "\\\\.\\" + name;
        ports.push_back(std::move(port));
    }
    ::RegCloseKey(key);
    return ports;
}

}  // namespace vortana
