#include "bench/flood/responsiveness_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>

#include "bench/common/statistics.h"

namespace {

using Clock = std::chrono::steady_clock;

const QEvent::Type kProbeEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class ProbeEvent : public QEvent {
public:
    ProbeEvent() : QEvent(kProbeEventType), posted(Clock::now()) {}
    const Clock::time_point posted;
};

}  // namespace

ResponsivenessProbe::ResponsivenessProbe(std::chrono::milliseconds interval)
    : poster_([this, interval] {
          while (!stopping_) {
              QCoreApplication::postEvent(this, new ProbeEvent);
              std::this_thread::sleep_for(interval);
          }
      }) {}

// Events still queued for the probe are dropped with it.
ResponsivenessProbe::~ResponsivenessProbe() {
    Stop();
}

void ResponsivenessProbe::Stop() {
    stopping_ = true;
    if (poster_.joinable()) poster_.join();
    stopped_ = true;
}

double ResponsivenessProbe::WorstDelayMs() const {
    return delays_.empty() ? 0.0 : *std::max_element(delays_.begin(), delays_.end());
}

double ResponsivenessProbe::PercentileDelayMs(double percent) const {
    return bench::Percentile(delays_, percent);
}

bool ResponsivenessProbe::event(QEvent* event) {
    if (event->type() != kProbeEventType) return QObject::event(event);
    if (!stopped_) {
        const auto delay = Clock::now() - static_cast<ProbeEvent*>(event)->posted;
        delays_.push_back(std::chrono::duration<double, std::milli>(delay).count());
    }
    return true;
}
