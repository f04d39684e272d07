#include "ui/toolkit/modalhook.h"

namespace _gui {

namespace {
ModalHook& hookRef()
{
    static ModalHook hook;
    return hook;
}
} // namespace

void SetModalHook(ModalHook hook) { hookRef() = std::move(hook); }

bool HasModalHook() { return static_cast<bool>(hookRef()); }

int ExecModal(QDialog* dialog, const std::function<int()>& exec)
{
    if (ModalHook hook = hookRef())
        return hook(dialog);
    return exec();
}

bool AnswerPrompt(QWidget* prompt)
{
    if (ModalHook hook = hookRef()) {
        hook(prompt);
        return true;
    }
    return false;
}

} // namespace _gui
