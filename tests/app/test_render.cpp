// Renders the main window and both dialogs under a dark and a light style.
// With LUMIVEX_RENDER_DIR set the pictures are written there for a look.

#include "appfixture.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
#include "app/windowfactory.h"
#include "engine/core/tables.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "document/exposure.h"
#include "document/exposureseries.h"
#include "ui/tools/hdraboutwindow.h"
#include "ui/tools/hdrexifdockwidget.h"
#include "ui/tools/hdrexposuredockwidget.h"
#include "ui/tools/hdrhistogramdockwidget.h"
#include "ui/tools/hdrinfodockwidget.h"
#include "ui/tools/hdrstatistic.h"
#include "ui/tools/hdrstatisticwindow.h"

#include <QCoreApplication>
#include <QPainter>
#include <QDockWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QImage>
#include <QDockWidget>

namespace {

void save(QWidget* widget, const QString& name)
{
    const QPixmap picture = widget->grab();
    ASSERT_FALSE(picture.isNull()) << qPrintable(name);
    EXPECT_GT(picture.width(), 100);
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    if (!dir.isEmpty())
        picture.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// A metadata table of the given rows.
QString table(int rows)
{
    QString text = QStringLiteral("<table>");
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("<TR><TD width=125>Tag %1</TD><TD width=200>Value %1</TD><TD width=200>Note</TD></TR>")
                    .arg(i);
    return text + QStringLiteral("</table>");
}

class RenderTest : public AppTest {};

} // namespace

TEST_F(RenderTest, WindowsUnderDarkAndLightStyles)
{
    MP_UI_SetCalcForceMode(1);
    // In German, as a first start on a German system shows them.
    COptions::getInstance()->SetLocale(QStringLiteral("de_DE"));
    COptions::getInstance()->init();
    QCoreApplication::installTranslator(&COptions::getInstance()->m_translator);
    _gui::SetModalHook([](QWidget*) { return int(QDialog::Rejected); });
    struct SStyle {
        const char* name;
        int code;
    };
    // The engine's lookup tables as the program's start-up fills them: the
    // tone-mapping presets read them.
    MP_fillLookupTables();
    QTemporaryDir photos;
    const QString photograph = photos.filePath(QStringLiteral("harbour.png"));
    {
        // A landscape: sky gradient over a darker, textured ground.
        QImage image(600, 400, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, y < 240 ? qRgb(90 + y / 4, 140 + y / 5, 230 - y / 6)
                                             : qRgb(60 + (x * 7 + y * 3) % 50, 80 + (x ^ y) % 40, 40 + x % 30));
        ASSERT_TRUE(image.save(photograph));
    }
    for (const SStyle& style : {SStyle{"dark", 0}, SStyle{"light", 3}}) {
        SCOPED_TRACE(style.name);
        CStyleEngine::instance().StyleCodeToFolderSettings(style.code, CStyleEngine::kDefaultStyleColor, true);
        CAppWindowFactory factory;
        HDRMainWindow window(-1, QString(), &factory);
        window.resize(900, 500);
        save(&window, QStringLiteral("mainwindow_%1").arg(QLatin1String(style.name)));
        // A photograph loaded: the post-processing stage with the real dock.
        window.resize(1400, 860);
        window.show();
        window.InterpretReceivedMessage(photograph);
        ASSERT_NE(window.m_pExposureSeries, nullptr);
        ASSERT_NE(window.m_pPostProcessingDock, nullptr);
        EXPECT_FALSE(window.m_pPostProcessingDock->Dock()->isHidden());
        EXPECT_EQ(window.m_pPostProcessingDock->Dock()->objectName(), QStringLiteral("m_pPostProcessingDockWidget"));
        QCoreApplication::processEvents();
        save(&window, QStringLiteral("mainwindow_loaded_%1").arg(QLatin1String(style.name)));
        window.hide();

        auto* options = static_cast<HDROptionsWindow*>(window.m_pOptionsWindow);
        options->show();
        save(options, QStringLiteral("options_program_%1").arg(QLatin1String(style.name)));
        options->m_pTabWidget->setCurrentIndex(1);
        options->adjustSize();
        save(options, QStringLiteral("options_calc_%1").arg(QLatin1String(style.name)));
        options->GetInfoButton()->click();
        save(options, QStringLiteral("options_info_%1").arg(QLatin1String(style.name)));
        options->GetInfoButton()->click();
        options->close();

        auto* colours = dynamic_cast<HDRStyleSelectWindow*>(window.m_pStyleSelectWindow);
        ASSERT_NE(colours, nullptr);
        colours->SetData(0x5f6f8f, true);
        colours->show();
        save(colours, QStringLiteral("styleselect_%1").arg(QLatin1String(style.name)));
        colours->close();
        EXPECT_EQ(colours->objectName(), QStringLiteral("styleseelect_window"));
        EXPECT_EQ(options->objectName(), QStringLiteral("options_window"));
    }
    QCoreApplication::removeTranslator(&COptions::getInstance()->m_translator);
}

TEST_F(RenderTest, PresetWindowsUnderDarkAndLightStyles)
{
    MP_UI_SetCalcForceMode(1);
    COptions::getInstance()->SetLocale(QStringLiteral("de_DE"));
    COptions::getInstance()->init();
    QCoreApplication::installTranslator(&COptions::getInstance()->m_translator);
    _gui::SetModalHook([](QWidget*) { return int(QDialog::Rejected); });
    for (const auto& style : {std::pair<const char*, int>{"dark", 0}, std::pair<const char*, int>{"light", 3}}) {
        SCOPED_TRACE(style.first);
        CStyleEngine::instance().StyleCodeToFolderSettings(style.second, CStyleEngine::kDefaultStyleColor, true);
        CAppWindowFactory factory;
        HDRMainWindow window(-1, QString(), &factory);
        window.resize(1200, 800);
        window.show();
        ASSERT_NE(window.m_pPresetsDock, nullptr);
        ASSERT_NE(window.m_pHDROperatorDock, nullptr);
        ASSERT_NE(window.m_pRAWDevelopment, nullptr);
        // The operator dock starts in its default state: "Entropie", "HDR Preset Entropie weich".
        EXPECT_EQ(window.m_pHDROperatorDock->GetKernelName(), QStringLiteral("MP_calcPixelFastHDRentropy"));
        QDockWidget* presets = window.m_pPresetsDock->Dock();
        presets->show();
        presets->resize(312, 760);
        QCoreApplication::processEvents();
        save(presets, QStringLiteral("presets_dock_%1").arg(QLatin1String(style.first)));
        presets->setFloating(true);
        presets->setMinimumWidth(312);
        presets->setMaximumWidth(16777215);
        presets->resize(900, 700);
        QCoreApplication::processEvents();
        save(presets, QStringLiteral("presets_dock_floating_%1").arg(QLatin1String(style.first)));
        presets->hide();
        QDockWidget* hdr = window.m_pHDROperatorDock->Dock();
        hdr->show();
        QCoreApplication::processEvents();
        save(hdr, QStringLiteral("hdroperator_dock_%1").arg(QLatin1String(style.first)));
        auto* raw = dynamic_cast<QDialog*>(window.m_pRAWDevelopment);
        ASSERT_NE(raw, nullptr);
        raw->show();
        QCoreApplication::processEvents();
        save(raw, QStringLiteral("rawdevelopment_%1").arg(QLatin1String(style.first)));
        raw->close();
        auto* combiner = window.findChild<QDialog*>(QStringLiteral("preset_combine_window"));
        ASSERT_NE(combiner, nullptr);
        combiner->show();
        QCoreApplication::processEvents();
        save(combiner, QStringLiteral("presetcombine_%1").arg(QLatin1String(style.first)));
        combiner->close();
    }
    QCoreApplication::removeTranslator(&COptions::getInstance()->m_translator);
}

// The statistics and about windows and the exposure, metadata, histogram and
// information docks.
TEST_F(RenderTest, ToolWindowsAndDocksUnderDarkAndLightStyles)
{
    MP_UI_SetCalcForceMode(1);
    COptions::getInstance()->SetLocale(QStringLiteral("de_DE"));
    COptions::getInstance()->init();
    QCoreApplication::installTranslator(&COptions::getInstance()->m_translator);
    _gui::SetModalHook([](QWidget*) { return int(QDialog::Rejected); });
    for (const char* style : {"dark", "light"}) {
        SCOPED_TRACE(style);
        const QString suffix = QLatin1Char('_') + QLatin1String(style);
        CStyleEngine::instance().StyleCodeToFolderSettings(QLatin1String(style) == QLatin1String("dark") ? 0 : 3,
                                                           CStyleEngine::kDefaultStyleColor, true);
        CAppWindowFactory factory;
        HDRMainWindow window(-1, QString(), &factory);
        window.resize(1200, 900);

        HDRStatistic statistic(lumivex::platform::userSettingsFolder());
        statistic.HandleValue(QStringLiteral("m_iProgramStarted"), 3);
        statistic.HandleValue(QStringLiteral("m_iLargestImageLoaded"), 24000000);
        HDRStatisticWindow statisticWindow(&window, &statistic);
        statisticWindow.show();
        save(&statisticWindow, QStringLiteral("statistic") + suffix);
        statisticWindow.close();

        HDRAboutWindow about(&window, QStringLiteral("lumivex.invalid/"));
        about.show();
        save(&about, QStringLiteral("about") + suffix);
        about.close();

        // The exposure dock with one exposure.
        CExposureSeries series;
        auto* exposure = new CExposure();
        exposure->m_strFileName = QStringLiteral("IMG_4711.jpg");
        exposure->m_bMaster = false;
        series.m_vExposures.append(exposure);
        auto* dock = dynamic_cast<HDRExposureDockWidget*>(window.m_pExposureSeriesDock);
        ASSERT_NE(dock, nullptr);
        dock->UpdateDisplay(&series, false);
        dock->setFloating(true);
        dock->resize(312, 500);
        dock->show();
        save(dock, QStringLiteral("exposuredock") + suffix);
        dock->hide();
        dock->UpdateDisplay(nullptr, false);

        HDRExifDockwidget exif(QCoreApplication::translate("HDRMainWindow", "Exif-Informationen"), &window);
        exif.ShowMetadata(QStringLiteral("IMG_4711.jpg"),
                          {{1u, QStringLiteral("Exif - main info")}, {2u, QStringLiteral("Exif - advanced info")},
                           {4u, QStringLiteral("Canon Makernote")}},
                          {{1u, table(6)}, {2u, table(4)}, {4u, table(20)}});
        exif.setFloating(true);
        exif.show();
        exif.resize(exif.maximumWidth(), 600);
        save(&exif, QStringLiteral("exifdock") + suffix);
        exif.hide();

        HDRHistogramDockWidget histogram(QCoreApplication::translate("HDRMainWindow", "HDR-Histogramm"), &window);
        QPixmap picture(270, 160);
        picture.fill(Qt::black);
        QPainter painter(&picture);
        painter.setPen(Qt::white);
        for (int x = 0; x < 270; ++x)
            painter.drawLine(x, 159, x, 159 - (x * 7) % 150);
        painter.end();
        histogram.SetPixmap(picture);
        histogram.setFloating(true);
        histogram.show();
        save(&histogram, QStringLiteral("histogramdock") + suffix);
        histogram.hide();

        HDRInfoDockWidget info(QCoreApplication::translate("HDRMainWindow", "Informationen"), &window);
        info.UpdateText(QStringLiteral("<h3>Belichtungsreihe</h3><p>Hier sehen Sie das Bild der Belichtungsreihe "
                                       "mit seiner Gewichtung. <a href=\"https://lumivex.invalid/\">Mehr</a></p>"));
        window.addDockWidget(Qt::BottomDockWidgetArea, &info);
        info.EnableFixedSize(true);
        info.setFloating(true);
        info.resize(400, 250);
        info.show();
        QCoreApplication::sendPostedEvents(); // the layout follows the resize
        save(&info, QStringLiteral("infodock") + suffix);
        info.hide();
    }
    QCoreApplication::removeTranslator(&COptions::getInstance()->m_translator);
}
