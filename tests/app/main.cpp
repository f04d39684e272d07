// Test entry of the application suite: offscreen platform, HOME in a fresh
// temporary folder, the application object of the program, the "silk" icon
// theme and an explicit engine thread count.

#include "app/hdrapplication.h"
#include "engine/MP_calc.h"
#include "ui/toolkit/resourceinit.h"

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
    HDRApplication app(argc, argv);
    LumivexInitResources();
    QIcon::setThemeName(QStringLiteral("silk"));
    ::testing::InitGoogleTest(&argc, argv);
    MP_ResetSettingsToInitial();
    MP_UI_SetIdealThreadCount(4);
    return RUN_ALL_TESTS();
}
