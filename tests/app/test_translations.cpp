// The translation files: every text the sources pass through the translator
// is in both files and finished (lupdate scans the sources as they are now),
// and the compiled files carry the program's keys.

#include "appfixture.h"

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
