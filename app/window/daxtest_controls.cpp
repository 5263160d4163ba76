// The window's controls as designed: kinds, places in their parents, anchors, captions with their
// access keys, hints, tab order and the states they start in.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <iterator>

#include "app/boxes/file_dialogs.h"
#include "app/widgets/anchor_layout.h"
#include "app/widgets/button_images.h"
#include "app/widgets/control_factory.h"
#include "app/widgets/delay_spin_edit.h"
#include "app/widgets/escape_closer.h"
#include "app/widgets/input_hooks.h"
#include "app/widgets/program_icon.h"
#include "app/widgets/window_font.h"
#include "app/window/daxtest.h"

namespace {

constexpr char kWindowCaption[] = "Q-Dax Serial Loader";
constexpr QSize kClientSize(486, 409);
constexpr QSize kMinimumClientSize(470, 409);
constexpr QSize kTopPanelSize(486, 105);
constexpr QSize kMainPanelSize(486, 157);
constexpr QSize kBottomPanelSize(486, 144);
constexpr QSize kButtonPanelSize(484, 32);
constexpr int kMinimumPartHeight = 144;
constexpr int kSplitterBarHeight = 3;

constexpr Anchors kLeftTopRight = AnchorLeft | AnchorTop | AnchorRight;
constexpr Anchors kTopRight = AnchorTop | AnchorRight;

constexpr char kPortHint[] = "Select the Q-Dax COM port";
constexpr char kBaudHint[] = "Set the COM port Baud Rate";
constexpr char kLoadHint[] = "File name to load";
constexpr char kSaveHint[] = "Name of file to store the communications log";
constexpr char kDelayHint[] = "Enter the delay between commands (in milliseconds)";
constexpr char kManualHint[] = "Enter commands manually";
constexpr char kPickerCaption[] = ". . .";

QLineEdit* NewLineEdit(const char* name, const char* hint) {
    auto* edit = new QLineEdit;
    NameControl(*edit, name, hint);
    return edit;
}

QComboBox* NewChooser(const char* name, const char* hint) {
    auto* chooser = new QComboBox;
    NameControl(*chooser, name, hint);
    chooser->setEditable(false);
    return chooser;
}

}  // namespace

void TMainForm::CreateControls() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    setWindowIcon(ProgramIcon());
    setFont(WindowFont());
    QPalette facePalette = palette();
    facePalette.setColor(QPalette::Window, facePalette.color(QPalette::Button));
    setPalette(facePalette);
    resize(kClientSize);
    setMinimumSize(kMinimumClientSize);

    TopPanel = NewPanel("TopPanel");
    ComPortCombo = NewChooser("ComPortCombo", kPortHint);
    Label3 = NewLabel("Label3", "&COM Port:", kPortHint, ComPortCombo);
    BaudRateCombo = NewChooser("BaudRateCombo", kBaudHint);
    Label4 = NewLabel("Label4", "&Baud Rate:", kBaudHint, BaudRateCombo);
    SetPortButton =
        NewPushButton("SetPortButton", "&Reset Port", "Apply changes in COM port and Baud Rate");
    LoadEdit = NewLineEdit("LoadEdit", kLoadHint);
    Label5 = NewLabel("Label5", "&Load File:", kLoadHint, LoadEdit);
    PickLoadButton = NewToolButton("PickLoadButton", kPickerCaption, "Select a file to load");
    GoButton = NewPushButton("GoButton", "&Open", "Load the selected file", OpenImage(),
                             kCommandImageSize);
    SaveEdit = NewLineEdit("SaveEdit", kSaveHint);
    Label6 = NewLabel("Label6", "&Save Log:", kSaveHint, SaveEdit);
    PickSaveButton = NewToolButton("PickSaveButton", kPickerCaption, nullptr);
    CloseButton = NewPushButton("CloseButton", "&Close", "Exit from the program", CloseImage(),
                                kCommandImageSize);
    // "&COM Port:" has the C: the caption keeps its underline, the key goes to the label.
    CloseButton->setShortcut(QKeySequence());

    auto* top = new AnchorLayout(TopPanel, kTopPanelSize);
    top->AddControl(Label3, {24, 19, 49, 13});
    top->AddControl(ComPortCombo, {80, 16, 161, 21}, kLeftTopRight);
    top->AddControl(Label4, {248, 19, 54, 13}, kTopRight);
    top->AddControl(BaudRateCombo, {312, 16, 65, 21}, kTopRight);
    top->AddControl(SetPortButton, {396, 16, 75, 25}, kTopRight);
    top->AddControl(Label5, {24, 52, 46, 13});
    top->AddControl(LoadEdit, {80, 47, 277, 21}, kLeftTopRight);
    top->AddControl(PickLoadButton, {358, 47, 23, 22}, kTopRight);
    top->AddControl(GoButton, {396, 45, 75, 25}, kTopRight);
    top->AddControl(Label6, {24, 76, 49, 13});
    top->AddControl(SaveEdit, {80, 77, 277, 21}, kLeftTopRight);
    top->AddControl(PickSaveButton, {358, 77, 23, 22}, kTopRight);
    top->AddControl(CloseButton, {396, 75, 75, 25}, kTopRight);

    MainPanel = NewPanel("MainPanel");
    MainPanel->setMinimumHeight(kMinimumPartHeight);
    ButtonPanel = NewPanel("ButtonPanel");
    UploadFile = NewTextArea("UploadFile", "The loaded file - you may edit this");
    UploadFile->setLineWrapMode(QPlainTextEdit::NoWrap);
    new HardLineBreakHook(*UploadFile);
    auto* main = new AnchorLayout(MainPanel, kMainPanelSize);
    main->AddControl(ButtonPanel, {1, 1, 484, 32}, kLeftTopRight);
    main->AddControl(UploadFile, {1, 33, 484, 123}, kAllAnchors);

    DelaySpinEdit = new ::DelaySpinEdit;
    NameControl(*DelaySpinEdit, "DelaySpinEdit", kDelayHint);
    Label7 = NewLabel("Label7", "Command &Delay", kDelayHint, DelaySpinEdit);
    PlayButton = NewToolButton("PlayButton", PlayImage(), kPlaybackImageSize,
                               "Send the loaded file, line by line");
    PauseButton =
        NewToolButton("PauseButton", PauseImage(), kPlaybackImageSize, "Pause the file download");
    StepButton = NewToolButton("StepButton", StepImage(), kPlaybackImageSize,
                               "Send the next line in the file");
    StopButton = NewToolButton("StopButton", StopImage(), kPlaybackImageSize,
                               "Stop playing the file, and reset to the beginning");
    auto* buttons = new AnchorLayout(ButtonPanel, kButtonPanelSize);
    buttons->AddControl(Label7, {8, 10, 77, 13});
    buttons->AddControl(DelaySpinEdit, {88, 5, 89, 22});
    buttons->AddControl(PlayButton, {186, 5, 23, 22});
    buttons->AddControl(PauseButton, {210, 5, 23, 22});
    buttons->AddControl(StepButton, {234, 5, 23, 22});
    buttons->AddControl(StopButton, {258, 5, 23, 22});

    BottomPanel = NewPanel("BottomPanel");
    BottomPanel->setMinimumHeight(kMinimumPartHeight);
    Label2 = NewLabel("Label2", "Comm Log:", nullptr, nullptr);
    SendLog = new CommLogView;
    NameControl(*SendLog, "SendLog", "Communications Log");
    SendLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ManualEntry = NewLineEdit("ManualEntry", kManualHint);
    Label1 = NewLabel("Label1", "&Manual Entry:", kManualHint, ManualEntry);
    auto* bottom = new AnchorLayout(BottomPanel, kBottomPanelSize);
    bottom->AddControl(Label2, {8, 8, 53, 13});
    bottom->AddControl(SendLog, {80, 8, 401, 89}, kAllAnchors);
    bottom->AddControl(Label1, {8, 112, 65, 13}, AnchorLeft | AnchorBottom);
    bottom->AddControl(ManualEntry, {80, 112, 401, 21}, AnchorLeft | AnchorRight | AnchorBottom);

    // The bar between the file area and the log: dragged live, each side kept at its minimum,
    // and growth of the window goes to the file area.
    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(MainPanel);
    Splitter1->addWidget(BottomPanel);
    Splitter1->setHandleWidth(kSplitterBarHeight);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setOpaqueResize(true);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({kMainPanelSize.height(), kBottomPanelSize.height()});

    auto* window = new AnchorLayout(this, kClientSize);
    window->AddControl(TopPanel, {0, 0, 486, 105}, kLeftTopRight);
    window->AddControl(Splitter1, {0, 105, 486, 304}, kAllAnchors);

    OpenDialog = new QFileDialog(this);
    OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
    ConfigureOpenDialog(*OpenDialog);
    SaveDialog = new ExistingPathFileDialog(this);
    SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    ConfigureSaveDialog(*SaveDialog);

    QWidget* const tabOrder[] = {LoadEdit,     SaveEdit,      GoButton,      CloseButton,
                                 ComPortCombo, BaudRateCombo, SetPortButton, SendLog,
                                 ManualEntry,  UploadFile,    DelaySpinEdit};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    QWidget* const cancelKeyControls[] = {LoadEdit,      SaveEdit,      ManualEntry, ComPortCombo,
                                          BaudRateCombo, SetPortButton, GoButton,    CloseButton};
    auto* escape = new EscapeCloser(*CloseButton);
    for (QWidget* control : cancelKeyControls) {
        escape->Watch(*control);
    }

    // Nothing can be sent before the first "Reset Port" has made the port object.
    ManualEntry->setEnabled(false);
    ButtonPanel->setEnabled(false);
}
