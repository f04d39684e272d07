#include "document/imageloader.h"

#include "document/documentseams.h"
#include "document/exposure.h"
#include "document/jpegreader.h"
#include "engine/core/settings.h"
#include "engine/core/statistics.h"

#include <QCoreApplication>
#include <QFile>

#include <ImfHeader.h>
#include <ImfStdIO.h>
#include <ImfVersion.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <vector>

namespace {

QString fileName(const QString& path)
{
    return CExposure::ExtractFileName(path);
}

thread_local unsigned long t_libraryMessages = 0;
std::atomic<bool> s_ownJpegReader{true};

// The data window of an OpenEXR file read by OpenEXR's own stream, which
// stops at the end of the file; false when the header does not read or does
// not pass OpenEXR's checks.
bool openExrHeaderSize(const char* path, int64_t& width, int64_t& height)
{
    try {
        Imf::StdIFStream stream(path);
        char start[8];
        stream.read(start, 8);
        const int version = int(quint32(quint8(start[4])) | quint32(quint8(start[5])) << 8 |
                                quint32(quint8(start[6])) << 16 | quint32(quint8(start[7])) << 24);
        if (!Imf::isImfMagic(start) || Imf::getVersion(version) != Imf::EXR_VERSION ||
            !Imf::supportsFlags(Imf::getFlags(version)))
            return false;
        Imf::Header header;
        int attributesVersion = version;
        header.readFrom(stream, attributesVersion);
        header.sanityCheck(Imf::isTiled(version), Imf::isMultiPart(version));
        const Imath::Box2i& window = header.dataWindow();
        width = int64_t(window.max.x) - int64_t(window.min.x) + 1;
        height = int64_t(window.max.y) - int64_t(window.min.y) + 1;
        return true;
    } catch (...) {
        return false;
    }
}

// The frame size FreeImage allocates when it loads a GIF file (its first
// image, as FreeImage finds it: after the header and the global colour
// table, extension blocks skipped) or an SGI file (the header's sizes);
// false when the file does not read that far. Neither format has a load
// without pixels in FreeImage, and either declares gigabytes in a few bytes.
bool declaredFrameSize(const char* path, FREE_IMAGE_FORMAT fif, unsigned& width, unsigned& height)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, std::fclose);
    unsigned char b[16];
    if (fif == FIF_SGI) {
        if (std::fread(b, 1, 12, f) != 12)
            return false;
        width = unsigned(b[6]) << 8 | b[7];
        height = unsigned(b[8]) << 8 | b[9];
        return true;
    }
    if (std::fread(b, 1, 13, f) != 13 || std::memcmp(b, "GIF", 3) != 0)
        return false;
    if ((b[10] & 0x80) && std::fseek(f, 3L << ((b[10] & 7) + 1), SEEK_CUR) != 0)
        return false;
    // Sub-blocks: a length byte and its bytes, up to a length of 0.
    auto skipSubBlocks = [f] {
        for (int n; (n = std::fgetc(f)) > 0;)
            if (std::fseek(f, n, SEEK_CUR) != 0)
                return false;
        return !std::feof(f);
    };
    for (;;) {
        const int block = std::fgetc(f);
        if (block == 0x2C) {
            if (std::fread(b, 1, 8, f) != 8)
                return false;
            width = unsigned(b[4]) | unsigned(b[5]) << 8;
            height = unsigned(b[6]) | unsigned(b[7]) << 8;
            return true;
        }
        if (block != 0x21 || std::fgetc(f) == EOF || !skipSubBlocks())
            return false;
    }
}

} // namespace

void NoteImageLibraryMessage()
{
    ++t_libraryMessages;
}

unsigned long ImageLibraryMessageCount()
{
    return t_libraryMessages;
}

bool CLoadThread::LoadableSize(unsigned width, unsigned height)
{
    return width > 0 && height > 0 && (unsigned long long)width * height <= kMaxPixels;
}

FREE_IMAGE_FORMAT CLoadThread::ReadableFormat(const QByteArray& path)
{
    if (path.isEmpty())
        return FIF_UNKNOWN;
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.constData(), 0);
    if (fif == FIF_UNKNOWN)
        fif = FreeImage_GetFIFFromFilename(path.constData());
    return fif != FIF_UNKNOWN && FreeImage_FIFSupportsReading(fif) ? fif : FIF_UNKNOWN;
}

bool CLoadThread::SafeToLoad(const QByteArray& path, FREE_IMAGE_FORMAT fif)
{
    return SafeToLoad(path, fif, nullptr);
}

bool CLoadThread::SafeToLoad(const QByteArray& path, FREE_IMAGE_FORMAT fif, FIBITMAP** header)
{
    if (header)
        *header = nullptr;
    if (fif == FIF_EXR) {
        int64_t w = 0, h = 0;
        return openExrHeaderSize(path.constData(), w, h) && w <= std::numeric_limits<unsigned>::max() &&
               h <= std::numeric_limits<unsigned>::max() && LoadableSize(unsigned(w), unsigned(h));
    }
    // A JPEG file that FreeImage's header load would take gigabytes for
    // (a huge progressive image, a huge thumbnail), read far outside of or
    // crash on (malformed EXIF or IPTC) is refused before it sees it.
    if (fif == FIF_JPEG && !JpegSafeForFreeImage(path.constData(), kMaxPixels))
        return false;
    unsigned frameWidth = 0, frameHeight = 0;
    if ((fif == FIF_GIF || fif == FIF_SGI) && declaredFrameSize(path.constData(), fif, frameWidth, frameHeight) &&
        (unsigned long long)frameWidth * frameHeight > kMaxPixels)
        return false;
    if (!FreeImage_FIFSupportsNoPixels(fif))
        return true;
    FIBITMAP* headerBitmap = FreeImage_Load(fif, path.constData(), FIF_LOAD_NOPIXELS);
    if (!headerBitmap)
        return true;
    const bool loadable = LoadableSize(FreeImage_GetWidth(headerBitmap), FreeImage_GetHeight(headerBitmap));
    if (loadable && header)
        *header = headerBitmap;
    else
        FreeImage_Unload(headerBitmap);
    return loadable;
}

void CLoadThread::SetOwnJpegReader(bool on)
{
    s_ownJpegReader.store(on);
}

bool CLoadThread::OwnJpegReader()
{
    return s_ownJpegReader.load();
}

CLoadThread::CLoadThread(const QString& path, bool load)
    : m_strFilePath(path), m_bLoad(load), m_pBitmap(nullptr), m_fPreviewLuminance(-1.0f)
{
}

CLoadThread::~CLoadThread()
{
    wait();
}

void CLoadThread::run()
{
    const QByteArray path = QFile::encodeName(m_strFilePath);
    const FREE_IMAGE_FORMAT fif = ReadableFormat(path);
    if (fif == FIF_UNKNOWN) {
        CDocumentProgress::AddMessage(
            1, QCoreApplication::translate("CLoadThread", "Datei ist kein Bild") + ": " + fileName(m_strFilePath), 2);
        return;
    }
    if (!m_bLoad) {
        m_pBitmap = CheckMarker();
        return;
    }
    // A file whose header the program refuses gives no bitmap: the series
    // reports it as a file that could not be loaded.
    // A JPEG file's header load is kept: our own reader takes its size,
    // orientation and metadata from it.
    FIBITMAP* header = nullptr;
    unsigned long messages = ImageLibraryMessageCount();
    if (!SafeToLoad(path, fif, fif == FIF_JPEG ? &header : nullptr))
        return;
    // The header load complained (about a damaged EXIF thumbnail, say, which
    // our reader takes over from the header without reading it again):
    // FreeImage's full load draws the same messages, so it reads the file.
    const bool headerMessages = ImageLibraryMessageCount() != messages;
    const double start = MP_UI_GetActualTime();
    messages = ImageLibraryMessageCount();
    if (fif == FIF_JPEG) {
        // The common photograph is read by our own reader; what it does not
        // take (CMYK, EXIF rotation, ...) FreeImage reads as ever.
        const bool own = s_ownJpegReader.load() && header && !headerMessages;
        const EJpegRead read =
            own ? ReadJpeg(path.constData(), header, &m_pBitmap,
                           m_bStagedJpeg ? EJpegStaging::Race : EJpegStaging::Inline)
                : EJpegRead::NotMine;
        if (header)
            FreeImage_Unload(header);
        if (read == EJpegRead::NotMine) {
            messages = ImageLibraryMessageCount(); // what the declined attempt drew is counted by FreeImage again
            m_pBitmap = FreeImage_Load(FIF_JPEG, path.constData(), JPEG_ACCURATE | JPEG_EXIFROTATE);
        }
        std::printf("%6.2f ms Load: %s\n", MP_UI_CalcTimeDifference(start), path.constData());
    } else if (fif == FIF_RAW) {
        // The embedded preview is measured before the full decode; a RAW file
        // without a readable preview has no preview luminance (NaN).
        m_fPreviewLuminance = std::numeric_limits<float>::quiet_NaN();
        if (FIBITMAP* preview = FreeImage_Load(FIF_RAW, path.constData(), RAW_PREVIEW)) {
            const size_t w = FreeImage_GetWidth(preview);
            const size_t h = FreeImage_GetHeight(preview);
            if (w > 0 && h > 0 && FreeImage_HasPixels(preview)) {
                // Not cleared: a conversion that succeeds writes every sample.
                std::unique_ptr<unsigned short[]> block(new (std::nothrow) unsigned short[w * h * 3]);
                if (block && CExposure::own_FreeImage_ConvertToRGB16(preview, block.get(), false))
                    m_fPreviewLuminance = MP_UI_GetAverageLuminance(block.get(), float(w), float(h));
            }
            FreeImage_Unload(preview);
        }
        messages = ImageLibraryMessageCount(); // what the preview drew is not the file's decode
        m_pBitmap = FreeImage_Load(FIF_RAW, path.constData(), RAW_DEFAULT);
        std::printf("%6.2f ms Load: %s\n", MP_UI_CalcTimeDifference(start), path.constData());
    } else {
        m_pBitmap = FreeImage_Load(fif, path.constData(), 0);
    }
    // The library complained but delivered an image (a truncated JPEG comes
    // out grey below the break): it opens, with a notice that does not stop
    // the progress window.
    if (m_pBitmap && ImageLibraryMessageCount() != messages)
        CDocumentProgress::AddMessage(1,
                                      QCoreApplication::translate("CLoadThread", "Datei beschädigt oder unvollständig") +
                                          ": " + fileName(m_strFilePath),
                                      1);
}

CImageLoader::CImageLoader() : m_iMaxThreads(QThread::idealThreadCount()) {}

CImageLoader::~CImageLoader()
{
    DestroyThreads();
    m_vecBitmaps.clear();
    m_vecPreviewLuminances.clear();
}

void CImageLoader::Enqueue(const QString& path, bool load)
{
    m_vecThreads.push_back(new CLoadThread(path, load));
    m_vecThreads.back()->m_bStagedJpeg = m_bStagedJpeg;
}

bool CImageLoader::AllFinished() const
{
    for (const CLoadThread* t : m_vecThreads)
        if (t && !t->isFinished())
            return false;
    return true;
}

bool CImageLoader::HasNext() const
{
    for (const CLoadThread* t : m_vecThreads)
        if (t && !t->isRunning() && !t->isFinished())
            return true;
    return false;
}

void CImageLoader::UpdateProgressBar() const
{
    if (m_vecThreads.empty())
        return;
    size_t done = 0;
    for (const CLoadThread* t : m_vecThreads)
        if (!t || t->isFinished())
            ++done;
    CDocumentProgress::AddFraction(1, float(done) / float(m_vecThreads.size()));
}

void CImageLoader::DestroyThreads()
{
    for (CLoadThread* t : m_vecThreads)
        delete t;
    m_vecThreads.clear();
}

void CImageLoader::Load()
{
    CDocumentProgress::OpenCategory(1, false);
    CDocumentProgress::AddMessage(1, QCoreApplication::translate("CImageLoader", "Ladevorgang"), 0);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Bilder laden"));
    for (;;) {
        if (AllFinished()) {
            for (CLoadThread* t : m_vecThreads) {
                m_vecBitmaps.push_back(t ? t->m_pBitmap : nullptr);
                m_vecPreviewLuminances.push_back(t ? t->m_fPreviewLuminance : -1.0f);
            }
            DestroyThreads();
            return;
        }
        // The threads of this round; each is waited for (one that has ended
        // already returns at once), so every round reports its progress.
        std::vector<CLoadThread*> round;
        for (CLoadThread* t : m_vecThreads) {
            if (!t || t->isRunning() || t->isFinished())
                continue;
            round.push_back(t);
            if (m_iMaxThreads > 0 && int(round.size()) >= m_iMaxThreads)
                break;
        }
        // Files decoded side by side keep the cores busy among themselves:
        // a staging band each would only add memory.
        for (CLoadThread* t : round) {
            if (round.size() > 1)
                t->m_bStagedJpeg = false;
            const QString text = t->m_bLoad ? QCoreApplication::translate("CImageLoader", "Lade Bild")
                                            : QCoreApplication::translate("CImageLoader", "Prüfe Datei");
            CDocumentProgress::AddMessage(1, text + ": " + fileName(t->m_strFilePath), 0);
            t->start(QThread::InheritPriority);
        }
        for (CLoadThread* t : round) {
            t->wait();
            UpdateProgressBar();
        }
    }
}

void CImageLoader::LoadNext()
{
    MP_UI_SetTime();
    CDocumentProgress::OpenCategory(1, false);
    CDocumentProgress::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Bilder laden"));
    for (size_t i = 0; i < m_vecThreads.size(); ++i) {
        CLoadThread* t = m_vecThreads[i];
        if (!t || t->isRunning() || t->isFinished())
            continue;
        if (i == 0)
            CDocumentProgress::AddMessage(1, QCoreApplication::translate("CImageLoader", "Ladevorgang"), 0);
        CDocumentProgress::AddMessage(
            1, QCoreApplication::translate("CImageLoader", "Lade Bild") + ": " + fileName(t->m_strFilePath), 0);
        t->start(QThread::InheritPriority);
        t->wait();
        m_vecBitmaps.push_back(t->m_pBitmap);
        m_vecPreviewLuminances.push_back(t->m_fPreviewLuminance);
        UpdateProgressBar();
        delete t;
        m_vecThreads[i] = nullptr;
        return;
    }
}
