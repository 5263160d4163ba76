// Where every control sits, what kind it is, how it follows a resize of the window, the minimum
// sizes and the splitter between the file area and the log.
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <cstdlib>

#include "app/services/application_title.h"
#include "app/window/daxtest.h"
#include "gui_support.h"

namespace {

// Each control's rectangle in its designed parent: at the designed client size of 486 x 409 and
// after the window was resized to 600 x 500.
struct Placement {
    const char* name;
    const char* kind;
    const char* parent;
    QRect designed;
    QRect resized;
};

const Placement kPlacements[] = {
    {"TopPanel", "QFrame", "MainForm", {0, 0, 486, 105}, {0, 0, 600, 105}},
    {"Label3", "QLabel", "TopPanel", {24, 19, 49, 13}, {24, 19, 49, 13}},
    {"ComPortCombo", "QComboBox", "TopPanel", {80, 16, 161, 21}, {80, 16, 275, 21}},
    {"Label4", "QLabel", "TopPanel", {248, 19, 54, 13}, {362, 19, 54, 13}},
    {"BaudRateCombo", "QComboBox", "TopPanel", {312, 16, 65, 21}, {426, 16, 65, 21}},
    {"SetPortButton", "QPushButton", "TopPanel", {396, 16, 75, 25}, {510, 16, 75, 25}},
    {"Label5", "QLabel", "TopPanel", {24, 52, 46, 13}, {24, 52, 46, 13}},
    {"LoadEdit", "QLineEdit", "TopPanel", {80, 47, 277, 21}, {80, 47, 391, 21}},
    {"PickLoadButton", "QToolButton", "TopPanel", {358, 47, 23, 22}, {472, 47, 23, 22}},
    {"GoButton", "QPushButton", "TopPanel", {396, 45, 75, 25}, {510, 45, 75, 25}},
    {"Label6", "QLabel", "TopPanel", {24, 76, 49, 13}, {24, 76, 49, 13}},
    {"SaveEdit", "QLineEdit", "TopPanel", {80, 77, 277, 21}, {80, 77, 391, 21}},
    {"PickSaveButton", "QToolButton", "TopPanel", {358, 77, 23, 22}, {472, 77, 23, 22}},
    {"CloseButton", "QPushButton", "TopPanel", {396, 75, 75, 25}, {510, 75, 75, 25}},
    {"MainPanel", "QFrame", "MainForm", {0, 105, 486, 157}, {0, 105, 600, 248}},
    {"ButtonPanel", "QFrame", "MainPanel", {1, 1, 484, 32}, {1, 1, 598, 32}},
    {"Label7", "QLabel", "ButtonPanel", {8, 10, 77, 13}, {8, 10, 77, 13}},
    {"DelaySpinEdit", "QSpinBox", "ButtonPanel", {88, 5, 89, 22}, {88, 5, 89, 22}},
    {"PlayButton", "QToolButton", "ButtonPanel", {186, 5, 23, 22}, {186, 5, 23, 22}},
    {"PauseButton", "QToolButton", "ButtonPanel", {210, 5, 23, 22}, {210, 5, 23, 22}},
    {"StepButton", "QToolButton", "ButtonPanel", {234, 5, 23, 22}, {234, 5, 23, 22}},
    {"StopButton", "QToolButton", "ButtonPanel", {258, 5, 23, 22}, {258, 5, 23, 22}},
    {"UploadFile", "QPlainTextEdit", "MainPanel", {1, 33, 484, 123}, {1, 33, 598, 214}},
    {"BottomPanel", "QFrame", "MainForm", {0, 265, 486, 144}, {0, 356, 600, 144}},
    {"Label2", "QLabel", "BottomPanel", {8, 8, 53, 13}, {8, 8, 53, 13}},
    {"SendLog", "CommLogView", "BottomPanel", {80, 8, 401, 89}, {80, 8, 515, 89}},
    {"Label1", "QLabel", "BottomPanel", {8, 112, 65, 13}, {8, 112, 65, 13}},
    {"ManualEntry", "QLineEdit", "BottomPanel", {80, 112, 401, 21}, {80, 112, 515, 21}},
};

const QRect kSplitterBarDesigned(0, 262, 486, 3);
const QRect kSplitterBarResized(0, 353, 600, 3);

QWidget* Find(QWidget& window, const char* name) {
    if (window.objectName() == QLatin1String(name)) {
        return &window;
    }
    return window.findChild<QWidget*>(QString::fromLatin1(name));
}

QRect RectIn(QWidget& control, QWidget& parent) {
    return QRect(control.mapTo(&parent, QPoint(0, 0)), control.size());
}

// The bar as drawn: a thin handle reaches over its neighbours to be easier to grab, and only its
// contents rectangle is the bar.
QRect SplitterBar(TMainForm& window) {
    QWidget* handle = window.Splitter1->handle(1);
    return handle->contentsRect().translated(handle->mapTo(&window, QPoint(0, 0)));
}

// Presses the splitter bar, moves it by `dy` (reporting the panel heights seen while the button
// is still down) and lets it go.
std::pair<int, int> DragSplitterBar(TMainForm& window, int dy) {
    QWidget* bar = window.Splitter1->handle(1);
    const QPoint grip = bar->contentsRect().center();
    const QPoint target = grip + QPoint(0, dy);
    QMouseEvent press(QEvent::MouseButtonPress, grip, bar->mapToGlobal(grip), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QMouseEvent move(QEvent::MouseMove, target, bar->mapToGlobal(target), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    const std::pair<int, int> during{window.MainPanel->height(), window.BottomPanel->height()};
    QMouseEvent release(QEvent::MouseButtonRelease, target, bar->mapToGlobal(target),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    return during;
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationTitle(); }
    void init();
    void cleanup() { test_.reset(); }

    void everyControlHasItsKindParentAndPlace_data();
    void everyControlHasItsKindParentAndPlace();
    void controlsFollowTheirAnchorsWhenTheWindowGrows_data();
    void controlsFollowTheirAnchorsWhenTheWindowGrows();
    void splitterBarSitsBetweenTheFileAreaAndTheLog();
    void windowDoesNotShrinkBelowItsMinimum();
    void controlsFollowTheirAnchorsAtTheMinimumWidth();
    void splitterKeepsEachPartAtLeast144High();
    void panelsFollowTheBarWhileItIsDragged();
    void logKeepsItsHeightWhenTheWindowGrowsAfterADrag();

private:
    std::unique_ptr<TestWindow> test_;
    TMainForm* window_ = nullptr;
};

void LayoutTest::init() {
    test_ = std::make_unique<TestWindow>(std::vector<TestPort>{{"COM1", "One"}, {"COM2", "Two"}});
    window_ = test_->form.get();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void LayoutTest::everyControlHasItsKindParentAndPlace_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < std::size(kPlacements); ++i) {
        QTest::newRow(kPlacements[i].name) << static_cast<int>(i);
    }
}

void LayoutTest::everyControlHasItsKindParentAndPlace() {
    QFETCH(int, row);
    const Placement& placement = kPlacements[row];
    QWidget* control = Find(*window_, placement.name);
    QWidget* parent = Find(*window_, placement.parent);
    QVERIFY(control != nullptr);
    QVERIFY(parent != nullptr);

    QVERIFY2(control->inherits(placement.kind), control->metaObject()->className());
    QVERIFY(parent->isAncestorOf(control));
    QCOMPARE(RectIn(*control, *parent), placement.designed);
}

void LayoutTest::controlsFollowTheirAnchorsWhenTheWindowGrows_data() {
    everyControlHasItsKindParentAndPlace_data();
}

void LayoutTest::controlsFollowTheirAnchorsWhenTheWindowGrows() {
    QFETCH(int, row);
    const Placement& placement = kPlacements[row];
    window_->resize(600, 500);
    QCOMPARE(window_->size(), QSize(600, 500));

    QWidget* control = Find(*window_, placement.name);
    QCOMPARE(RectIn(*control, *Find(*window_, placement.parent)), placement.resized);
    QCOMPARE(SplitterBar(*window_), kSplitterBarResized);
}

void LayoutTest::splitterBarSitsBetweenTheFileAreaAndTheLog() {
    QCOMPARE(window_->Splitter1->orientation(), Qt::Vertical);
    QCOMPARE(window_->Splitter1->count(), 2);
    QCOMPARE(window_->Splitter1->widget(0), window_->MainPanel);
    QCOMPARE(window_->Splitter1->widget(1), window_->BottomPanel);
    QCOMPARE(SplitterBar(*window_), kSplitterBarDesigned);
    QCOMPARE(window_->Splitter1->handle(1)->cursor().shape(), Qt::SplitVCursor);
    QVERIFY(window_->Splitter1->opaqueResize());
}

void LayoutTest::windowDoesNotShrinkBelowItsMinimum() {
    window_->resize(100, 100);
    QCOMPARE(window_->size(), QSize(470, 409));
    QCOMPARE(window_->MainPanel->minimumHeight(), 144);
    QCOMPARE(window_->BottomPanel->minimumHeight(), 144);
    QCOMPARE(window_->MainPanel->height(), 157);
    QCOMPARE(window_->BottomPanel->height(), 144);
}

void LayoutTest::controlsFollowTheirAnchorsAtTheMinimumWidth() {
    window_->resize(470, 409);
    QCOMPARE(RectIn(*window_->ComPortCombo, *window_->TopPanel), QRect(80, 16, 145, 21));
    QCOMPARE(RectIn(*window_->Label4, *window_->TopPanel), QRect(232, 19, 54, 13));
    QCOMPARE(RectIn(*window_->CloseButton, *window_->TopPanel), QRect(380, 75, 75, 25));
    QCOMPARE(RectIn(*window_->UploadFile, *window_->MainPanel), QRect(1, 33, 468, 123));
    QCOMPARE(RectIn(*window_->ManualEntry, *window_->BottomPanel), QRect(80, 112, 385, 21));
}

void LayoutTest::splitterKeepsEachPartAtLeast144High() {
    window_->resize(486, 600);  // the file area takes the growth: 348 high, the log 144
    QCOMPARE(window_->MainPanel->height(), 348);
    QCOMPARE(window_->BottomPanel->height(), 144);

    DragSplitterBar(*window_, -400);
    QCOMPARE(window_->MainPanel->height(), 144);
    QCOMPARE(window_->BottomPanel->height(), 348);

    DragSplitterBar(*window_, 400);
    QCOMPARE(window_->MainPanel->height(), 348);
    QCOMPARE(window_->BottomPanel->height(), 144);
}

// Qt places a dragged handle within a pixel of the pointer; the checks allow for that pixel.
void LayoutTest::panelsFollowTheBarWhileItIsDragged() {
    window_->resize(486, 600);
    const auto [mainDuring, bottomDuring] = DragSplitterBar(*window_, -50);
    QVERIFY2(std::abs(mainDuring - 298) <= 1, qPrintable(QString::number(mainDuring)));
    QCOMPARE(mainDuring + bottomDuring, 600 - 105 - 3);
    QCOMPARE(window_->MainPanel->height(), mainDuring);
    QCOMPARE(SplitterBar(*window_), QRect(0, 105 + mainDuring, 486, 3));
    // The log's controls follow its panel: the manual entry line stays at the bottom.
    const int growth = bottomDuring - 144;
    QCOMPARE(RectIn(*window_->ManualEntry, *window_->BottomPanel),
             QRect(80, 112 + growth, 401, 21));
    QCOMPARE(RectIn(*window_->SendLog, *window_->BottomPanel), QRect(80, 8, 401, 89 + growth));
}

void LayoutTest::logKeepsItsHeightWhenTheWindowGrowsAfterADrag() {
    window_->resize(486, 600);
    DragSplitterBar(*window_, -100);
    const int dragged = window_->BottomPanel->height();
    QVERIFY2(std::abs(dragged - 244) <= 1, qPrintable(QString::number(dragged)));

    window_->resize(486, 700);
    QCOMPARE(window_->BottomPanel->height(), dragged);
    QCOMPARE(window_->MainPanel->height(), 700 - 105 - 3 - dragged);
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
