#include "app/widgets/delay_spin_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QVBoxLayout>
#include <QtTest>

#include "tests/gui/window_activation.h"

namespace {

// A window that counts the key presses that reach it and its Escape shortcut.
class RecordingWindow : public QWidget {
public:
    RecordingWindow() {
        auto* layout = new QVBoxLayout(this);
        field = new DelaySpinEdit(this);
        other = new QLineEdit(this);
        layout->addWidget(field);
        layout->addWidget(other);
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        connect(escape, &QShortcut::activated, this, [this] { ++escapeShortcuts; });
        field->SetBeep([this] { ++beeps; });
    }

    DelaySpinEdit* field;
    QLineEdit* other;
    int beeps = 0;
    int escapeShortcuts = 0;
    int keysSeen = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        ++keysSeen;
        event->accept();
    }
};

}  // namespace

class DelaySpinEditTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<RecordingWindow> window_;

    DelaySpinEdit* Field() { return window_->field; }

    QLineEdit* Edit() { return Field()->findChild<QLineEdit*>(); }

    // Puts `text` into the field as pasted or set text, past the key filter.
    void SetText(const QString& text) { Edit()->setText(text); }

    void FocusField() {
        Field()->setFocus();
        QTRY_VERIFY(HasFocusOnceActive(*Field()));
    }

    // Only the active window's focus is the application's.
    bool HasFocusOnceActive(QWidget& control) { return WaitActive(*window_) && control.hasFocus(); }

    void ClickArrow(QStyle::SubControl arrow) {
        QStyleOptionSpinBox option;
        option.initFrom(Field());
        option.subControls = QStyle::SC_All;
        const QRect rect =
            Field()->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, Field());
        QTest::mouseClick(Field(), Qt::LeftButton, {}, rect.center());
    }

private slots:
    void init() {
        window_ = std::make_unique<RecordingWindow>();
        QVERIFY(ShowActive(*window_));
    }
    void cleanup() { window_.reset(); }

    void startsAt50Within0To5000() {
        QCOMPARE(Field()->value(), 50);
        QCOMPARE(Field()->text(), QString("50"));
        QCOMPARE(Field()->Value(), 50);
        QCOMPARE(Field()->minimum(), 0);
        QCOMPARE(Field()->maximum(), 5000);
        QCOMPARE(Field()->singleStep(), 1);
    }

    void refusedKeysBeepAndLeaveTheText_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("typed");
        QTest::newRow("letter") << int(Qt::Key_A) << "a";
        QTest::newRow("capital") << int(Qt::Key_F) << "F";
        QTest::newRow("dollar") << int(Qt::Key_Dollar) << "$";
        QTest::newRow("space") << int(Qt::Key_Space) << " ";
        QTest::newRow("return") << int(Qt::Key_Return) << "\r";
        QTest::newRow("enter") << int(Qt::Key_Enter) << "\r";
    }
    void refusedKeysBeepAndLeaveTheText() {
        QFETCH(int, key);
        QFETCH(QString, typed);
        FocusField();
        SetText("7000");
        Edit()->end(false);
        QTest::keyClick(Field(), Qt::Key(key), Qt::NoModifier);
        QCOMPARE(window_->beeps, 1);
        QCOMPARE(Field()->text(), QString("7000"));
        QCOMPARE(Field()->Value(), 7000);
        QCOMPARE(window_->keysSeen, 0);
        Q_UNUSED(typed);
    }

    void digitsSignsAndDecimalPointCanBeTyped() {
        FocusField();
        Field()->selectAll();
        const QString decimal = Field()->locale().decimalPoint();
        const QString typed = "-12" + decimal + "5+";
        QTest::keyClicks(Field(), typed);
        QCOMPARE(Field()->text(), typed);
        QCOMPARE(window_->beeps, 0);
    }

    void typedValueIsReadUnclampedBeforeConfirmation_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("reads");
        QTest::newRow("above") << "7000" << 7000;
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("within") << "120" << 120;
    }
    void typedValueIsReadUnclampedBeforeConfirmation() {
        QFETCH(QString, typed);
        QFETCH(int, reads);
        FocusField();
        Field()->selectAll();
        QTest::keyClicks(Field(), typed);
        QCOMPARE(Field()->Value(), reads);
        QCOMPARE(Field()->text(), typed);
    }

    void setTextIsReadWithTheIntegerRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("reads");
        QTest::newRow("dollar hex") << "$1F" << 31;
        QTest::newRow("0x hex") << "0x1f" << 31;
        QTest::newRow("leading blank") << " 12" << 12;
        QTest::newRow("negative hex") << "-$10" << -16;
    }
    void setTextIsReadWithTheIntegerRules() {
        QFETCH(QString, text);
        QFETCH(int, reads);
        SetText(text);
        QCOMPARE(Field()->Value(), reads);
        QCOMPARE(Field()->text(), text);
    }

    void nonIntegerReadsZeroAndBecomesZero_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("decimal fraction") << "1.5";
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("sign only") << "-";
        QTest::newRow("too large") << "2147483648";
    }
    void nonIntegerReadsZeroAndBecomesZero() {
        QFETCH(QString, text);
        SetText(text);
        QCOMPARE(Field()->Value(), 0);
        QCOMPARE(Field()->text(), QString("0"));
        QCOMPARE(Field()->value(), 0);
    }

    void clearedFieldReadsZeroAndShowsIt() {
        Field()->clear();
        QCOMPARE(Field()->Value(), 0);
        QCOMPARE(Field()->text(), QString("0"));
    }

    void leavingTheFieldClamps_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("above") << "7000"
                               << "5000";
        QTest::newRow("below") << "-3"
                               << "0";
        QTest::newRow("within") << "77"
                                << "77";
        QTest::newRow("hex") << "$1F"
                             << "31";
        QTest::newRow("not an integer") << "1.5"
                                        << "0";
    }
    void leavingTheFieldClamps() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        FocusField();
        SetText(typed);
        window_->other->setFocus();
        QTRY_VERIFY(HasFocusOnceActive(*window_->other));
        QCOMPARE(Field()->text(), shown);
        QCOMPARE(Field()->Value(), shown.toInt());
        QCOMPARE(Field()->value(), shown.toInt());
    }

    void leavingAClearedThenRefilledFieldClamps() {
        FocusField();
        Field()->clear();
        SetText("7000");
        window_->other->setFocus();
        QTRY_VERIFY(HasFocusOnceActive(*window_->other));
        QCOMPARE(Field()->text(), QString("5000"));
    }

    void editingShortcutsPassWithoutBeep() {
        FocusField();
        SetText("123");
        QTest::keyClick(Field(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Field(), "7");
        QCOMPARE(Field()->text(), QString("7"));
        QCOMPARE(window_->beeps, 0);
    }

    void steppingStartsFromTheTextAndClamps_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("how");  // 0: Up key, 1: Down key, 2: up arrow, 3: down arrow
        QTest::addColumn<QString>("shown");
        QTest::newRow("up key") << "10" << 0 << "11";
        QTest::newRow("down key") << "10" << 1 << "9";
        QTest::newRow("up arrow") << "10" << 2 << "11";
        QTest::newRow("down arrow") << "10" << 3 << "9";
        QTest::newRow("hex up") << "$1F" << 0 << "32";
        QTest::newRow("above, up") << "7000" << 0 << "5000";
        QTest::newRow("above, down") << "7000" << 1 << "5000";
        QTest::newRow("above, down arrow") << "7000" << 3 << "5000";
        QTest::newRow("below, up") << "-5" << 0 << "0";
        QTest::newRow("below, down") << "-5" << 1 << "0";
        QTest::newRow("max, up") << "5000" << 0 << "5000";
        QTest::newRow("max, down arrow") << "5000" << 3 << "4999";
        QTest::newRow("min, down") << "0" << 1 << "0";
        QTest::newRow("min, up arrow") << "0" << 2 << "1";
        QTest::newRow("not an integer, up") << "abc" << 0 << "1";
        QTest::newRow("int max, up") << "2147483647" << 0 << "5000";
    }
    void steppingStartsFromTheTextAndClamps() {
        QFETCH(QString, text);
        QFETCH(int, how);
        QFETCH(QString, shown);
        FocusField();
        SetText(text);
        switch (how) {
            case 0:
                QTest::keyClick(Field(), Qt::Key_Up);
                break;
            case 1:
                QTest::keyClick(Field(), Qt::Key_Down);
                break;
            case 2:
                ClickArrow(QStyle::SC_SpinBoxUp);
                break;
            default:
                ClickArrow(QStyle::SC_SpinBoxDown);
                break;
        }
        QCOMPARE(Field()->text(), shown);
        QCOMPARE(Field()->Value(), shown.toInt());
        QCOMPARE(window_->beeps, 0);
    }

    void escapeStaysInTheField() {
        FocusField();
        SetText("123");
        QTest::keyClick(Field(), Qt::Key_Escape);
        QCOMPARE(window_->escapeShortcuts, 0);
        QCOMPARE(window_->keysSeen, 0);
        QCOMPARE(Field()->text(), QString("123"));
        QCOMPARE(window_->beeps, 0);
    }

    void escapeElsewhereReachesTheWindow() {
        // The counterpart of the test above: the window's shortcut does work outside the field.
        window_->other->setFocus();
        QTRY_VERIFY(HasFocusOnceActive(*window_->other));
        QTest::keyClick(window_->other, Qt::Key_Escape);
        QCOMPARE(window_->escapeShortcuts, 1);
    }

    void heldArrowRepeatsAfter400ThenEvery100Ms() {
        QStyle* style = Field()->style();
        QCOMPARE(style->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, Field()),
                 400);
        QCOMPARE(style->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, Field()), 100);
        QVERIFY(style != QApplication::style());
    }
};

QTEST_MAIN(DelaySpinEditTest)
#include "delay_spin_edit_test.moc"
