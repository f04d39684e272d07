#pragma once
// Every modal prompt of the toolkit (message boxes, dialogs, the progress
// window's continue prompt, the style colour dialog) runs through here, so a
// test can answer it instead of a user. Without a hook prompts run as usual.

#include <QDialog>

#include <functional>

class QWidget;

namespace _gui {

// Receives the prompt widget and answers it (for example by clicking one of
// its buttons); returns the result that exec() would have returned.
using ModalHook = std::function<int(QWidget* prompt)>;

void SetModalHook(ModalHook hook);
bool HasModalHook();

// Hands the dialog to the hook when one is set, otherwise runs exec.
int ExecModal(QDialog* dialog, const std::function<int()>& exec);
// For prompts that are not dialogs: hands the widget to the hook. Returns
// false when no hook is set (the prompt then waits for the user).
bool AnswerPrompt(QWidget* prompt);

} // namespace _gui
