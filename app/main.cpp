// The program: one window, run until it closes. The command line is not read.
#include <QApplication>
#include <exception>
#include <memory>

#include "app/boxes/error_box.h"
#include "app/boxes/modal_runner.h"
#include "app/services/application_title.h"
#include "app/services/window_services.h"
#include "app/window/daxtest.h"
#include "platform/port_sources.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Lets a desktop show the window under its menu entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QDAX_APP_ID));
    try {
        SetApplicationTitle();
        platform::ConfigurePortSources(platform::MachinePortSources());
        auto window = std::make_unique<TMainForm>();
        WindowServices services(*window);
        window->show();
        QApplication::exec();
        // The port's reader is stopped while the hand-over it may be waiting in is still served.
        window.reset();
    } catch (const std::exception& error) {
        ShowErrorBox(ExecModalRunner(), nullptr, error.what());
    }
    return 0;
}
