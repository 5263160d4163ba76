// The Qt application of a benchmark that runs the real window: offscreen unless QT_QPA_PLATFORM
// names a platform, with the program's own title, and without the benchmark's options, which
// are its own.
#pragma once

#include <QApplication>

namespace bench {

class OffscreenApplication {
public:
    explicit OffscreenApplication(char** argv);

private:
    int argc_;
    QApplication application_;
};

}  // namespace bench
