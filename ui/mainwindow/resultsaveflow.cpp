#include "ui/mainwindow/resultsaveflow.h"

#include "ui/mainwindow/resultimagewriter.h"
#include "ui/mainwindow/resultsaveformat.h"
#include "ui/postprocessing/hdrpostprocessingdockwidget.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/modalhook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("HDRMainWindow", text); }

const char kDialogPathKey[] = "lastDialogPath";

bool DefaultWrite(const QString& path, const uint16_t* rgb48, int quality, bool floatFromSeries, int width, int height,
                  const QString& masterFile, const SCropData* crop, const SResultWriterContext& context)
{
    HDRProgressThread progress(1, 0);
    HDRProgressThread::OpenCategory(4, false);
    HDRProgressThread::AddMessage(4, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Speichern wird vorbereitet.")), 0);
    HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Bild speichern"));
    return ResultImageWriter::SaveImageFile(path, rgb48, quality, floatFromSeries, width, height, masterFile, crop,
                                            context);
}

} // namespace

CResultSaveFlow::CResultSaveFlow(IResultExportHost& host, QString iniPath)
    : m_Host(host), m_strIniPath(iniPath.isEmpty() ? ResultSaveFormat::IniPath() : std::move(iniPath))
{
    IResultExportHost* exportHost = &m_Host;
    m_Writer = [exportHost](const QString& path, const uint16_t* rgb48, int quality, bool floatFromSeries, int width,
                            int height, const QString& masterFile, const SCropData* crop) {
        return DefaultWrite(path, rgb48, quality, floatFromSeries, width, height, masterFile, crop,
                            exportHost->WriterContext());
    };
}

QString CResultSaveFlow::ResultFileFilter()
{
    return QStringLiteral("TIF 8-Bit (*.tif);;Jpeg 8-Bit (*.jpg);;TIFF 16-Bit (*.tiff);;PNG 16-Bit (*.png);;"
                          "Jpeg 16-Bit (*.jp2)");
}

bool CResultSaveFlow::AskForPath(QString& path, SCropResult& crop)
{
    if (m_Host.IsPostProcessingStage()) {
        if (IResultCropWindow* window = m_Host.CropWindow()) {
            crop = window->Show();
            if (crop.bCancelled)
                return false;
        }
    }
    const int formatIndex = ResultSaveFormat::ReadLastSavedFormat(m_strIniPath);
    const QString resultsFolder = m_Host.GetPath(3);
    QString folder = QSettings(m_strIniPath, QSettings::IniFormat).value(QLatin1String(kDialogPathKey)).toString();
    if (!resultsFolder.isEmpty())
        folder = resultsFolder;
    QString name = m_Host.GetMergedFilename(100);
    if (name.isEmpty())
        name = Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "MyImage"));

    QFileDialog dialog(m_Host.DialogParent(), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Ergebnisbild speichern")),
                       folder + QLatin1Char('/') + name, ResultFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The suffix follows the selected filter, so a typed "Bild" gets the
    // filter's tail before the dialog asks about overwriting.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(ResultSaveFormat::SuffixForFilter(filter)); });
    const QString preset = ResultSaveFormat::FilterForIndex(formatIndex);
    if (!preset.isEmpty())
        dialog.selectNameFilter(preset);
    dialog.setDefaultSuffix(ResultSaveFormat::SuffixForFilter(dialog.selectedNameFilter()));
    if (_gui::ExecModal(&dialog, [&dialog] { return dialog.exec(); }) != QDialog::Accepted)
        return false;
    const QStringList files = dialog.selectedFiles();
    path = files.isEmpty() ? QString() : files.first();
    if (path.isEmpty())
        return false;
    if (resultsFolder.isEmpty())
        QSettings(m_strIniPath, QSettings::IniFormat)
            .setValue(QLatin1String(kDialogPathKey), QFileInfo(path).absolutePath());
    return true;
}

void CResultSaveFlow::WarnUnknownTail(const QString& path)
{
    const QString text = ResultImageWriter::FileErrorText(path);
    HDRMessageBox box(m_Host.DialogParent(), QMessageBox::Warning, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Warnung")),
                      text, QString(), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Ok")));
    box.exec();
}

bool CResultSaveFlow::MayReplaceTarget(const QString& path)
{
    // A ".tif32" is written under the ".tif" name, a file the dialog never
    // asked about: ask before replacing it.
    const QString target = ResultImageWriter::TargetPath(path);
    if (target == path || !QFileInfo::exists(target))
        return true;
    const QString question =
        Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Die Datei %1 gibt es bereits. Soll sie ersetzt werden?"));
    HDRMessageBox box(m_Host.DialogParent(), QMessageBox::Question, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Warnung")),
                      question.arg(QDir::toNativeSeparators(target)), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Ja")),
                      Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Nein")));
    box.exec();
    return box.YesClicked();
}

bool CResultSaveFlow::saveResultImage(QString path, bool sendTo)
{
    SCropResult crop;
    const bool chosen = path.isEmpty();
    if (chosen && !AskForPath(path, crop))
        return false;
    if (ResultImageWriter::FormatForPath(path).eFormat == EResultFormat::None) {
        WarnUnknownTail(path);
        return false;
    }
    if (chosen && !MayReplaceTarget(path))
        return false;
    if (!sendTo)
        ResultSaveFormat::StoreLastSavedFormat(path, m_strIniPath);
    if (g_pHDRPostProcessingDockWidget)
        g_pHDRPostProcessingDockWidget->OptimizerDataToSettings();

    bool toggled = false;
    if (m_Host.IsPreviewMode() && m_Host.PreviewScalingFactor() < 1.0f) {
        const QString text = sendTo ? Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Preview-Modus! Neu berechnen für SendTo?"))
                                    : Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Preview-Modus! Neu berechnen?"));
        HDRMessageBox box(m_Host.DialogParent(), QMessageBox::Question, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Warnung")),
                          text, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Ja")), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Nein")));
        box.setStyleSheet(QStringLiteral("QPushButton{min-width:50px; min-height: 20px}"));
        box.SetYesIsStandardButton();
        box.exec();
        if (box.YesClicked()) {
            m_Host.TogglePreviewMode();
            toggled = true;
        }
    }

    const bool hdrStage = m_Host.IsHDRStage();
    int width = 0;
    int height = 0;
    const uint16_t* buffer = m_Host.GetActualResultBuffer(&width, &height);
    const bool withCrop = crop.cropData.bHasSelection || !crop.cropData.strText.isEmpty();
    const bool written = m_Writer(path, buffer, 100, hdrStage, width, height, m_Host.MasterPath(),
                                  withCrop ? &crop.cropData : nullptr);
    // Only a committed file counts as a saved image.
    if (written)
        if (IUsageCounters* counter = m_Host.UsageCounter())
            counter->HandleValue(QStringLiteral("m_iImagesSaved"), 1);
    if (toggled)
        m_Host.TogglePreviewMode();
    return written;
}
