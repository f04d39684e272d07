#include "ui/tools/hdrstatistic.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

enum class EKind { Sum, Max };

struct SCounterInfo {
    const char* szKey;
    int HDRStatistic::*pMember;
    EKind eKind;
};

#define LUMIVEX_STATISTIC_SUM(name) {#name, &HDRStatistic::name, EKind::Sum},
#define LUMIVEX_STATISTIC_MAX(name) {#name, &HDRStatistic::name, EKind::Max},
const SCounterInfo kCounters[] = {LUMIVEX_STATISTIC_COUNTERS(LUMIVEX_STATISTIC_SUM, LUMIVEX_STATISTIC_MAX)};
#undef LUMIVEX_STATISTIC_SUM
#undef LUMIVEX_STATISTIC_MAX
constexpr int kCounterCount = int(sizeof(kCounters) / sizeof(kCounters[0]));
static_assert(kCounterCount == 66, "the statistics file holds 66 counters");

const SCounterInfo* FindCounter(const QString& key)
{
    for (const SCounterInfo& info : kCounters)
        if (key == QLatin1String(info.szKey))
            return &info;
    return nullptr;
}

QString Tr(const char* text) { return QCoreApplication::translate("Statistic", text); }

// The report's version header "%1 %2 - %3%4 - ".
QString ReportHeader()
{
    return QStringLiteral("%1 %2 - %3%4 - ")
        .arg(QCoreApplication::translate("Program", "VERSION_NAME LUMIVEX"),
             QCoreApplication::translate("Program", "LUMIVEX VERSION_PRO"), QStringLiteral("V1.14.02132"), QString());
}

// Report rows: a line (label, counter), a head (label) or a gap.
enum class ERow { Line, Megapixel, Seconds, Head, Gap };
struct SReportRow {
    ERow eRow;
    const char* szLabel;
    int HDRStatistic::*pMember;
};

const SReportRow kReport[] = {
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Programmstarts"), &HDRStatistic::m_iProgramStarted},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Head, QT_TRANSLATE_NOOP("Statistic", "Laden & Speichern"), nullptr},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Einzelbilder eingeladen"), &HDRStatistic::m_iSingleImagesLoaded},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Ergebnisbilder gespeichert"), &HDRStatistic::m_iImagesSaved},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Bestehende Projekte eingeladen"), &HDRStatistic::m_iProjectsLoaded},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Neue Projekte angelegt"), &HDRStatistic::m_iProjectsSaved},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Megapixel, QT_TRANSLATE_NOOP("Statistic", "Größte geladene Bilddatei (in Megapixel)"), &HDRStatistic::m_iLargestImageLoaded},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "An Externe Programme übertragene Bilddateien"), &HDRStatistic::m_iImagesExported},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Vom Plugin importierte Bilddateien"), &HDRStatistic::m_iImagesFromPlugin},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Gesicherte Wiederherstellungspunkte"), &HDRStatistic::m_iUndoSaved},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Geladene Wiederherstellungspunkte"), &HDRStatistic::m_iUndoLoaded},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Einzelbilder per Drag & Drop geladen"), &HDRStatistic::m_iDragDropLoadImage},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Projekte per Drag & Drop geladen"), &HDRStatistic::m_iDragDropLoadProject},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Ordner per Drag & Drop geladen"), &HDRStatistic::m_iDragDropLoadFolder},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Head, QT_TRANSLATE_NOOP("Statistic", "Post-Processing & Voreinstellungen"), nullptr},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Seconds, QT_TRANSLATE_NOOP("Statistic", "Aufwendigste Berechnung (in Sekunden)"), &HDRStatistic::m_iHighestPPCalcTime},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Echtzeit Animationsmodus"), &HDRStatistic::m_iAnimModeUsed},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Voreinstellungen erzeugt"), &HDRStatistic::m_iPresetCreated},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Voreinstellungen gelöscht"), &HDRStatistic::m_iPresetDeleted},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Voreinstellungen importiert"), &HDRStatistic::m_iPresetsImported},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Voreinstellungen exportiert"), &HDRStatistic::m_iPresetsExported},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Voreinstellungen umbenannt"), &HDRStatistic::m_iPresetRenamed},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Preset-Combiner"), &HDRStatistic::m_iPresetCombinerOpened},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Head, QT_TRANSLATE_NOOP("Statistic", "Modulnutzung"), nullptr},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Bilddaten-Browser geöffnet"), &HDRStatistic::m_iImageBrowserOpened},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Stapelverarbeitung geöffnet"), &HDRStatistic::m_iBatchProcessingOpened},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Panoramaviewer geöffnet"), &HDRStatistic::m_iPanoramaViewerOpened},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "EXIF-Informationen geöffnet"), &HDRStatistic::m_iExifViewed},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Grenzpixelanzeige angesehen"), &HDRStatistic::m_iBorderPixelViewed},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Einstellungen geöffnet"), &HDRStatistic::m_iOptionsOpened},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Hilfe geöffnet"), &HDRStatistic::m_iHelpOpened},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Homepage aufgerufen"), &HDRStatistic::m_iHomepageOpened},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Updatepage aufgerufen"), &HDRStatistic::m_iUpdatepageOpened},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "About Fenster angezeigt"), &HDRStatistic::m_iAboutOpened},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Fenster zurückgesetzt"), &HDRStatistic::m_iWindowsResetted},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Head, QT_TRANSLATE_NOOP("Statistic", "Zusatzfunktionen"), nullptr},
    {ERow::Gap, nullptr, nullptr},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Belichtungsreihe horizontal gespiegelt"), &HDRStatistic::m_iHMirrorClicked},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Belichtungsreihe vertikal gespiegelt"), &HDRStatistic::m_iVMirrorClicked},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Belichtungsreihe nach links rotiert"), &HDRStatistic::m_iRotateLeftClicked},
    {ERow::Line, QT_TRANSLATE_NOOP("Statistic", "Belichtungsreihe nach rechts rotiert"), &HDRStatistic::m_iRotateRightClicked},
};

} // namespace

HDRStatistic::HDRStatistic(QString folder)
{
    SetIniPath(std::move(folder));
    m_pTimer = new QTimer();
    m_pTimer->setSingleShot(true);
    QObject::connect(m_pTimer, &QTimer::timeout, [this] { TimerFired(); });
    FromSettings();
    ToSettings();
}

HDRStatistic::~HDRStatistic()
{
    Flush();
    delete m_pTimer;
}

HDRStatistic* HDRStatistic::CreateOwned(QObject* owner, const QString& folder)
{
    HDRStatistic* statistic = new HDRStatistic(folder);
    CSeriesSeams::SetStatisticSink(statistic);
    if (owner)
        QObject::connect(owner, &QObject::destroyed, [statistic] {
            IStatisticSink* previous = CSeriesSeams::SetStatisticSink(nullptr);
            if (previous != statistic) // another sink registered meanwhile stays
                CSeriesSeams::SetStatisticSink(previous);
            delete statistic;
        });
    return statistic;
}

void HDRStatistic::SetIniPath(QString folder) { m_strIniPath = std::move(folder); }

const QStringList& HDRStatistic::CounterKeys()
{
    static const QStringList keys = [] {
        QStringList list;
        for (const SCounterInfo& info : kCounters)
            list << QLatin1String(info.szKey);
        return list;
    }();
    return keys;
}

int HDRStatistic::Value(const QString& key) const
{
    QMutexLocker lock(&m_Mutex);
    const SCounterInfo* info = FindCounter(key);
    return info ? this->*(info->pMember) : 0;
}

void HDRStatistic::FromSettings()
{
    QMutexLocker lock(&m_Mutex);
    if (!QFileInfo::exists(IniFile()))
        return;
    QSettings ini(IniFile(), QSettings::IniFormat);
    for (const SCounterInfo& info : kCounters) {
        const QString key = QLatin1String(info.szKey);
        if (ini.contains(key))
            this->*(info.pMember) = ini.value(key).toInt(); // not an integer: 0
    }
}

void HDRStatistic::ToSettings()
{
    QMutexLocker lock(&m_Mutex);
    WriteLocked();
}

void HDRStatistic::WriteLocked()
{
    {
        // QSettings writes through a temporary file renamed over the old one.
        QSettings ini(IniFile(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Title"), QStringLiteral("This values are generated for support and debug purposes."));
        ini.setValue(QStringLiteral("VERSION_FAMILY"), QStringLiteral("Lumivex"));
        ini.setValue(QStringLiteral("VERSION"), 300);
        ini.setValue(QStringLiteral("VERSION_MAJOR"), 1);
        ini.setValue(QStringLiteral("VERSION_MINOR"), 14);
        ini.setValue(QStringLiteral("VERSION_BUILD"), 2132);
        for (const SCounterInfo& info : kCounters)
            ini.setValue(QLatin1String(info.szKey), this->*(info.pMember));
        ini.sync();
        // A file that cannot be written stays pending for the next write.
        m_bWritePending = ini.status() != QSettings::NoError;
    }
    m_LastWrite.start();
}

void HDRStatistic::HandleValue(const QString& key, int value)
{
    QMutexLocker lock(&m_Mutex);
    if (const SCounterInfo* info = FindCounter(key)) {
        int& counter = this->*(info->pMember);
        if (info->eKind == EKind::Sum) {
            // Summed in 64 bits and saturated: a file value near the limit
            // never overflows.
            const long long sum = static_cast<long long>(counter) + value;
            counter = static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
        } else if (value > counter) {
            counter = value;
        }
    }
    ScheduleWriteLocked();
}

void HDRStatistic::ScheduleWriteLocked()
{
    if (!m_LastWrite.isValid() || m_LastWrite.elapsed() >= kWriteIntervalMs) {
        WriteLocked();
        return;
    }
    m_bWritePending = true;
    if (m_bTimerRequested)
        return;
    m_bTimerRequested = true;
    const int delay = int(std::max<qint64>(0, kWriteIntervalMs - m_LastWrite.elapsed()));
    // The timer lives in the constructing thread; a batch-thread report asks it there.
    QMetaObject::invokeMethod(
        m_pTimer, [this, delay] { m_pTimer->start(delay); }, Qt::AutoConnection);
}

void HDRStatistic::TimerFired()
{
    QMutexLocker lock(&m_Mutex);
    m_bTimerRequested = false;
    if (m_bWritePending)
        WriteLocked();
}

void HDRStatistic::Flush()
{
    QMutexLocker lock(&m_Mutex);
    if (m_bWritePending)
        WriteLocked();
}

bool HDRStatistic::IsWritePending() const
{
    QMutexLocker lock(&m_Mutex);
    return m_bWritePending;
}

const QString& HDRStatistic::CreateText()
{
    QMutexLocker lock(&m_Mutex);
    m_strText.clear();
    m_strText += QStringLiteral("<center>");
    m_strText += QStringLiteral("<font size=\"5\">");
    m_strText += ReportHeader() + Tr(QT_TRANSLATE_NOOP("Statistic", "Statistik")) + QStringLiteral("<br/><br/>");
    m_strText += QStringLiteral("</font>");
    m_strText += QStringLiteral("<font size=\"4\">");
    for (const SReportRow& row : kReport) {
        switch (row.eRow) {
        case ERow::Gap:
            m_strText += QStringLiteral("<br/>");
            break;
        case ERow::Head:
            m_strText += QStringLiteral("<b>") + Tr(row.szLabel) + QStringLiteral("</b><br/>");
            break;
        case ERow::Line:
            m_strText += Tr(row.szLabel) + QStringLiteral(": %1").arg(this->*(row.pMember)) + QStringLiteral("<br/>");
            break;
        case ERow::Megapixel:
            m_strText += Tr(row.szLabel) +
                         QString::asprintf(": %6.2f", double(float(this->*(row.pMember)) / 1000000.0f)) +
                         QStringLiteral("<br/>");
            break;
        case ERow::Seconds:
            m_strText += Tr(row.szLabel) +
                         QString::asprintf(": %.2f", double(float(this->*(row.pMember)) / 1000.0f)) +
                         QStringLiteral("<br/>");
            break;
        }
    }
    m_strText += QStringLiteral("</font>");
    m_strText += QStringLiteral("</center>");
    return m_strText;
}
