#include "tests/faults/operator_plugin/scripted_operator.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <cstdio>
#include <string>

#include "tests/faults/thread_probe.h"
#include "tests/support/recording.h"
#include "tests/support/wait_until.h"

namespace qdax_operator {
namespace {

constexpr int kPollIntervalMs = 20;

void Say(const std::string& text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

template <typename Control>
Control* ControlOf(QWidget& window, const char* name) {
    Control* control = window.findChild<Control*>(QLatin1String(name));
    if (control == nullptr) Say(std::string("operator: no control ") + name);
    return control;
}

}  // namespace

ScriptedOperator::ScriptedOperator(const OperatorScript& script)
    : script_(script), windowThread_(qdax_fault::CurrentThreadId()) {
    poll_.setInterval(kPollIntervalMs);
    connect(&poll_, &QTimer::timeout, this, &ScriptedOperator::LookForTheWindow);
    poll_.start();
}

ScriptedOperator::~ScriptedOperator() {
    if (closer_.joinable()) closer_.join();
}

void ScriptedOperator::LookForTheWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("MainForm") && widget->isVisible()) {
            poll_.stop();
            Operate(*widget);
            return;
        }
    }
}

void ScriptedOperator::Operate(QWidget& window) {
    auto* ports = ControlOf<QComboBox>(window, "ComPortCombo");
    auto* fileArea = ControlOf<QPlainTextEdit>(window, "UploadFile");
    auto* resetPort = ControlOf<QPushButton>(window, "SetPortButton");
    auto* delay = ControlOf<QSpinBox>(window, "DelaySpinEdit");
    auto* play = ControlOf<QToolButton>(window, "PlayButton");
    loadEdit_ = ControlOf<QLineEdit>(window, "LoadEdit");
    closeButton_ = ControlOf<QPushButton>(window, "CloseButton");
    windowHandle_ = window.windowHandle();
    if (!ports || !fileArea || !resetPort || !delay || !play || !loadEdit_ || !closeButton_) return;

    // Until a file is loaded, the file area lists the device names in the chooser's order.
    const int port = static_cast<int>(fileArea->toPlainText().split('\n').indexOf(script_.port));
    if (port < 0) {
        Say("operator: no port " + script_.port.toStdString());
        return;
    }
    ports->setCurrentIndex(port);
    resetPort->click();
    loadEdit_->setText(script_.file);
    QTest::keyClick(loadEdit_, Qt::Key_Return);
    delay->setValue(script_.delayMs);
    play->click();
    closer_ = std::thread([this] { CloseAtTheMoment(); });
}

void ScriptedOperator::CloseAtTheMoment() {
    const std::string wirePath = script_.wirePath.toStdString();
    const bool due = qdax_test::WaitUntil([&] {
        return qdax_test::ReadRecording(wirePath).rfind("L0\r", 0) == 0 &&
               (script_.moment != CloseMoment::CommandDelay ||
                qdax_fault::IsInTimedSleep(windowThread_));
    });
    if (!due) {
        Say("operator: the moment to close did not come");
        return;
    }
    Say("close requested");
    if (!RequestClose()) Say("operator: the close could not be requested");
}

// Each way reaches the window through its event queue, as the operator's input does.
bool ScriptedOperator::RequestClose() {
    switch (script_.way) {
        case CloseWay::CloseButton:
            return QMetaObject::invokeMethod(
                closeButton_, [button = closeButton_] { button->click(); }, Qt::QueuedConnection);
        case CloseWay::EscapeKey:
            QCoreApplication::postEvent(
                loadEdit_, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            return true;
        case CloseWay::CloseBox:
            // What the window system does for the close box: closing the window, not the widget.
            return QMetaObject::invokeMethod(
                windowHandle_, [window = windowHandle_] { window->close(); }, Qt::QueuedConnection);
    }
    return false;
}

}  // namespace qdax_operator
