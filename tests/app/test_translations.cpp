// The translation files: every text the sources pass through the translator
// is in both files and finished (lupdate scans the sources as they are now),
// and the compiled files carry the program's keys.

#include "appfixture.h"

#include "document/documentseams.h"
#include "document/exposure.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeySequence>
#include <QLibraryInfo>
#include <QPushButton>
#include <QSettings>

#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

struct SMessage {
    QString context;
    QString source;
    QString translation;
    bool finished = false;
};

QList<SMessage> readTs(const QString& path)
{
    QList<SMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    SMessage current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            current = SMessage{context, xml.readElementText(), QString(), false};
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            current.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements); // plural forms too
            current.finished = type.isEmpty() && !current.translation.isEmpty();
            messages << current;
        }
    }
    return messages;
}

QString key(const SMessage& m) { return m.context + QLatin1Char('|') + m.source; }

} // namespace

TEST(Translations, EverySourceTextIsTranslatedInBothFiles)
{
    const QString lupdate = QStringLiteral(LUMIVEX_LUPDATE);
    if (lupdate.isEmpty() || !QFile::exists(lupdate))
        GTEST_SKIP() << "lupdate is not installed";
    QTemporaryDir dir;
    const QString scan = dir.filePath(QStringLiteral("scan.ts"));
    QStringList arguments = {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none")};
    for (const char* folder : {"app", "ui", "document"}) {
        const QString path = QStringLiteral(LUMIVEX_SOURCE_DIR "/") + QLatin1String(folder);
        if (QFileInfo(path).isDir())
            arguments << path;
    }
    arguments << QStringLiteral("-ts") << scan;
    QProcess p;
    p.start(lupdate, arguments);
    ASSERT_TRUE(p.waitForFinished(120000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    const QList<SMessage> texts = readTs(scan);
    ASSERT_GT(texts.size(), 100);

    for (const char* locale : {"de_DE", "en_GB"}) {
        SCOPED_TRACE(locale);
        const QList<SMessage> shipped =
            readTs(QStringLiteral(LUMIVEX_SOURCE_DIR "/data/translations/hdrvorlix_%1.ts").arg(QLatin1String(locale)));
        QHash<QString, SMessage> byKey;
        for (const SMessage& m : shipped)
            byKey.insert(key(m), m);
        for (const SMessage& t : texts) {
            const auto it = byKey.constFind(key(t));
            if (it == byKey.cend()) {
                ADD_FAILURE() << "missing: " << qPrintable(t.context) << " / " << qPrintable(t.source);
                continue;
            }
            EXPECT_TRUE(it->finished) << "unfinished: " << qPrintable(t.context) << " / " << qPrintable(t.source);
        }
    }
}

TEST(Translations, CompiledFilesCarryTheProgramKeys)
{
    struct SCase {
        const char* file;
        const char* context;
        const char* source;
        const char* expected;
    };
    const SCase cases[] = {
        {"de_DE", "Program", "VERSION_NAME LUMIVEX", "Lumivex"},
        {"de_DE", "Program", "LUMIVEX VERSION_PRO", "Pro"},
        {"de_DE", "HDROptionsWindow", "Abbrechen", "Abbrechen"},
        {"en_GB", "HDROptionsWindow", "Abbrechen", "Cancel"},
        {"en_US", "SplashScreen", "Initialisiere System", "Initialising system"},
        {"en_GB", "HDRMainWindow", "HomepageURL LUMIVEX PRO", "lumivex.invalid/"},
        {"de_DE", "HDRMainWindow", "Homepage URL", "https://CODE_HOMEPAGEURL"},
        {"en_GB", "HDRMainWindow", "Rahmenfarbe: Graukarte", "Frame colour: grey card"},
    };
    for (const SCase& c : cases) {
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_%1").arg(QLatin1String(c.file))))
            << c.file;
        EXPECT_EQ(translator.translate(c.context, c.source).toStdString(), c.expected) << c.file << " " << c.source;
    }
    // The start page holds the picture and the homepage placeholders the main
    // window replaces.
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_de_DE")));
    const QString start = german.translate("HDRMainWindow", "Lumivex Start");
    EXPECT_TRUE(start.contains(QStringLiteral("<img src=\"images\\startup.png\"")));
    EXPECT_TRUE(start.contains(QStringLiteral("CODE_HOMEPAGEURL")));
}

namespace {

// Records the messages the document posts.
class CRecordingSink : public IProgressSink {
public:
    QStringList m_Messages;
    void OpenCategory(unsigned int, bool) override {}
    void SetTitle(const QString&) override {}
    void AddMessage(unsigned int, const QString& text, unsigned int, float) override { m_Messages << text; }
    void AddFraction(unsigned int, float) override {}
};

// The messages of loading and reloading an image, which the exposure looks up
// in its own translation context.
const char* const kLoadTexts[] = {
    "Datei konnte nicht geladen werden.",
    "Hotpixel werden entfernt",
    "dunkle Bereiche werden optimiert",
    "Weißabgleich wird berechnet",
    "Entrauschen wird berechnet",
    "Die Bilddatei konnte nicht neu geladen werden",
    "Die neu geladene Bilddatei hat nicht die passene Auflösung",
};

QStringList ShippedTranslations()
{
    return QDir(QStringLiteral(LUMIVEX_APP_DIR "/translations"))
        .entryList({QStringLiteral("hdrvorlix_*.qm")}, QDir::Files, QDir::Name);
}

} // namespace

// Every compiled translation finds every load message in the context the code
// asks (German ones as German, the English ones in English), and an exposure
// that cannot load its file reports it in the installed language.
TEST(Translations, LoadMessagesAreFoundInEveryShippedTranslation)
{
    const QStringList files = ShippedTranslations();
    ASSERT_GE(files.size(), 3) << "de_DE, en_GB and en_US are shipped";
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/") + file));
        const bool german = file.contains(QLatin1String("_de_"));
        for (const char* text : kLoadTexts) {
            const QString translated = translator.translate("IExposure", text);
            EXPECT_FALSE(translated.isEmpty()) << "missing: " << text;
            if (!german)
                EXPECT_NE(translated, QString::fromUtf8(text)) << "German in the English file: " << text;
        }
    }

    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_en_GB")));
    QCoreApplication::installTranslator(&english);
    CRecordingSink sink;
    IProgressSink* previous = CDocumentProgress::SetSink(&sink);
    CExposure exposure;
    EXPECT_FALSE(exposure.Load(QStringLiteral("/photos/harbour.jpg"), nullptr));
    CDocumentProgress::SetSink(previous);
    QCoreApplication::removeTranslator(&english);
    EXPECT_EQ(sink.m_Messages, QStringList{QStringLiteral("harbour.jpg: The file could not be loaded.")});
}

// Qt's own texts (standard buttons, key names in shortcuts, file dialogs)
// follow the chosen language when the system has Qt's translation of it.
TEST_F(AppTest, QtsOwnTextsFollowTheChosenLanguage)
{
    const QString qtGerman = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm");
    if (!QFile::exists(qtGerman))
        GTEST_SKIP() << "Qt's German translation is not installed (qt6-translations-l10n)";
    EXPECT_EQ(COptions::QtTranslationFile(QStringLiteral("de_DE")), qtGerman.chopped(3));

    {
        QSettings ini(COptions::LanguageIniPath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("locale"), QStringLiteral("de_DE"));
    }
    COptions* options = COptions::getInstance();
    options->init();
    options->InstallTranslators(qApp);
    const QString shortcut = QKeySequence(Qt::CTRL | Qt::Key_S).toString(QKeySequence::NativeText);
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&'));
    // The program's own texts still come from its translation.
    const QString own = QCoreApplication::translate("HDROptionsWindow", "Abbrechen");
    QCoreApplication::removeTranslator(&options->m_translator);
    QCoreApplication::removeTranslator(&options->m_qtTranslator);
    EXPECT_EQ(shortcut, QStringLiteral("Strg+S"));
    EXPECT_EQ(cancel, QStringLiteral("Abbrechen"));
    EXPECT_EQ(own, QStringLiteral("Abbrechen"));
}

// Texts whose source is English read German in the German interface, and the
// blend modes carry the English names photographers know (or say what the mode
// does where there is none).
TEST(Translations, EnglishSourcesReadGermanAndBlendModesTheirKnownNames)
{
    struct SCase {
        const char* file;
        const char* context;
        const char* source;
        const char* expected; // null: any text other than the source
    };
    const SCase cases[] = {
        {"de_DE", "PPOperators.xml", "Local Contrast", "Lokaler Kontrast"},
        {"de_DE", "PPOperators.xml", "Local Contour", nullptr},
        {"de_DE", "PPOperators.xml", "Color Contrast", nullptr},
        {"de_DE", "PPOperators.xml", "Veiling Glare", nullptr},
        {"de_DE", "PPOperators.xml", "Posterize", nullptr},
        {"de_DE", "HDRPresetsDockWidget", "Preset Import", "Importieren"},
        {"de_DE", "HDRPresetsDockWidget", "Preset Export", "Exportieren"},
        {"de_DE", "HDRPostProcessingDockWidget", "Post-Processing Filter", "Nachbearbeitungsfilter"},
        {"de_DE", "HDRPostProcessingDockWidget", "Layer Effekt: ", nullptr},
        {"de_DE", "CExposureSeries", "Projekt could not be loaded", nullptr},
        {"de_DE", "HDRMainWindow", "Compare Window", nullptr},
        {"de_DE", "HDRMainWindow", "Timeline", nullptr},
        {"de_DE", "HDRRAWDevelopmentWindow", "cubic", nullptr},
        {"de_DE", "CCropWindow", "Reset", nullptr},
        {"de_DE", "Benchmark", "Marks", nullptr},
        {"en_GB", "HDRPostProcessingDockWidget", "Blendmode Negativ Multiplizieren", "Screen"},
        {"en_GB", "HDRPostProcessingDockWidget", "Blendmode Länge", "Soft multiply"},
        {"en_GB", "HDRPostProcessingDockWidget", "Blendmode Doppelte Stärke", "Double effect"},
        {"en_GB", "HDRPostProcessingDockWidget", "Blendmode Kubisch", "Cubic contrast"},
        {"en_GB", "HDRPostProcessingDockWidget", "Blendmode Euklidisch", "Soft lighten"},
        {"en_GB", "HDRPostProcessingDockWidget", "Blendmode Überblenden", "Overlay"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << " " << c.context << " / " << c.source);
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_%1").arg(QLatin1String(c.file))));
        const QString translated = translator.translate(c.context, c.source);
        EXPECT_FALSE(translated.isEmpty());
        EXPECT_NE(translated, QString::fromUtf8(c.source));
        if (c.expected)
            EXPECT_EQ(translated, QString::fromUtf8(c.expected));
    }
}
