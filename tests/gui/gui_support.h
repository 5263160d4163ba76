// Helpers of the window tests: a modal runner that records boxes and answers dialogs at once, a
// registry holding a chosen set of serial ports, and showing a window ready for keys.
#pragma once

#include <QMessageBox>
#include <QMetaType>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include <memory>

#include "app/boxes/modal_runner.h"
#include "app/services/window_services.h"
#include "app/window/daxtest.h"
#include "platform/memory_registry.h"
#include "tests/gui/window_activation.h"

class QWidget;

struct RecordedBox {
    QString caption;
    QString text;
    QString informativeText;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality;
    QWidget* parent;
};

class RecordingModalRunner : public ModalRunner {
public:
    void RunMessageBox(QMessageBox& box) override;
    // Records the dialog's title and answers with `fileAnswer` (nothing: cancelled).
    std::optional<QString> RunFileDialog(QFileDialog& dialog) override;

    std::vector<RecordedBox> boxes;
    std::vector<QString> dialogTitles;
    std::vector<QStringList> dialogPresets;  // the files each dialog held when it was shown
    std::optional<QString> fileAnswer;
};

struct TestPort {
    std::string portName;
    std::string friendlyName;
};
Q_DECLARE_METATYPE(std::vector<TestPort>)

// A registry of a Windows NT 5 system whose device tree holds `ports`, in that order, each as an
// instance of the ports class under the enumerator "ACPI".
void FillDeviceTree(platform::InMemoryRegistry& registry, const std::vector<TestPort>& ports);

// Path of the instance key of the port at `index`, as FillDeviceTree made it.
std::string PortInstanceKey(std::size_t index);

// A window over a device tree holding `ports`, its boxes and dialogs recorded and answered by
// `runner`, with the window services installed: no test window ever blocks in a modal box.
struct TestWindow {
    explicit TestWindow(const std::vector<TestPort>& ports = {});
    // The window goes first: its port stops the reader while hand-overs can still be served.
    ~TestWindow() { form.reset(); }

    platform::InMemoryRegistry registry;
    RecordingModalRunner runner;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<WindowServices> services;
};
