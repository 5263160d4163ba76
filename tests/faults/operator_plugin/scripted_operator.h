// An operator inside the real program: once the main window shows, it opens the scripted port,
// loads and plays the file, and closes the window at the scripted moment in the scripted way. It
// says "close requested" on standard output just before it closes, or "operator: " and what went
// wrong.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <thread>

#include "tests/faults/operator_plugin/operator_script.h"
#include "tests/faults/thread_probe.h"

class QLineEdit;
class QPushButton;
class QWidget;
class QWindow;

namespace qdax_operator {

class ScriptedOperator : public QObject {
public:
    // Created on the window thread, before the window exists.
    explicit ScriptedOperator(const OperatorScript& script);
    ~ScriptedOperator() override;
    ScriptedOperator(const ScriptedOperator&) = delete;
    ScriptedOperator& operator=(const ScriptedOperator&) = delete;

private:
    void LookForTheWindow();
    void Operate(QWidget& window);
    // On a thread of its own: the window thread may be stuck in the command delay.
    void CloseAtTheMoment();
    // False when the request could not be made.
    bool RequestClose();

    OperatorScript script_;
    qdax_fault::ThreadId windowThread_;
    QTimer poll_;
    QPointer<QPushButton> closeButton_;
    QPointer<QLineEdit> loadEdit_;
    QPointer<QWindow> windowHandle_;
    std::thread closer_;
};

}  // namespace qdax_operator
