// Sample conversion buffers and the image mode decision.

#include "plugin/ConvertBuffer.h"
#include "plugin/Export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

template <typename Buffer, typename In>
std::vector<unsigned char> convert(EInputFormat format, unsigned planes, const std::vector<In>& input)
{
    auto buffer = std::make_unique<Buffer>();
    EXPECT_TRUE(buffer->Create(format, planes));
    const unsigned count = static_cast<unsigned>(input.size() / planes);
    EXPECT_TRUE(buffer->SetData(input.data(), static_cast<unsigned>(input.size() * sizeof(In)), count));
    EXPECT_TRUE(buffer->ConvertData(count));
    void* out = nullptr;
    unsigned bytes = 0;
    EXPECT_TRUE(buffer->GetData(&out, &bytes, count));
    const auto* p = static_cast<const unsigned char*>(out);
    return std::vector<unsigned char>(p, p + bytes);
}

unsigned bigEndianAt(const std::vector<unsigned char>& bytes, size_t sample)
{
    return static_cast<unsigned>(bytes[2 * sample] << 8 | bytes[2 * sample + 1]);
}

TEST(ConvertBufferTest, EightBitSamplesSpanTheFullRangeBigEndian)
{
    const std::vector<unsigned char> grey{0, 1, 128, 255};
    const auto out = convert<CConvertBuffer8>(eInputFormatGray, 1, grey);
    const std::vector<unsigned char> expected{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
                                              0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(out, expected);

    const auto single = convert<CConvertBuffer8>(eInputFormatGray, 1, std::vector<unsigned char>{200});
    EXPECT_EQ(single, std::vector<unsigned char>(6, 0xC8));
}

TEST(ConvertBufferTest, SixteenBitSamplesMapTheHostRange)
{
    const std::vector<unsigned short> input{0, 1, 2, 16384, 32767, 32768, 40000, 65535, 0};
    const auto out = convert<CConvertBuffer16>(eInputFormatRGB, 3, input);
    const unsigned expected[] = {0, 1, 3, 32767, 65533, 65535, 65535, 65535, 0};
    for (size_t i = 0; i < input.size(); ++i)
        EXPECT_EQ(bigEndianAt(out, i), expected[i]) << "input " << input[i];
    EXPECT_EQ(out[6], 0x7F);
    EXPECT_EQ(out[7], 0xFF);

    // Every input value: min(65535, floor(v * 65535 / 32768)).
    auto buffer = std::make_unique<CConvertBuffer16>();
    ASSERT_TRUE(buffer->Create(eInputFormatRGB, 3));
    std::vector<unsigned short> all(30000);
    for (unsigned start = 0; start < 65536; start += 30000) {
        const unsigned n = std::min(30000u, 65536u - start) / 3 * 3;
        for (unsigned i = 0; i < n; ++i)
            all[i] = static_cast<unsigned short>(start + i);
        const unsigned count = n / 3;
        ASSERT_TRUE(buffer->SetData(all.data(), n * 2, count));
        ASSERT_TRUE(buffer->ConvertData(count));
        void* out16 = nullptr;
        unsigned bytes = 0;
        ASSERT_TRUE(buffer->GetData(&out16, &bytes, count));
        const auto* b = static_cast<const unsigned char*>(out16);
        for (unsigned i = 0; i < n; ++i) {
            const unsigned long long v = start + i;
            const unsigned want = static_cast<unsigned>(std::min(65535ULL, v * 65535ULL / 32768ULL));
            ASSERT_EQ(static_cast<unsigned>(b[2 * i] << 8 | b[2 * i + 1]), want) << "input " << v;
        }
    }
}

TEST(ConvertBufferTest, FloatSamplesPassUnchangedLittleEndian)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> input{1.5f, -0.25f, 0.0f, 1e30f, nan, 0.5f};
    const auto out = convert<CConvertBuffer32>(eInputFormatRGB, 3, input);
    ASSERT_EQ(out.size(), input.size() * 4);
    EXPECT_EQ(std::memcmp(out.data(), input.data(), out.size()), 0);
    EXPECT_EQ(out[0], 0x00);
    EXPECT_EQ(out[3], 0x3F);  // 1.5 = 0x3FC00000, least significant byte first
}

TEST(ConvertBufferTest, ExtraPlanesAreDroppedAndGreyIsRepeated)
{
    const std::vector<unsigned char> rgba{10, 20, 30, 40, 1, 2, 3, 4};
    const auto out = convert<CConvertBuffer8>(eInputFormatRGB, 4, rgba);
    ASSERT_EQ(out.size(), 12u);
    const unsigned expected[] = {2570, 5140, 7710, 257, 514, 771};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(bigEndianAt(out, i), expected[i]);

    const std::vector<unsigned char> greyAlpha{200, 7, 100, 9};
    const auto grey = convert<CConvertBuffer8>(eInputFormatGray, 2, greyAlpha);
    const unsigned greyExpected[] = {51400, 51400, 51400, 25700, 25700, 25700};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(bigEndianAt(grey, i), greyExpected[i]);
}

TEST(ConvertBufferTest, ChunkSizeFollowsThePlaneCount)
{
    struct Case {
        unsigned planes;
        bool created;
        unsigned maxPixel;
    };
    const Case cases[] = {{1, true, 10000}, {2, true, 10000}, {3, true, 10000}, {4, true, 7500},
                          {5, true, 6000},  {7, true, 4285},  {30000, true, 1}, {30001, false, 0}};
    for (const Case& c : cases) {
        auto buffer = std::make_unique<CConvertBuffer16>();
        EXPECT_EQ(buffer->Create(eInputFormatRGB, c.planes), c.created) << c.planes;
        if (c.created)
            EXPECT_EQ(buffer->GetMaxPixel(), c.maxPixel) << c.planes;
        else
            EXPECT_THROW(buffer->GetMaxPixel(), EError);
    }
}

TEST(ConvertBufferTest, MisuseThrowsAndShortfallsAnswerFalse)
{
    auto buffer = std::make_unique<CConvertBuffer8>();
    const std::vector<unsigned char> data(40000, 1);
    void* out = nullptr;
    unsigned bytes = 0;
    // Not created yet.
    EXPECT_THROW(buffer->SetData(data.data(), 3, 1), EError);
    EXPECT_THROW(buffer->ConvertData(1), EError);
    EXPECT_THROW(buffer->GetData(&out, &bytes, 1), EError);
    EXPECT_THROW(buffer->Create(eInputFormatNone, 3), EError);
    EXPECT_THROW(buffer->Create(eInputFormatRGB, 0), EError);

    ASSERT_TRUE(buffer->Create(eInputFormatRGB, 4));
    EXPECT_FALSE(buffer->SetData(data.data(), 7500 * 4 - 1, 7500));  // one byte short
    EXPECT_TRUE(buffer->SetData(data.data(), 7500 * 4, 7500));
    EXPECT_THROW(buffer->SetData(data.data(), 40000, 7501), EError);  // one above the maximum
    EXPECT_THROW(buffer->SetData(nullptr, 4, 1), EError);
    EXPECT_THROW(buffer->SetData(data.data(), 0, 1), EError);
    EXPECT_THROW(buffer->SetData(data.data(), 4, 0), EError);
    EXPECT_THROW(buffer->GetData(nullptr, &bytes, 1), EError);
    EXPECT_THROW(buffer->GetData(&out, nullptr, 1), EError);

    auto odd = std::make_unique<CConvertBuffer8>();
    ASSERT_TRUE(odd->Create(static_cast<EInputFormat>(3), 3));
    EXPECT_FALSE(odd->ConvertData(1));
}

TEST(ExportModeTest, ModeTable)
{
    struct Case {
        int16 mode;
        int16 depth;
        int16 planes;
        unsigned input;
        unsigned exportMode;
        EInputFormat format;
    };
    const Case cases[] = {
        {plugInModeRGBColor, 8, 3, 1, 1, eInputFormatRGB},
        {plugInModeRGB48, 16, 3, 2, 1, eInputFormatRGB},
        {plugInModeRGB96, 32, 3, 3, 2, eInputFormatRGB},
        {plugInModeGrayScale, 8, 1, 4, 1, eInputFormatGray},
        {plugInModeGray16, 16, 1, 5, 1, eInputFormatGray},
        {plugInModeGray32, 32, 1, 6, 2, eInputFormatGray},
        {plugInModeRGBColor, 16, 3, 2, 1, eInputFormatRGB},  // kind from the mode, size from the depth
        {plugInModeRGB96, 8, 4, 1, 1, eInputFormatRGB},
        {plugInModeGray16, 16, 2, 5, 1, eInputFormatGray},
        {plugInModeRGBColor, 8, 2, 0, 0, eInputFormatNone},  // too few planes for RGB
        {plugInModeGrayScale, 8, 0, 0, 0, eInputFormatNone},
        {plugInModeRGBColor, 1, 3, 0, 0, eInputFormatNone},
        {plugInModeGrayScale, 12, 1, 0, 0, eInputFormatNone},
        {plugInModeBitmap, 1, 1, 0, 0, eInputFormatNone},
        {plugInModeIndexedColor, 8, 1, 0, 0, eInputFormatNone},
        {plugInModeCMYKColor, 8, 4, 0, 0, eInputFormatNone},
        {plugInModeLabColor, 8, 3, 0, 0, eInputFormatNone},
        {plugInModeLab48, 16, 3, 0, 0, eInputFormatNone},
        {plugInModeMultichannel, 8, 3, 0, 0, eInputFormatNone},
        {plugInModeDuotone, 8, 1, 0, 0, eInputFormatNone},
    };
    for (const Case& c : cases) {
        ExportRecord record{};
        record.imageMode = c.mode;
        record.depth = c.depth;
        record.planes = c.planes;
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " depth " << c.depth << " planes " << c.planes);
        EXPECT_EQ(_exp::GetInputMode(&record), c.input);
        EXPECT_EQ(_exp::GetExportMode(&record), c.exportMode);
        EXPECT_EQ(_exp::GetInputFormat(&record), c.format);
        std::unique_ptr<IConvertBuffer> buffer(_exp::CreateBuffer(&record));
        EXPECT_EQ(buffer != nullptr, c.input != 0);
    }
    EXPECT_THROW(_exp::GetInputMode(nullptr), EError);
}

TEST(ExportRegionTest, PixelCountOfARow)
{
    _exp::SExportRegion region;
    EXPECT_EQ(region.GetNumPixel(), 0u);
    _hlp::SetRect(region.rect, 10000, 20000, 4, 5);  // left, right, top, bottom
    EXPECT_EQ(region.rect.left, 10000);
    EXPECT_EQ(region.rect.top, 4);
    EXPECT_EQ(region.GetNumPixel(), 10000u);
    _hlp::SetRect(region.rect, 20, 10, 0, 1);
    EXPECT_EQ(region.GetNumPixel(), 0u);
    _hlp::SetRect(region.rect, -5, 10, 0, 1);
    EXPECT_EQ(region.GetNumPixel(), 0u);
}

} // namespace
