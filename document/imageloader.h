#pragma once
// Reading image files on worker threads: one CLoadThread per file, started in
// batches of the ideal thread count, each batch waited out before the next;
// results come back in enqueue order. A file can be enqueued for checking
// only: its result is then the marker 1 for a readable image.

#include <QString>
#include <QThread>

#include <vector>

#include <FreeImage.h>

// A file on its way from the main window or the batch window to the series.
struct SExposure {
    QString m_strFilePath;
    FIBITMAP* m_pBitmap = nullptr;
    float m_fPreviewLuminance = -1.0f;
};

class CLoadThread : public QThread {
    Q_OBJECT
public:
    CLoadThread(const QString& path, bool load);
    ~CLoadThread() override;

    QString m_strFilePath;
    bool m_bLoad;
    // The loaded bitmap; in check mode the marker 1 for a readable image;
    // null when the file is no image or could not be loaded.
    FIBITMAP* m_pBitmap;
    // Average luminance of a RAW file's embedded preview; -1 for other
    // files, NaN for a RAW file without a readable preview.
    float m_fPreviewLuminance;
    // Whether our JPEG reader may decode the first rows into a staging band
    // while the bitmap is allocated beside (faster, a band of up to 24 MB
    // more for the moment); false allocates first, as FreeImage does.
    bool m_bStagedJpeg = true;

    // The check-mode marker.
    static FIBITMAP* CheckMarker() { return reinterpret_cast<FIBITMAP*>(1); }

    // The largest decoded image the program takes: the pixel count of the
    // display path's limit (MP_UI_CalcImageSize), 536,870,911 pixels.
    static constexpr unsigned long long kMaxPixels = 536870911ULL;
    // Whether a decoded image of width x height pixels is one the program can
    // hold: no side 0 and at most kMaxPixels pixels.
    static bool LoadableSize(unsigned width, unsigned height);
    // Whether FreeImage may be given the file: its header, read without
    // pixels where the format allows (GIF and SGI by the program itself),
    // declares a loadable size; an OpenEXR file must first pass OpenEXR's
    // own reader (FreeImage's reader never returns from some damaged OpenEXR
    // headers); a JPEG file must pass JpegSafeForFreeImage (no frame, its
    // thumbnails' included, beyond the limit, no metadata FreeImage reads
    // outside of or crashes on). A header FreeImage cannot read is left to
    // the full load.
    static bool SafeToLoad(const QByteArray& path, FREE_IMAGE_FORMAT fif);
    // The same; when the file is loadable and its header was read, *header
    // receives that header bitmap (no pixels) for the caller to release.
    static bool SafeToLoad(const QByteArray& path, FREE_IMAGE_FORMAT fif, FIBITMAP** header);
    // The file's format by its content, else by its name; FIF_UNKNOWN when
    // neither is known or FreeImage cannot read it (and for an empty path).
    static FREE_IMAGE_FORMAT ReadableFormat(const QByteArray& path);

    // Whether JPEG files go through our own reader (ReadJpeg, the default)
    // or straight to FreeImage; the benchmarks compare the two.
    static void SetOwnJpegReader(bool on);
    static bool OwnJpegReader();

protected:
    void run() override;
};

// The image library's messages, counted per thread. The application's
// message handler (FreeImage_SetOutputMessage) calls NoteImageLibraryMessage
// for every message; a load thread compares the count before and after its
// load to learn whether the library complained about its file.
void NoteImageLibraryMessage();
unsigned long ImageLibraryMessageCount();

class CImageLoader {
public:
    CImageLoader();
    ~CImageLoader();
    CImageLoader(const CImageLoader&) = delete;
    CImageLoader& operator=(const CImageLoader&) = delete;

    void Enqueue(const QString& path, bool load);
    void Load();
    bool HasNext() const;
    void LoadNext();
    bool AllFinished() const;
    void UpdateProgressBar() const;
    void DestroyThreads();

    int m_iMaxThreads;
    // Handed to every thread enqueued from now on (see CLoadThread); Load()
    // turns it off for a round that decodes several files side by side.
    bool m_bStagedJpeg = true;
    std::vector<CLoadThread*> m_vecThreads;
    std::vector<FIBITMAP*> m_vecBitmaps;
    std::vector<float> m_vecPreviewLuminances;
};
