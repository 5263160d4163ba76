#include "gui_support.h"

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QWidget>

void RecordingModalRunner::RunMessageBox(QMessageBox& box) {
    boxes.push_back({box.windowTitle(), box.text(), box.informativeText(), box.icon(),
                     box.standardButtons(), box.windowModality(), box.parentWidget()});
}

std::optional<QString> RecordingModalRunner::RunFileDialog(QFileDialog& dialog) {
    dialogTitles.push_back(dialog.windowTitle());
    // A native dialog (Windows') tells its selection only while shown; Qt's own dialog shows
    // the same preset at once.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialogPresets.push_back(dialog.selectedFiles());
    return fileAnswer;
}

namespace {

constexpr char kTreeRoot[] = "SYSTEM\\CURRENTCONTROLSET\\ENUM";

}  // namespace

std::string PortInstanceKey(std::size_t index) {
    return std::string(kTreeRoot) + "\\ACPI\\PNP0501\\" + std::to_string(index);
}

void FillDeviceTree(platform::InMemoryRegistry& registry, const std::vector<TestPort>& ports) {
    registry.SetVersion(VER_PLATFORM_WIN32_NT, 5, 1);
    registry.AddKey(kTreeRoot);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const std::string key = PortInstanceKey(i);
        registry.AddKey(key);
        registry.SetString(key, "CLASS", "Ports");
        registry.SetString(key, "PORTNAME", ports[i].portName);
        registry.SetString(key, "FRIENDLYNAME", ports[i].friendlyName);
    }
}

TestWindow::TestWindow(const std::vector<TestPort>& ports) {
    FillDeviceTree(registry, ports);
    form = std::make_unique<TMainForm>(registry);
    form->SetModalRunner(runner);
    services = std::make_unique<WindowServices>(*form);
}
