#include "ui/mainwindow/resultprinter.h"

#include "document/kernelrunner.h"
#include "engine/core/conversions.h"
#include "engine/core/textures.h"
#include "ui/mainwindow/resultsaveflow.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/modalhook.h"
#include "ui/views/viewrender.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>

#include <cstdio>

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("HDRMainWindow", text); }

void Warn(IResultExportHost& host, const QString& text)
{
    HDRMessageBox box(host.DialogParent(), QMessageBox::Warning, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Warnung")), text,
                      QString(), Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Ok")));
    box.exec();
}

// The result as a pixmap, made in the engine's scratch buffer, which is
// borrowed under the engine guard. Null when the result or memory is missing.
QPixmap ResultPixmap(IResultExportHost& host, int* width, int* height)
{
    CEngineGuard guard;
    const unsigned short* buffer = host.GetActualResultBuffer(width, height);
    if (!buffer || *width <= 0 || *height <= 0)
        return QPixmap();
    auto* scratch = static_cast<uint32_t*>(MP_UpdateBuffer(size_t(*width) * size_t(*height) * 4));
    if (!scratch)
        return QPixmap();
    MP_UI_ConvertRGB48toARGB8888(*width, *height, buffer, scratch);
    return ViewPixmap(scratch, *width, *height);
}

} // namespace

namespace ResultPrinter {

int MarginForResolution(int dpi) { return (15 * dpi + 36) / 72; }

bool PrintResultImage(IResultExportHost& host)
{
    // The print engine's own resolution: the image fills the printable area
    // whatever the printer's dots per inch are.
    QPrinter printer(QPrinter::HighResolution);
    int width = 0;
    int height = 0;
    host.GetActualResultBuffer(&width, &height);
    if (width > height)
        printer.setPageOrientation(QPageLayout::Landscape);

    QPrintDialog dialog(&printer, host.DialogParent());
    if (_gui::ExecModal(&dialog, [&dialog] { return dialog.exec(); }) != QDialog::Accepted)
        return false;

    const QPixmap pixmap = ResultPixmap(host, &width, &height);
    if (pixmap.isNull()) {
        Warn(host, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Nicht genug Arbeitsspeicher vorhanden.")));
        return false;
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        std::printf("Print: the printer could not be opened\n");
        Warn(host, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Der Druck konnte nicht gestartet werden.")));
        return false;
    }
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRect viewport = painter.viewport();
    const QSize fitted = QSize(width, height).scaled(viewport.size(), Qt::KeepAspectRatio);
    const int margin = MarginForResolution(printer.resolution());
    painter.setViewport(viewport.x() + margin, viewport.y() + margin, fitted.width() - 2 * margin,
                        fitted.height() - 2 * margin);
    painter.setWindow(pixmap.rect());
    painter.drawPixmap(0, 0, pixmap);
    return painter.end();
}

} // namespace ResultPrinter
