// Test entry of the engine suite: HOME points at a fresh temporary folder (the
// engine writes kernel.ini under $HOME/Lumivex Pro/), and the engine gets an
// explicit thread count.

#include "engine/MP_calc.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    MP_ResetSettingsToInitial();
    MP_UI_SetIdealThreadCount(4);
    return RUN_ALL_TESTS();
}
