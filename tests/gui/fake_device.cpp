#include "fake_device.h"

#include <QTest>

namespace {

constexpr int kGenerousTimeoutMs = 10000;

}  // namespace

bool FakeDevice::WaitForBytes(std::size_t count) {
    return QTest::qWaitFor(
        [&] {
            TakeAvailable();
            return received_.size() >= count;
        },
        kGenerousTimeoutMs);
}

void FakeDevice::Settle(int milliseconds) {
    QTest::qWait(milliseconds);
    TakeAvailable();
}
