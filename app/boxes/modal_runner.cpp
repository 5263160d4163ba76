#include "app/boxes/modal_runner.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class ExecRunner : public ModalRunner {
public:
    void RunMessageBox(QMessageBox& box) override { box.exec(); }

    std::optional<QString> RunFileDialog(QFileDialog& dialog) override {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return dialog.selectedFiles().first();
    }
};

}  // namespace

ModalRunner& ExecModalRunner() {
    static ExecRunner runner;
    return runner;
}
