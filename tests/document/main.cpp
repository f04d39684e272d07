// Test entry of the document suite: HOME points at a fresh temporary folder,
// the engine gets an explicit thread count, and a QGuiApplication stands in
// for the program's application object (pixmaps, event filters, queued calls).

#include "engine/MP_calc.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    unsetenv("XDG_RUNTIME_DIR");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    MP_ResetSettingsToInitial();
    MP_UI_SetIdealThreadCount(4);
    return RUN_ALL_TESTS();
}
