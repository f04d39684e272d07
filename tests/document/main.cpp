// Test entry of the document suite: HOME points at a fresh temporary folder,
// the engine gets an explicit thread count, and a QGuiApplication stands in
// for the program's application object (pixmaps, event filters, queued calls).

#include "document/imageloader.h"
#include "engine/MP_calc.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <FreeImage.h>

#include <cstdio>
#include <cstdlib>

namespace {

// As the program's handler: each image library message is printed and
// counted for the thread it came on.
void DLL_CALLCONV libraryMessage(FREE_IMAGE_FORMAT, const char* message)
{
    std::printf("*** %s ***\n", message ? message : "");
    NoteImageLibraryMessage();
}

} // namespace

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
    FreeImage_SetOutputMessage(libraryMessage);
    return RUN_ALL_TESTS();
}
