// A sysfs tree built in a directory, shaped as the kernel shapes it: class/tty entries linking
// into devices/, `device` and `subsystem` links, `type`, `uevent` and the USB, PCI and PnP
// identity files. Serial-core ports come in both layouts: the tty directly below the hardware
// (before 6.5) or below a serial-base controller and port (6.5 and later).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace linux_ports_test {

enum class KernelLayout { Before65, Since65 };

struct UsbStrings {
    std::string idVendor;                     // as sysfs writes it: "0403"
    std::string idProduct;                    // "6001"
    std::optional<std::string> manufacturer;  // absent: no file
    std::optional<std::string> product;
    std::optional<std::string> serial = std::nullopt;
};

class FakeSysfs {
public:
    explicit FakeSysfs(std::string root);

    const std::string& root() const { return root_; }

    // Serial-core ports added from now on have no readable `type`, as older kernels show them to
    // a user other than root.
    void HideUartTypes() { uartTypesHidden_ = true; }

    // Consoles, ptmx and the like: devices/virtual/tty, no device link.
    void AddVirtualTty(const std::string& name);
    // A 16550A-style port on a PnP device, described by ACPI (firmware node) or not.
    void AddPnpUart(const std::string& name, KernelLayout layout, int uartType, bool acpi = true);
    // A ttyS port the 8250 driver creates without hardware: UART type 0.
    void AddPlaceholderUart(const std::string& name, KernelLayout layout);
    void AddPciUart(const std::string& name, KernelLayout layout, const std::string& vendor,
                    const std::string& device);
    // An on-board UART on a bus such as "platform" or "amba", bound to `driver`.
    void AddOnBoardUart(const std::string& name, KernelLayout layout, const std::string& bus,
                        const std::string& driver);
    // ttyUSB: a usb-serial port device above the interface.
    void AddUsbSerial(const std::string& name, const UsbStrings& usb);
    // An adapter with several ports (FT4232H, CP2105): one interface and ttyUSB per name.
    void AddUsbSerialAdapter(const std::vector<std::string>& names, const UsbStrings& usb);
    // ttyACM: the tty directly below the interface.
    void AddUsbAcm(const std::string& name, const UsbStrings& usb);
    // A board with several ACM functions: interfaces 0, 2, 4, ... each with its ttyACM.
    void AddUsbAcmBoard(const std::vector<std::string>& names, const UsbStrings& usb);
    // Pulls the USB device of the tty `name` out, with every tty it has.
    void Unplug(const std::string& name);
    // An rfcomm tty bound but not connected: devices/virtual/tty, no device link.
    void AddRfcomm(const std::string& name);

private:
    std::string MakeDevice(const std::string& path, const std::string& subsystem,
                           const std::string& driver);
    // The directory the tty lives in below `parent`, following the layout.
    std::string SerialCoreParent(const std::string& hardware, KernelLayout layout);
    void AddTty(const std::string& parent, const std::string& name, std::optional<int> uartType,
                bool linkDevice);
    std::string MakeUsbDevice(const UsbStrings& usb);
    // The interface `number` of `device`, bound to `driver`.
    std::string MakeInterface(const std::string& device, int number, const std::string& driver);
    std::string NextName(const std::string& stem);

    std::string root_;
    int counter_ = 0;
    bool uartTypesHidden_ = false;
};

}  // namespace linux_ports_test
