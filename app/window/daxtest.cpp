#include "app/window/daxtest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

#include "app/boxes/handler_guard.h"
#include "app/boxes/modal_runner.h"
#include "app/widgets/input_hooks.h"
#include "app/window/text_area_lines.h"
#include "serial/baud_rates.h"
#include "serial/serial_port_info.h"

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(platform::RegistryApi& registry) : modalRunner_(&ExecModalRunner()) {
    MainForm = this;
    CreateControls();
    ConnectHandlers();

    NextLine = 0;
    ComPortCombo->clear();
    BaudRateCombo->clear();
    UploadFile->clear();
    SendLog->clear();
    PortNames.clear();
    // Finding no port, or failing part-way, leaves the ports found so far; nothing is reported.
    EnumerateSerialPorts(registry, AddDiscoveredPort, nullptr);
    for (const BaudRate& rate : BaudRates) {
        BaudRateCombo->addItem(QString::fromLatin1(rate.label));
    }
    BaudRateCombo->setCurrentIndex(1);
    // The second port; with fewer than two the chooser shows no selection.
    ComPortCombo->setCurrentIndex(1);
    Port = nullptr;
    SetLines(*UploadFile, PortNames);
}

TMainForm::~TMainForm() {
    delete Port;
    if (MainForm == this) {
        MainForm = nullptr;
    }
}

bool TMainForm::AddDiscoveredPort(void* /*userData*/, const PortEntry* entry) {
    // Friendly names carry product strings in the system's encoding (UTF-8 on Linux), unlike the
    // port name, whose bytes are kept as they are.
    MainForm->ComPortCombo->addItem(QString::fromLocal8Bit(entry->friendlyName));
    MainForm->PortNames.emplace_back(entry->portName);
    return true;
}

void TMainForm::CloseButtonClick() {
    close();
}

void TMainForm::Guard(const std::function<void()>& handler) {
    RunGuarded(*modalRunner_, this, handler);
}

template <typename Sender, typename Signal>
void TMainForm::OnEvent(Sender* sender, Signal signal, void (TMainForm::*handler)()) {
    connect(sender, signal, this,
            [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
}

void TMainForm::OnKeyPress(QWidget* control, void (TMainForm::*handler)(char& key)) {
    new KeyPressHook(*control,
                     [this, handler](char& key) { Guard([&] { (this->*handler)(key); }); });
}

void TMainForm::OnDoubleClick(QAbstractScrollArea* area, void (TMainForm::*handler)()) {
    new DoubleClickHook(*area, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
}

void TMainForm::ConnectHandlers() {
    OnEvent(SetPortButton, &QPushButton::clicked, &TMainForm::SetPortButtonClick);
    OnKeyPress(ManualEntry, &TMainForm::ManualEntryKeyPress);
    OnDoubleClick(SendLog, &TMainForm::SendLogDblClick);
    OnKeyPress(SaveEdit, &TMainForm::SaveEditKeyPress);
    OnEvent(PickSaveButton, &QToolButton::clicked, &TMainForm::PickSaveButtonClick);
    OnEvent(PickLoadButton, &QToolButton::clicked, &TMainForm::PickLoadButtonClick);
    OnKeyPress(LoadEdit, &TMainForm::LoadEditKeyPress);
    OnEvent(GoButton, &QPushButton::clicked, &TMainForm::GoButtonClick);
    OnDoubleClick(UploadFile, &TMainForm::UploadFileDblClick);
    OnEvent(PlayButton, &QToolButton::clicked, &TMainForm::PlayButtonClick);
    OnEvent(PauseButton, &QToolButton::clicked, &TMainForm::PauseButtonClick);
    OnEvent(StepButton, &QToolButton::clicked, &TMainForm::StepButtonClick);
    OnEvent(StopButton, &QToolButton::clicked, &TMainForm::StopButtonClick);
    OnEvent(CloseButton, &QPushButton::clicked, &TMainForm::CloseButtonClick);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CentreOnScreen();
    }
}

void TMainForm::CentreOnScreen() {
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
}
