// The program itself: the real window, offscreen, with its port object and reader, playing the
// file with a command delay of 0 as an operator would start it.
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>
#include <stdexcept>

#include "app/window/daxtest.h"
#include "bench/pacing/playback.h"
#include "serial/serial_port_info.h"
#include "tests/e2e/operator.h"
#include "tests/e2e/scenario.h"

namespace pacing {

namespace {

// Runs the window's event loop, as the program's own does, until `done` holds. The check
// comes seldom so that it does not stand in the way of the hand-overs being measured.
bool RunEventLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || Clock::now() >= deadline) loop.quit();
    });
    check.start(200);
    loop.exec();
    return done();
}

}  // namespace

Playback PlayWithWindow(const CommandFile& file) {
    e2e::Scenario scenario;
    TimedDevice device(scenario.PortsDir(), scenario.File("wire.fifo"));
    TMainForm& window = scenario.OpenWindowOnPort(0);
    if (window.Port == nullptr || !window.Port->IsOpen()) {
        throw std::runtime_error("the window did not open the device");
    }
    e2e::LoadCommandFile(window, scenario.File("commands.txt"),
                         QByteArray::fromStdString(file.bytes));
    e2e::TypeDelay(window, 0);

    e2e::Click(window.PlayButton);
    if (!RunEventLoopUntil([&] { return !window.Playing; }, PlaybackLimit(file))) {
        throw std::runtime_error("the playback did not come to its end");
    }
    if (!scenario.Boxes().boxes.empty()) {
        throw std::runtime_error("the window showed a box: " +
                                 scenario.Boxes().boxes.front().text.toStdString());
    }
    return device.Finish(file, [] { return false; });
}

}  // namespace pacing
