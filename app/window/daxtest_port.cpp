// "Reset Port": the chosen port and baud rate become the open port.
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>

#include "app/window/daxtest.h"
#include "app/window/list_index.h"
#include "serial/baud_rates.h"
#include "serial/open_settings.h"
#include "serial/serial_port_info.h"

void TMainForm::SetPortButtonClick() {
    const int portIndex = ComPortCombo->currentIndex();
    const int baudIndex = BaudRateCombo->currentIndex();
    const std::string& name = ListItem(PortNames, portIndex);
    const std::int32_t baud = ListItem(BaudRates, baudIndex).value;
    if (Port != nullptr) {
        Port->OpenPort(name, baud, kOpenSettings.parity, kOpenSettings.stopBits,
                       kOpenSettings.readIntervalTimeoutMs, kOpenSettings.writeMode);
    } else {
        Port = new SerialPortInfo(name, baud, kOpenSettings.parity, kOpenSettings.stopBits,
                                  kOpenSettings.readIntervalTimeoutMs, kOpenSettings.writeMode,
                                  [this](const char* line) { OnLineReceived(line); });
    }
    ManualEntry->setEnabled(true);
    ButtonPanel->setEnabled(true);
}
