// Test entry of the user-interface suite: offscreen platform, HOME in a fresh
// temporary folder, the "silk" icon theme (normally set by the main window)
// and an explicit engine thread count.

#include "engine/MP_calc.h"

#include <QApplication>
#include <QIcon>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    QApplication app(argc, argv);
    QIcon::setThemeName(QStringLiteral("silk"));
    ::testing::InitGoogleTest(&argc, argv);
    MP_ResetSettingsToInitial();
    MP_UI_SetIdealThreadCount(4);
    return RUN_ALL_TESTS();
}
