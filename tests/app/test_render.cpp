// Renders the main window and both dialogs under a dark and a light style.
// With LUMIVEX_RENDER_DIR set the pictures are written there for a look.

#include "appfixture.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
#include "app/windowfactory.h"
#include "engine/core/tables.h"
#include "ui/mainwindow/hdrmainwindow.h"

#include <QCoreApplication>
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
