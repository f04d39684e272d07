#pragma once
// Two exports of the current document beside the result saving:
// - the web animation: fourteen JPEG frames in which the result wipes in over
//   the unprocessed image and back, and the page "Web.html" that plays them;
// - the depth map as a grey image.
// Both run over the export host (dialog parent, buffers, folders, crop window,
// counters); the writer, the page opener and the clock can be replaced.

#include "ui/mainwindow/resultsaveflow.h"

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <functional>

class CWebAnimExport {
public:
    using BufferFn = std::function<const unsigned short*(int* width, int* height)>;

    // hdrBuffer: the image before post-processing (GetActualHDRBuffer).
    CWebAnimExport(IResultExportHost& host, BufferFn hdrBuffer, QString homepage, QString iniPath = QString());
    void SetWriter(CResultSaveFlow::WriteFn writer) { m_Writer = std::move(writer); }
    void SetOpenUrl(std::function<bool(const QUrl&)> open) { m_OpenUrl = std::move(open); }
    void SetClock(std::function<QDateTime()> clock) { m_Clock = std::move(clock); }

    // The whole export; false when it ended before writing (no or unequal
    // images, no memory, a dialog cancelled) or the page could not be written.
    bool Run(int quality, const QString& author, const QString& title);
    // The folder the last run wrote into (empty before).
    QString ExportFolder() const { return m_strExportFolder; }

    static constexpr int kFrames = 14;
    // The frame size: the long side limited to 1280 (landscape, square) or
    // 1024 (portrait), in single precision, truncated; never enlarged.
    static QSize FrameSize(int width, int height);
    // Columns [0, c) of frame i show the first image, the rest the second:
    // frames 1..4 result over before, 10..13 before over result.
    static int BoundaryColumn(int frame, int width);
    // Frame i of the two W x H RGB48 images: composed into out and returned,
    // or (frames 0 and 5..9, one image whole) that image itself.
    static const uint16_t* ComposeFrame(int frame, const uint16_t* before, const uint16_t* after, int width, int height,
                             uint16_t* out);
    // "<name>_html_YYYYMMDD_HHMMSS".
    static QString ExportFolderName(const QDateTime& when);
    // The page, line by line.
    static QString PageText(const QString& title, const QString& author, const QString& dateText,
                            const QString& timeText, const QString& homepage);

private:
    IResultExportHost& m_Host;
    BufferFn m_HdrBuffer;
    QString m_strHomepage;
    QString m_strIniPath;
    CResultSaveFlow::WriteFn m_Writer;
    std::function<bool(const QUrl&)> m_OpenUrl;
    std::function<QDateTime()> m_Clock;
    QString m_strExportFolder;
};

// The document's depth map: width, height and RGB48 samples (null when none).
struct SDepthMap {
    int iWidth = 0;
    int iHeight = 0;
    const uint16_t* pBuffer = nullptr;
};

class CDepthMapExport {
public:
    CDepthMapExport(IResultExportHost& host, QString iniPath = QString());
    void SetWriter(CResultSaveFlow::WriteFn writer) { m_Writer = std::move(writer); }

    // Asks for the file and writes the map's green channel as a grey image.
    // No document or an empty map: a warning and nothing else. False when
    // nothing was written.
    bool Run(bool hasDocument, const SDepthMap& map);

    // R = G = B = the source's green for w x h pixels.
    static void GreyFill(const uint16_t* source, int width, int height, uint16_t* grey);
    static QString FileFilter();

private:
    IResultExportHost& m_Host;
    QString m_strIniPath;
    CResultSaveFlow::WriteFn m_Writer;
};
