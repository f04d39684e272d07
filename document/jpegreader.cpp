#include "document/jpegreader.h"

#include "document/hugepages.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

// jpeglib.h needs size_t and FILE declared before it.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// Bitmaps from this size on are allocated on a helper thread; below it the
// zero fill costs less than a thread.
constexpr size_t kHelperFrom = size_t(8) << 20;
// The staging band: about what libjpeg decodes of a 24-MP photograph while
// FreeImage allocates and clears its bitmap.
constexpr size_t kStagingBytes = size_t(24) << 20;
constexpr size_t kHugePage = size_t(2) << 20;
constexpr WORD kTagOrientation = 0x0112;

struct SErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// As FreeImage's JPEG reader: every message libjpeg prints goes to
// FreeImage's message handler under the JPEG format.
void outputMessage(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    FreeImage_OutputMessageProc(FIF_JPEG, "%s", text);
}

// As FreeImage's JPEG reader: the message is always passed on; an unknown
// marker is let through (libjpeg skips it and reads on), every other error
// ends the decode.
void errorExit(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    if (cinfo->err->msg_code == JERR_UNKNOWN_MARKER)
        return;
    std::longjmp(reinterpret_cast<SErrorManager*>(cinfo->err)->jump, 1);
}

// Whether FreeImage's EXIF rotation leaves the image as it is: no
// orientation tag, or orientation 1. Anything else, odd tags included, is
// left to FreeImage.
bool upright(FIBITMAP* header)
{
    if (FreeImage_GetMetadataCount(FIMD_EXIF_MAIN, header) == 0)
        return true;
    FITAG* tag = nullptr;
    if (!FreeImage_GetMetadata(FIMD_EXIF_MAIN, header, "Orientation", &tag) || !tag)
        return true;
    if (FreeImage_GetTagID(tag) != kTagOrientation || FreeImage_GetTagType(tag) != FIDT_SHORT ||
        FreeImage_GetTagCount(tag) < 1 || FreeImage_GetTagLength(tag) < sizeof(WORD) || !FreeImage_GetTagValue(tag))
        return false;
    WORD orientation = 0;
    std::memcpy(&orientation, FreeImage_GetTagValue(tag), sizeof(orientation));
    return orientation == 1;
}

// The bitmap FreeImage's reader allocates for the header, with what its
// header load gives besides the pixels; null when memory runs out.
FIBITMAP* allocateLike(FIBITMAP* header, unsigned width, unsigned height, unsigned bpp)
{
    FIBITMAP* b = FreeImage_Allocate(int(width), int(height), int(bpp), FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                     FI_RGBA_BLUE_MASK);
    if (!b)
        return nullptr;
    if (bpp == 8) {
        RGBQUAD* colours = FreeImage_GetPalette(b);
        for (int i = 0; i < 256; ++i)
            colours[i].rgbRed = colours[i].rgbGreen = colours[i].rgbBlue = BYTE(i);
    }
    FreeImage_CloneMetadata(b, header);
    FreeImage_SetDotsPerMeterX(b, FreeImage_GetDotsPerMeterX(header));
    FreeImage_SetDotsPerMeterY(b, FreeImage_GetDotsPerMeterY(header));
    const FIICCPROFILE* icc = FreeImage_GetICCProfile(header);
    if (icc && icc->data && icc->size > 0) {
        if (FIICCPROFILE* copy = FreeImage_CreateICCProfile(b, icc->data, long(icc->size)))
            copy->flags = icc->flags;
    }
    if (FIBITMAP* thumbnail = FreeImage_GetThumbnail(header))
        FreeImage_SetThumbnail(b, thumbnail);
    return b;
}

// What the decoding thread and the allocating helper share.
struct SHandOver {
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<bool> allocated{false}; // helper -> decoder: bitmap set (null when memory ran out)
    FIBITMAP* bitmap = nullptr;
    bool handed = false;    // decoder -> helper: the first `staged` rows wait in the staging band
    bool abandoned = false; // decoder -> helper: no copy wanted
    unsigned staged = 0;
};

struct SDecode {
    FIBITMAP* header = nullptr;
    std::FILE* file = nullptr;
    jpeg_decompress_struct cinfo;
    SErrorManager error;
    bool created = false;

    unsigned width = 0, height = 0, bpp = 0;
    size_t rowBytes = 0;
    unsigned char* staging = nullptr; // the band, 2 MB-aligned in stagingBlock
    // Mapped on its own, not taken from malloc: its release leaves malloc's
    // thresholds (and so the program's later resident memory) as they were.
    void* stagingBlock = nullptr;
    size_t stagingBytes = 0;
    unsigned stagingRows = 0;
    bool fullBand = false;
    SHandOver share;
    std::thread helper;
    bool helperRuns = false;
    FIBITMAP* bitmap = nullptr; // the decoder's view once it writes into the bitmap
    EJpegRead result = EJpegRead::Failed;

    // On the helper thread: allocates, hands the bitmap over, then copies the
    // staged rows into it while the decoder goes on below them.
    void allocateAndCopy()
    {
        FIBITMAP* b = allocateLike(header, width, height, bpp);
        std::unique_lock<std::mutex> lock(share.mutex);
        share.bitmap = b;
        share.allocated.store(true, std::memory_order_release);
        share.changed.notify_all();
        share.changed.wait(lock, [this] { return share.handed || share.abandoned; });
        if (!share.handed || !b)
            return;
        const unsigned staged = share.staged;
        lock.unlock();
        for (unsigned y = 0; y < staged; ++y)
            std::memcpy(FreeImage_GetScanLine(b, int(height - 1 - y)), staging + size_t(y) * rowBytes, rowBytes);
    }

    // The decoder's switch from the staging band to the bitmap before row r:
    // waits for the allocation, hands rows [0, r) to the helper. False when
    // memory ran out.
    bool switchToBitmap(unsigned r)
    {
        std::unique_lock<std::mutex> lock(share.mutex);
        share.changed.wait(lock, [this] { return share.allocated.load(std::memory_order_acquire); });
        bitmap = share.bitmap;
        share.staged = r;
        share.handed = bitmap != nullptr;
        share.abandoned = bitmap == nullptr;
        share.changed.notify_all();
        return bitmap != nullptr;
    }

    void releaseStaging()
    {
        if (stagingBlock)
            munmap(stagingBlock, stagingBytes);
        stagingBlock = nullptr;
        staging = nullptr;
    }

    // Tells a waiting helper that no copy comes and waits for it to end.
    void stopHelper()
    {
        if (!helperRuns)
            return;
        {
            std::lock_guard<std::mutex> lock(share.mutex);
            if (!share.handed)
                share.abandoned = true;
            share.changed.notify_all();
        }
        helper.join();
        helperRuns = false;
        if (!bitmap)
            bitmap = share.bitmap;
    }
};

// libjpeg's part. Everything it changes lives in *d, so that the state after
// a longjmp from errorExit is defined; this frame holds nothing to destroy.
void decode(SDecode* d)
{
    j_decompress_ptr cinfo = &d->cinfo;
    cinfo->err = jpeg_std_error(&d->error.pub);
    d->error.pub.error_exit = errorExit;
    d->error.pub.output_message = outputMessage;
    if (setjmp(d->error.jump)) {
        d->result = EJpegRead::Failed;
        return;
    }
    jpeg_create_decompress(cinfo);
    d->created = true;
    jpeg_stdio_src(cinfo, d->file);
    // FreeImage keeps these markers for its metadata; kept here too, so that
    // libjpeg reads the file the same way.
    jpeg_save_markers(cinfo, JPEG_COM, 0xFFFF);
    for (int m = 0; m < 16; ++m)
        jpeg_save_markers(cinfo, JPEG_APP0 + m, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);

    // Colour images come out in FreeImage's byte order (blue first) at once.
    if (d->bpp == 24 && cinfo->num_components == 3 &&
        (cinfo->jpeg_color_space == JCS_YCbCr || cinfo->jpeg_color_space == JCS_RGB)) {
        cinfo->out_color_space = JCS_EXT_BGR;
    } else if (d->bpp == 8 && cinfo->num_components == 1 && cinfo->jpeg_color_space == JCS_GRAYSCALE) {
        cinfo->out_color_space = JCS_GRAYSCALE;
    } else {
        d->result = EJpegRead::NotMine; // CMYK, YCCK and the rare rest
        return;
    }
    // FreeImage's JPEG_ACCURATE decode: libjpeg's defaults (accurate integer
    // DCT, fancy upsampling, block smoothing), full size.
    cinfo->dct_method = JDCT_ISLOW;
    cinfo->do_fancy_upsampling = TRUE;
    cinfo->scale_num = 1;
    cinfo->scale_denom = 1;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != d->width || cinfo->output_height != d->height ||
        unsigned(cinfo->output_components) * 8u != d->bpp) {
        d->result = EJpegRead::NotMine;
        return;
    }

    const unsigned height = d->height;
    while (cinfo->output_scanline < height) {
        const unsigned r = cinfo->output_scanline;
        if (!d->bitmap &&
            (r == d->stagingRows || (!d->fullBand && d->share.allocated.load(std::memory_order_acquire))) &&
            !d->switchToBitmap(r)) {
            d->result = EJpegRead::NotMine; // no memory for the bitmap: FreeImage says so as ever
            return;
        }
        JSAMPROW row = d->bitmap ? FreeImage_GetScanLine(d->bitmap, int(height - 1 - r))
                                 : d->staging + size_t(r) * d->rowBytes;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    if (!d->bitmap && !d->switchToBitmap(height)) {
        d->result = EJpegRead::NotMine;
        return;
    }
    jpeg_finish_decompress(cinfo);
    d->result = EJpegRead::Loaded;
}

// The bytes of a file as libjpeg's source gives them: past the end, the end
// marker it inserts (FF D9, repeated), which a segment cut short is filled
// with.
struct SFileBytes {
    const unsigned char* data = nullptr;
    size_t size = 0;

    unsigned char at(uint64_t i) const { return i < size ? data[i] : ((i - size) & 1 ? 0xD9 : 0xFF); }
};

// The 16- and 32-bit numbers of a TIFF structure (an EXIF block) that starts
// at byte `tiff` of the file, in its byte order.
struct STiffNumbers {
    const SFileBytes& f;
    uint64_t tiff;
    bool motorola;
    uint32_t u16(uint64_t at) const
    {
        const unsigned a = f.at(tiff + at), b = f.at(tiff + at + 1);
        return uint32_t(motorola ? a << 8 | b : b << 8 | a);
    }
    uint32_t u32(uint64_t at) const
    {
        const uint32_t a = u16(at), b = u16(at + 2);
        return motorola ? a << 16 | b : b << 16 | a;
    }
};

// Whether FreeImage reads a Canon maker note safely. For six of its tags
// (camera settings, focal length, shot info, panorama, processing, sensor
// info) FreeImage takes the value as an array of 16-bit numbers, as many as
// the tag's count, whatever the tag's type: a tag of one-byte values is read
// to twice its length, one of type 0 (no bytes) for its count, far outside
// the block (and for minutes: a tag for every number). The maker note
// is found as FreeImage finds it in the usual layout: the camera make
// ("Canon...") in the first directory, the maker note in the first directory
// or in the EXIF directory it points to, its directory at its start (unless
// it starts with another maker's signature FreeImage looks for first).
bool canonMakerNoteReadable(const SFileBytes& f, uint64_t tiff, uint64_t length, bool motorola, uint64_t first)
{
    static const unsigned kWidth[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    const STiffNumbers numbers{f, tiff, motorola};
    auto u16 = [&](uint64_t at) { return numbers.u16(at); };
    auto u32 = [&](uint64_t at) { return numbers.u32(at); };
    // Calls fn(tag, type, count, value offset) for each entry FreeImage
    // keeps of the directory at `ifd`; stops where FreeImage stops.
    auto entries = [&](uint64_t ifd, auto&& fn) {
        if (ifd + 2 > length)
            return true;
        const uint64_t n = u16(ifd);
        if (ifd + 12 * n > length)
            return true;
        for (uint64_t e = 0; e < n; ++e) {
            const uint64_t entry = ifd + 2 + 12 * e;
            const uint32_t tag = u16(entry), type = u16(entry + 2), count = u32(entry + 4);
            // Types past 12 end the directory; type 0 (no width) is kept.
            if (type > 12)
                break;
            const uint64_t bytes = uint64_t(count) * kWidth[type];
            if (bytes > 0xFFFFFFFFu)
                continue;
            uint64_t value = entry + 8;
            if (bytes > 4) {
                value = u32(entry + 8);
                if (value > length || bytes > length - value)
                    continue;
            }
            if (!fn(tag, type, count, value))
                return false;
        }
        return true;
    };
    bool canon = false;
    uint64_t exif = 0, note = 0;
    auto scan = [&](uint32_t tag, uint32_t type, uint32_t count, uint64_t value) {
        if (tag == 0x010F && type == 2 && count >= 5) {
            canon = true;
            for (int i = 0; i < 5; ++i)
                canon = canon && std::tolower(f.at(tiff + value + uint64_t(i))) == "canon"[i];
        } else if (tag == 0x8769) {
            exif = u32(value);
        } else if (tag == 0x927C && !note) {
            note = value;
        }
        return true;
    };
    entries(first, scan);
    if (!canon)
        return true;
    if (!note && exif > 0 && exif < length)
        entries(exif, scan);
    if (!note)
        return true;
    static const char* const kOthers[] = {"OLYMP\0\1", "OLYMP\0\2", "EPSON", "AGFA", "OLYMPUS\0II\3\0", "Nikon\0\1\0"};
    static const unsigned kOtherLengths[] = {7, 7, 5, 4, 12, 8};
    for (int k = 0; k < 6; ++k) {
        bool match = true;
        for (unsigned i = 0; i < kOtherLengths[k]; ++i)
            match = match && f.at(tiff + note + i) == static_cast<unsigned char>(kOthers[k][i]);
        if (match)
            return true;
    }
    return entries(note, [](uint32_t tag, uint32_t type, uint32_t, uint64_t) {
        const bool array = tag == 0x01 || tag == 0x02 || tag == 0x04 || tag == 0x12 || tag == 0xA0 || tag == 0xE0;
        return !array || kWidth[type] >= 2;
    });
}

// Whether FreeImage's EXIF reader keeps inside the block whose TIFF structure
// starts at byte `tiff` of the file and holds `length` bytes. Its reads, as
// it makes them: the byte order, the first directory's offset (beyond the
// block: no EXIF), the first directory's entry count and, after its entries,
// the next directory's offset, read unchecked; in that next directory (the
// thumbnail's, each entry checked) the thumbnail's offset and length, whose
// sum is checked in 32 bits only.
bool exifBlockInBounds(const SFileBytes& f, uint64_t tiff, uint64_t length)
{
    if (length < 8)
        return true;
    const bool intel = f.at(tiff) == 'I' && f.at(tiff + 1) == 'I' && f.at(tiff + 2) == 0x2A && f.at(tiff + 3) == 0;
    const bool motorola = f.at(tiff) == 'M' && f.at(tiff + 1) == 'M' && f.at(tiff + 2) == 0 && f.at(tiff + 3) == 0x2A;
    if (!intel && !motorola)
        return true;
    const STiffNumbers numbers{f, tiff, motorola};
    auto u16 = [&](uint64_t at) { return numbers.u16(at); };
    auto u32 = [&](uint64_t at) { return numbers.u32(at); };
    const uint64_t first = u32(4);
    if (first > length)
        return true;
    if (first + 2 > length)
        return false;
    const uint64_t nextAt = first + 2 + 12 * uint64_t(u16(first));
    if (nextAt + 4 > length)
        return false;
    if (!canonMakerNoteReadable(f, tiff, length, motorola, first))
        return false;
    const uint64_t next = u32(nextAt);
    if (next == 0 || next >= length)
        return true;
    uint32_t offset = 0, size = 0;
    for (uint64_t e = 0, n = u16(next); e < n; ++e) {
        const uint64_t entry = next + 2 + 12 * e;
        if (entry + 12 >= length)
            return true;
        const uint32_t tag = u16(entry);
        if (tag == 0x0201)
            offset = u32(entry + 8);
        else if (tag == 0x0202)
            size = u32(entry + 8);
    }
    if (offset == 0 || size == 0 || uint32_t(offset + size) > length)
        return true;
    return uint64_t(offset) + size <= length;
}

// Whether FreeImage's IPTC reader takes the IPTC records in the APP13
// segment whose data (`length` bytes) start at byte `data` of the file. It
// starts at the first record of the application record (1C 02) and walks on
// as long as a record marker (1C) starts each record; a record version
// (2:00) not two bytes long leaves it a tag without a value, which it then
// copies (the program crashes).
bool iptcRecordsReadable(const SFileBytes& f, uint64_t data, uint64_t length)
{
    uint64_t at = 0;
    while (at + 1 < length && !(f.at(data + at) == 0x1C && f.at(data + at + 1) == 0x02))
        ++at;
    while (at < length && f.at(data + at) == 0x1C && at + 5 < length) {
        const unsigned record = f.at(data + at + 1), dataset = f.at(data + at + 2);
        const uint64_t size = uint64_t(f.at(data + at + 3)) << 8 | f.at(data + at + 4);
        at += 5;
        if (at + size > length)
            break;
        if (record == 2 && dataset == 0 && size != 0 && size != 2)
            return false;
        at += size;
    }
    return true;
}

} // namespace

bool JpegSafeForFreeImage(const char* path, unsigned long long maxPixels)
{
    const int fd = path ? open(path, O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0)
        return true;
    struct stat st;
    void* map = MAP_FAILED;
    if (fstat(fd, &st) == 0 && st.st_size > 0)
        map = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (map == MAP_FAILED)
        return true;
    SFileBytes f;
    f.data = static_cast<const unsigned char*>(map);
    f.size = size_t(st.st_size);
    // Every marker libjpeg may meet, in the image or in a thumbnail: frame
    // headers (SOF0/1/2/9/10, the ones it decodes: length, precision, height,
    // width, component count), APP1 markers followed by "Exif\0\0" (their
    // data, the segment's length less the two length bytes, hold the TIFF
    // structure after the six signature bytes) and APP13 markers.
    static const unsigned char kSignature[] = {'E', 'x', 'i', 'f', 0, 0};
    bool safe = true;
    const unsigned char* p = f.data;
    const unsigned char* end = f.data + f.size;
    while (safe && p < end) {
        const void* hit = std::memchr(p, 0xFF, size_t(end - p));
        if (!hit)
            break;
        const uint64_t at = uint64_t(static_cast<const unsigned char*>(hit) - f.data);
        p = static_cast<const unsigned char*>(hit) + 1;
        const unsigned char marker = f.at(at + 1);
        const uint64_t segment = uint64_t(f.at(at + 2)) << 8 | f.at(at + 3);
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA) {
            const unsigned components = f.at(at + 9);
            const unsigned long long height = unsigned(f.at(at + 5)) << 8 | f.at(at + 6);
            const unsigned long long width = unsigned(f.at(at + 7)) << 8 | f.at(at + 8);
            if (components > 0 && segment == 8 + 3 * components)
                safe = width * height <= maxPixels;
        } else if (marker == 0xED && segment >= 2) {
            safe = iptcRecordsReadable(f, at + 4, segment - 2);
        } else if (marker == 0xE1 && segment >= 2 + 6) {
            bool exif = true;
            for (int i = 0; i < 6; ++i)
                exif = exif && f.at(at + 4 + uint64_t(i)) == kSignature[i];
            if (exif)
                safe = exifBlockInBounds(f, at + 4 + 6, segment - 2 - 6);
        }
    }
    munmap(map, f.size);
    return safe;
}

EJpegRead ReadJpeg(const char* path, FIBITMAP* header, FIBITMAP** bitmap, EJpegStaging staging)
{
    *bitmap = nullptr;
    if (!path || !header || FreeImage_GetImageType(header) != FIT_BITMAP || !upright(header))
        return EJpegRead::NotMine;
    SDecode d;
    d.header = header;
    d.width = FreeImage_GetWidth(header);
    d.height = FreeImage_GetHeight(header);
    d.bpp = FreeImage_GetBPP(header);
    if ((d.bpp != 24 && d.bpp != 8) || d.width == 0 || d.height == 0)
        return EJpegRead::NotMine;
    d.rowBytes = size_t(d.width) * (d.bpp / 8);
    d.file = std::fopen(path, "rb");
    if (!d.file)
        return EJpegRead::NotMine;
    std::setvbuf(d.file, nullptr, _IOFBF, size_t(1) << 16);

    // A large bitmap is allocated (and cleared, by FreeImage) on a helper
    // thread while the first rows are decoded into the staging band; a small
    // one, or one whose helper cannot start, here and now.
    const size_t bytes = d.rowBytes * d.height;
    d.fullBand = staging == EJpegStaging::FullBand;
    if (staging != EJpegStaging::Inline && (bytes >= kHelperFrom || d.fullBand)) {
        // At most half the image waits in the band: the helper's copy of it
        // stays short beside the decode of the rest.
        d.stagingRows = unsigned(std::min<size_t>(d.height / 2, (kStagingBytes + d.rowBytes - 1) / d.rowBytes));
        // One huge page more than the band, so that its 2 MB-aligned
        // interior (the part huge pages back) holds the band.
        d.stagingBytes = d.rowBytes * d.stagingRows + kHugePage;
        void* block = mmap(nullptr, d.stagingBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block != MAP_FAILED) {
            d.stagingBlock = block;
            AdviseHugePages(block, d.stagingBytes);
            const uintptr_t start = reinterpret_cast<uintptr_t>(block);
            d.staging = static_cast<unsigned char*>(block) + (((start + kHugePage - 1) & ~(kHugePage - 1)) - start);
            try {
                d.helper = std::thread([&d] { d.allocateAndCopy(); });
                d.helperRuns = true;
            } catch (const std::system_error&) {
            }
        }
    }
    if (!d.helperRuns) {
        d.stagingRows = 0;
        d.bitmap = allocateLike(header, d.width, d.height, d.bpp);
        if (!d.bitmap) {
            std::fclose(d.file);
            d.releaseStaging();
            return EJpegRead::NotMine;
        }
    }

    decode(&d);

    d.stopHelper();
    if (d.created)
        jpeg_destroy_decompress(&d.cinfo);
    std::fclose(d.file);
    d.releaseStaging();
    if (d.result == EJpegRead::Loaded) {
        *bitmap = d.bitmap;
    } else if (d.bitmap) {
        FreeImage_Unload(d.bitmap);
    }
    return d.result;
}
