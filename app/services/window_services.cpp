#include "app/services/window_services.h"

#include <utility>

#include "app/boxes/program_message_box.h"
#include "app/window/daxtest.h"

WindowServices::WindowServices(TMainForm& window)
    : dispatcher_(window),
      previousDispatcher_(platform::InstallWindowDispatcher(&dispatcher_)),
      previousMessageBox_(platform::SetMessageBoxHandler(
          [&window](const std::string& text, const std::string& caption, DWORD systemError) {
              ShowProgramMessageBox(window.Modal(), &window, text, caption, systemError);
          })) {}

WindowServices::~WindowServices() {
    platform::SetMessageBoxHandler(std::move(previousMessageBox_));
    platform::InstallWindowDispatcher(previousDispatcher_);
}
