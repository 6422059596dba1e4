#pragma once

#include <functional>

class QDialog;

// Every modal window of the print layer is shown through here, so that a run without a person
// (headless, tests) never waits for one.
namespace ModalRunner {

using Runner = std::function<int(QDialog &)>;

// Shows the dialog modally and returns its result. Where nobody could close it (no message
// presenter is installed: headless, tests) the dialog is not shown, a line is logged and the
// result is QDialog::Rejected.
int exec(QDialog &dialog);

// Replaces the modal show (tests record what would have been shown); an empty runner restores
// the default.
void setRunner(Runner runner);

} // namespace ModalRunner
