#include "ui/options/options.h"

#include "document/postprocessing.h"
#include "platform/userpaths.h"
#include "ui/options/apppaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>

#include <iostream>

const char* const COptions::LOCALES[kLocaleCount] = {"de_DE", "en_GB", "en_US", "fr_FR", "it_IT", "es_ES"};

COptions* COptions::m_pInstance = nullptr;

namespace {

// Regional variants folded onto a supported locale, applied in this order.
struct SFold {
    const char* from;
    const char* to;
};
const SFold kFolds[] = {
    {"de_AT", "de_DE"}, {"de_CH", "de_DE"}, {"de_LU", "de_DE"}, {"de_LI", "de_DE"},
    {"en_AU", "en_GB"}, {"en_BZ", "en_GB"}, {"en_CA", "en_GB"}, {"en_CB", "en_GB"}, {"en_IN", "en_GB"},
    {"en_IE", "en_GB"}, {"en_JM", "en_GB"}, {"en_NZ", "en_GB"}, {"en_PH", "en_GB"}, {"en_ZA", "en_GB"},
    {"en_TT", "en_GB"},
    {"fr_BE", "fr_FR"}, {"fr_CA", "fr_FR"}, {"fr_LU", "fr_FR"}, {"fr_CH", "fr_FR"},
};

const char kCheckContext[] = "Program";
const char kCheckKey[] = "VERSION_NAME LUMIVEX";

// The keys of the "Program" context that every translation file carries: the
// program's name, its edition and its version as shown to the user. The first
// is the check key above.
[[maybe_unused]] const char* const kProgramKeys[] = {QT_TRANSLATE_NOOP("Program", "VERSION_NAME LUMIVEX"),
                                                     QT_TRANSLATE_NOOP("Program", "LUMIVEX VERSION_PRO"),
                                                     QT_TRANSLATE_NOOP("Program", "V1.14.02132")};

} // namespace

COptions* COptions::getInstance()
{
    if (!m_pInstance)
        m_pInstance = new COptions();
    return m_pInstance;
}

void COptions::destroy()
{
    IPreviewModeSource* registered = CDocumentSettings::SetPreviewModeSource(nullptr);
    if (registered != m_pInstance)
        CDocumentSettings::SetPreviewModeSource(registered);
    IRealTimeModeSource* realTime = CSeriesSeams::SetRealTimeModeSource(nullptr);
    if (realTime != m_pInstance)
        CSeriesSeams::SetRealTimeModeSource(realTime);
    CPostProcessing::SetLocaleName(QString());
    delete m_pInstance;
    m_pInstance = nullptr;
}

QString COptions::LanguageIniPath() { return lumivex::platform::userSettingsFolder() + QStringLiteral("language.ini"); }

QString COptions::TranslationFile(const QString& locale)
{
    return lumivex::ApplicationFolder() + QStringLiteral("/translations/hdrvorlix_") + locale;
}

QString COptions::QtTranslationFile(const QString& locale)
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_") +
           locale.section(QLatin1Char('_'), 0, 0);
}

void COptions::InstallTranslators(QCoreApplication* app)
{
    if (!app)
        return;
    // Translators installed later are asked first.
    if (!m_qtTranslator.isEmpty())
        app->installTranslator(&m_qtTranslator);
    app->installTranslator(&m_translator);
}

bool COptions::CheckValidLocale(const QString& locale)
{
    for (const char* known : LOCALES) {
        if (locale == QLatin1String(known))
            return true;
    }
    return false;
}

bool COptions::LoadTranslation(QTranslator& translator, const QString& locale)
{
    // QTranslator::load(name) tries name + ".qm", name, then the name cut
    // before its last "_" or "." the same way.
    return translator.load(TranslationFile(locale));
}

bool COptions::Usable(const QTranslator& translator)
{
    return !translator.translate(kCheckContext, kCheckKey).isEmpty();
}

bool COptions::IsLocaleAvailable(const QString& locale) const
{
    QTranslator probe;
    LoadTranslation(probe, locale);
    return !probe.isEmpty() && Usable(probe);
}

void COptions::SetLocale(const QString& locale)
{
    if (!CheckValidLocale(locale))
        return;
    QSettings ini(LanguageIniPath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("locale"), locale);
    ini.sync();
    m_strLocale = locale;
}

void COptions::init()
{
    m_bPreviewMode = true;
    m_bRealTimeMode = true;

    QString locale;
    if (QFileInfo::exists(LanguageIniPath())) {
        QSettings ini(LanguageIniPath(), QSettings::IniFormat);
        locale = ini.value(QStringLiteral("locale")).toString();
    } else {
        // The default locale is the system's unless a test replaced it.
        locale = QLocale().name();
        for (const SFold& fold : kFolds)
            locale.replace(QLatin1String(fold.from), QLatin1String(fold.to), Qt::CaseInsensitive);
    }
    if (!CheckValidLocale(locale))
        locale = QStringLiteral("en_GB");

    LoadTranslation(m_translator, locale);
    if (!Usable(m_translator)) {
        for (const char* candidate : LOCALES) {
            const QString name = QLatin1String(candidate);
            if (IsLocaleAvailable(name)) {
                locale = name;
                LoadTranslation(m_translator, locale);
                break;
            }
        }
    }
    m_strLocale = locale;
    // Preset names follow the interface's language, not the system's.
    CPostProcessing::SetLocaleName(locale);
    // Qt's dialogs and key names in the same language; left empty (Qt's
    // English texts) when the system has no translation for it.
    if (!m_qtTranslator.load(QtTranslationFile(locale)))
        std::cout << "No Qt translation for " << locale.toStdString() << std::endl;
    std::cout << "Selected Locale: " << locale.toStdString() << std::endl;
    SetLocale(locale);
}
