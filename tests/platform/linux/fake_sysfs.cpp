#include "tests/platform/linux/fake_sysfs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace linux_ports_test {

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

// sysfs links are relative, as the kernel makes them.
void Link(const fs::path& link, const fs::path& target) {
    fs::create_directories(link.parent_path());
    fs::create_symlink(fs::relative(target, link.parent_path()), link);
}

}  // namespace

FakeSysfs::FakeSysfs(std::string root) : root_(std::move(root)) {
    fs::create_directories(fs::path(root_) / "class" / "tty");
}

std::string FakeSysfs::NextName(const std::string& stem) {
    return stem + std::to_string(++counter_);
}

std::string FakeSysfs::MakeDevice(const std::string& path, const std::string& subsystem,
                                  const std::string& driver) {
    const fs::path bus = fs::path(root_) / "bus" / subsystem;
    fs::create_directories(bus / "drivers" / driver);
    fs::create_directories(path);
    if (!fs::exists(fs::path(path) / "subsystem")) {
        Link(fs::path(path) / "subsystem", bus);
        Link(fs::path(path) / "driver", bus / "drivers" / driver);
        WriteFile(fs::path(path) / "uevent", "DRIVER=" + driver + "\n");
    }
    return path;
}

std::string FakeSysfs::SerialCoreParent(const std::string& hardware, KernelLayout layout) {
    if (layout == KernelLayout::Before65) return hardware;
    const std::string base = fs::path(hardware).filename().string();
    const std::string controller = MakeDevice(hardware + "/" + base + ":0", "serial-base", "ctrl");
    return MakeDevice(controller + "/" + base + ":0." + NextName(""), "serial-base", "port");
}

void FakeSysfs::AddTty(const std::string& parent, const std::string& name,
                       std::optional<int> uartType, bool linkDevice) {
    const fs::path tty = fs::path(parent) / "tty" / name;
    fs::create_directories(tty);
    WriteFile(tty / "uevent", "MAJOR=4\nMINOR=64\nDEVNAME=" + name + "\n");
    Link(tty / "subsystem", fs::path(root_) / "class" / "tty");
    if (linkDevice) Link(tty / "device", parent);
    if (uartType && !uartTypesHidden_) WriteFile(tty / "type", std::to_string(*uartType) + "\n");
    Link(fs::path(root_) / "class" / "tty" / name, tty);
}

void FakeSysfs::AddVirtualTty(const std::string& name) {
    AddTty(root_ + "/devices/virtual", name, std::nullopt, false);
}

void FakeSysfs::AddPnpUart(const std::string& name, KernelLayout layout, int uartType, bool acpi) {
    const std::string id = NextName("00:0");
    const std::string hardware = MakeDevice(root_ + "/devices/pnp0/" + id, "pnp", "serial");
    WriteFile(fs::path(hardware) / "id", "PNP0501\n");
    if (acpi) {
        const fs::path node = fs::path(root_) / "devices" / "LNXSYSTM:00" / ("PNP0501:" + id);
        fs::create_directories(node);
        Link(fs::path(hardware) / "firmware_node", node);
    }
    AddTty(SerialCoreParent(hardware, layout), name, uartType, true);
}

void FakeSysfs::AddPlaceholderUart(const std::string& name, KernelLayout layout) {
    const std::string hardware =
        MakeDevice(root_ + "/devices/platform/serial8250", "platform", "serial8250");
    AddTty(SerialCoreParent(hardware, layout), name, 0, true);
}

void FakeSysfs::AddPciUart(const std::string& name, KernelLayout layout, const std::string& vendor,
                           const std::string& device) {
    const std::string hardware =
        MakeDevice(root_ + "/devices/pci0000:00/0000:00:" + NextName("1") + ".0", "pci", "serial");
    WriteFile(fs::path(hardware) / "vendor", vendor + "\n");
    WriteFile(fs::path(hardware) / "device", device + "\n");
    AddTty(SerialCoreParent(hardware, layout), name, 4, true);
}

void FakeSysfs::AddOnBoardUart(const std::string& name, KernelLayout layout, const std::string& bus,
                               const std::string& driver) {
    const std::string hardware =
        MakeDevice(root_ + "/devices/platform/soc/" + NextName("fe20") + ".serial", bus, driver);
    AddTty(SerialCoreParent(hardware, layout), name, 32, true);
}

std::string FakeSysfs::MakeUsbDevice(const UsbStrings& usb) {
    const std::string device =
        MakeDevice(root_ + "/devices/pci0000:00/0000:00:14.0/usb1/" + NextName("1-"), "usb", "usb");
    const fs::path dir(device);
    WriteFile(dir / "idVendor", usb.idVendor + "\n");
    WriteFile(dir / "idProduct", usb.idProduct + "\n");
    if (usb.manufacturer) WriteFile(dir / "manufacturer", *usb.manufacturer + "\n");
    if (usb.product) WriteFile(dir / "product", *usb.product + "\n");
    if (usb.serial) WriteFile(dir / "serial", *usb.serial + "\n");
    return device;
}

void FakeSysfs::AddUsbSerial(const std::string& name, const UsbStrings& usb) {
    AddUsbSerialAdapter({name}, usb);
}

void FakeSysfs::AddUsbSerialAdapter(const std::vector<std::string>& names, const UsbStrings& usb) {
    const std::string device = MakeUsbDevice(usb);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string interface = MakeInterface(device, static_cast<int>(i), "ftdi_sio");
        const std::string port = MakeDevice(interface + "/" + names[i], "usb-serial", "ftdi_sio");
        WriteFile(fs::path(port) / "port_number", "0\n");
        AddTty(port, names[i], std::nullopt, true);
    }
}

void FakeSysfs::AddUsbAcm(const std::string& name, const UsbStrings& usb) {
    AddUsbAcmBoard({name}, usb);
}

void FakeSysfs::AddUsbAcmBoard(const std::vector<std::string>& names, const UsbStrings& usb) {
    const std::string device = MakeUsbDevice(usb);
    for (std::size_t i = 0; i < names.size(); ++i) {
        // Each ACM function has a control interface (the tty's) and a data interface.
        AddTty(MakeInterface(device, static_cast<int>(2 * i), "cdc_acm"), names[i], std::nullopt,
               true);
    }
}

std::string FakeSysfs::MakeInterface(const std::string& device, int number,
                                     const std::string& driver) {
    const std::string interface = MakeDevice(
        device + "/" + fs::path(device).filename().string() + ":1." + std::to_string(number), "usb",
        driver);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", number);
    WriteFile(fs::path(interface) / "bInterfaceNumber", std::string(hex) + "\n");
    return interface;
}

void FakeSysfs::Unplug(const std::string& name) {
    const fs::path classDir = fs::path(root_) / "class" / "tty";
    fs::path device = fs::canonical(classDir / name / "device");
    while (!fs::exists(device / "idVendor")) device = device.parent_path();
    for (const auto& entry : fs::directory_iterator(classDir)) {
        const std::string target = fs::canonical(entry.path()).string();
        if (target.rfind(device.string() + "/", 0) == 0) fs::remove(entry.path());
    }
    fs::remove_all(device);
}

void FakeSysfs::AddRfcomm(const std::string& name) {
    AddTty(root_ + "/devices/virtual", name, std::nullopt, false);
}

}  // namespace linux_ports_test
