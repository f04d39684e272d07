// Our own JPEG reader against FreeImage's: for every file it takes, the very
// bitmap FreeImage_Load(FIF_JPEG, JPEG_ACCURATE | JPEG_EXIFROTATE) gives;
// what it does not take (EXIF rotation, CMYK, damaged headers, no JPEG at
// all) the loader leaves to FreeImage, with FreeImage's result.

#include "documentfixture.h"
#include "exifwriter.h"

#include "document/documentfakes.h"
#include "document/imageloader.h"
#include "document/jpegreader.h"

#include <QFile>

#include <cstdio>
#include <jpeglib.h>

namespace {

constexpr int kReferenceFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;

// A photograph-like picture: gradients, fine noise and hard edges, so that
// every subsampling and the upsampler's edges show.
unsigned photoPixel(int x, int y)
{
    uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 13;
    const int noise = int(h & 31) - 16;
    auto clamp = [](int v) { return unsigned(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    const int r = (x * 3 + y) % 256 + noise;
    const int g = ((x / 7 + y / 5) & 1) ? 220 + noise / 2 : 30 + noise;
    const int b = (x * y / 13) % 256 + noise / 4;
    return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

FIBITMAP* photo(int w, int h)
{
    FIBITMAP* b = FreeImage_Allocate(w, h, 24);
    for (int y = 0; y < h; ++y) {
        BYTE* line = FreeImage_GetScanLine(b, h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const unsigned c = photoPixel(x, y);
            line[3 * x + FI_RGBA_RED] = BYTE(c >> 16);
            line[3 * x + FI_RGBA_GREEN] = BYTE(c >> 8);
            line[3 * x + FI_RGBA_BLUE] = BYTE(c);
        }
    }
    return b;
}

FIBITMAP* grey(int w, int h)
{
    FIBITMAP* b = FreeImage_Allocate(w, h, 8);
    RGBQUAD* pal = FreeImage_GetPalette(b);
    for (int i = 0; i < 256; ++i)
        pal[i].rgbRed = pal[i].rgbGreen = pal[i].rgbBlue = BYTE(i);
    for (int y = 0; y < h; ++y) {
        BYTE* line = FreeImage_GetScanLine(b, h - 1 - y);
        for (int x = 0; x < w; ++x)
            line[x] = BYTE(photoPixel(x, y) >> 8);
    }
    return b;
}

// The file without its marker segments of type `marker` (e.g. 0xDB, the
// quantisation tables); the entropy-coded data after SOS is kept whole.
QByteArray withoutSegments(const QByteArray& jpeg, unsigned char marker)
{
    QByteArray out = jpeg.left(2);
    int pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos]) == 0xFF) {
        const unsigned char type = uchar(jpeg[pos + 1]);
        const int length = (uchar(jpeg[pos + 2]) << 8 | uchar(jpeg[pos + 3])) + 2;
        if (type == 0xDA) {
            out += jpeg.mid(pos);
            return out;
        }
        if (type != marker)
            out += jpeg.mid(pos, length);
        pos += length;
    }
    return out;
}

// A JPEG written by libjpeg itself in a colour space FreeImage's writer
// never uses: JCS_CMYK as prepress programs write it (Adobe marker), which
// FreeImage turns into RGB, or JCS_RGB (RGB samples without the YCbCr
// transform, Adobe marker).
bool writeLibjpegFile(const QString& file, int w, int h, J_COLOR_SPACE space)
{
    std::FILE* f = std::fopen(QFile::encodeName(file).constData(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    const int n = space == JCS_CMYK ? 4 : 3;
    c.input_components = n;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, space);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(size_t(w) * size_t(n));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned p = photoPixel(x, y);
            row[n * x] = JSAMPLE(p >> 16);
            row[n * x + 1] = JSAMPLE(p >> 8);
            row[n * x + 2] = JSAMPLE(p);
            if (n == 4)
                row[n * x + 3] = JSAMPLE((x + y) & 0x7F);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(f) == 0;
}

// An EXIF block ("Exif\0\0" and its TIFF structure) as cameras write it
// with a thumbnail: IFD0 (Make), then IFD1 (compression 6, the thumbnail's
// offset and length), then the thumbnail's bytes. count0 (when not negative)
// replaces IFD0's stored entry count; offset and size (when not 0) the
// thumbnail's offset and length.
std::vector<uint8_t> exifWithThumbnail(const QByteArray& thumbnail, bool motorola, int count0 = -1,
                                       uint32_t offset = 0, uint32_t size = 0)
{
    std::vector<uint8_t> t;
    auto put16 = [&](uint32_t v) {
        t.push_back(uint8_t(motorola ? v >> 8 : v));
        t.push_back(uint8_t(motorola ? v : v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(motorola ? v >> 16 : v & 0xFFFF);
        put16(motorola ? v & 0xFFFF : v >> 16);
    };
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t value) {
        put16(tag);
        put16(type);
        put32(1);
        if (type == 3) {
            put16(value);
            put16(0);
        } else {
            put32(value);
        }
    };
    const uint32_t ifd1 = 8 + 2 + 12 + 4;
    const uint32_t data = ifd1 + 2 + 3 * 12 + 4;
    if (motorola)
        t = {'M', 'M', 0, 42, 0, 0, 0, 8};
    else
        t = {'I', 'I', 42, 0, 8, 0, 0, 0};
    put16(count0 >= 0 ? uint32_t(count0) : 1u);
    put16(0x010F); // Make, "Cam" in the entry
    put16(2);
    put32(4);
    t.insert(t.end(), {'C', 'a', 'm', 0});
    put32(ifd1);
    put16(3);
    entry(0x0103, 3, 6);
    entry(0x0201, 4, offset ? offset : data);
    entry(0x0202, 4, size ? size : uint32_t(thumbnail.size()));
    put32(0);
    t.insert(t.end(), thumbnail.begin(), thumbnail.end());
    std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), t.begin(), t.end());
    return block;
}

// A small JPEG for a thumbnail; damaged: with five stray bytes before its
// quantisation tables, which libjpeg reads past with a warning.
QByteArray thumbnailJpeg(bool damaged)
{
    FIBITMAP* b = photo(16, 12);
    FIMEMORY* memory = FreeImage_OpenMemory();
    EXPECT_TRUE(FreeImage_SaveToMemory(FIF_JPEG, b, memory, 80));
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(memory, &data, &size);
    QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(b);
    if (damaged)
        bytes.insert(bytes.indexOf(QByteArray("\xFF\xDB", 2)), QByteArray("\x01\x02\x03\x04\x05", 5));
    return bytes;
}

// The JPEG with the frame size in its first frame header set to w x h.
QByteArray withFrameSize(QByteArray jpeg, int w, int h)
{
    for (int i = 0; i + 9 < jpeg.size(); ++i) {
        const uchar m = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC2)) {
            jpeg[i + 5] = char(h >> 8);
            jpeg[i + 6] = char(h & 0xFF);
            jpeg[i + 7] = char(w >> 8);
            jpeg[i + 8] = char(w & 0xFF);
            break;
        }
    }
    return jpeg;
}

std::string tagBytes(FITAG* tag)
{
    const char* v = static_cast<const char*>(FreeImage_GetTagValue(tag));
    return v ? std::string(v, FreeImage_GetTagLength(tag)) : std::string();
}

// Everything of the bitmap a caller can see, compared with FreeImage's.
void expectSameBitmap(FIBITMAP* own, FIBITMAP* reference)
{
    ASSERT_NE(own, nullptr);
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(FreeImage_GetImageType(own), FreeImage_GetImageType(reference));
    EXPECT_EQ(FreeImage_GetBPP(own), FreeImage_GetBPP(reference));
    EXPECT_EQ(FreeImage_GetColorType(own), FreeImage_GetColorType(reference));
    ASSERT_EQ(FreeImage_GetWidth(own), FreeImage_GetWidth(reference));
    ASSERT_EQ(FreeImage_GetHeight(own), FreeImage_GetHeight(reference));
    ASSERT_EQ(FreeImage_GetPitch(own), FreeImage_GetPitch(reference));
    EXPECT_EQ(FreeImage_GetDotsPerMeterX(own), FreeImage_GetDotsPerMeterX(reference));
    EXPECT_EQ(FreeImage_GetDotsPerMeterY(own), FreeImage_GetDotsPerMeterY(reference));
    EXPECT_EQ(FreeImage_GetRedMask(own), FreeImage_GetRedMask(reference));
    EXPECT_EQ(FreeImage_GetBlueMask(own), FreeImage_GetBlueMask(reference));
    EXPECT_EQ(
        std::memcmp(FreeImage_GetInfoHeader(own), FreeImage_GetInfoHeader(reference), sizeof(BITMAPINFOHEADER)), 0);
    ASSERT_EQ(FreeImage_GetColorsUsed(own), FreeImage_GetColorsUsed(reference));
    if (FreeImage_GetColorsUsed(own) > 0)
        EXPECT_EQ(std::memcmp(FreeImage_GetPalette(own), FreeImage_GetPalette(reference),
                              FreeImage_GetColorsUsed(own) * sizeof(RGBQUAD)),
                  0);
    // Pixels, row padding included.
    const unsigned h = FreeImage_GetHeight(own);
    unsigned differing = 0, first = h;
    for (unsigned y = 0; y < h; ++y)
        if (std::memcmp(FreeImage_GetScanLine(own, int(y)), FreeImage_GetScanLine(reference, int(y)),
                        FreeImage_GetPitch(own)) != 0) {
            first = std::min(first, y);
            ++differing;
        }
    EXPECT_EQ(differing, 0u) << "first differing stored row " << first;

    // Metadata, ICC profile and thumbnail as FreeImage attaches them.
    for (int model = FIMD_COMMENTS; model <= FIMD_EXIF_RAW; ++model) {
        SCOPED_TRACE(model);
        const auto m = FREE_IMAGE_MDMODEL(model);
        ASSERT_EQ(FreeImage_GetMetadataCount(m, own), FreeImage_GetMetadataCount(m, reference));
        FITAG* tag = nullptr;
        FIMETADATA* search = FreeImage_FindFirstMetadata(m, reference, &tag);
        if (!search)
            continue;
        do {
            FITAG* mine = nullptr;
            ASSERT_TRUE(FreeImage_GetMetadata(m, own, FreeImage_GetTagKey(tag), &mine)) << FreeImage_GetTagKey(tag);
            EXPECT_EQ(FreeImage_GetTagID(mine), FreeImage_GetTagID(tag));
            EXPECT_EQ(FreeImage_GetTagType(mine), FreeImage_GetTagType(tag));
            EXPECT_EQ(FreeImage_GetTagCount(mine), FreeImage_GetTagCount(tag));
            EXPECT_EQ(tagBytes(mine), tagBytes(tag));
        } while (FreeImage_FindNextMetadata(search, &tag));
        FreeImage_FindCloseMetadata(search);
    }
    const FIICCPROFILE* a = FreeImage_GetICCProfile(own);
    const FIICCPROFILE* b = FreeImage_GetICCProfile(reference);
    ASSERT_EQ(a->size, b->size);
    EXPECT_EQ(a->flags, b->flags);
    if (a->size > 0)
        EXPECT_EQ(std::memcmp(a->data, b->data, a->size), 0);
    FIBITMAP* ta = FreeImage_GetThumbnail(own);
    FIBITMAP* tb = FreeImage_GetThumbnail(reference);
    ASSERT_EQ(ta == nullptr, tb == nullptr);
    if (ta) {
        EXPECT_EQ(FreeImage_GetWidth(ta), FreeImage_GetWidth(tb));
        EXPECT_EQ(FreeImage_GetHeight(ta), FreeImage_GetHeight(tb));
    }
}

struct SFile {
    const char* name;
    int width, height;
    bool greyscale;
    int saveFlags;   // quality, subsampling, progressive
    int orientation; // EXIF orientation written, 0: no EXIF block
    EJpegRead expected;
    bool extras = false; // an ICC profile and a comment written as well
};

const SFile kFiles[] = {
    {"q95_420.jpg", 1001, 667, false, 95 | JPEG_SUBSAMPLING_420, 0, EJpegRead::Loaded},
    {"q95_422.jpg", 1001, 667, false, 95 | JPEG_SUBSAMPLING_422, 0, EJpegRead::Loaded},
    {"q95_444.jpg", 1001, 667, false, 95 | JPEG_SUBSAMPLING_444, 0, EJpegRead::Loaded},
    {"q75_411.jpg", 1001, 667, false, 75 | JPEG_SUBSAMPLING_411, 0, EJpegRead::Loaded},
    {"one.jpg", 1, 1, false, 95 | JPEG_SUBSAMPLING_420, 0, EJpegRead::Loaded},
    {"odd.jpg", 17, 9, false, 90 | JPEG_SUBSAMPLING_420, 0, EJpegRead::Loaded},
    {"odd422.jpg", 17, 9, false, 90 | JPEG_SUBSAMPLING_422, 0, EJpegRead::Loaded},
    {"progressive.jpg", 1001, 667, false, 92 | JPEG_PROGRESSIVE, 0, EJpegRead::Loaded},
    {"optimized.jpg", 333, 250, false, 85 | JPEG_OPTIMIZE, 0, EJpegRead::Loaded},
    {"exif_upright.jpg", 640, 427, false, 95, 1, EJpegRead::Loaded},
    {"icc_comment.jpg", 640, 427, false, 95, 1, EJpegRead::Loaded, true},
    {"grey.jpg", 1001, 667, true, 95, 0, EJpegRead::Loaded},
    {"grey_odd_progressive.jpg", 17, 9, true, 90 | JPEG_PROGRESSIVE, 0, EJpegRead::Loaded},
    // Large enough for the helper thread and the staging band.
    {"large_420.jpg", 2400, 1600, false, 95 | JPEG_SUBSAMPLING_420, 1, EJpegRead::Loaded},
    {"large_progressive.jpg", 2400, 1600, false, 90 | JPEG_PROGRESSIVE, 0, EJpegRead::Loaded},
    {"large_grey.jpg", 3200, 3000, true, 95, 0, EJpegRead::Loaded},
    // FreeImage turns these upright; the reader leaves them to it.
    {"exif_6.jpg", 64, 33, false, 95, 6, EJpegRead::NotMine},
    {"exif_3.jpg", 2400, 1600, false, 95, 3, EJpegRead::NotMine},
};

class JpegReaderTest : public DocumentTest {
protected:
    QString write(const SFile& f)
    {
        FIBITMAP* b = f.greyscale ? grey(f.width, f.height) : photo(f.width, f.height);
        if (f.orientation)
            EXPECT_TRUE(attachExifRaw(b, standardExifBlock(uint16_t(f.orientation))));
        if (f.extras) {
            std::vector<BYTE> profile(3000);
            for (size_t i = 0; i < profile.size(); ++i)
                profile[i] = BYTE(i * 7 + 3);
            EXPECT_NE(FreeImage_CreateICCProfile(b, profile.data(), long(profile.size())), nullptr);
            FITAG* tag = FreeImage_CreateTag();
            const char text[] = "Evening light over the hills";
            FreeImage_SetTagKey(tag, "Comment");
            FreeImage_SetTagType(tag, FIDT_ASCII);
            FreeImage_SetTagLength(tag, sizeof(text));
            FreeImage_SetTagCount(tag, sizeof(text));
            FreeImage_SetTagValue(tag, text);
            FreeImage_SetMetadata(FIMD_COMMENTS, b, "Comment", tag);
            FreeImage_DeleteTag(tag);
        }
        const QString file = path(f.name);
        EXPECT_TRUE(save(b, FIF_JPEG, file, f.saveFlags));
        return file;
    }

    // The reader's result on a file, with FreeImage's header as the loader
    // passes it.
    static EJpegRead readOwn(const QString& file, FIBITMAP** bitmap, EJpegStaging staging = EJpegStaging::Race)
    {
        const QByteArray p = QFile::encodeName(file);
        FIBITMAP* header = nullptr;
        EXPECT_TRUE(CLoadThread::SafeToLoad(p, FIF_JPEG, &header));
        const EJpegRead r = ReadJpeg(p.constData(), header, bitmap, staging);
        if (header)
            FreeImage_Unload(header);
        return r;
    }

    // Our reader's bitmap of file, read as staging says, against FreeImage's.
    static void expectOwnReadGives(const QString& file, FIBITMAP* expected, EJpegStaging staging = EJpegStaging::Race)
    {
        FIBITMAP* own = nullptr;
        ASSERT_EQ(readOwn(file, &own, staging), EJpegRead::Loaded);
        expectSameBitmap(own, expected);
        FreeImage_Unload(own);
    }

    static FIBITMAP* reference(const QString& file)
    {
        return FreeImage_Load(FIF_JPEG, QFile::encodeName(file).constData(), kReferenceFlags);
    }

    static FIBITMAP* loadWithLoader(const QString& file)
    {
        CImageLoader loader;
        loader.Enqueue(file, true);
        loader.Load();
        return loader.m_vecBitmaps.size() == 1 ? loader.m_vecBitmaps[0] : nullptr;
    }

    // A file with metadata FreeImage may or may not read safely: when it may,
    // the loader reads it as FreeImage does and the metadata-only read gives
    // the tables of `model`; otherwise the header check refuses it, the series
    // reports a file that could not be loaded and no metadata are read.
    void expectGuarded(const QString& file, bool loadable, FREE_IMAGE_MDMODEL model)
    {
        const QByteArray p = QFile::encodeName(file);
        EXPECT_EQ(JpegSafeForFreeImage(p.constData(), CLoadThread::kMaxPixels), loadable);
        FIBITMAP* header = nullptr;
        EXPECT_EQ(CLoadThread::SafeToLoad(p, FIF_JPEG, &header), loadable);
        EXPECT_EQ(header != nullptr, loadable);
        if (header)
            FreeImage_Unload(header);
        EXPECT_EQ(CLoadThread::SafeToLoad(p, FIF_JPEG), loadable);

        FIBITMAP* loaded = loadWithLoader(file);
        EXPECT_EQ(loaded != nullptr, loadable);
        if (loadable) {
            FIBITMAP* expected = reference(file);
            expectSameBitmap(loaded, expected);
            FreeImage_Unload(expected);
        }
        const QString name = CExposure::ExtractFileName(file);
        CExposure e;
        EXPECT_EQ(e.Load(file, loaded), loadable);
        if (!loadable) {
            EXPECT_TRUE(progress.HasMessage(name + ": Datei konnte nicht geladen werden.", 1, 2));
        }

        CExposure meta;
        meta.SetFilePath(file);
        EXPECT_EQ(meta.GetExif().contains(model), loadable);
        EXPECT_TRUE(meta.m_bExifLoaded);
    }
};

TEST_F(JpegReaderTest, GivesFreeImagesBitmapOrLeavesTheFileToIt)
{
    for (const SFile& f : kFiles) {
        SCOPED_TRACE(f.name);
        const QString file = write(f);
        FIBITMAP* expected = reference(file);
        ASSERT_NE(expected, nullptr);
        for (EJpegStaging staging : {EJpegStaging::Race, EJpegStaging::FullBand, EJpegStaging::Inline}) {
            SCOPED_TRACE(int(staging));
            FIBITMAP* own = nullptr;
            const unsigned long before = ImageLibraryMessageCount();
            ASSERT_EQ(readOwn(file, &own, staging), f.expected);
            EXPECT_EQ(ImageLibraryMessageCount(), before) << "an intact file draws no message";
            if (f.expected == EJpegRead::Loaded)
                expectSameBitmap(own, expected);
            else
                EXPECT_EQ(own, nullptr);
            if (own)
                FreeImage_Unload(own);
        }
        // The loader's bitmap, whoever read it.
        FIBITMAP* loaded = loadWithLoader(file);
        expectSameBitmap(loaded, expected);
        if (loaded)
            FreeImage_Unload(loaded);
        FreeImage_Unload(expected);
    }
}

TEST_F(JpegReaderTest, ResolutionFromTheJfifHeader)
{
    // FreeImage writes the bitmap's resolution into the JFIF header (dots per
    // inch) and reads it back rounded; the reader keeps what FreeImage read.
    for (unsigned dpm : {2835u, 11811u, 3937u, 1u}) {
        SCOPED_TRACE(dpm);
        FIBITMAP* b = photo(40, 30);
        FreeImage_SetDotsPerMeterX(b, dpm);
        FreeImage_SetDotsPerMeterY(b, dpm * 2);
        const QString file = path("dpi.jpg");
        ASSERT_TRUE(save(b, FIF_JPEG, file, 90));
        FIBITMAP* expected = reference(file);
        expectOwnReadGives(file, expected);
        FreeImage_Unload(expected);
    }
}

TEST_F(JpegReaderTest, RgbCodedFileGivesFreeImagesBitmap)
{
    const QString file = path("rgb_coded.jpg");
    ASSERT_TRUE(writeLibjpegFile(file, 2400, 1600, JCS_RGB));
    FIBITMAP* expected = reference(file);
    for (EJpegStaging staging : {EJpegStaging::Race, EJpegStaging::FullBand, EJpegStaging::Inline}) {
        SCOPED_TRACE(int(staging));
        expectOwnReadGives(file, expected, staging);
    }
    FreeImage_Unload(expected);
}

TEST_F(JpegReaderTest, CmykIsLeftToFreeImage)
{
    const QString file = path("cmyk.jpg");
    ASSERT_TRUE(writeLibjpegFile(file, 2400, 1600, JCS_CMYK));
    FIBITMAP* own = nullptr;
    EXPECT_EQ(readOwn(file, &own), EJpegRead::NotMine);
    EXPECT_EQ(own, nullptr);
    FIBITMAP* expected = reference(file);
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(expected), 24u);
    FIBITMAP* loaded = loadWithLoader(file);
    expectSameBitmap(loaded, expected);
    if (loaded)
        FreeImage_Unload(loaded);
    FreeImage_Unload(expected);
}

// A truncated photograph decodes with libjpeg's warning (grey below the
// break): the same pixels as FreeImage's, the same count of library
// messages, and the loader's notice.
TEST_F(JpegReaderTest, TruncatedFileGivesFreeImagesPixelsAndTheNotice)
{
    const SFile sizes[] = {{"cut_small.jpg", 300, 200, false, 95, 0, EJpegRead::Loaded},
                           {"cut_large.jpg", 2400, 1600, false, 95, 0, EJpegRead::Loaded},
                           {"cut_progressive.jpg", 2400, 1600, false, 90 | JPEG_PROGRESSIVE, 0, EJpegRead::Loaded}};
    for (const SFile& f : sizes) {
        SCOPED_TRACE(f.name);
        const QString whole = write(f);
        const QByteArray bytes = readFile(whole);
        const QString cut = path(QString("short_") + f.name);
        ASSERT_TRUE(writeFile(cut, bytes.left(bytes.size() * 2 / 3)));

        unsigned long before = ImageLibraryMessageCount();
        FIBITMAP* expected = reference(cut);
        const unsigned long freeImageMessages = ImageLibraryMessageCount() - before;
        ASSERT_NE(expected, nullptr);
        EXPECT_GT(freeImageMessages, 0u);
        for (EJpegStaging staging : {EJpegStaging::Race, EJpegStaging::FullBand, EJpegStaging::Inline}) {
            SCOPED_TRACE(int(staging));
            FIBITMAP* own = nullptr;
            const QByteArray p = QFile::encodeName(cut);
            FIBITMAP* header = nullptr;
            ASSERT_TRUE(CLoadThread::SafeToLoad(p, FIF_JPEG, &header));
            before = ImageLibraryMessageCount();
            ASSERT_EQ(ReadJpeg(p.constData(), header, &own, staging), EJpegRead::Loaded);
            EXPECT_EQ(ImageLibraryMessageCount() - before, freeImageMessages);
            FreeImage_Unload(header);
            expectSameBitmap(own, expected);
            FreeImage_Unload(own);
        }
        FreeImage_Unload(expected);

        FIBITMAP* loaded = loadWithLoader(cut);
        ASSERT_NE(loaded, nullptr);
        FreeImage_Unload(loaded);
        EXPECT_TRUE(progress.HasMessage("Datei beschädigt oder unvollständig: " + QString("short_") + f.name, 1, 1));
    }
}

// Files libjpeg refuses give no bitmap, as from FreeImage; the series says
// the file could not be loaded.
TEST_F(JpegReaderTest, RefusedFilesGiveNoBitmap)
{
    const SFile large = {"base.jpg", 2400, 1600, false, 95, 0, EJpegRead::Loaded};
    const QByteArray good = readFile(write(large));
    ASSERT_GT(good.size(), 1000);
    struct SCase {
        const char* name;
        QByteArray bytes;
    };
    const SCase cases[] = {
        {"garbage.jpg", QByteArray(5000, 'x')},
        {"empty.jpg", QByteArray()},
        {"no_tables.jpg", withoutSegments(good, 0xDB)},
        {"header_only.jpg", good.left(300)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(c.name);
        ASSERT_TRUE(writeFile(file, c.bytes));
        FIBITMAP* expected = reference(file);
        EXPECT_EQ(expected, nullptr);
        if (expected)
            FreeImage_Unload(expected);
        FIBITMAP* loaded = loadWithLoader(file);
        EXPECT_EQ(loaded, nullptr);
        if (loaded)
            FreeImage_Unload(loaded);
        CExposure e;
        EXPECT_FALSE(e.Load(file, loaded));
        EXPECT_TRUE(progress.HasMessage(QString(c.name) + ": Datei konnte nicht geladen werden.", 1, 2));
    }

    // libjpeg's error mid-way, with the helper allocating: a refusal, no
    // bitmap, the file closed (the reader is given a good file's header).
    FIBITMAP* header = FreeImage_Load(FIF_JPEG, QFile::encodeName(path("base.jpg")).constData(), FIF_LOAD_NOPIXELS);
    ASSERT_NE(header, nullptr);
    for (const char* name : {"garbage.jpg", "no_tables.jpg"}) {
        SCOPED_TRACE(name);
        for (EJpegStaging staging : {EJpegStaging::Race, EJpegStaging::FullBand, EJpegStaging::Inline}) {
            FIBITMAP* own = reinterpret_cast<FIBITMAP*>(1);
            const unsigned long before = ImageLibraryMessageCount();
            EXPECT_EQ(ReadJpeg(QFile::encodeName(path(name)).constData(), header, &own, staging), EJpegRead::Failed);
            EXPECT_EQ(own, nullptr);
            EXPECT_GT(ImageLibraryMessageCount(), before);
        }
    }
    // A file whose size is not the header's is not taken.
    const QString small = path("small.jpg");
    ASSERT_TRUE(save(photo(30, 20), FIF_JPEG, small, 90));
    FIBITMAP* own = nullptr;
    EXPECT_EQ(ReadJpeg(QFile::encodeName(small).constData(), header, &own), EJpegRead::NotMine);
    EXPECT_EQ(own, nullptr);
    EXPECT_EQ(ReadJpeg(QFile::encodeName(path("missing.jpg")).constData(), header, &own), EJpegRead::NotMine);
    EXPECT_EQ(ReadJpeg(QFile::encodeName(small).constData(), nullptr, &own), EJpegRead::NotMine);
    FreeImage_Unload(header);
}

// An unknown marker before the frame: FreeImage's reader reads on past it
// (with a message); the loader gives FreeImage's bitmap and the notice.
TEST_F(JpegReaderTest, UnknownMarkerReadsAsFreeImageReadsIt)
{
    const SFile f = {"marker_base.jpg", 300, 200, false, 95, 0, EJpegRead::Loaded};
    QByteArray bytes = readFile(write(f));
    bytes.insert(2, QByteArray("\xFF\xF0\x00\x04\xAB\xCD", 6));
    const QString file = path("marker.jpg");
    ASSERT_TRUE(writeFile(file, bytes));
    FIBITMAP* expected = reference(file);
    FIBITMAP* loaded = loadWithLoader(file);
    ASSERT_EQ(loaded == nullptr, expected == nullptr);
    if (expected) {
        expectSameBitmap(loaded, expected);
        EXPECT_TRUE(progress.HasMessage("Datei beschädigt oder unvollständig: marker.jpg", 1, 1));
        FreeImage_Unload(expected);
        FreeImage_Unload(loaded);
    }
}

// A damaged EXIF thumbnail: FreeImage reads it with a warning (the header
// load as well as the full load) and the loader says the file is damaged.
// Our reader takes the thumbnail over from the header load and reads no
// thumbnail: the loader leaves such a file to FreeImage, with its notice. An
// intact thumbnail draws no notice, whoever reads the file.
TEST_F(JpegReaderTest, DamagedExifThumbnailGivesTheNotice)
{
    for (bool damaged : {false, true}) {
        for (bool motorola : {false, true}) {
            const QString name =
                QString("thumb_%1_%2.jpg").arg(damaged ? "damaged" : "intact", motorola ? "mm" : "ii");
            SCOPED_TRACE(name.toStdString());
            FIBITMAP* b = photo(300, 200);
            ASSERT_TRUE(attachExifRaw(b, exifWithThumbnail(thumbnailJpeg(damaged), motorola)));
            const QString file = path(name);
            ASSERT_TRUE(save(b, FIF_JPEG, file, 90));

            const unsigned long before = ImageLibraryMessageCount();
            FIBITMAP* expected = reference(file);
            ASSERT_NE(expected, nullptr);
            ASSERT_NE(FreeImage_GetThumbnail(expected), nullptr);
            EXPECT_EQ(ImageLibraryMessageCount() != before, damaged);
            FIBITMAP* loaded = loadWithLoader(file);
            expectSameBitmap(loaded, expected);
            if (loaded)
                FreeImage_Unload(loaded);
            FreeImage_Unload(expected);
            EXPECT_EQ(progress.HasMessage("Datei beschädigt oder unvollständig: " + name, 1, 1), damaged);
        }
    }
}

// EXIF blocks whose first directory's entry count runs past the block, or
// whose thumbnail's offset plus length overflows 32 bits: FreeImage's reader
// reads the next directory's offset or the thumbnail from far outside the
// block (and crashes on many). The loader refuses such a file before
// FreeImage sees it, as a file that could not be loaded; its metadata are
// not read. Blocks that stay inside, however odd, are read as ever.
TEST_F(JpegReaderTest, ExifBlocksFreeImageWouldReadOutsideAreRefused)
{
    const QByteArray thumbnail = thumbnailJpeg(false);
    struct SCase {
        const char* name;
        bool motorola;
        int count0;
        uint32_t offset, size;
        bool loadable;
    };
    const SCase cases[] = {
        {"exif_plain.jpg", false, -1, 0, 0, true},
        // IFD0 claims two entries: the second is IFD1's bytes, still inside.
        {"exif_count2.jpg", true, 2, 0, 0, true},
        // A thumbnail that does not fit: FreeImage skips it.
        {"exif_thumb_long.jpg", false, -1, 0, 0x7FFFFFFF, true},
        {"exif_count_ii.jpg", false, 0xFFFF, 0, 0, false},
        {"exif_count_mm.jpg", true, 0x1000, 0, 0, false},
        {"exif_thumb_wrap.jpg", false, -1, 0xFFFFFF00u, 0x110, false},
        {"exif_thumb_wrap_mm.jpg", true, -1, 0x80000000u, 0x80000010u, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        FIBITMAP* b = photo(64, 48);
        ASSERT_TRUE(attachExifRaw(b, exifWithThumbnail(thumbnail, c.motorola, c.count0, c.offset, c.size)));
        const QString file = path(c.name);
        ASSERT_TRUE(save(b, FIF_JPEG, file, 90));
        expectGuarded(file, c.loadable, FIMD_EXIF_MAIN);
    }

    // The test photographs pass, and so do a missing and an empty file
    // (FreeImage refuses those itself).
    for (const SFile& f : kFiles) {
        SCOPED_TRACE(f.name);
        EXPECT_TRUE(JpegSafeForFreeImage(QFile::encodeName(write(f)).constData(), CLoadThread::kMaxPixels));
    }
    EXPECT_TRUE(JpegSafeForFreeImage(QFile::encodeName(path("missing.jpg")).constData(), 1));
    ASSERT_TRUE(writeFile(path("empty.jpg"), QByteArray()));
    EXPECT_TRUE(JpegSafeForFreeImage(QFile::encodeName(path("empty.jpg")).constData(), 1));
}

// IPTC records (an APP13 segment): FreeImage stores a record version (2:00)
// that is not two bytes long as a tag without a value and then copies it,
// which crashes the program. Such a file is refused before FreeImage reads
// it, whether or not the segment has Photoshop's header (FreeImage looks for
// the first record of the application record either way) and wherever the
// record stands. Other IPTC records are read as ever.
TEST_F(JpegReaderTest, IptcRecordVersionFreeImageCannotStoreIsRefused)
{
    auto photoshop = [](const QByteArray& records) {
        QByteArray resource("8BIM\x04\x04\x00\x00", 8);
        for (int s = 24; s >= 0; s -= 8)
            resource.append(char((records.size() >> s) & 0xFF));
        resource += records;
        if (records.size() & 1)
            resource.append('\0');
        return QByteArray("Photoshop 3.0\0", 14) + resource;
    };
    const QByteArray caption("\x1C\x02\x78\x00\x07" "Evening", 12);
    struct SCase {
        const char* name;
        QByteArray data;
        bool loadable;
    };
    const SCase cases[] = {
        {"iptc_caption.jpg", photoshop(caption), true},
        {"iptc_version2.jpg", photoshop(QByteArray("\x1C\x02\x00\x00\x02\x00\x04", 7) + caption), true},
        // A record running past the segment ends FreeImage's walk.
        {"iptc_version_cut.jpg", photoshop(caption + QByteArray("\x1C\x02\x00\x00\x40\x00\x04", 7)), true},
        {"iptc_version7.jpg", photoshop(QByteArray("\x1C\x02\x00\x00\x07" "ABCDEFG", 12) + caption), false},
        {"iptc_version1_bare.jpg", QByteArray("XY\x1C\x02\x00\x00\x01" "A", 8) + caption, false},
        {"iptc_version4_later.jpg", photoshop(caption + QByteArray("\x1C\x02\x00\x00\x04" "ABCD", 9)), false},
    };
    const SFile base = {"iptc_base.jpg", 64, 48, false, 90, 0, EJpegRead::Loaded};
    const QByteArray good = readFile(write(base));
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = good;
        const int length = int(c.data.size()) + 2;
        bytes.insert(2, QByteArray("\xFF\xED", 2) + char(length >> 8) + char(length & 0xFF) + c.data);
        const QString file = path(c.name);
        ASSERT_TRUE(writeFile(file, bytes));
        expectGuarded(file, c.loadable, FIMD_IPTC);
    }
}

// Frame headers declaring more pixels than the program takes, in the image
// or in a thumbnail: FreeImage's header load alone takes their memory (the
// coefficients of a progressive image, a thumbnail's bitmap, which it
// decodes with the header), gigabytes for a file of a few hundred bytes. The
// loader refuses such a file before FreeImage reads it.
TEST_F(JpegReaderTest, FramesDeclaringTooManyPixelsAreRefusedBeforeFreeImageReadsThem)
{
    // 24000 x 23000: 552,000,000 pixels, just over the limit (1 GB of
    // coefficients for the greyscale progressive image, 1.6 GB for an RGB
    // thumbnail).
    const int w = 24000, h = 23000;
    ASSERT_GT((unsigned long long)w * h, CLoadThread::kMaxPixels);
    const SFile progressive = {"grey_progressive.jpg", 31, 21, true, 90 | JPEG_PROGRESSIVE, 0, EJpegRead::Loaded};
    const QByteArray huge = withFrameSize(readFile(write(progressive)), w, h);
    const QByteArray thumbnail = withFrameSize(thumbnailJpeg(false), w, h);
    const SFile base = {"frame_base.jpg", 64, 48, false, 90, 0, EJpegRead::Loaded};
    const QByteArray good = readFile(write(base));
    // An EXIF thumbnail, and a JFXX thumbnail (an APP0 "JFXX" segment of
    // type 0x10 after the JFIF segment).
    FIBITMAP* b = photo(64, 48);
    ASSERT_TRUE(attachExifRaw(b, exifWithThumbnail(thumbnail, false)));
    ASSERT_TRUE(save(b, FIF_JPEG, path("exif_thumb.jpg"), 90));
    QByteArray jfxx = QByteArray("JFXX\0\x10", 6) + thumbnail;
    jfxx = QByteArray("\xFF\xE0", 2) + char((jfxx.size() + 2) >> 8) + char((jfxx.size() + 2) & 0xFF) + jfxx;
    const int jfif = 4 + (uchar(good[4]) << 8 | uchar(good[5]));
    ASSERT_TRUE(writeFile(path("jfxx_thumb.jpg"), good.left(jfif) + jfxx + good.mid(jfif)));
    ASSERT_TRUE(writeFile(path("huge_progressive.jpg"), huge));
    for (const char* name : {"huge_progressive.jpg", "exif_thumb.jpg", "jfxx_thumb.jpg"}) {
        SCOPED_TRACE(name);
        const QByteArray p = QFile::encodeName(path(name));
        CPeakMemory memory;
        EXPECT_FALSE(JpegSafeForFreeImage(p.constData(), CLoadThread::kMaxPixels));
        FIBITMAP* header = reinterpret_cast<FIBITMAP*>(1);
        EXPECT_FALSE(CLoadThread::SafeToLoad(p, FIF_JPEG, &header));
        EXPECT_EQ(header, nullptr);
        FIBITMAP* loaded = loadWithLoader(path(name));
        EXPECT_EQ(loaded, nullptr);
        CExposure meta;
        meta.SetFilePath(path(name));
        EXPECT_TRUE(meta.GetExif().isEmpty());
        EXPECT_LT(memory.GrowthMB(), 200) << "FreeImage read the file";
        CExposure e;
        EXPECT_FALSE(e.Load(path(name), loaded));
        EXPECT_TRUE(progress.HasMessage(QString(name) + ": Datei konnte nicht geladen werden.", 1, 2));
        // With a limit above the declared size the file would be given to
        // FreeImage.
        EXPECT_TRUE(JpegSafeForFreeImage(p.constData(), (unsigned long long)w * h));
    }
    // Thumbnails of a loadable size read as ever.
    const QByteArray fair = withFrameSize(thumbnailJpeg(false), 16, 12);
    QByteArray fairJfxx = QByteArray("JFXX\0\x10", 6) + fair;
    fairJfxx = QByteArray("\xFF\xE0", 2) + char((fairJfxx.size() + 2) >> 8) + char((fairJfxx.size() + 2) & 0xFF) +
               fairJfxx;
    ASSERT_TRUE(writeFile(path("jfxx_fair.jpg"), good.left(jfif) + fairJfxx + good.mid(jfif)));
    const QByteArray p = QFile::encodeName(path("jfxx_fair.jpg"));
    EXPECT_TRUE(JpegSafeForFreeImage(p.constData(), CLoadThread::kMaxPixels));
    EXPECT_FALSE(JpegSafeForFreeImage(p.constData(), 16 * 12 - 1));
    FIBITMAP* loaded = loadWithLoader(path("jfxx_fair.jpg"));
    FIBITMAP* expected = reference(path("jfxx_fair.jpg"));
    ASSERT_NE(expected, nullptr);
    EXPECT_NE(FreeImage_GetThumbnail(expected), nullptr);
    expectSameBitmap(loaded, expected);
    FreeImage_Unload(expected);
    if (loaded)
        FreeImage_Unload(loaded);
}

// A camera make and its maker note: an EXIF block (little-endian) whose
// first directory holds the make and points to the EXIF directory, which
// holds the maker note: a directory of one entry (tag, type, count) whose
// value, `bytes` long, follows it.
std::vector<uint8_t> exifWithMakerNote(const std::string& make, uint16_t tag, uint16_t type, uint32_t count,
                                       uint32_t bytes)
{
    std::vector<uint8_t> t = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto put16 = [&](uint32_t v) {
        t.push_back(uint8_t(v));
        t.push_back(uint8_t(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const uint32_t makeAt = 8 + 2 + 2 * 12 + 4;
    const uint32_t exif = makeAt + uint32_t(make.size() + 1 + 1) / 2 * 2;
    const uint32_t note = exif + 2 + 12 + 4;
    const uint32_t noteBytes = 2 + 12 + 4 + bytes;
    put16(2);
    put16(0x010F);
    put16(2);
    put32(uint32_t(make.size() + 1));
    put32(makeAt);
    put16(0x8769);
    put16(4);
    put32(1);
    put32(exif);
    put32(0);
    t.insert(t.end(), make.begin(), make.end());
    t.resize(exif, 0);
    put16(1);
    put16(0x927C);
    put16(7);
    put32(noteBytes);
    put32(note);
    put32(0);
    put16(1);
    put16(tag);
    put16(type);
    put32(count);
    put32(bytes > 4 ? note + 2 + 12 + 4 : 0x00010001u);
    put32(0);
    for (uint32_t i = 0; i < bytes; ++i)
        t.push_back(uint8_t(i * 13 + 1));
    std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), t.begin(), t.end());
    return block;
}

// A Canon maker note: FreeImage reads six of its tags (camera settings,
// focal length, shot info, ...) as arrays of 16-bit numbers, as many as the
// tag's count, whatever their type. Typed as cameras write them (16-bit
// numbers) they read as ever; with one-byte values FreeImage reads twice
// their length, with type 0 (no bytes) their count of numbers from nowhere
// (minutes of tags, then a crash): such a file is refused before FreeImage
// reads it. The same entries in another make's maker note are plain tags.
TEST_F(JpegReaderTest, CanonMakerNoteArraysFreeImageReadsOutsideAreRefused)
{
    struct SCase {
        const char* name;
        const char* make;
        uint16_t tag, type;
        uint32_t count, bytes;
        bool loadable;
    };
    const SCase cases[] = {
        {"canon_shorts.jpg", "Canon", 0x0001, 3, 20, 40, true},
        {"canon_other_tag.jpg", "Canon", 0x0003, 7, 20000, 20000, true},
        {"lumicam_bytes.jpg", "Lumicam", 0x0001, 7, 20000, 20000, true},
        {"canon_bytes.jpg", "Canon", 0x0001, 7, 20000, 20000, false},
        {"canon_ascii_upper.jpg", "CANON EOS", 0x0004, 2, 9000, 9000, false},
        {"canon_no_width.jpg", "Canon", 0x00E0, 0, 30000, 0, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        FIBITMAP* b = photo(64, 48);
        ASSERT_TRUE(attachExifRaw(b, exifWithMakerNote(c.make, c.tag, c.type, c.count, c.bytes)));
        const QString file = path(c.name);
        ASSERT_TRUE(save(b, FIF_JPEG, file, 90));
        expectGuarded(file, c.loadable, FIMD_EXIF_MAIN);
    }
}

} // namespace
