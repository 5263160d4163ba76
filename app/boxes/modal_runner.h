// Every modal box and dialog of the program is shown through a ModalRunner. The program's runner
// executes them; a test puts in one that looks at the box and answers it without blocking.
#pragma once

#include <QString>
#include <optional>

class QFileDialog;
class QMessageBox;

class ModalRunner {
public:
    virtual ~ModalRunner() = default;

    // Shows the box and returns when it was dismissed.
    virtual void RunMessageBox(QMessageBox& box) = 0;
    // Shows the dialog and returns the chosen file, or nothing when the operator cancelled.
    virtual std::optional<QString> RunFileDialog(QFileDialog& dialog) = 0;
};

// The runner that executes the box or dialog modally.
ModalRunner& ExecModalRunner();
