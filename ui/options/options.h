#pragma once
// COptions, the application-wide options singleton: the two working-mode
// flags that the document, the views and the main window consult on nearly
// every calculation, the user-interface locale and the translator of all
// visible texts.
//
// init() chooses the locale ("language.ini" in the user settings folder, else
// the default locale folded onto the supported ones), loads
// "<application folder>/translations/hdrvorlix_<locale>" with a fallback over
// LOCALES, and writes the choice back. It also loads Qt's own translation of
// the chosen language ("qtbase_<language>" from Qt's translations folder, when
// installed) for the texts of Qt's dialogs and standard buttons; main installs
// both translators (InstallTranslators).

#include "document/documentseams.h"
#include "document/seriesseams.h"

#include <QString>
#include <QTranslator>

#include <atomic>

class QCoreApplication;

class COptions : public IPreviewModeSource, public IRealTimeModeSource {
public:
    // The supported locales, in fallback order.
    static constexpr int kLocaleCount = 6;
    static const char* const LOCALES[kLocaleCount];

    static COptions* getInstance();
    // Deletes the instance; when the document reads its preview or real-time
    // flag from it, the document is left without that source.
    static void destroy();

    void init();
    // True when text is one of LOCALES exactly (letter case matters).
    static bool CheckValidLocale(const QString& locale);
    // True when the locale's translation file loads and translates the check
    // key ("VERSION_NAME LUMIVEX" in context "Program") to a non-empty text.
    bool IsLocaleAvailable(const QString& locale) const;
    // For a valid locale: writes it to "language.ini" and makes it current;
    // the translator is not reloaded (a new language needs a restart).
    void SetLocale(const QString& locale);

    // ---- IPreviewModeSource (the document reads and switches the flag) ----
    bool GetPreviewMode() const override { return m_bPreviewMode; }
    void SetPreviewMode(bool preview) override { m_bPreviewMode = preview; }
    // ---- IRealTimeModeSource (the document reads the flag) ----
    bool GetRealTimeMode() const override { return m_bRealTimeMode; }

    // "language.ini" in the user settings folder.
    static QString LanguageIniPath();
    // The translation file name without suffix, in the translations folder.
    static QString TranslationFile(const QString& locale);
    // Qt's own translation of the locale's language, without suffix:
    // "<Qt translations folder>/qtbase_<language>".
    static QString QtTranslationFile(const QString& locale);
    // Installs Qt's translation (when loaded) and then the program's, so the
    // program's texts take precedence.
    void InstallTranslators(QCoreApplication* app);

    // Work on the preview-size buffers instead of the full-size ones. The
    // batch thread writes it while the GUI thread reads it, hence atomic.
    std::atomic<bool> m_bPreviewMode{true};
    // Recalculate at once after each change.
    std::atomic<bool> m_bRealTimeMode{true};
    QString m_strLocale;
    QTranslator m_translator;
    // Qt's own texts (file dialogs, standard buttons, key names); empty when
    // the system has no translation for the language.
    QTranslator m_qtTranslator;

private:
    COptions() = default;
    ~COptions() override = default;
    static bool LoadTranslation(QTranslator& translator, const QString& locale);
    static bool Usable(const QTranslator& translator);

    static COptions* m_pInstance;
};
