#pragma once
// Common state of the application tests: the engine's settings at start,
// the build's application folder, no "options.ini", "language.ini" or
// "stylecode.ini", no options singleton, and a modal hook that fails the test
// on any prompt it did not expect (a test replaces it to answer one).

#include "engine/MP_calc.h"
#include "platform/userpaths.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"
#include "ui/toolkit/modalhook.h"
#include "ui/toolkit/styleengine.h"
#include "ui/toolkit/toolkitseams.h"

#include <QDialog>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sstream>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset();
        m_pOldCout = std::cout.rdbuf(m_Log.rdbuf());
    }
    void TearDown() override
    {
        std::cout.rdbuf(m_pOldCout);
        reset();
    }

    static void reset()
    {
        MP_ResetSettingsToInitial();
        MP_UI_SetIdealThreadCount(4);
        lumivex::SetApplicationFolder(QStringLiteral(LUMIVEX_APP_DIR));
        const QString user = lumivex::platform::userSettingsFolder();
        for (const char* name : {"options.ini", "language.ini", "stylecode.ini", "oem.ini"})
            QFile::remove(user + QLatin1String(name));
        CStyleEngine::instance().SetStyle(CStyleEngine::kDefaultStyleCode, CStyleEngine::kDefaultStyleColor,
                                          CStyleEngine::kDefaultStyleBorder);
        COptions::destroy();
        _gui::SetModalHook([](QWidget* prompt) {
            ADD_FAILURE() << "unexpected prompt " << (prompt ? prompt->metaObject()->className() : "null");
            return int(QDialog::Rejected);
        });
        ToolkitSeams::SetMainWindow(nullptr);
        ToolkitSeams::SetInfoDock(nullptr);
    }

    std::ostringstream m_Log;
    std::streambuf* m_pOldCout = nullptr;
};
