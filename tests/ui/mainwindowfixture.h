#pragma once
// Common state of the main window's tests: the build's application folder,
// standard output captured in m_Log, real-time and preview mode on, and no
// saved window layout ("window.ini") or remembered dialog folder.

#include "uifixture.h"

#include "ui/options/apppaths.h"
#include "ui/options/options.h"

#include <QDir>
#include <QFile>

#include <iostream>
#include <sstream>

class MainWindowUiTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        MP_UI_SetShowExexcuteKernelOutput(0);
        lumivex::SetApplicationFolder(QStringLiteral(LUMIVEX_APP_DIR));
        m_pOldCout = std::cout.rdbuf(m_Log.rdbuf());
        COptions::getInstance()->m_bRealTimeMode = true;
        COptions::getInstance()->m_bPreviewMode = true;
        removeUserFiles();
    }
    void TearDown() override
    {
        std::cout.rdbuf(m_pOldCout);
        lumivex::SetApplicationFolder(QString());
        COptions::getInstance()->m_bRealTimeMode = true;
        removeUserFiles();
        UiTest::TearDown();
    }
    static QString settings() { return QDir::homePath() + QStringLiteral("/Lumivex Pro/"); }
    static void removeUserFiles()
    {
        QFile::remove(settings() + QStringLiteral("window.ini"));
        QFile::remove(settings() + QStringLiteral("lastsaveformat.ini"));
    }

    std::ostringstream m_Log;
    std::streambuf* m_pOldCout = nullptr;
};
