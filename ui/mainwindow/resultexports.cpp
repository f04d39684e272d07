#include "ui/mainwindow/resultexports.h"

#include "document/kernelrunner.h"
#include "engine/core/tasks.h"
#include "engine/core/textures.h"
#include "engine/views/zoom.h"
#include "ui/mainwindow/resultimagewriter.h"
#include "ui/mainwindow/resultsaveformat.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/modalhook.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("HDRMainWindow", text); }

const char kDialogPathKey[] = "lastDialogPath";
constexpr unsigned int kWebCategory = 14;
constexpr unsigned int kDepthCategory = 4;

// The writer inside the export's own progress guard, with the host's context
// (the crop window draws the caption).
CResultSaveFlow::WriteFn DirectWriter(IResultExportHost& host)
{
    IResultExportHost* exportHost = &host;
    return [exportHost](const QString& path, const uint16_t* rgb48, int quality, bool floatFromSeries, int width,
                        int height, const QString& masterFile, const SCropData* crop) {
        return ResultImageWriter::SaveImageFile(path, rgb48, quality, floatFromSeries, width, height, masterFile, crop,
                                                exportHost->WriterContext());
    };
}

QString ProgramTitle()
{
    return QStringLiteral("%1 %2 - %3")
        .arg(QCoreApplication::translate("Program", "VERSION_NAME LUMIVEX"),
             QCoreApplication::translate("Program", "LUMIVEX VERSION_PRO"), QStringLiteral("V1.14.02132"));
}

// The start folder of the export dialogs: the results folder, else the last one.
QString StartFolder(IResultExportHost& host, const QString& iniPath)
{
    const QString results = host.GetPath(3);
    if (!results.isEmpty())
        return results;
    return QSettings(iniPath, QSettings::IniFormat).value(QLatin1String(kDialogPathKey)).toString();
}

void Warn(QWidget* parent, const QString& text)
{
    HDRMessageBox box(parent, QMessageBox::Warning, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Warnung")), text, QString(),
                      Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Ok")));
    box.exec();
}

// Runs the dialog; the first chosen path, empty when it was cancelled.
QString ChosenPath(QFileDialog& dialog)
{
    if (_gui::ExecModal(&dialog, [&dialog] { return dialog.exec(); }) != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

// The page's text for a title or author: Latin-1 (others become "?") and escaped.
QString PageField(const QString& text) { return QString::fromLatin1(text.toLatin1()).toHtmlEscaped(); }

std::unique_ptr<uint16_t[]> AllocateRgb48(int width, int height)
{
    const size_t samples = size_t(width) * size_t(height) * 3u;
    return std::unique_ptr<uint16_t[]>(new (std::nothrow) uint16_t[samples]);
}

} // namespace

// ---- web animation --------------------------------------------------------------

CWebAnimExport::CWebAnimExport(IResultExportHost& host, BufferFn hdrBuffer, QString homepage, QString iniPath)
    : m_Host(host), m_HdrBuffer(std::move(hdrBuffer)), m_strHomepage(std::move(homepage)),
      m_strIniPath(iniPath.isEmpty() ? ResultSaveFormat::IniPath() : std::move(iniPath)), m_Writer(DirectWriter(host)),
      m_OpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      m_Clock([] { return QDateTime::currentDateTime(); })
{
}

QSize CWebAnimExport::FrameSize(int width, int height)
{
    int tw = width;
    int th = height;
    if (width < height && height > 1024) {
        tw = int(float(width) * 1024.0f / float(height));
        th = 1024;
    }
    if (width >= height && width > 1280) {
        th = int(float(height) * 1280.0f / float(width));
        tw = 1280;
    }
    return QSize(tw, th);
}

int CWebAnimExport::BoundaryColumn(int frame, int width)
{
    if (frame >= 1 && frame <= 4)
        return frame * width / 5;
    if (frame >= 10 && frame <= 13)
        return (frame - 9) * width / 5;
    return 0;
}

namespace {

struct SComposeArgs {
    const uint16_t* pLeft;  // columns [0, split)
    const uint16_t* pRight; // columns [split, width)
    uint16_t* pOut;
    size_t uiRow;   // samples per row
    size_t uiSplit; // samples left of the boundary
};

void ComposeRows(TaskFuncParams t)
{
    const SComposeArgs* a = MP_taskArgs<SComposeArgs>(t);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t start = size_t(y) * a->uiRow;
        std::memcpy(a->pOut + start, a->pLeft + start, a->uiSplit * sizeof(uint16_t));
        std::memcpy(a->pOut + start + a->uiSplit, a->pRight + start + a->uiSplit,
                    (a->uiRow - a->uiSplit) * sizeof(uint16_t));
    }
}

struct SGreyArgs {
    const uint16_t* pSource;
    uint16_t* pGrey;
    size_t uiWidth;
};

void GreyRows(TaskFuncParams t)
{
    const SGreyArgs* a = MP_taskArgs<SGreyArgs>(t);
    const size_t begin = size_t(MP_taskStart(t)) * a->uiWidth;
    const size_t end = size_t(MP_taskEnd(t)) * a->uiWidth;
    const uint16_t* src = a->pSource;
    uint16_t* dst = a->pGrey;
    for (size_t i = begin; i < end; ++i) {
        const uint16_t g = src[i * 3u + 1u];
        dst[i * 3u] = g;
        dst[i * 3u + 1u] = g;
        dst[i * 3u + 2u] = g;
    }
}

} // namespace

const uint16_t* CWebAnimExport::ComposeFrame(int frame, const uint16_t* before, const uint16_t* after, int width,
                                            int height, uint16_t* out)
{
    // Frame 0 is the unprocessed image and 5..9 the result, whole: no copy.
    if (frame <= 0 || frame > 13)
        return before;
    if (frame >= 5 && frame <= 9)
        return after;
    // Frames 1..4: the result left of the boundary; 10..13: the unprocessed image.
    SComposeArgs args{after, before, out, size_t(width) * 3u, size_t(BoundaryColumn(frame, width)) * 3u};
    if (frame >= 10) {
        args.pLeft = before;
        args.pRight = after;
    }
    CEngineGuard guard;
    MP_runBandPass(ComposeRows, MP_makeTask(nullptr, &args), height);
    return out;
}

QString CWebAnimExport::ExportFolderName(const QDateTime& when)
{
    const QDate date = when.date();
    return QCoreApplication::translate("Program", "VERSION_NAME LUMIVEX") + QStringLiteral("_html_") +
           QString::asprintf("%04d%02d%02d", date.year(), date.month(), date.day()) + QStringLiteral("_") +
           when.time().toString(QStringLiteral("HH:mm:ss")).remove(QLatin1Char(':'));
}

QString CWebAnimExport::PageText(const QString& title, const QString& author, const QString& dateText,
                                 const QString& timeText, const QString& homepage)
{
    const QString program = ProgramTitle();
    QStringList lines;
    lines << QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">")
          << QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\">") << QStringLiteral("<head>")
          << QStringLiteral(" <title>") + program + QStringLiteral("</title>")
          << QStringLiteral("<SCRIPT language=\"JavaScript\">;")
          << QString::asprintf("var DelayMs = %d;", 1000) << QStringLiteral("var AnimationArr = new Array ();")
          << QStringLiteral("    AnimationArr[0] = new Array ();")
          << QString::asprintf("    AnimationArr[0][1] = %d;", kFrames)
          << QStringLiteral("    AnimationArr[0][2] = 0;") << QStringLiteral("    AnimationArr[0][3] = null;")
          << QStringLiteral("function StartAnimation() {")
          << QStringLiteral("    for (var i = 0; i < AnimationArr.length; i++)") << QStringLiteral("        Next(i);")
          << QStringLiteral("}") << QStringLiteral("function ShowImage(idx) {")
          << QStringLiteral("    var ImageAnimator = window.document.getElementById(\"Animation\");")
          << QStringLiteral("    var CurrentImage = window.document.getElementById(\"FP\" + AnimationArr[0][2]);")
          << QStringLiteral("    ImageAnimator.onload = NextImage;")
          << QStringLiteral("    ImageAnimator.src = CurrentImage.src;") << QStringLiteral("}")
          << QStringLiteral("function Next(idx) {") << QStringLiteral("    AnimationArr[idx][2]++;")
          << QStringLiteral("    if (AnimationArr[idx][2] > AnimationArr[idx][1]-1)")
          << QStringLiteral("        AnimationArr[idx][2] = 0;") << QStringLiteral("    ShowImage(idx);")
          << QStringLiteral("}") << QStringLiteral("function NextImage(idx) {")
          << QStringLiteral("    if (isNaN(parseInt(idx)))") << QStringLiteral("        idx = 0;")
          << QStringLiteral("    AnimationArr[idx][3] = window.setTimeout('Next('+idx+')', DelayMs);")
          << QStringLiteral("}") << QStringLiteral("</SCRIPT>") << QStringLiteral("<style>")
          << QStringLiteral("    BR.clear {") << QStringLiteral("        height: 2px;")
          << QStringLiteral("        font-size: 2px;") << QStringLiteral("        clear: both;")
          << QStringLiteral("    }") << QStringLiteral("    #LoadAllImages {")
          << QStringLiteral("        display: none;") << QStringLiteral("    }") << QStringLiteral("    #ImageStart {")
          << QStringLiteral("        float: left;") << QStringLiteral("        margin: 0 0px;")
          << QStringLiteral("        padding: 3px;") << QStringLiteral("        border: 3px solid #808080;")
          << QStringLiteral("    }") << QStringLiteral("    #resolution {") << QStringLiteral("        float: left;")
          << QStringLiteral("        margin: 0 0px;") << QStringLiteral("        padding: 3px;")
          << QStringLiteral("        border: 3px solid #808080;") << QStringLiteral("        display: none;")
          << QStringLiteral("    }") << QStringLiteral("</style>") << QStringLiteral("</head>")
          << QStringLiteral("<body bgcolor=\"#272727\">") << QStringLiteral("<font face=Arial,Verdana>");
    if (!title.isEmpty() || !author.isEmpty()) {
        QString heading;
        if (!title.isEmpty() && !author.isEmpty())
            heading = PageField(title) + QStringLiteral(" - ") + PageField(author);
        else
            heading = PageField(title.isEmpty() ? author : title);
        lines << QStringLiteral(" <font size=\"6\" color=\"#cfcfcf\"> ") + heading + QStringLiteral("</br>");
    }
    lines << QStringLiteral("<div id=\"frame\">") << QStringLiteral(" <br class=\"clear\" />")
          << QStringLiteral(" <div id=\"content\">") << QStringLiteral("  <br class=\"clear\"/>")
          << QStringLiteral("  <div id=\"images-container\">")
          << QStringLiteral("    <div id='ImageStart'><img src=\"ImageSequence/0000.jpg\" id=\"Animation\" "
                            "align=\"left\" valign=\"top\" /></div>")
          << QStringLiteral("    <div id='resolution'><img src=\"ImageSequence/0000.jpg\" /></div>")
          << QStringLiteral("    <br class=\"clear\"/>") << QStringLiteral("  </div>")
          << QStringLiteral(" <br class=\"clear\"/>") << QStringLiteral(" </div>")
          << QStringLiteral(" <br class=\"clear\"/>") << QStringLiteral("</div>");
    QString preload = QStringLiteral("<div id=\"LoadAllImages\">");
    for (int k = 0; k < kFrames; ++k)
        preload += QString::asprintf(" <img src=\"ImageSequence/%04d.jpg\" id=\"FP%d\"/>", k, k);
    preload += QStringLiteral("</div>");
    lines << preload;
    lines << QStringLiteral(" <font size=\"4\" color=\"#cfcfcf\">") + dateText + QStringLiteral(", ") + timeText +
                 QStringLiteral("</font></br></br>");
    lines << QStringLiteral(" <font size=\"5\" color=\"#cfcfcf\">") +
                 Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Erstellt mit")) + QStringLiteral(" <a href=\"http://") +
                 homepage + QStringLiteral("\">") + program + QStringLiteral("</a></font></br>");
    lines << QStringLiteral("</font>") << QStringLiteral("</body>") << QStringLiteral("<SCRIPT language=\"JavaScript\">")
          << QStringLiteral("    window.onload = function() \t{") << QStringLiteral("        StartAnimation();")
          << QStringLiteral("    }") << QStringLiteral("</SCRIPT>") << QStringLiteral("</html>");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool CWebAnimExport::Run(int quality, const QString& author, const QString& title)
{
    m_strExportFolder.clear();
    {
        CEngineGuard guard;
        MP_ClearBuffer(); // the frames find the memory
    }

    int width = 0;
    int height = 0;
    const uint16_t* after = m_Host.GetActualResultBuffer(&width, &height);
    int beforeWidth = 0;
    int beforeHeight = 0;
    const uint16_t* before = m_HdrBuffer ? m_HdrBuffer(&beforeWidth, &beforeHeight) : nullptr;
    // Both images, of one size, or there is nothing to animate.
    if (!after || !before || width <= 0 || height <= 0 || beforeWidth != width || beforeHeight != height)
        return false;

    const QSize frame = FrameSize(width, height);
    std::unique_ptr<uint16_t[]> composite = AllocateRgb48(width, height);
    std::unique_ptr<uint16_t[]> output = AllocateRgb48(frame.width(), frame.height());
    if (!composite || !output) {
        Warn(m_Host.DialogParent(),
             Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Es steht nicht genügend Arbeitsspeicher zur Verfügung.")));
        return false;
    }

    QFileDialog dialog(m_Host.DialogParent(), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Speicherpfad auswählen")),
                       StartFolder(m_Host, m_strIniPath));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    const QString folder = ChosenPath(dialog);
    if (folder.isEmpty())
        return false;

    SCropResult crop;
    if (IResultCropWindow* window = m_Host.CropWindow()) {
        crop = window->Show();
        if (crop.bCancelled)
            return false;
    }
    const bool withCrop = crop.cropData.bHasSelection || !crop.cropData.strText.isEmpty();

    if (IUsageCounters* counter = m_Host.UsageCounter())
        counter->HandleValue(QStringLiteral("m_iWebAnimCreated"), 1);

    HDRProgressThread progress(1, 0);
    HDRProgressThread::OpenCategory(kWebCategory, false);
    HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Web-Animation"));

    const QDateTime now = m_Clock();
    m_strExportFolder = folder + QLatin1Char('/') + ExportFolderName(now);
    const QString frames = m_strExportFolder + QStringLiteral("/ImageSequence");
    QDir().mkpath(frames);

    for (int i = 0; i < kFrames; ++i) {
        const uint16_t* source = ComposeFrame(i, before, after, width, height, composite.get());
        CEngineGuard guard;
        MP_MT_zoomPreviewPicture(source, output.get(), 0, 0, 0, 0, float(frame.width()),
                                 float(frame.height()), float(frame.width()), float(width), float(height), 0.0f, 0.0f,
                                 float(width), float(height));
        m_Writer(frames + QString::asprintf("/%04d.jpg", i), output.get(), quality, false, frame.width(),
                 frame.height(), QString(), withCrop ? &crop.cropData : nullptr);
        HDRProgressThread::AddMessage(kWebCategory, float(i + 1) / float(kFrames) * 0.995f);
    }

    const QString pagePath = m_strExportFolder + QStringLiteral("/Web.html");
    QSaveFile page(pagePath);
    bool written = false;
    if (page.open(QIODevice::WriteOnly)) {
        QTextStream stream(&page);
        stream << PageText(title, author, now.date().toString(), now.time().toString(), m_strHomepage);
        stream.flush();
        written = stream.status() == QTextStream::Ok && page.commit();
    }
    if (written) {
        HDRProgressThread::AddMessage(kWebCategory, 1.0f);
        m_OpenUrl(QUrl::fromLocalFile(pagePath));
    } else {
        page.cancelWriting();
        HDRProgressThread::AddMessage(kWebCategory, ResultImageWriter::FileErrorText(pagePath), 2);
    }
    HDRProgressThread::AddMessage(kWebCategory, 1.0f);
    return written;
}

// ---- depth map ------------------------------------------------------------------

CDepthMapExport::CDepthMapExport(IResultExportHost& host, QString iniPath)
    : m_Host(host), m_strIniPath(iniPath.isEmpty() ? ResultSaveFormat::IniPath() : std::move(iniPath)),
      m_Writer(DirectWriter(host))
{
}

QString CDepthMapExport::FileFilter()
{
    return QStringLiteral("TIF 8-Bit (*.tif);;Jpeg 8-Bit (*.jpg);;TIFF 16-Bit (*.tiff);;PNG 16-Bit (*.png)");
}

void CDepthMapExport::GreyFill(const uint16_t* source, int width, int height, uint16_t* grey)
{
    SGreyArgs args{source, grey, size_t(width)};
    CEngineGuard guard;
    MP_runBandPass(GreyRows, MP_makeTask(nullptr, &args), height);
}

bool CDepthMapExport::Run(bool hasDocument, const SDepthMap& map)
{
    if (!hasDocument || map.iWidth <= 0 || map.iHeight <= 0 || !map.pBuffer) {
        Warn(m_Host.DialogParent(), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Keine Tiefenkarte vorhanden.")));
        return false;
    }
    const QString results = m_Host.GetPath(3);
    QString name = m_Host.GetMergedFilename(100);
    if (name.isEmpty())
        name = Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "MyImage"));

    QFileDialog dialog(m_Host.DialogParent(), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Tiefenkarte speichern")),
                       StartFolder(m_Host, m_strIniPath) + QLatin1Char('/') + name + QStringLiteral("_depthmap"),
                       FileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectNameFilter(QStringLiteral("TIFF 16-Bit (*.tiff)"));
    const QString path = ChosenPath(dialog);
    if (path.isEmpty())
        return false;
    if (results.isEmpty())
        QSettings(m_strIniPath, QSettings::IniFormat)
            .setValue(QLatin1String(kDialogPathKey), QFileInfo(path).absolutePath());

    HDRProgressThread progress(1, 0);
    HDRProgressThread::OpenCategory(kDepthCategory, false);
    HDRProgressThread::AddMessage(kDepthCategory, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Tiefenkarte wird gespeichert")),
                                  0);
    HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Tiefenkarte speichern"));
    HDRProgressThread::AddMessage(kDepthCategory, 0.0f);

    bool written = false;
    std::unique_ptr<uint16_t[]> grey = AllocateRgb48(map.iWidth, map.iHeight);
    if (!grey) {
        HDRProgressThread::AddMessage(
            kDepthCategory, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Nicht genug RAM zum Speichern verfügbar.")), 0);
    } else {
        GreyFill(map.pBuffer, map.iWidth, map.iHeight, grey.get());
        // The master photograph's metadata, found by its full path.
        written = m_Writer(path, grey.get(), 100, false, map.iWidth, map.iHeight, m_Host.MasterPath(), nullptr);
    }
    HDRProgressThread::AddMessage(kDepthCategory, 1.0f);
    return written;
}
