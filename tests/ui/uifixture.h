#pragma once
// Common start state of the user-interface tests: the engine's settings at
// program start, the default style (palette 1), no "stylecode.ini", no modal
// hook and no window seams.

#include "engine/MP_calc.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/modalhook.h"
#include "ui/toolkit/styleengine.h"
#include "ui/toolkit/toolkitseams.h"

#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QObject>
#include <QString>

#include <gtest/gtest.h>

// The two styles every window is rendered under for a look: the default
// dark style and a light free style.
struct SRenderStyle {
    const char* name;
    int code, colour;
};
inline constexpr SRenderStyle kRenderStyles[2] = {{"dark", 1, 0}, {"light", 99, 0xd0d0d0}};

// Counts the emissions of one signal while it lives.
class SignalCounter {
public:
    template <class Object, class Signal>
    SignalCounter(Object* sender, Signal signal)
    {
        QObject::connect(sender, signal, &m_Context, [this] { ++m_iCount; });
    }
    int count() const { return m_iCount; }
    void clear() { m_iCount = 0; }

private:
    QObject m_Context;
    int m_iCount = 0;
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override { resetUiState(); }
    void TearDown() override { resetUiState(); }

public:
    static void resetUiState()
    {
        MP_ResetSettingsToInitial();
        MP_UI_SetIdealThreadCount(4);
        QFile::remove(CStyleEngine::StyleIniPath());
        CStyleEngine::instance().SetStyle(CStyleEngine::kDefaultStyleCode, CStyleEngine::kDefaultStyleColor,
                                          CStyleEngine::kDefaultStyleBorder);
        _gui::SetModalHook(&answerUnexpectedPrompt);
        ToolkitSeams::SetMainWindow(nullptr);
        ToolkitSeams::SetInfoDock(nullptr);
    }

    // A prompt no test expected: the test fails, the prompt is answered so
    // that nothing waits for a user.
    static int answerUnexpectedPrompt(QWidget* prompt)
    {
        ADD_FAILURE() << "unexpected modal prompt " << (prompt ? prompt->metaObject()->className() : "null");
        if (auto* window = qobject_cast<HDRProgressWindow*>(prompt))
            window->GetContinueButton()->click();
        else if (auto* dialog = qobject_cast<QDialog*>(prompt))
            dialog->reject();
        return QDialog::Rejected;
    }

    // Every style token of the vocabulary, each written the way sheets write it.
    static QString allTokensSheet()
    {
        int count = 0;
        const char* const* tokens = StyleTokenList(&count);
        QString sheet;
        for (int i = 0; i < count; ++i)
            sheet += QStringLiteral("a%1 { color: #%2; }\n").arg(i).arg(QLatin1String(tokens[i]));
        return sheet;
    }
};
