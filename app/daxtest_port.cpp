// "Reset Port": the chosen port and baud rate become the open port.
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>

#include "app/baud_rates.h"
#include "app/daxtest.h"
#include "app/list_index.h"
#include "serial/serial_port_info.h"

namespace {

// The longest silence between two received bytes before a read hands over what it has.
constexpr std::int32_t kReadIntervalTimeoutMs = 50;

}  // namespace

void TMainForm::SetPortButtonClick() {
    const int portIndex = ComPortCombo->currentIndex();
    const int baudIndex = BaudRateCombo->currentIndex();
    const std::string& name = ListItem(PortNames, portIndex);
    const std::int32_t baud = ListItem(BaudRates, baudIndex).value;
    if (Port != nullptr) {
        Port->OpenPort(name, baud, ParityNone, StopBitsOne, kReadIntervalTimeoutMs,
                       WriteModeOverlapped);
    } else {
        Port = new SerialPortInfo(name, baud, ParityNone, StopBitsOne, kReadIntervalTimeoutMs,
                                  WriteModeOverlapped,
                                  [this](const char* line) { OnLineReceived(line); });
    }
    ManualEntry->setEnabled(true);
    ButtonPanel->setEnabled(true);
}
