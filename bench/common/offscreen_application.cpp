#include "bench/common/offscreen_application.h"

#include "app/services/application_title.h"

namespace bench {

namespace {

// Qt is given the program's name alone; the platform is chosen before Qt starts.
int ProgramNameOnlyOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return 1;
}

}  // namespace

OffscreenApplication::OffscreenApplication(char** argv)
    : argc_(ProgramNameOnlyOffscreen()), application_(argc_, argv) {
    SetApplicationTitle();
}

}  // namespace bench
