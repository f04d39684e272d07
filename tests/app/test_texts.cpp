// Texts and their look across languages and styles: links on the start page
// and in the about window follow a style change, the project dialogs list
// project files, preset names follow the interface's language, and the
// windows whose texts changed are rendered in German and English under a dark
// and a light style (with LUMIVEX_RENDER_DIR set the pictures are written
// there for a look).

#include "appfixture.h"

#include "app/windowfactory.h"
#include "document/postprocessing.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/postprocessing/hdrpostprocessingdockwidget.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/hdrpresetsdockwidget.h"
#include "ui/tools/hdraboutwindow.h"
#include "ui/tools/hdrinfodockwidget.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QListView>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <functional>

namespace {

// The colours of the links in a browser's document.
QSet<QRgb> LinkColours(const QTextBrowser* browser)
{
    QSet<QRgb> colours;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                colours.insert(it.fragment().charFormat().foreground().color().rgb());
    return colours;
}

// The current style's text colour.
QRgb StyleTextColour()
{
    return QColor(QLatin1Char('#') + CStyleEngine::instance().ReplaceStyleSheetCodes(QStringLiteral("STYLE_TEXTCOLOR")))
        .rgb();
}

void SaveShot(QWidget* widget, const QString& name)
{
    const QPixmap picture = widget->grab();
    ASSERT_FALSE(picture.isNull()) << qPrintable(name);
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    if (!dir.isEmpty())
        picture.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Runs check on the next modal dialog that opens (polling, as the dialog's
// own event loop runs), then rejects it.
void OnNextModal(const std::function<void(QWidget*)>& check)
{
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, [timer, started, check] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && started->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal) {
            check(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    });
    timer->start(10);
}

// The names a file dialog lists in its folder, once its file model has read it.
QStringList ListedNames(QFileDialog* dialog)
{
    auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
    if (!list)
        return {};
    QStringList names;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        names.clear();
        const QModelIndex root = list->rootIndex();
        for (int r = 0; r < list->model()->rowCount(root); ++r)
            names << list->model()->index(r, 0, root).data().toString();
        if (!names.isEmpty() && waited.elapsed() > 300)
            break;
    }
    names.sort();
    return names;
}

class TextsTest : public AppTest {
protected:
    void TearDown() override
    {
        QCoreApplication::removeTranslator(&COptions::getInstance()->m_translator);
        QCoreApplication::removeTranslator(&COptions::getInstance()->m_qtTranslator);
        AppTest::TearDown();
    }
    // The interface in the given language, as a start with that choice has it.
    static void ChooseLanguage(const char* locale)
    {
        COptions* options = COptions::getInstance();
        QCoreApplication::removeTranslator(&options->m_translator);
        QCoreApplication::removeTranslator(&options->m_qtTranslator);
        options->SetLocale(QLatin1String(locale));
        options->init();
        options->InstallTranslators(qApp);
    }
};

} // namespace

// A link is drawn in the style's text colour, bold and underlined. The colour
// is fixed when the text is parsed: after a change to the light style the
// start page and the about window must parse again, or their links stay in
// the dark style's light grey on a light background.
TEST_F(TextsTest, LinksFollowAStyleChange)
{
    ChooseLanguage("de_DE");
    CStyleEngine::instance().SetStyle(0, CStyleEngine::kDefaultStyleColor, true);
    QWidget window;
    CStyleEngine::instance().SetStyleSheetFromCSS(&window);
    HDRInfoDockWidget start(QStringLiteral("Informationen"), &window);
    start.UpdateText(QStringLiteral("<p>Willkommen. <a href=\"https://lumivex.invalid/\">Homepage</a></p>"));
    HDRAboutWindow about(&window, QStringLiteral("https://lumivex.invalid/"));
    QList<QTextBrowser*> browsers{start.findChild<QTextBrowser*>()};
    for (QTextBrowser* browser : about.findChildren<QTextBrowser*>())
        if (!LinkColours(browser).isEmpty())
            browsers << browser;
    ASSERT_GE(browsers.size(), 2) << "the about window's version pane holds the homepage link";
    const QRgb dark = StyleTextColour();
    for (QTextBrowser* browser : browsers)
        EXPECT_EQ(LinkColours(browser), QSet<QRgb>{dark});

    for (int code : {3, 2}) { // light grey, then back to a dark one
        CStyleEngine::instance().SetStyle(code, CStyleEngine::kDefaultStyleColor, true);
        CStyleEngine::instance().SetStyleSheetFromCSS(&window);
        QCoreApplication::processEvents();
        const QRgb now = StyleTextColour();
        for (QTextBrowser* browser : browsers)
            EXPECT_EQ(LinkColours(browser), QSet<QRgb>{now}) << "style " << code << " " << QColor(now).name().toStdString();
    }
    // The start page keeps its text.
    EXPECT_TRUE(browsers[0]->toPlainText().contains(QStringLiteral("Willkommen")));
}

// The project filter starts with an empty entry; the dialogs select the
// project entry, so "Files of type" names it and only projects are listed. The
// dialogs are Qt's own: their buttons and labels follow the chosen language.
TEST_F(TextsTest, ProjectDialogsSelectTheProjectFilter)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* name : {"harbour.lumivexProject", "harbour.jpg", "notes.txt"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    bool listedOnce = false;
    for (const char* locale : {"de_DE", "en_GB"}) {
        ChooseLanguage(locale);
        CAppWindowFactory factory;
        HDRMainWindow window(-1, QString(), &factory);
        const QString projects =
            QCoreApplication::translate("HDRMainWindow", "Lumivex Projektdatei") + QStringLiteral("(*.lumivexProject)");
        for (int style : {0, 3}) {
            CStyleEngine::instance().SetStyle(style, CStyleEngine::kDefaultStyleColor, true);
            CStyleEngine::instance().SetStyleSheetFromCSS(&window);
            for (bool save : {true, false}) {
                SCOPED_TRACE(testing::Message() << locale << " style " << style << (save ? " save" : " open"));
                QString filter;
                QStringList listed;
                const QString shot = QStringLiteral("projectdialog_%1_%2_%3")
                                         .arg(QLatin1String(save ? "save" : "open"), QLatin1String(locale),
                                              QLatin1String(style == 0 ? "dark" : "light"));
                OnNextModal([&](QWidget* modal) {
                    auto* dialog = qobject_cast<QFileDialog*>(modal);
                    ASSERT_NE(dialog, nullptr);
                    filter = dialog->selectedNameFilter();
                    dialog->setDirectory(folder.path());
                    if (!listedOnce)
                        listed = ListedNames(dialog);
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
                    SaveShot(dialog, shot);
                });
                if (save)
                    EXPECT_FALSE(window.saveProjectAs());
                else
                    window.openProject(QString());
                EXPECT_EQ(filter.toStdString(), projects.toStdString());
                if (!listedOnce)
                    EXPECT_EQ(listed.join(QStringLiteral(", ")).toStdString(), "harbour.lumivexProject");
            }
            listedOnce = true;
        }
    }
}

// Preset names follow the language chosen for the interface, whatever the
// system's: an English interface on a German system shows English names.
TEST_F(TextsTest, PresetNamesFollowTheInterfaceLanguage)
{
    const QLocale system;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    ChooseLanguage("en_GB");
    CPostProcessing chain;
    chain.SetCategory(QStringLiteral("natural"));
    chain.SetDisplayName(QStringLiteral("weich"));
    EXPECT_EQ(chain.GetDisplayNameWithCategory(), QStringLiteral("Natural soft"));
    ChooseLanguage("de_DE");
    EXPECT_EQ(chain.GetDisplayNameWithCategory(), QStringLiteral("Natürlich weich"));
    QLocale::setDefault(system);
}

// The windows whose texts changed, in both languages under a dark and a light
// style, switched at run time as the style menu does: the start page, the
// about window, the presets dock's tiles and the blend-mode list.
TEST_F(TextsTest, WindowsInBothLanguagesAndStyles)
{
    MP_UI_SetCalcForceMode(1);
    MP_fillLookupTables();
    for (const char* locale : {"de_DE", "en_GB"}) {
        ChooseLanguage(locale);
        CStyleEngine::instance().StyleCodeToFolderSettings(0, CStyleEngine::kDefaultStyleColor, true);
        CAppWindowFactory factory;
        HDRMainWindow window(-1, QString(), &factory);
        window.resize(1400, 1000);
        window.show();
        auto* start = dynamic_cast<HDRInfoDockWidget*>(window.m_pInfoDockWidgetStart);
        ASSERT_NE(start, nullptr);
        auto* presets = dynamic_cast<HDRPresetsDockWidget*>(window.m_pPresetsDock);
        ASSERT_NE(presets, nullptr);
        auto* dock = new HDRPostProcessingDockWidget(
            QCoreApplication::translate("HDRMainWindow", "Tonemapping/Post-Processing"), &window, Qt::WindowFlags(),
            CPPOperatorCatalogue::ResourcePath(), lumivex::ApplicationFolder() + QStringLiteral("/settings/filmtypes_lumivex.xml"));
        int page = -1;
        for (int i = 0; i < dock->m_ParameterSets.size() && page < 0; ++i)
            if (!dock->m_ParameterSets[i].pComboBoxes.isEmpty())
                page = i;
        ASSERT_GE(page, 0);
        dock->m_pParameterStack->setCurrentIndex(page);
        // Film types keep the names their table gives them, in every language.
        ASSERT_GE(dock->m_pFilmTypComboBox->count(), 2);
        EXPECT_EQ(dock->m_pFilmTypComboBox->itemText(0), QStringLiteral("Kein Filmtyp"));
        EXPECT_EQ(dock->m_pFilmTypComboBox->itemText(1), QStringLiteral("Diafilm brillant"));

        for (const char* style : {"dark", "light"}) {
            SCOPED_TRACE(testing::Message() << locale << " " << style);
            const bool dark = QLatin1String(style) == QLatin1String("dark");
            const QString suffix = QStringLiteral("_%1_%2").arg(QLatin1String(locale), QLatin1String(style));
            CStyleEngine::instance().SetStyle(dark ? 0 : 3, CStyleEngine::kDefaultStyleColor, true);
            CStyleEngine::instance().SetStyleSheetFromCSS(&window);
            QCoreApplication::processEvents();

            start->setFloating(true);
            start->resize(420, 600);
            start->show();
            QCoreApplication::sendPostedEvents();
            auto* startBrowser = start->findChild<QTextBrowser*>();
            ASSERT_NE(startBrowser, nullptr);
            EXPECT_EQ(LinkColours(startBrowser), QSet<QRgb>{StyleTextColour()});
            SaveShot(start, QStringLiteral("startpage") + suffix);
            start->hide();

            HDRAboutWindow about(&window, QStringLiteral("https://lumivex.invalid/"));
            about.show();
            SaveShot(&about, QStringLiteral("about") + suffix);
            about.close();

            presets->setFloating(true);
            presets->resize(330, 900);
            presets->show();
            QCoreApplication::processEvents();
            const QString category = QCoreApplication::translate("PPPresetCategory", "natural") + QLatin1Char(' ');
            int natural = 0;
            for (HDRPresetGroupBox* tile : presets->findChildren<HDRPresetGroupBox*>()) {
                if (!tile->title().startsWith(category))
                    continue;
                ++natural;
                EXPECT_FALSE(tile->title().mid(category.size()).contains(category.trimmed(), Qt::CaseInsensitive))
                    << tile->title().toStdString();
            }
            EXPECT_EQ(natural, 3);
            SaveShot(presets, QStringLiteral("presets") + suffix);
            presets->hide();

            dock->setFloating(true);
            dock->resize(310, 900);
            dock->show();
            QCoreApplication::processEvents();
            QComboBox* blend = dock->m_ParameterSets[page].pComboBoxes[0];
            blend->setCurrentIndex(blend->findData(5)); // a renamed mode
            blend->showPopup();
            QWidget* popup = blend->view()->window();
            EXPECT_TRUE(popup->screen()->availableGeometry().contains(popup->geometry()));
            SaveShot(popup, QStringLiteral("blendpopup") + suffix);
            blend->hidePopup();
            dock->hide();
        }
    }
}
