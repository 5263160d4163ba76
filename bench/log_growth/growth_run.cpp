#include "bench/log_growth/growth_run.h"

#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <chrono>
#include <cstdio>
#include <functional>
#include <numeric>
#include <sstream>
#include <stdexcept>

#include "app/widgets/window_font.h"
#include "app/window/daxtest.h"
#include "bench/log_growth/peak_memory.h"
#include "tests/gui/gui_support.h"
#include "tests/support/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;

// As a flood brings them: the line number filled up with dots to 38 characters.
constexpr std::size_t kLineLength = 38;
// Between batches of lines the window thread serves its events, as it does between the reader's
// hand-overs, so the log's screen updates are part of the cost.
constexpr std::size_t kLinesPerBatch = 1000;
// A child that has not finished by then is taken to hang.
constexpr auto kChildLimit = std::chrono::minutes(30);

void NumberedLine(std::size_t number, std::string& line) {
    line = std::to_string(number);
    line.append(kLineLength - std::min(kLineLength, line.size()), '.');
}

// Appends the shape's lines through `append`, timing each block.
GrowthRun Fill(const GrowthShape& shape, const std::function<void(const std::string&)>& append) {
    GrowthRun run;
    run.residentBeforeKb = ResidentKilobytes();
    std::string line;
    std::size_t number = 1;
    for (std::size_t block = 0; block < shape.blocks; ++block) {
        const auto start = Clock::now();
        for (std::size_t i = 0; i < shape.linesPerBlock; ++i, ++number) {
            NumberedLine(number, line);
            append(line);
            if (number % kLinesPerBatch == 0) QCoreApplication::processEvents();
        }
        run.blockSeconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    QCoreApplication::processEvents();
    run.peakKb = PeakResidentKilobytes();
    return run;
}

GrowthRun FillTheWindowLog(const GrowthShape& shape) {
    TestWindow test;
    TMainForm& window = *test.form;
    if (!ShowActive(window)) throw std::runtime_error("the window did not show");
    GrowthRun run =
        Fill(shape, [&](const std::string& line) { window.OnLineReceived(line.c_str()); });
    run.linesHeld = window.SendLog->LineCount();
    return run;
}

// The communications log as the window had it before: a plain text area, one append per line.
GrowthRun FillAPlainTextArea(const GrowthShape& shape) {
    QPlainTextEdit area;
    area.setReadOnly(true);
    area.setUndoRedoEnabled(false);
    area.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area.setFont(WindowFont());
    area.resize(401, 89);
    if (!ShowActive(area)) throw std::runtime_error("the text area did not show");
    GrowthRun run = Fill(shape, [&](const std::string& line) {
        area.appendPlainText(QString::fromLatin1(("<-- " + line).c_str()));
    });
    run.linesHeld = static_cast<std::size_t>(area.document()->blockCount());
    return run;
}

std::string ReadToEnd(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

}  // namespace

double GrowthRun::Seconds() const {
    return std::accumulate(blockSeconds.begin(), blockSeconds.end(), 0.0);
}

LogWay WayNamed(const std::string& name) {
    if (name == "window") return LogWay::Window;
    if (name == "plain-text-edit") return LogWay::PlainTextEdit;
    throw std::runtime_error("no way of holding the log is called " + name);
}

void FillAndPrint(LogWay way, const GrowthShape& shape) {
    const GrowthRun run =
        way == LogWay::Window ? FillTheWindowLog(shape) : FillAPlainTextArea(shape);
    std::printf("lines %zu\nbefore %llu\npeak %llu\n", run.linesHeld,
                static_cast<unsigned long long>(run.residentBeforeKb),
                static_cast<unsigned long long>(run.peakKb));
    for (double seconds : run.blockSeconds) std::printf("block %.6f\n", seconds);
}

GrowthRun RunInChild(const std::string& program, const std::string& way, bool quick) {
    std::vector<std::string> arguments{"--way", way};
    if (quick) arguments.push_back("--quick");
    const qdax_test::ChildProcess child = qdax_test::StartChild(program, arguments, false);
    std::istringstream printed(ReadToEnd(child.stdoutFd));
    close(child.stdoutFd);
    const std::optional<int> exitCode = qdax_test::WaitForChild(
        child.pid, std::chrono::duration_cast<std::chrono::milliseconds>(kChildLimit));
    if (exitCode != 0) throw std::runtime_error("the " + way + " run failed");

    GrowthRun run;
    std::string key;
    while (printed >> key) {
        if (key == "lines") printed >> run.linesHeld;
        if (key == "before") printed >> run.residentBeforeKb;
        if (key == "peak") printed >> run.peakKb;
        if (key == "block") printed >> run.blockSeconds.emplace_back();
    }
    return run;
}
