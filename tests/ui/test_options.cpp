// COptions: the choice of locale (language.ini, the folded default locale,
// the fallback over the supported locales) and the translator it loads.

#include "uifixture.h"

#include "platform/userpaths.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <sstream>

namespace {

// An application folder of its own, with the chosen translation files built
// from the program's: "de_DE" and "en_GB" are the shipped files, any other
// locale is a copy of the British English file.
class OptionsTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        m_pAppFolder = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_pAppFolder->isValid());
        ASSERT_TRUE(QDir().mkpath(m_pAppFolder->filePath(QStringLiteral("translations"))));
        lumivex::SetApplicationFolder(m_pAppFolder->path());
        QFile::remove(COptions::LanguageIniPath());
        COptions::destroy();
        m_pOldCout = std::cout.rdbuf(m_Log.rdbuf());
    }
    void TearDown() override
    {
        std::cout.rdbuf(m_pOldCout);
        COptions::destroy();
        QFile::remove(COptions::LanguageIniPath());
        lumivex::SetApplicationFolder(QString());
        QLocale::setDefault(QLocale::system());
        UiTest::TearDown();
    }

    void ship(std::initializer_list<const char*> locales)
    {
        for (const char* locale : locales) {
            const QString name = QLatin1String(locale);
            const QString source = QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_%1.qm")
                                       .arg(name == QLatin1String("de_DE") ? name : QStringLiteral("en_GB"));
            ASSERT_TRUE(QFile::copy(source, m_pAppFolder->filePath(QStringLiteral("translations/hdrvorlix_%1.qm").arg(name))))
                << qPrintable(source);
        }
    }

    static void writeLanguageIni(const QString& locale)
    {
        QSettings ini(COptions::LanguageIniPath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("locale"), locale);
    }

    static QString storedLocale()
    {
        if (!QFile::exists(COptions::LanguageIniPath()))
            return QStringLiteral("<none>");
        return QSettings(COptions::LanguageIniPath(), QSettings::IniFormat).value(QStringLiteral("locale")).toString();
    }

    std::unique_ptr<QTemporaryDir> m_pAppFolder;
    std::ostringstream m_Log;
    std::streambuf* m_pOldCout = nullptr;
};

struct SLocaleCase {
    const char* name;
    const char* defaultLocale;                 // the system's, as a test sets it
    const char* languageIni;                   // null: no "language.ini"
    std::initializer_list<const char*> shipped; // usable translation files
    const char* expected;
    const char* checkTranslation;              // "VERSION_NAME LUMIVEX" in the chosen file
};

} // namespace

TEST_F(OptionsTest, InitChoosesTheLocaleAndWritesItBack)
{
    const SLocaleCase cases[] = {
        {"Swiss German folds to German", "de_CH", nullptr, {"de_DE", "en_GB", "en_US"}, "de_DE", "Lumivex"},
        {"Austrian German folds, case ignored", "de_AT", nullptr, {"de_DE", "en_GB"}, "de_DE", "Lumivex"},
        {"Brazilian Portuguese is not supported", "pt_BR", nullptr, {"de_DE", "en_GB"}, "en_GB", "Lumivex"},
        {"American English without its file falls back to the first usable", "en_US", nullptr, {"de_DE", "en_GB"},
         "de_DE", "Lumivex"},
        {"Canadian French folds to French", "fr_CA", nullptr, {"fr_FR"}, "fr_FR", "Lumivex"},
        {"language.ini wins over the system", "de_DE", "it_IT", {"de_DE", "it_IT"}, "it_IT", "Lumivex"},
        {"wrong letter case is not valid", "de_DE", "de_de", {"de_DE", "en_GB"}, "en_GB", "Lumivex"},
        {"no usable file keeps the chosen locale", "de_DE", nullptr, {}, "de_DE", ""},
    };
    for (const SLocaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ship(c.shipped);
        QLocale::setDefault(QLocale(QLatin1String(c.defaultLocale)));
        if (c.languageIni)
            writeLanguageIni(QLatin1String(c.languageIni));
        COptions* options = COptions::getInstance();
        options->init();
        EXPECT_EQ(options->m_strLocale.toStdString(), c.expected);
        EXPECT_EQ(storedLocale().toStdString(), c.expected);
        EXPECT_EQ(options->m_translator.translate("Program", "VERSION_NAME LUMIVEX").toStdString(),
                  c.checkTranslation);
        EXPECT_NE(m_Log.str().find(std::string("Selected Locale: ") + c.expected + "\n"), std::string::npos);
    }
}

TEST_F(OptionsTest, SetLocaleStoresOnlySupportedLocales)
{
    COptions* options = COptions::getInstance();
    options->SetLocale(QStringLiteral("nl_NL"));
    EXPECT_EQ(storedLocale(), QStringLiteral("<none>"));
    EXPECT_TRUE(options->m_strLocale.isEmpty());
    options->SetLocale(QStringLiteral("fr_FR"));
    EXPECT_EQ(storedLocale(), QStringLiteral("fr_FR"));
    EXPECT_EQ(options->m_strLocale, QStringLiteral("fr_FR"));
    EXPECT_FALSE(COptions::CheckValidLocale(QStringLiteral("fr_fr")));
}

TEST_F(OptionsTest, InitStartsInPreviewAndRealTimeModeAgain)
{
    ship({"en_GB"});
    COptions* options = COptions::getInstance();
    options->m_bRealTimeMode = false;
    options->m_bPreviewMode = false;
    options->init();
    EXPECT_TRUE(options->m_bRealTimeMode);
    EXPECT_TRUE(options->m_bPreviewMode);
}

TEST_F(OptionsTest, ALanguageStoredLaterIsLoadedByTheNextInit)
{
    ship({"de_DE", "en_GB"});
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
    COptions* options = COptions::getInstance();
    options->init();
    EXPECT_EQ(options->m_translator.translate("HDROptionsWindow", "Abbrechen"), QStringLiteral("Cancel"));
    options->SetLocale(QStringLiteral("de_DE"));
    // No reload until the next init (a new project).
    EXPECT_EQ(options->m_translator.translate("HDROptionsWindow", "Abbrechen"), QStringLiteral("Cancel"));
    options->init();
    EXPECT_EQ(options->m_strLocale, QStringLiteral("de_DE"));
    EXPECT_EQ(options->m_translator.translate("HDROptionsWindow", "Abbrechen"), QStringLiteral("Abbrechen"));
}

TEST_F(OptionsTest, AvailabilityNeedsTheCheckKey)
{
    ship({"de_DE"});
    // A readable file without the check key does not count.
    QFile junk(m_pAppFolder->filePath(QStringLiteral("translations/hdrvorlix_es_ES.qm")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a translation");
    junk.close();
    const COptions* options = COptions::getInstance();
    EXPECT_TRUE(options->IsLocaleAvailable(QStringLiteral("de_DE")));
    EXPECT_FALSE(options->IsLocaleAvailable(QStringLiteral("es_ES")));
    EXPECT_FALSE(options->IsLocaleAvailable(QStringLiteral("it_IT")));
}

TEST_F(OptionsTest, TheDocumentReadsAndSwitchesThePreviewFlagThroughTheOptions)
{
    COptions* options = COptions::getInstance();
    IPreviewModeSource* before = CDocumentSettings::SetPreviewModeSource(options);
    options->m_bPreviewMode = false;
    EXPECT_FALSE(CDocumentSettings::PreviewMode());
    EXPECT_FALSE(CDocumentSettings::Snapshot().bPreviewMode);
    CDocumentSettings::SetPreviewMode(true);
    EXPECT_TRUE(options->m_bPreviewMode);
    // Destroying the options leaves the document without a dangling source.
    COptions::destroy();
    EXPECT_EQ(CDocumentSettings::SetPreviewModeSource(before), nullptr);
}
