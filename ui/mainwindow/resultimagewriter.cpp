#include "ui/mainwindow/resultimagewriter.h"

#include "document/hugepages.h"

#include "document/exposureseries.h"
#include "document/imageloader.h"
#include "document/kernelrunner.h"
#include "engine/MP_calc.h"
#include "engine/core/conversions.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/hdr/fusion.h"
#include "engine/views/cropview.h"
#include "ui/editors/cropdata.h"
#include "ui/toolkit/hdrprogresswindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <cstdio>
#include <cstring>
#include <new>

#ifdef __linux__
#include <fcntl.h>
#endif

namespace {

constexpr unsigned int kCategory = 4;
constexpr int kMaxCaptionSide = 16383;

QString Tr(const char* text) { return QCoreApplication::translate("HDRMainWindow", text); }

void Log(const QString& line) { std::printf("%s\n", line.toUtf8().constData()); }

// ---- FreeImageIO on a QSaveFile ----

// The handle the library writes through. A full disk shows itself only as a
// short write (QSaveFile keeps error() at NoError and commits) or a failed
// seek, and the library's TIFF and PNG writers still report success after one,
// so every such event is remembered here and cancels the commit. Once the file
// is lost, further writes and seeks are swallowed as done: the JPEG 2000
// writer retries a write that puts nothing down for ever.
//
// The library's many small writes are gathered into 1 MB blocks, which a
// thread of the handle's own writes to the file while the library encodes
// the next one (two blocks, one in flight). The handle keeps the position and
// size of the stream itself, so a seek to where the stream already is costs
// nothing; any other seek, a read and the end wait for the block in flight.
//
// Each block the thread puts down is also sent on to the disk at once (where
// the system lets a program start the write-back of a range), so the sync of
// the commit finds most of the file there already instead of waiting for all
// of it after the last byte.
class CSaveHandle {
public:
    explicit CSaveHandle(QSaveFile& file) : m_File(file)
    {
        for (auto& block : m_Blocks)
            block.reset(new (std::nothrow) char[kBlock]);
        if (!m_Blocks[0] || !m_Blocks[1])
            return; // no blocks: every write goes straight to the file
        m_Capacity = kBlock;
        try {
            m_Thread = std::thread([this] { Run(); });
        } catch (...) {
            // No thread: the blocks are written on the caller's thread.
        }
    }
    ~CSaveHandle() { Stop(); }
    CSaveHandle(const CSaveHandle&) = delete;
    CSaveHandle& operator=(const CSaveHandle&) = delete;

    bool Failed() const { return m_bFailed; }
    int Writes() const { return m_iWrites; }
    int Seeks() const { return m_iSeeks; }

    // Everything written and the thread ended; false when anything failed.
    bool Finish()
    {
        Sync();
        Stop();
        return !m_bFailed;
    }

    unsigned Write(const char* data, unsigned size, unsigned count, bool shortWrite)
    {
        ++m_iWrites;
        if (m_bFailed)
            return count;
        const qint64 bytes = qint64(size) * count;
        if (shortWrite) {
            // Half the bytes put down, as a disk that fills up does.
            if (Sync())
                m_File.write(data, bytes / 2);
            m_bFailed = true;
            return unsigned((bytes / 2) / size);
        }
        if (size_t(bytes) > m_Capacity - m_Used && !Flush())
            return 0;
        if (size_t(bytes) >= m_Capacity) {
            if (!Sync() || m_File.write(data, bytes) != bytes) {
                m_bFailed = true;
                return 0;
            }
        } else {
            std::memcpy(m_Blocks[m_iCurrent].get() + m_Used, data, size_t(bytes));
            m_Used += size_t(bytes);
        }
        m_iPos += bytes;
        m_iSize = std::max(m_iSize, m_iPos);
        return count;
    }

    int Seek(long offset, int origin, bool fail)
    {
        ++m_iSeeks;
        if (m_bFailed)
            return 0;
        const qint64 base = origin == SEEK_CUR ? m_iPos : origin == SEEK_END ? m_iSize : 0;
        const qint64 target = base + offset;
        if (fail || target < 0) {
            m_bFailed = true;
            return -1;
        }
        if (target == m_iPos)
            return 0;
        if (!Sync() || !m_File.seek(target)) {
            m_bFailed = true;
            return -1;
        }
        m_iPos = target;
        return 0;
    }

    long Tell() const { return long(m_iPos); }

    unsigned Read(char* buffer, unsigned size, unsigned count)
    {
        if (size == 0 || m_bFailed || !Sync())
            return 0;
        const qint64 got = m_File.read(buffer, qint64(size) * count);
        if (got <= 0)
            return 0;
        m_iPos += got;
        return unsigned(got / size);
    }

private:
    static constexpr size_t kBlock = size_t(1) << 20;

    void Run()
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        for (;;) {
            m_Wake.wait(lock, [this] { return m_bBusy || m_bQuit; });
            if (!m_bBusy)
                return;
            const char* data = m_pJob;
            const qint64 bytes = m_iJobBytes;
            const qint64 offset = m_iJobOffset;
            lock.unlock();
            const bool ok = m_File.write(data, bytes) == bytes;
            if (ok)
                StartWriteBack(offset, bytes);
            lock.lock();
            m_bJobFailed = m_bJobFailed || !ok;
            m_bBusy = false;
            m_Wake.notify_all();
        }
    }
    void Stop()
    {
        if (!m_Thread.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_bQuit = true;
        }
        m_Wake.notify_all();
        m_Thread.join();
    }
    // Starts the disk write of bytes just written; the commit's sync still
    // waits for them, so nothing is taken as stored before it is.
    void StartWriteBack(qint64 offset, qint64 bytes)
    {
#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
        const int fd = m_File.handle();
        if (fd >= 0)
            ::sync_file_range(fd, offset, bytes, SYNC_FILE_RANGE_WRITE);
#else
        (void)offset;
        (void)bytes;
#endif
    }
    // Waits for the block in flight.
    void Wait()
    {
        if (!m_Thread.joinable())
            return;
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Wake.wait(lock, [this] { return !m_bBusy; });
        if (m_bJobFailed)
            m_bFailed = true;
    }
    // Sends the gathered bytes on their way and switches to the other block.
    bool Flush()
    {
        Wait();
        if (m_bFailed || m_Used == 0) {
            m_Used = 0;
            return !m_bFailed;
        }
        const char* data = m_Blocks[m_iCurrent].get();
        const qint64 bytes = qint64(m_Used);
        m_Used = 0;
        if (!m_Thread.joinable()) {
            if (m_File.write(data, bytes) != bytes)
                m_bFailed = true;
            return !m_bFailed;
        }
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_pJob = data;
            m_iJobBytes = bytes;
            m_iJobOffset = m_iPos - bytes; // the block ends where the stream is
            m_bBusy = true;
        }
        m_Wake.notify_all();
        m_iCurrent ^= 1;
        return true;
    }
    // Every byte so far in the file.
    bool Sync()
    {
        Flush();
        Wait();
        return !m_bFailed;
    }

    QSaveFile& m_File;
    std::unique_ptr<char[]> m_Blocks[2];
    int m_iCurrent = 0;
    size_t m_Capacity = 0;
    size_t m_Used = 0;
    qint64 m_iPos = 0;
    qint64 m_iSize = 0;
    bool m_bFailed = false;
    int m_iWrites = 0;
    int m_iSeeks = 0;

    std::thread m_Thread;
    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    const char* m_pJob = nullptr;
    qint64 m_iJobBytes = 0;
    qint64 m_iJobOffset = 0;
    bool m_bBusy = false;
    bool m_bQuit = false;
    bool m_bJobFailed = false;
};

// The test seam's fault (see ResultImageWriter::SetWriteFaultForTesting) and
// the counts of the last save.
std::atomic<int> g_iShortWrite{-1};
std::atomic<int> g_iFailedSeek{-1};
std::atomic<int> g_iLastWrites{0};
std::atomic<int> g_iLastSeeks{0};

unsigned DLL_CALLCONV ReadProc(void* buffer, unsigned size, unsigned count, fi_handle handle)
{
    return static_cast<CSaveHandle*>(handle)->Read(static_cast<char*>(buffer), size, count);
}

unsigned DLL_CALLCONV WriteProc(void* buffer, unsigned size, unsigned count, fi_handle handle)
{
    auto* h = static_cast<CSaveHandle*>(handle);
    if (size == 0 || count == 0)
        return 0;
    const bool fault = h->Writes() == g_iShortWrite.load(std::memory_order_relaxed);
    return h->Write(static_cast<const char*>(buffer), size, count, fault);
}

int DLL_CALLCONV SeekProc(fi_handle handle, long offset, int origin)
{
    auto* h = static_cast<CSaveHandle*>(handle);
    return h->Seek(offset, origin, h->Seeks() == g_iFailedSeek.load(std::memory_order_relaxed));
}

long DLL_CALLCONV TellProc(fi_handle handle) { return static_cast<CSaveHandle*>(handle)->Tell(); }

// ---- master metadata ----

struct SMaster {
    FIBITMAP* dib = nullptr;
    ~SMaster()
    {
        if (dib)
            FreeImage_Unload(dib);
    }
};

// ---- fills ----

using ResultImageWriter::AllocateUnfilled;
using ResultImageWriter::SPixelMemory;
using ResultImageWriter::EFill;

struct SFillArgs {
    const uint16_t* src = nullptr;
    BYTE* bits = nullptr;
    size_t pitch = 0;
    int width = 0;
    int height = 0;
    EFill fill = EFill::Zero;
};

void FillScanlines(TaskFuncParams p)
{
    const SFillArgs& a = *MP_taskArgs<const SFillArgs>(p);
    ResultImageWriter::FillResultScanlines(a.fill, a.src, a.bits, a.pitch, a.width, a.height, MP_taskStart(p),
                                           MP_taskEnd(p));
}

// The fill in row bands on the engine's tasks, with about 20 progress updates
// from 0 to 0.5 posted from this thread between the chunks.
void FillInBands(const SFillArgs& args)
{
    TaskFuncParams tmpl = MP_makeTask(nullptr, &args);
    const int h = args.height;
    const int chunks = std::min(h, 20);
    int start = 0;
    for (int j = 1; j <= chunks; ++j) {
        const int end = int(size_t(h) * size_t(j) / size_t(chunks));
        HDRProgressThread::AddMessage(kCategory, static_cast<float>(start) / static_cast<float>(h) * 0.5f);
        MP_forEachSingleBand(end - start, MP_idealThreadCount, [&](int s, int e) {
            if (e > s) {
                MP_setTaskRange(tmpl, start + s, start + e);
                C_AddTask(FillScanlines, tmpl);
            }
        });
        C_WaitTasks();
        start = end;
    }
}

// The float image fused again from the series, when the series fills a
// descriptor of the writer's size; false otherwise.
bool RefuseFromSeries(FIBITMAP* dib, int width, int height, const SResultWriterContext& context)
{
    if (!context.pSeries)
        return false;
    MP_FusionParams desc;
    std::memset(&desc, 0, sizeof(desc));
    const int active = context.pSeries->FillFusionDescriptor(desc, context.bPreviewMode, context.fSigmoid);
    if (active <= 0 || desc.width != width || desc.height != height || !MP_fusionSlotCount(&desc))
        return false;
    desc.fibitmap = dib;
    MP_UI_calcHDRfusionf32toFiBitmap(&desc, 0, height, int(kCategory));
    return true;
}

} // namespace

namespace ResultImageWriter {

SPixelMemory::~SPixelMemory()
{
    if (bits)
        ::operator delete(bits, std::align_val_t(64));
}

FIBITMAP* AllocateUnfilled(FREE_IMAGE_TYPE type, int width, int height, int bpp, SPixelMemory& memory)
{
    if (width <= 0 || height <= 0 || memory.bits)
        return nullptr;
    const size_t line = (size_t(width) * size_t(bpp) + 7) / 8;
    const size_t pitch = (line + 3) & ~size_t(3);
    if (pitch > size_t(INT_MAX) || pitch > SIZE_MAX / size_t(height))
        return nullptr;
    memory.bits = static_cast<BYTE*>(::operator new(pitch * size_t(height), std::align_val_t(64), std::nothrow));
    if (!memory.bits)
        return nullptr;
    // Large pages where the system gives them: the banded fill then takes a
    // few hundred page faults instead of one per 4 KB.
    AdviseHugePages(memory.bits, pitch * size_t(height));
    memory.pitch = pitch;
    return FreeImage_ConvertFromRawBitsEx(FALSE, memory.bits, type, width, height, int(pitch), unsigned(bpp), 0, 0, 0,
                                          FALSE);
}

void FillResultScanlines(EFill fill, const uint16_t* rgb48, BYTE* bits, size_t pitch, int width, int height,
                         int first, int end)
{
    const size_t w = size_t(width);
    for (int i = first; i < end; ++i) {
        BYTE* line = bits + size_t(i) * pitch;
        const uint16_t* row = rgb48 + size_t(height - 1 - i) * w * 3;
        size_t used = 0;
        switch (fill) {
        case EFill::Bgra8:
            for (size_t x = 0; x < w; ++x) {
                BYTE* px = line + 4 * x;
                px[FI_RGBA_RED] = BYTE(row[3 * x] >> 8);
                px[FI_RGBA_GREEN] = BYTE(row[3 * x + 1] >> 8);
                px[FI_RGBA_BLUE] = BYTE(row[3 * x + 2] >> 8);
                px[FI_RGBA_ALPHA] = 255;
            }
            used = 4 * w;
            break;
        case EFill::Bgr8:
            for (size_t x = 0; x < w; ++x) {
                BYTE* px = line + 3 * x;
                px[FI_RGBA_RED] = BYTE(row[3 * x] >> 8);
                px[FI_RGBA_GREEN] = BYTE(row[3 * x + 1] >> 8);
                px[FI_RGBA_BLUE] = BYTE(row[3 * x + 2] >> 8);
            }
            used = 3 * w;
            break;
        case EFill::Rgb16:
            used = 6 * w;
            std::memcpy(line, row, used);
            break;
        case EFill::Zero:
            break;
        }
        std::memset(line + used, 0, pitch - used);
    }
}

EFill FillForFormat(EResultFormat format)
{
    switch (format) {
    case EResultFormat::Tif8:
        return EFill::Bgra8;
    case EResultFormat::Jpg8:
        return EFill::Bgr8;
    case EResultFormat::Tiff16:
    case EResultFormat::Png16:
    case EResultFormat::Jp216:
        return EFill::Rgb16;
    default:
        return EFill::Zero;
    }
}

FIBITMAP* LoadMasterMetadata(const QString& masterFile)
{
    if (masterFile.isEmpty())
        return nullptr;
    const QByteArray name = QFile::encodeName(masterFile);
    const FREE_IMAGE_FORMAT fif = CLoadThread::ReadableFormat(name);
    if (fif == FIF_UNKNOWN)
        return nullptr;
    // A damaged or oversized master is not worth its metadata: the library can
    // hang or take gigabytes on it.
    if (!CLoadThread::SafeToLoad(name, fif))
        return nullptr;
    int flags = fif == FIF_RAW ? RAW_PREVIEW : 0;
    // Only the metadata are needed: skip the pixels where the format can.
    if (FreeImage_FIFSupportsNoPixels(fif))
        flags |= FIF_LOAD_NOPIXELS;
    FIBITMAP* master = FreeImage_Load(fif, name.constData(), flags);
    if (!master)
        return nullptr;
    Log(QStringLiteral("Load Master to CloneMetaData: ") + masterFile);
    FIICCPROFILE* icc = FreeImage_GetICCProfile(master);
    if (icc && icc->data && icc->size > 0)
        Log(QStringLiteral("ICC Profile in %1 -> Size: %2").arg(masterFile).arg(icc->size));
    return master;
}

void ApplyMasterMetadata(FIBITMAP* dib, FIBITMAP* master)
{
    if (!dib || !master)
        return;
    FreeImage_CloneMetadata(dib, master);
    SetFreeImageDpi(dib, 300);
    add_tags(dib);
}

SResultFormatInfo FormatForPath(const QString& path)
{
    SResultFormatInfo info;
    auto set = [&](EResultFormat f, FREE_IMAGE_FORMAT fif, int flags, const char* text) {
        info.eFormat = f;
        info.fif = fif;
        info.iFlags = flags;
        info.szMessage = text;
    };
    if (path.endsWith(QLatin1String(".tif")))
        set(EResultFormat::Tif8, FIF_TIFF, TIFF_NONE, QT_TRANSLATE_NOOP("HDRMainWindow", "wird als 8-Bit .tif gespeichert."));
    else if (path.endsWith(QLatin1String(".jpg")))
        set(EResultFormat::Jpg8, FIF_JPEG, 0, QT_TRANSLATE_NOOP("HDRMainWindow", "wird als 8-Bit .jpg gespeichert."));
    else if (path.endsWith(QLatin1String(".tiff")))
        set(EResultFormat::Tiff16, FIF_TIFF, TIFF_NONE,
            QT_TRANSLATE_NOOP("HDRMainWindow", "wird als 16-Bit .tiff gespeichert."));
    else if (path.endsWith(QLatin1String(".png")))
        set(EResultFormat::Png16, FIF_PNG, PNG_Z_BEST_SPEED,
            QT_TRANSLATE_NOOP("HDRMainWindow", "wird als 16-Bit .png gespeichert."));
    else if (path.endsWith(QLatin1String(".jp2")))
        set(EResultFormat::Jp216, FIF_JP2, 0, QT_TRANSLATE_NOOP("HDRMainWindow", "wird als 16-Bit .jp2 gespeichert."));
    else if (path.endsWith(QLatin1String(".hdr")))
        set(EResultFormat::Hdr32, FIF_HDR, 0, QT_TRANSLATE_NOOP("HDRMainWindow", "wird als HDR .hdr gespeichert."));
    else if (path.endsWith(QLatin1String(".exr")))
        set(EResultFormat::Exr32, FIF_EXR, EXR_NONE,
            QT_TRANSLATE_NOOP("HDRMainWindow", "wird als OpenEXR .exr gespeichert."));
    else if (path.endsWith(QLatin1String(".pfm")))
        set(EResultFormat::Pfm32, FIF_PFM, 0, QT_TRANSLATE_NOOP("HDRMainWindow", "wird als 32-Bit .pfm gespeichert."));
    else if (path.endsWith(QLatin1String(".tif32")))
        set(EResultFormat::Tif32, FIF_TIFF, TIFF_LZW,
            QT_TRANSLATE_NOOP("HDRMainWindow", "wird als 32-Bit .tif32 gespeichert."));
    return info;
}

int JpegSaveFlags(int quality)
{
    if (quality >= 1 && quality <= 99)
        return quality | JPEG_OPTIMIZE;
    return JPEG_QUALITYSUPERB | JPEG_OPTIMIZE;
}

QString TargetPath(const QString& path)
{
    if (path.endsWith(QLatin1String(".tif32")))
        return path.left(path.size() - 6) + QStringLiteral(".tif");
    return path;
}

bool SaveBitmapSafely(FREE_IMAGE_FORMAT fif, FIBITMAP* dib, const QString& path, int flags)
{
    if (!dib || path.isEmpty())
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // Unbuffered: QFileDevice's own buffer takes a write as done and loses the
    // failure of its later flush (a full disk then ends in a short file that
    // commits). The handle gathers the writes itself and checks every one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    FreeImageIO io;
    io.read_proc = ReadProc;
    io.write_proc = WriteProc;
    io.seek_proc = SeekProc;
    io.tell_proc = TellProc;
    bool written = false;
    {
        CSaveHandle handle(file);
        written = FreeImage_SaveToHandle(fif, dib, &io, static_cast<fi_handle>(&handle), flags) != FALSE;
        written = handle.Finish() && written;
        g_iLastWrites.store(handle.Writes());
        g_iLastSeeks.store(handle.Seeks());
    }
    if (!written || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void SetWriteFaultForTesting(const SWriteFault& fault)
{
    g_iShortWrite.store(fault.iShortWrite);
    g_iFailedSeek.store(fault.iFailedSeek);
}

SWriteCounts LastWriteCountsForTesting()
{
    SWriteCounts counts;
    counts.iWrites = g_iLastWrites.load();
    counts.iSeeks = g_iLastSeeks.load();
    return counts;
}

bool RunCropStage(const uint16_t* rgb48, int width, int height, const SCropData& crop,
                  const ICropCaptionPainter* painter, SCropStageOutput& out)
{
    out = SCropStageOutput();
    if (!rgb48 || width <= 0 || height <= 0)
        return false;
    const float fw = static_cast<float>(width);
    const float fh = static_cast<float>(height);
    int x0 = MP_iclamp(int(crop.rcCrop.Left() * fw), 0, width - 1);
    int x1 = MP_iclamp(int(crop.rcCrop.Right() * fw), 1, width);
    int y0 = MP_iclamp(int(crop.rcCrop.Top() * fh), 0, height - 1);
    int y1 = MP_iclamp(int(crop.rcCrop.Bottom() * fh), 1, height);

    const float aspect = crop.fAspect;
    if (aspect > 0.0f && x1 > x0 && y1 > y0) {
        const float cw = float(x1 - x0);
        const float ch = float(y1 - y0);
        const float cx = float(x0 + x1) / 2.0f;
        const float cy = float(y0 + y1) / 2.0f;
        Log(QStringLiteral("Initial Ratio: %1").arg(cw / ch));
        if (std::fabs(aspect - 1.0f) < 0.001f) {
            if (cw > ch) {
                x0 = int(cx - 0.5f * ch);
                x1 = int(cx + 0.5f * ch);
            } else if (ch > cw) {
                y0 = int(cy - 0.5f * cw);
                y1 = int(cy + 0.5f * cw);
            }
        } else if (cw / ch > aspect) {
            x0 = int(cx - 0.5f * ch * aspect);
            x1 = int(cx + 0.5f * ch * aspect);
        } else if (aspect > cw / ch) {
            y0 = int(cy - 0.5f * cw / aspect);
            y1 = int(cy + 0.5f * cw / aspect);
        }
        if (x0 < 0) {
            x1 += -x0;
            x0 = 0;
        }
        if (x1 > width) {
            x0 -= x1 - width;
            x1 = width;
        }
        if (y0 < 0) {
            y1 += -y0;
            y0 = 0;
        }
        if (y1 > height) {
            y0 -= y1 - height;
            y1 = height;
        }
        x0 = MP_iclamp(x0, 0, width);
        x1 = MP_iclamp(x1, 0, width);
        y0 = MP_iclamp(y0, 0, height);
        y1 = MP_iclamp(y1, 0, height);
        if (y1 > y0)
            Log(QStringLiteral("Final Ratio: %1").arg(float(x1 - x0) / float(y1 - y0)));
    }

    const int cropW = x1 - x0;
    const int cropH = y1 - y0;
    if (cropW < 1 || cropH < 1)
        return false;

    const size_t cropSamples = size_t(cropW) * size_t(cropH) * 3;
    const size_t fullSamples = size_t(width) * size_t(height) * 3;
    // The full-size copy and the zeroed caption mask are needed only under a
    // caption; a plain crop copies its rectangle straight from the input.
    const bool hasCaption = !crop.strText.isEmpty();
    std::unique_ptr<uint16_t[]> cropBuf(new (std::nothrow) uint16_t[cropSamples]);
    std::unique_ptr<uint16_t[]> full(hasCaption ? new (std::nothrow) uint16_t[fullSamples] : nullptr);
    if (!cropBuf || (hasCaption && !full)) {
        HDRProgressThread::AddMessage(kCategory, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Nicht genug Arbeitsspeicher für den Bildbeschnitt verfügbar.")), 0);
        return false;
    }
    if (hasCaption) {
        std::memset(cropBuf.get(), 0, cropSamples * sizeof(uint16_t));
        std::memcpy(full.get(), rgb48, fullSamples * sizeof(uint16_t));
    }
    double start = MP_UI_GetActualTime();
    if (hasCaption) {
        int w2 = cropW;
        int h2 = cropH;
        int factor = 1;
        while (w2 > kMaxCaptionSide || h2 > kMaxCaptionSide) {
            w2 /= 2;
            h2 /= 2;
            factor *= 2;
        }
        w2 = std::max(w2, 1);
        h2 = std::max(h2, 1);
        Log(QStringLiteral("QImage scaling Faktor: %1 - %2,%3").arg(factor).arg(w2).arg(h2));
        QImage raster(w2, h2, QImage::Format_RGB32);
        if (!raster.isNull()) {
            raster.fill(0xff000000u);
            {
                QPainter p(&raster);
                if (painter)
                    painter->DrawText(p, crop);
                else
                    DrawCropCaptionOnDevice(p, crop);
            }
            const float sx = float(w2) / float(cropW);
            const float sy = float(h2) / float(cropH);
            for (int i = 0; i < cropH; ++i) {
                const int ri = factor == 1 ? i : std::min(int(float(i) * sy), h2 - 1);
                const QRgb* line = reinterpret_cast<const QRgb*>(raster.constScanLine(ri));
                uint16_t* m = cropBuf.get() + size_t(i) * size_t(cropW) * 3;
                for (int j = 0; j < cropW; ++j) {
                    const int rj = factor == 1 ? j : std::min(int(float(j) * sx), w2 - 1);
                    if (line[rj] & 0xffffffu) {
                        m[3 * j] = m[3 * j + 1] = m[3 * j + 2] = 65535;
                    }
                }
            }
        }
        Log(QStringLiteral("CropData.strText=") + crop.strText);
        Log(QStringLiteral("%1 ms - Paint subtitle to QImage").arg(qint64(MP_UI_CalcTimeDifference(start))));
    }
    Log(QStringLiteral("Crop Dimension: %1,%2 to %3,%4").arg(width).arg(height).arg(cropW).arg(cropH));

    bool hasInk = false;
    if (hasCaption) {
        start = MP_UI_GetActualTime();
        int minX = x1, maxX = x0, minY = y1, maxY = y0;
        for (int i = 0; i < cropH; ++i) {
            const uint16_t* m = cropBuf.get() + size_t(i) * size_t(cropW) * 3;
            for (int j = 0; j < cropW; ++j) {
                if (m[3 * j]) {
                    minX = std::min(minX, x0 + j);
                    maxX = std::max(maxX, x0 + j);
                    minY = std::min(minY, y0 + i);
                    maxY = std::max(maxY, y0 + i);
                    hasInk = true;
                }
            }
        }
        Log(QStringLiteral("%1 ms - Find minimum rectangle of Text (%2,%3)-(%4,%5)")
                .arg(qint64(MP_UI_CalcTimeDifference(start)))
                .arg(minX)
                .arg(minY)
                .arg(maxX)
                .arg(maxY));
        // A caption without ink (spaces, no raster, no font) is a plain crop:
        // its bounds would be inverted and the box margin undefined.
        if (hasInk) {
            start = MP_UI_GetActualTime();
            MP_UI_calcCropViewShadowedText(full.get(), cropBuf.get(), width, cropW, cropH, minX, maxX, minY, maxY, x0,
                                           x1, y0, y1);
            Log(QStringLiteral("%1 ms - Paint Text Shadows").arg(qint64(MP_UI_CalcTimeDifference(start))));
            if (crop.bTextBackground) {
                start = MP_UI_GetActualTime();
                int margin = int(MP_pow(float(maxY - minY) / 6.0f, 0.8f)) + 1;
                if (margin <= 1)
                    margin = 2;
                for (int k = 0; k < 4; ++k) {
                    const int bx0 = std::max(minX - margin - k, x0);
                    const int bx1 = std::min(maxX + margin + k, x1 - 1);
                    const int by0 = std::max(minY - margin - k, y0);
                    const int by1 = std::min(maxY + margin + k, y1 - 1);
                    for (int y = by0; y < by1; ++y) {
                        uint16_t* row = full.get() + size_t(y) * size_t(width) * 3;
                        for (int x = bx0; x < bx1; ++x)
                            for (int c = 0; c < 3; ++c)
                                row[3 * x + c] = uint16_t((unsigned(row[3 * x + c]) * 240u) >> 8);
                    }
                }
                Log(QStringLiteral("%1 ms - Paint Text Background").arg(qint64(MP_UI_CalcTimeDifference(start))));
            }
        }
    }

    start = MP_UI_GetActualTime();
    for (int i = 0; i < cropH; ++i) {
        uint16_t* dst = cropBuf.get() + size_t(i) * size_t(cropW) * 3;
        const uint16_t* src = (hasCaption ? full.get() : rgb48) + (size_t(y0 + i) * size_t(width) + size_t(x0)) * 3;
        if (!hasInk) {
            std::memcpy(dst, src, size_t(cropW) * 3 * sizeof(uint16_t));
            continue;
        }
        for (int j = 0; j < cropW; ++j) {
            if (dst[3 * j]) {
                for (int c = 0; c < 3; ++c)
                    dst[3 * j + c] = uint16_t((unsigned(src[3 * j + c]) * 76u + unsigned(dst[3 * j + c]) * 180u) >> 8);
            } else {
                dst[3 * j] = src[3 * j];
                dst[3 * j + 1] = src[3 * j + 1];
                dst[3 * j + 2] = src[3 * j + 2];
            }
        }
    }
    Log(QStringLiteral("%1 ms - Copy Text to Image").arg(qint64(MP_UI_CalcTimeDifference(start))));

    out.buffer = std::move(cropBuf);
    out.iWidth = cropW;
    out.iHeight = cropH;
    return true;
}

void add_tag(FREE_IMAGE_MDMODEL model, FIBITMAP* dib, const char* key, const char* value)
{
    if (!dib || !key || !value)
        return;
    FITAG* tag = FreeImage_CreateTag();
    if (!tag)
        return;
    const DWORD length = DWORD(std::strlen(value) + 1);
    FreeImage_SetTagKey(tag, key);
    FreeImage_SetTagLength(tag, length);
    FreeImage_SetTagCount(tag, length);
    FreeImage_SetTagType(tag, FIDT_ASCII);
    FreeImage_SetTagValue(tag, value);
    FreeImage_SetMetadata(model, dib, FreeImage_GetTagKey(tag), tag);
    FreeImage_DeleteTag(tag);
}

void add_tags(FIBITMAP* dib)
{
    const QString name = QStringLiteral("%1").arg(QCoreApplication::translate("Program", "VERSION_NAME LUMIVEX"));
    const QString version = QStringLiteral("%1 %2").arg(QCoreApplication::translate("Program", "LUMIVEX VERSION_PRO"),
                                                        QCoreApplication::translate("Program", "V1.14.02132"));
    add_tag(FIMD_IPTC, dib, "OriginatingProgram", name.toUtf8().constData());
    add_tag(FIMD_IPTC, dib, "ProgramVersion", version.toUtf8().constData());
}

void SetFreeImageDpi(FIBITMAP* dib, int dpi)
{
    if (!dib)
        return;
    const unsigned perMetre = unsigned(long(float(dpi) / 0.0254f));
    FreeImage_SetDotsPerMeterX(dib, perMetre);
    FreeImage_SetDotsPerMeterY(dib, perMetre);
}

QString FileErrorText(const QString& path)
{
    return Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Dateifehler:")) + QLatin1Char(' ') + path + QLatin1Char(' ') +
           Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "konnte nicht erstellt werden"));
}

bool SaveImageFile(const QString& path, const uint16_t* rgb48, int quality, bool floatFromSeries, int width,
                   int height, const QString& masterFile, const SCropData* crop, const SResultWriterContext& context)
{
    CEngineGuard guard;
    MP_ClearBuffer();

    const QString fileError = FileErrorText(path);
    const SResultFormatInfo info = FormatForPath(path);
    if (info.eFormat == EResultFormat::None) {
        // A name the writer cannot place: say so instead of writing nothing silently.
        HDRProgressThread::AddMessage(kCategory, fileError, 2);
        return false;
    }

    SCropStageOutput cropped;
    if (crop) {
        if (rgb48 && RunCropStage(rgb48, width, height, *crop, context.pCaptionPainter, cropped)) {
            rgb48 = cropped.buffer.get();
            width = cropped.iWidth;
            height = cropped.iHeight;
        }
    } else {
        Log(QStringLiteral("CropData=NULL"));
    }

    SMaster master;
    master.dib = LoadMasterMetadata(masterFile);

    const bool isFloat = info.eFormat == EResultFormat::Hdr32 || info.eFormat == EResultFormat::Exr32 ||
                         info.eFormat == EResultFormat::Tif32 || info.eFormat == EResultFormat::Pfm32;
    const bool is16 = info.eFormat == EResultFormat::Tiff16 || info.eFormat == EResultFormat::Png16 ||
                      info.eFormat == EResultFormat::Jp216;
    FREE_IMAGE_TYPE type = FIT_BITMAP;
    int bpp = 32;
    if (info.eFormat == EResultFormat::Jpg8)
        bpp = 24;
    else if (is16) {
        type = FIT_RGB16;
        bpp = 48;
    } else if (isFloat) {
        type = FIT_RGBF;
        bpp = 96;
    }

    SPixelMemory memory;
    FIBITMAP* dib = nullptr;
    if (rgb48 && width > 0 && height > 0)
        dib = AllocateUnfilled(type, width, height, bpp, memory);
    if (!dib) {
        HDRProgressThread::AddMessage(kCategory, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Nicht genug Arbeitsspeicher zum Speichern verfügbar.")), 2, 1.0f);
        return false;
    }

    SFillArgs fill;
    fill.src = rgb48;
    fill.bits = memory.bits;
    fill.pitch = memory.pitch;
    fill.width = width;
    fill.height = height;
    fill.fill = FillForFormat(info.eFormat);
    if (fill.fill != EFill::Zero) {
        FillInBands(fill);
    } else {
        bool fused = false;
        if (floatFromSeries) {
            // The fusion may leave rows it cannot fill: start from zeros, as
            // a freshly allocated bitmap did.
            FillInBands(fill);
            fused = RefuseFromSeries(dib, width, height, context);
            if (!fused)
                Log(QStringLiteral("Float result: no fusion of this size in the series, converting the image"));
        }
        if (!fused)
            MP_own_FreeImage_torgbf(width, height, dib, rgb48); // banded, writes every sample
    }

    HDRProgressThread::AddMessage(kCategory, path + QLatin1Char(' ') + Tr(info.szMessage), 0, 0.5f);

    ApplyMasterMetadata(dib, master.dib);

    const int flags = info.eFormat == EResultFormat::Jpg8 ? JpegSaveFlags(quality) : info.iFlags;
    const bool ok = SaveBitmapSafely(info.fif, dib, TargetPath(path), flags);
    FreeImage_Unload(dib);

    if (ok)
        HDRProgressThread::AddMessage(kCategory, Tr(QT_TRANSLATE_NOOP("HDRMainWindow", "Speichern erfolgreich")), 0, 1.0f);
    else
        HDRProgressThread::AddMessage(kCategory, fileError, 2);
    return ok;
}

} // namespace ResultImageWriter
