// How long the window thread keeps a posted event waiting: another thread posts a time-stamped
// event every few milliseconds and the window thread notes, for each, how late it got to it.
#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

class ResponsivenessProbe : public QObject {
public:
    // Starts posting at once; create it on the window thread.
    explicit ResponsivenessProbe(std::chrono::milliseconds interval);
    ~ResponsivenessProbe() override;
    ResponsivenessProbe(const ResponsivenessProbe&) = delete;
    ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;

    // Stops posting; events still queued are not counted.
    void Stop();

    std::size_t Answered() const { return delays_.size(); }
    // Milliseconds; 0 when nothing was answered.
    double WorstDelayMs() const;
    double PercentileDelayMs(double percent) const;  // percent from 0 to 100

protected:
    bool event(QEvent* event) override;

private:
    std::atomic<bool> stopping_{false};
    bool stopped_ = false;
    std::vector<double> delays_;
    std::thread poster_;
};
