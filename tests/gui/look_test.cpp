// How the window looks: captions that fit their controls, hints, the font, the button pictures,
// the text areas' scroll bars and wrapping.
#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/services/application_title.h"
#include "app/widgets/button_images.h"
#include "app/widgets/window_font.h"
#include "app/window/daxtest.h"
#include "gui_support.h"

namespace {

QString WithoutAccessMark(QString caption) {
    return caption.remove(u'&');
}

}  // namespace

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }
    void init();
    void cleanup() { test_.reset(); }

    void captionsAreAsDesigned_data();
    void captionsAreAsDesigned();
    void everyCaptionFitsItsControl_data();
    void everyCaptionFitsItsControl();
    void hintsAreAsDesigned_data();
    void hintsAreAsDesigned();
    void windowUsesTheDesignedFontOrANarrowStandIn();
    void windowHasTheFaceColourOfButtons();
    void windowCarriesTheProgramsIconAtEachDrawnSize();
    void imageButtonsCarryTheirPictures_data();
    void imageButtonsCarryTheirPictures();
    void disabledPicturesAreEtchedGrey_data();
    void disabledPicturesAreEtchedGrey();
    void openPictureIsGreen();
    void textAreasScrollAndWrapAsDesigned();

private:
    std::unique_ptr<TestWindow> test_;
    TMainForm* window_ = nullptr;
};

void LookTest::init() {
    test_ = std::make_unique<TestWindow>();
    window_ = test_->form.get();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void LookTest::captionsAreAsDesigned_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label1") << "Label1"
                            << "&Manual Entry:";
    QTest::newRow("Label2") << "Label2"
                            << "Comm Log:";
    QTest::newRow("Label3") << "Label3"
                            << "&COM Port:";
    QTest::newRow("Label4") << "Label4"
                            << "&Baud Rate:";
    QTest::newRow("Label5") << "Label5"
                            << "&Load File:";
    QTest::newRow("Label6") << "Label6"
                            << "&Save Log:";
    QTest::newRow("Label7") << "Label7"
                            << "Command &Delay";
    QTest::newRow("SetPortButton") << "SetPortButton"
                                   << "&Reset Port";
    QTest::newRow("GoButton") << "GoButton"
                              << "&Open";
    QTest::newRow("CloseButton") << "CloseButton"
                                 << "&Close";
    QTest::newRow("PickLoadButton") << "PickLoadButton"
                                    << ". . .";
    QTest::newRow("PickSaveButton") << "PickSaveButton"
                                    << ". . .";
}

void LookTest::captionsAreAsDesigned() {
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QObject* found = window_->findChild<QObject*>(control);
    QVERIFY(found != nullptr);
    QCOMPARE(found->property("text").toString(), caption);
}

void LookTest::everyCaptionFitsItsControl_data() {
    QTest::addColumn<QString>("control");
    TestWindow test;
    TMainForm& window = *test.form;
    // The file dialogs are windows of their own; their controls are Qt's.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->window() != &window) {
            continue;
        }
        QTest::newRow(qPrintable(label->objectName())) << label->objectName();
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->window() == &window && !button->text().isEmpty()) {
            QTest::newRow(qPrintable(button->objectName())) << button->objectName();
        }
    }
}

void LookTest::everyCaptionFitsItsControl() {
    QFETCH(QString, control);
    auto* widget = window_->findChild<QWidget*>(control);
    const QString caption = WithoutAccessMark(widget->property("text").toString());
    const QFontMetrics metrics(widget->font());
    int needed = metrics.horizontalAdvance(caption);
    if (auto* button = qobject_cast<QPushButton*>(widget); button && !button->icon().isNull()) {
        needed += button->iconSize().width();
    }
    QVERIFY2(
        needed <= widget->width(),
        qPrintable(QString("%1 needs %2 of %3").arg(caption).arg(needed).arg(widget->width())));
    QVERIFY(metrics.height() <= widget->height());
}

void LookTest::hintsAreAsDesigned_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    const QString port = "Select the Q-Dax COM port";
    const QString baud = "Set the COM port Baud Rate";
    const QString load = "File name to load";
    const QString save = "Name of file to store the communications log";
    const QString delay = "Enter the delay between commands (in milliseconds)";
    const QString manual = "Enter commands manually";
    QTest::newRow("Label3") << "Label3" << port;
    QTest::newRow("ComPortCombo") << "ComPortCombo" << port;
    QTest::newRow("Label4") << "Label4" << baud;
    QTest::newRow("BaudRateCombo") << "BaudRateCombo" << baud;
    QTest::newRow("SetPortButton") << "SetPortButton"
                                   << "Apply changes in COM port and Baud Rate";
    QTest::newRow("Label5") << "Label5" << load;
    QTest::newRow("LoadEdit") << "LoadEdit" << load;
    QTest::newRow("PickLoadButton") << "PickLoadButton"
                                    << "Select a file to load";
    QTest::newRow("GoButton") << "GoButton"
                              << "Load the selected file";
    QTest::newRow("Label6") << "Label6" << save;
    QTest::newRow("SaveEdit") << "SaveEdit" << save;
    QTest::newRow("PickSaveButton") << "PickSaveButton" << QString();
    QTest::newRow("CloseButton") << "CloseButton"
                                 << "Exit from the program";
    QTest::newRow("Label7") << "Label7" << delay;
    QTest::newRow("DelaySpinEdit") << "DelaySpinEdit" << delay;
    QTest::newRow("PlayButton") << "PlayButton"
                                << "Send the loaded file, line by line";
    QTest::newRow("PauseButton") << "PauseButton"
                                 << "Pause the file download";
    QTest::newRow("StepButton") << "StepButton"
                                << "Send the next line in the file";
    QTest::newRow("StopButton") << "StopButton"
                                << "Stop playing the file, and reset to the beginning";
    QTest::newRow("UploadFile") << "UploadFile"
                                << "The loaded file - you may edit this";
    QTest::newRow("Label2") << "Label2" << QString();
    QTest::newRow("SendLog") << "SendLog"
                             << "Communications Log";
    QTest::newRow("Label1") << "Label1" << manual;
    QTest::newRow("ManualEntry") << "ManualEntry" << manual;
    for (const char* panel : {"TopPanel", "MainPanel", "ButtonPanel", "BottomPanel"}) {
        QTest::newRow(panel) << panel << QString();
    }
}

void LookTest::hintsAreAsDesigned() {
    QFETCH(QString, control);
    QFETCH(QString, hint);
    auto* widget = window_->findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->toolTip(), hint);
}

void LookTest::windowUsesTheDesignedFontOrANarrowStandIn() {
    const QFont font = window_->font();
    QCOMPARE(font.pixelSize(), 11);
    QCOMPARE(window_->LoadEdit->font(), font);
    QCOMPARE(window_->Label5->font(), font);
    const QFontInfo used(font);
    if (used.family() != QLatin1String(kWindowFontFamily)) {
        QCOMPARE(font.styleHint(), QFont::SansSerif);
        QVERIFY(font.stretch() < QFont::Unstretched);
    }
}

void LookTest::windowHasTheFaceColourOfButtons() {
    QCOMPARE(window_->palette().color(QPalette::Window),
             window_->palette().color(QPalette::Button));
}

void LookTest::windowCarriesTheProgramsIconAtEachDrawnSize() {
    const QIcon icon = window_->windowIcon();
    QCOMPARE(icon.availableSizes(),
             QList<QSize>({{16, 16}, {24, 24}, {32, 32}, {48, 48}, {256, 256}}));
    // Drawn, not blank: the connector's light face sits in the middle of the dark square.
    const QImage image = icon.pixmap(48, 48).toImage();
    QVERIFY(qGray(image.pixel(24, 19)) > 200);
    QVERIFY(qGray(image.pixel(4, 40)) < 100);
}

void LookTest::imageButtonsCarryTheirPictures_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("size");
    QTest::newRow("GoButton") << "GoButton" << 18;
    QTest::newRow("CloseButton") << "CloseButton" << 18;
    QTest::newRow("PlayButton") << "PlayButton" << 16;
    QTest::newRow("PauseButton") << "PauseButton" << 16;
    QTest::newRow("StepButton") << "StepButton" << 16;
    QTest::newRow("StopButton") << "StopButton" << 16;
}

void LookTest::imageButtonsCarryTheirPictures() {
    QFETCH(QString, button);
    QFETCH(int, size);
    auto* control = window_->findChild<QAbstractButton*>(button);
    QCOMPARE(control->iconSize(), QSize(size, size));
    const QIcon icon = control->icon();
    const QImage enabled = icon.pixmap(size, QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(size, QIcon::Disabled).toImage();
    QCOMPARE(enabled.size(), QSize(size, size));
    QCOMPARE(disabled.size(), QSize(size, size));
    QVERIFY(enabled != disabled);
    // What lies around the figure, the bottom-left pixel included, is transparent.
    QCOMPARE(qAlpha(enabled.pixel(0, size - 1)), 0);
    QCOMPARE(qAlpha(disabled.pixel(0, size - 1)), 0);
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            opaque += qAlpha(enabled.pixel(x, y)) == 255;
        }
    }
    QVERIFY2(opaque >= size, "the figure is drawn");
}

void LookTest::disabledPicturesAreEtchedGrey_data() {
    imageButtonsCarryTheirPictures_data();
}

void LookTest::disabledPicturesAreEtchedGrey() {
    QFETCH(QString, button);
    QFETCH(int, size);
    const QImage disabled = window_->findChild<QAbstractButton*>(button)
                                ->icon()
                                .pixmap(size, QIcon::Disabled)
                                .toImage()
                                .convertToFormat(QImage::Format_ARGB32);
    bool sawShadow = false;
    bool sawGrey = false;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = disabled.pixel(x, y);
            if (qAlpha(pixel) >= 128) {
                QVERIFY(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel));
                sawShadow = sawShadow || qRed(pixel) >= 224;
                sawGrey = sawGrey || qRed(pixel) <= 144;
            }
        }
    }
    QVERIFY(sawShadow);
    QVERIFY(sawGrey);
}

void LookTest::openPictureIsGreen() {
    const QImage tick = OpenImage().pixmap(kCommandImageSize).toImage();
    int green = 0;
    int other = 0;
    for (int y = 0; y < tick.height(); ++y) {
        for (int x = 0; x < tick.width(); ++x) {
            const QRgb pixel = tick.pixel(x, y);
            if (qAlpha(pixel) == 255) {
                (qGreen(pixel) > 2 * qRed(pixel) && qGreen(pixel) > 2 * qBlue(pixel) ? green
                                                                                     : other)++;
            }
        }
    }
    QVERIFY(green > 0);
    QCOMPARE(other, 0);
}

void LookTest::textAreasScrollAndWrapAsDesigned() {
    QCOMPARE(window_->UploadFile->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(window_->UploadFile->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(!window_->UploadFile->isReadOnly());
    QCOMPARE(window_->SendLog->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

QTEST_MAIN(LookTest)
#include "look_test.moc"
