// The program's one window: the port and baud choosers, the command file area with its playback
// controls, and the communications log with the manual entry line.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/log_view/comm_log_view.h"
#include "app/window/window_playback_host.h"
#include "discovery/serial_port_discovery.h"
#include "platform/registry.h"
#include "playback/playback.h"

class DelaySpinEdit;
class ExistingPathFileDialog;
class ModalRunner;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;
class QSplitter;
class QToolButton;
class SerialPortInfo;

class TMainForm : public QWidget {
    Q_OBJECT

public:
    // Builds the controls and lists the serial ports that `registry` knows.
    explicit TMainForm(platform::RegistryApi& registry = platform::SystemRegistry());
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;
    ~TMainForm() override;

    // Hands one discovered port to the window: its display name to the port chooser, its device
    // name to PortNames. Reaches the window through MainForm; the user data is not used.
    static bool AddDiscoveredPort(void* userData, const PortEntry* entry);

    void CloseButtonClick();

    // "Reset Port": opens the chosen port at the chosen rate, creating the port object the first
    // time, and makes manual entry and playback usable.
    void SetPortButtonClick();

    // Logs and transmits one command; needs the port object.
    void SendCommand(const std::string& text);
    // The port's line callback: logs a non-empty line and, while playing, sends the next line.
    void OnLineReceived(const char* line);
    void ManualEntryKeyPress(char& key);
    void SendLogDblClick();
    void SaveEditKeyPress(char& key);
    void PickSaveButtonClick();

    void PickLoadButtonClick();
    void LoadEditKeyPress(char& key);
    void GoButtonClick();
    void UploadFileDblClick();

    void PlayButtonClick();
    void PauseButtonClick();
    void StepButtonClick();
    void StopButtonClick();
    // Sends the line at NextLine and moves on; with no line left, stops and rewinds.
    void SendNextLine();

    // Runs an event handler; an exception that leaves it is shown in the application's error box.
    void Guard(const std::function<void()>& handler);

    // Every modal box and dialog of the window is shown through this runner.
    ModalRunner& Modal() const { return *modalRunner_; }
    void SetModalRunner(ModalRunner& runner) { modalRunner_ = &runner; }

    QFrame* TopPanel = nullptr;
    QFrame* BottomPanel = nullptr;
    QFrame* MainPanel = nullptr;
    QLineEdit* LoadEdit = nullptr;
    QLineEdit* SaveEdit = nullptr;
    QToolButton* PickLoadButton = nullptr;
    QToolButton* PickSaveButton = nullptr;
    QPushButton* GoButton = nullptr;
    QPlainTextEdit* UploadFile = nullptr;
    CommLogView* SendLog = nullptr;
    QLineEdit* ManualEntry = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* CloseButton = nullptr;
    QComboBox* ComPortCombo = nullptr;
    QComboBox* BaudRateCombo = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* SetPortButton = nullptr;
    // The bar between MainPanel and BottomPanel is this splitter's handle.
    QSplitter* Splitter1 = nullptr;
    QFileDialog* OpenDialog = nullptr;
    ExistingPathFileDialog* SaveDialog = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QFrame* ButtonPanel = nullptr;
    QToolButton* PlayButton = nullptr;
    QToolButton* PauseButton = nullptr;
    QToolButton* StepButton = nullptr;
    QToolButton* StopButton = nullptr;
    ::DelaySpinEdit* DelaySpinEdit = nullptr;  // the type, qualified: the field takes its name
    QLabel* Label7 = nullptr;

    SerialPortInfo* Port = nullptr;      // owned; created by the first "Reset Port"
    std::vector<std::string> PortNames;  // device names, parallel to the items of ComPortCombo

private:
    // The playback rules shared with qdax-play; they keep NextLine and Playing.
    WindowPlaybackHost playbackHost_{*this};
    Playback playback_{playbackHost_};

public:
    std::int32_t& NextLine = playback_.NextLine;  // the line of the file area sent next
    bool& Playing = playback_.Playing;            // playback is running

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls, their places, captions, hints, tab order and initial states.
    void CreateControls();
    void ConnectHandlers();
    void CentreOnScreen();
    void SaveLog(const QString& fileName);
    void LoadFileIntoArea(const QString& fileName);

    // Connects `signal` of `sender` to `handler`, run inside the guard.
    template <typename Sender, typename Signal>
    void OnEvent(Sender* sender, Signal signal, void (TMainForm::*handler)());
    void OnKeyPress(QWidget* control, void (TMainForm::*handler)(char& key));
    void OnDoubleClick(QAbstractScrollArea* area, void (TMainForm::*handler)());

    ModalRunner* modalRunner_;
    bool centred_ = false;
};

// The one main window, from the moment its construction begins.
extern TMainForm* MainForm;
