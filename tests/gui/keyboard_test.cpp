// The window's keyboard: Escape as the cancel key, the access keys of the captions and the tab
// order.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/services/application_title.h"
#include "app/services/window_services.h"
#include "app/widgets/delay_spin_edit.h"
#include "app/window/daxtest.h"
#include "gui_support.h"

namespace {

QWidget* Named(QWidget& window, const QString& name) {
    return window.findChild<QWidget*>(name);
}

// Sends the key where the operator's key would go: to the control of `window` that has the focus.
void PressKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = FocusOnceActive(window);
    QVERIFY(focus != nullptr);
    QTest::keyClick(focus, key, modifiers);
}

QString FocusName(QWidget& window) {
    const QWidget* focus = FocusOnceActive(window);
    return focus != nullptr ? focus->objectName() : QString("(no focus)");
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }
    void init();
    void cleanup() { test_.reset(); }

    void escapeClosesTheWindowFromEditsChoosersAndButtons_data();
    void escapeClosesTheWindowFromEditsChoosersAndButtons();
    void escapeIsAnOrdinaryKeyInTheTextAreasAndTheDelayField_data();
    void escapeIsAnOrdinaryKeyInTheTextAreasAndTheDelayField();
    void escapeWithShiftCtrlOrAltDoesNotClose_data();
    void escapeWithShiftCtrlOrAltDoesNotClose();
    void escapeInADroppedDownListOnlyClosesTheList();
    void labelAccessKeysFocusTheirControls_data();
    void labelAccessKeysFocusTheirControls();
    void altCFocusesThePortChooserAndDoesNotClose();
    void buttonAccessKeysPressTheButtons_data();
    void buttonAccessKeysPressTheButtons();
    void tabVisitsTheControlsInOrder_data();
    void tabVisitsTheControlsInOrder();
    void toolButtonsNeverTakeTheFocus();

private:
    void EnableEverything();

    std::unique_ptr<TestWindow> test_;
    TMainForm* window_ = nullptr;
};

void KeyboardTest::init() {
    test_ = std::make_unique<TestWindow>(std::vector<TestPort>{{"COM1", "One"}, {"COM2", "Two"}});
    window_ = test_->form.get();
    QVERIFY(ShowActive(*window_));
}

// The state after the first "Reset Port": the manual entry line and the playback panel usable.
void KeyboardTest::EnableEverything() {
    window_->ManualEntry->setEnabled(true);
    window_->ButtonPanel->setEnabled(true);
}

void KeyboardTest::escapeClosesTheWindowFromEditsChoosersAndButtons_data() {
    QTest::addColumn<QString>("control");
    for (const char* name : {"LoadEdit", "SaveEdit", "ManualEntry", "ComPortCombo", "BaudRateCombo",
                             "SetPortButton", "GoButton", "CloseButton"}) {
        QTest::newRow(name) << QString(name);
    }
}

void KeyboardTest::escapeClosesTheWindowFromEditsChoosersAndButtons() {
    QFETCH(QString, control);
    EnableEverything();
    Named(*window_, control)->setFocus();
    QCOMPARE(FocusOnceActive(*window_), Named(*window_, control));
    QSignalSpy closePressed(window_->CloseButton, &QPushButton::clicked);

    PressKey(*window_, Qt::Key_Escape);

    QCOMPARE(closePressed.count(), 1);
    QVERIFY(!window_->isVisible());
}

void KeyboardTest::escapeIsAnOrdinaryKeyInTheTextAreasAndTheDelayField_data() {
    QTest::addColumn<QString>("control");
    for (const char* name : {"UploadFile", "SendLog", "DelaySpinEdit"}) {
        QTest::newRow(name) << QString(name);
    }
}

void KeyboardTest::escapeIsAnOrdinaryKeyInTheTextAreasAndTheDelayField() {
    QFETCH(QString, control);
    EnableEverything();
    Named(*window_, control)->setFocus();
    QCOMPARE(FocusOnceActive(*window_), Named(*window_, control));

    PressKey(*window_, Qt::Key_Escape);

    QVERIFY(window_->isVisible());
    QCOMPARE(FocusOnceActive(*window_), Named(*window_, control));
}

void KeyboardTest::escapeWithShiftCtrlOrAltDoesNotClose_data() {
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Shift") << static_cast<int>(Qt::ShiftModifier);
    QTest::newRow("Ctrl") << static_cast<int>(Qt::ControlModifier);
    QTest::newRow("Alt") << static_cast<int>(Qt::AltModifier);
}

void KeyboardTest::escapeWithShiftCtrlOrAltDoesNotClose() {
    QFETCH(int, modifiers);
    window_->LoadEdit->setFocus();

    PressKey(*window_, Qt::Key_Escape, Qt::KeyboardModifiers(modifiers));

    QVERIFY(window_->isVisible());
}

void KeyboardTest::escapeInADroppedDownListOnlyClosesTheList() {
    window_->ComPortCombo->setFocus();
    window_->ComPortCombo->showPopup();
    QAbstractItemView* list = window_->ComPortCombo->view();
    QTRY_VERIFY(list->isVisible());

    QTest::keyClick(list, Qt::Key_Escape);

    QTRY_VERIFY(!list->isVisible());
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->ComPortCombo->currentIndex(), 1);

    // Closed again, the chooser passes Escape on to the Close button.
    QTRY_COMPARE(FocusOnceActive(*window_), window_->ComPortCombo);
    PressKey(*window_, Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
}

void KeyboardTest::labelAccessKeysFocusTheirControls_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("control");
    QTest::newRow("Alt+C") << static_cast<int>(Qt::Key_C) << "Label3"
                           << "ComPortCombo";
    QTest::newRow("Alt+B") << static_cast<int>(Qt::Key_B) << "Label4"
                           << "BaudRateCombo";
    QTest::newRow("Alt+L") << static_cast<int>(Qt::Key_L) << "Label5"
                           << "LoadEdit";
    QTest::newRow("Alt+S") << static_cast<int>(Qt::Key_S) << "Label6"
                           << "SaveEdit";
    QTest::newRow("Alt+D") << static_cast<int>(Qt::Key_D) << "Label7"
                           << "DelaySpinEdit";
    QTest::newRow("Alt+M") << static_cast<int>(Qt::Key_M) << "Label1"
                           << "ManualEntry";
}

void KeyboardTest::labelAccessKeysFocusTheirControls() {
    QFETCH(int, key);
    QFETCH(QString, label);
    QFETCH(QString, control);
    EnableEverything();
    window_->UploadFile->setFocus();
    QCOMPARE(qobject_cast<QLabel*>(Named(*window_, label))->buddy(), Named(*window_, control));

    PressKey(*window_, static_cast<Qt::Key>(key), Qt::AltModifier);

    QCOMPARE(FocusOnceActive(*window_), Named(*window_, control));
}

void KeyboardTest::altCFocusesThePortChooserAndDoesNotClose() {
    window_->LoadEdit->setFocus();
    QSignalSpy closePressed(window_->CloseButton, &QPushButton::clicked);

    PressKey(*window_, Qt::Key_C, Qt::AltModifier);
    PressKey(*window_, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(200);  // an animated click would have come by now

    QCOMPARE(FocusOnceActive(*window_), window_->ComPortCombo);
    QCOMPARE(closePressed.count(), 0);
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->CloseButton->text(), QString("&Close"));
}

void KeyboardTest::buttonAccessKeysPressTheButtons_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    // Both buttons answer with a box here: no file is named, and COM2 leads nowhere.
    QTest::newRow("Alt+O") << static_cast<int>(Qt::Key_O) << "GoButton"
                           << "No File Selected";
    QTest::newRow("Alt+R") << static_cast<int>(Qt::Key_R) << "SetPortButton"
                           << "Unable to open serial port";
}

void KeyboardTest::buttonAccessKeysPressTheButtons() {
    QFETCH(int, key);
    QFETCH(QString, button);
    QFETCH(QString, box);
    window_->LoadEdit->setFocus();
    QSignalSpy pressed(qobject_cast<QPushButton*>(Named(*window_, button)), &QPushButton::clicked);

    PressKey(*window_, static_cast<Qt::Key>(key), Qt::AltModifier);

    QTRY_COMPARE(pressed.count(), 1);
    QVERIFY(window_->isVisible());
    QCOMPARE(test_->runner.boxes.size(), std::size_t{1});
    QCOMPARE(test_->runner.boxes[0].text, box);
}

void KeyboardTest::tabVisitsTheControlsInOrder_data() {
    QTest::addColumn<bool>("everythingEnabled");
    QTest::addColumn<QStringList>("order");
    const QStringList atStart{"LoadEdit",     "SaveEdit",      "GoButton",      "CloseButton",
                              "ComPortCombo", "BaudRateCombo", "SetPortButton", "SendLog",
                              "UploadFile",   "LoadEdit"};
    QTest::newRow("at start") << false << atStart;
    QTest::newRow("after the first reset")
        << true << QStringList{"LoadEdit",     "SaveEdit",      "GoButton",      "CloseButton",
                               "ComPortCombo", "BaudRateCombo", "SetPortButton", "SendLog",
                               "ManualEntry",  "UploadFile",    "DelaySpinEdit", "LoadEdit"};
}

void KeyboardTest::tabVisitsTheControlsInOrder() {
    QFETCH(bool, everythingEnabled);
    QFETCH(QStringList, order);
    if (everythingEnabled) {
        EnableEverything();
    }
    window_->LoadEdit->setFocus();

    QStringList visited{FocusName(*window_)};
    for (qsizetype i = 1; i < order.size(); ++i) {
        PressKey(*window_, Qt::Key_Tab);
        visited.append(FocusName(*window_));
    }
    QCOMPARE(visited, order);

    // Backwards the same way.
    QStringList back{FocusName(*window_)};
    for (qsizetype i = 1; i < order.size(); ++i) {
        PressKey(*window_, Qt::Key_Backtab, Qt::ShiftModifier);
        back.prepend(FocusName(*window_));
    }
    QCOMPARE(back, order);
}

void KeyboardTest::toolButtonsNeverTakeTheFocus() {
    EnableEverything();
    for (QWidget* button : std::initializer_list<QWidget*>{
             window_->PickLoadButton, window_->PickSaveButton, window_->PlayButton,
             window_->PauseButton, window_->StepButton, window_->StopButton}) {
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
