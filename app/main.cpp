// The program entry: brings Lumivex up in a fixed order, runs the event loop
// and takes everything down again.

#include "app/hdrapplication.h"
#include "app/progresssink.h"
#include "app/startup.h"
#include "app/windowfactory.h"
#include "engine/MP_calc.h"
#include "document/documentseams.h"
#include "document/seriesseams.h"
#include "document/globalstate.h"
#include "engine/openclmanager.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"

#include <FreeImage.h>

#include <QDir>
#include <QPixmap>
#include <QSettings>
#include <QSplashScreen>
#include <QTimer>

#include <iostream>
#include <memory>

using namespace lumivex::startup;

int main(int argc, char** argv)
{
    // 1-2. Start time, program identifier, application object; the paths of
    // the command line arrive as file-open events, like files opened from the
    // desktop.
    const double start = MP_UI_GetActualTime();
    const QString programId = ProgramId();
    HDRApplication app(argc, argv);
    PostFileOpenEvents(&app, CommandLinePaths(app.arguments()));

    // 3-4. Files left for other programs.
    WriteVersionIni();
    std::unique_ptr<QSettings> pluginIni(OpenPluginIni());

    // 5. The installer stores the language and leaves.
    if (HandleInstallerSwitch(argc, argv))
        return 0;

    // 6-7. The start-up log; the executable's folder becomes the current one.
    StartLogging();
    std::cout << "Programm-ID: " << programId.toStdString() << std::endl;
    std::cout << "Programm-Version: " << ProgramVersion().toStdString() << std::endl;
    QDir::setCurrent(ExecutableFolder());

    // 8. Partner page.
    OpenPartnerPage();

    // 9. Language.
    COptions::getInstance()->init();
    COptions::getInstance()->InstallTranslators(&app);
    std::cout << std::endl;

    // The document reads the options, posts its progress and makes its
    // pixmaps through these (the options dialog registers itself).
    CProgressGuardSink progressSink;
    CGuiPixmapHandOff pixmapHandOff;
    CDocumentSettings::SetPreviewModeSource(COptions::getInstance());
    CSeriesSeams::SetRealTimeModeSource(COptions::getInstance());
    CDocumentProgress::SetSink(&progressSink);
    CPixmapHandOff::SetHandOff(&pixmapHandOff);

    // 10. Splash screen, on screen before the long engine initialisation.
    QSplashScreen splash(QPixmap(lumivex::ApplicationFolder() + QStringLiteral("/images/lumivexstartuppro.png")));
    splash.show();
    splash.showMessage(QCoreApplication::translate("SplashScreen", "Initialisiere System") + QStringLiteral("  "),
                       Qt::AlignRight | Qt::AlignBottom, QColor(0, 13, 59, 255));
    app.processEvents();

    // 11-14. System, engine, calculation methods, image library messages.
    LogSystem();
    InitEngine();
    FreeImage_SetOutputMessage(FreeImageErrorHandler);

    // 15-16. The main window with the start message.
    const QString startMessage = app.m_strPendingMessage;
    std::cout << "Argc: " << argc << " Argv: " << startMessage.toStdString() << std::endl;
    CAppWindowFactory factory;
    HDRMainWindow window(-1, startMessage, &factory);

    // 17-18. Splash away and window up a little later; log closed.
    QTimer::singleShot(2500, &splash, &QSplashScreen::close);
    QTimer::singleShot(2500, &window, &QWidget::show);
    std::cout << std::string(61, '_') << std::endl;
    std::cout << "Starting..." << std::endl;
    StopLogging();
    std::cout << "Startup-Time: " << static_cast<int>(MP_UI_CalcTimeDifference(start)) << " ms" << std::endl;

    // 19. Event loop; then shut-down in order.
    const int result = app.exec();
    MP_UI_Release();
    COptions::destroy();
    OpenCLManager::destroy();
    CGlobalState::DeleteInstance();
    CDocumentProgress::SetSink(nullptr);
    CPixmapHandOff::SetHandOff(nullptr);
    return result;
}
