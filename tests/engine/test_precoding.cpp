#include "enginefixture.h"

#include <atomic>
#include <cstring>
#include <cstdlib>
#include <thread>

namespace {

size_t px(int w, int x, int y) { return (static_cast<size_t>(y) * w + x) * 3; }

std::vector<uint16_t> noise(int w, int h, uint32_t seed)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (auto& v : img) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<uint16_t>(seed >> 16);
    }
    return img;
}

// Decoded samples of the steep ramps below stay this close to the originals.
constexpr int kRampError = 40;

// A smooth picture: ramps in every channel.
std::vector<uint16_t> gradient(int w, int h)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            img[px(w, x, y)] = static_cast<uint16_t>(1000 + 300 * x + 7 * y);
            img[px(w, x, y) + 1] = static_cast<uint16_t>(40000 - 250 * y);
            img[px(w, x, y) + 2] = static_cast<uint16_t>(20000 + 50 * x * y);
        }
    }
    return img;
}

std::vector<uint16_t> roundTrip(std::vector<uint16_t> img, int w, int h, int flags)
{
    EXPECT_EQ(MP_UI_ConvertToCompress(img.data(), w, h, flags), 0);
    EXPECT_EQ(MP_UI_ConvertFromCompress(img.data(), w, h, flags), 0);
    return img;
}

// The row-delta step keeps the first sample of each row and channel and
// gives every later one the lowest bit of that first sample.
std::vector<uint16_t> withRowLowBit(std::vector<uint16_t> img, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        for (int x = 1; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                uint16_t& v = img[px(w, x, y) + c];
                v = static_cast<uint16_t>((v & ~1u) | (img[px(w, 0, y) + c] & 1u));
            }
        }
    }
    return img;
}

class Precoding : public EngineTest {};

TEST_F(Precoding, ZigZagDctOfAFlatBlockCodesItsDcAndDecodesOneLower)
{
    const int w = 16, h = 16;
    auto img = solidImage(w, h, 1000, 1000, 1000);
    ASSERT_EQ(MP_UI_ConvertToCompress(img.data(), w, h, MP_PRECODE_DCTZIGZAG), 0);
    for (int p = 0; p < 3; ++p) {
        const uint16_t* stream = img.data() + p * w * h;
        for (int i = 0; i < w * h; ++i)
            ASSERT_EQ(stream[i], i < 4 ? 32892 : 32767) << "plane " << p << " value " << i;
    }
    ASSERT_EQ(MP_UI_ConvertFromCompress(img.data(), w, h, MP_PRECODE_DCTZIGZAG), 0);
    EXPECT_EQ(img, solidImage(w, h, 999, 999, 999));
}

TEST_F(Precoding, WhiteBlockKeepsWhite)
{
    auto img = solidImage(8, 8, 65535, 65535, 65535);
    ASSERT_EQ(MP_UI_ConvertToCompress(img.data(), 8, 8, MP_PRECODE_DCTZIGZAG), 0);
    EXPECT_EQ(img[0], 40959);
    EXPECT_EQ(img[64], 40959);
    EXPECT_EQ(img[128], 40959);
    ASSERT_EQ(MP_UI_ConvertFromCompress(img.data(), 8, 8, MP_PRECODE_DCTZIGZAG), 0);
    EXPECT_EQ(img, solidImage(8, 8, 65535, 65535, 65535));
}

TEST_F(Precoding, FlatBlockDcCodeIsTheValueOverEightRounded)
{
    for (uint16_t v : {0, 4, 12, 1000, 30001, 65535}) {
        std::vector<uint16_t> plane(64, v), codes(64);
        Dct(plane.data(), codes.data(), 8, 8);
        EXPECT_EQ(codes[0], 32767 + static_cast<int>(std::floor(v / 8.0 + 0.5))) << v;
        for (int i = 1; i < 64; ++i)
            ASSERT_EQ(codes[i], 32767) << v;
    }
}

// The codes are the orthonormal 2-D DCT-II of the block divided by 64, rounded,
// plus 32767 (within one unit: the first pass uses a truncated integer cosine
// table); decoding truncates, which biases the samples by about -0.5.
TEST_F(Precoding, DctCodesAreTheOrthonormalTransformOverSixtyFour)
{
    const int w = 64, h = 64;
    std::vector<uint16_t> plane(static_cast<size_t>(w) * h);
    uint32_t seed = 5;
    for (auto& v : plane) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<uint16_t>(seed >> 16);
    }
    std::vector<uint16_t> codes(plane.size());
    Dct(plane.data(), codes.data(), w, h);
    const double pi = std::acos(-1.0);
    auto alpha = [](int k) { return k == 0 ? std::sqrt(1.0 / 8) : std::sqrt(2.0 / 8); };
    for (int by = 0; by < h; by += 8) {
        for (int bx = 0; bx < w; bx += 8) {
            for (int v = 0; v < 8; ++v) {
                for (int u = 0; u < 8; ++u) {
                    double c = 0;
                    for (int y = 0; y < 8; ++y)
                        for (int x = 0; x < 8; ++x)
                            c += plane[static_cast<size_t>(by + y) * w + bx + x] *
                                 std::cos((2 * x + 1) * u * pi / 16) * std::cos((2 * y + 1) * v * pi / 16);
                    c *= alpha(u) * alpha(v) / 64;
                    const int code = codes[static_cast<size_t>(by + v) * w + bx + u];
                    ASSERT_NEAR(code - 32767, c, 1.0) << bx << "," << by << " (" << v << "," << u << ")";
                }
            }
        }
    }
    std::vector<uint16_t> back(plane.size());
    IDct(codes.data(), back.data(), w, h);
    double bias = 0;
    for (size_t i = 0; i < plane.size(); ++i)
        bias += int(back[i]) - int(plane[i]);
    bias /= static_cast<double>(plane.size());
    EXPECT_GT(bias, -1.0);
    EXPECT_LT(bias, -0.2);
}

// One block at a time, lane by lane, in the documented order of operations:
// the tables from a_k = ((u m) pi) / 16, the forward second pass summed over
// y = 0..7, the DC row and then the DC column scaled by s; the inverse with the
// u = 0 term apart and the v = 0, 1 terms first.
struct ScalarDct {
    int T[106];
    float F[106], G[106];
    static constexpr float s = 0.70710677f;
    ScalarDct()
    {
        for (int k = 0; k < 106; ++k) {
            const float a = (static_cast<float>(k) * 3.1415927f) * 0.0625f;
            const float c = std::cos(a);
            T[k] = static_cast<int>(2048.0f * c);
            F[k] = ((c * 0.25f) * 0.015625f) * 0.00048828125f;
            G[k] = ((c * 0.00048828125f) * 0.25f) * 64.0f;
        }
        G[0] = (1.0f / 128.0f) * 0.70710677f;
    }
    void forward(const uint16_t f[8][8], uint16_t out[8][8]) const
    {
        float t[8][8]; // t[u][y]
        for (int u = 0; u < 8; ++u)
            for (int y = 0; y < 8; ++y) {
                int sum = 0;
                for (int x : {1, 0, 3, 2, 5, 4, 7, 6})
                    sum += f[y][x] * T[u * (2 * x + 1)];
                t[u][y] = static_cast<float>(sum);
            }
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) {
                float C = 0.0f;
                for (int y = 0; y < 8; ++y)
                    C += F[v * (2 * y + 1)] * t[u][y];
                if (v == 0)
                    C *= s;
                if (u == 0)
                    C *= s;
                out[v][u] = C < -32767.0f ? 0 : (C > 32767.0f ? 65534 : static_cast<uint16_t>(C + 32767.5f));
            }
    }
    void inverse(const uint16_t c[8][8], uint16_t out[8][8]) const
    {
        float t[8][8]; // t[x][v]
        for (int x = 0; x < 8; ++x)
            for (int v = 0; v < 8; ++v) {
                int sum = 0;
                for (int u : {2, 1, 4, 3, 6, 5, 7})
                    sum += (c[v][u] - 32767) * T[u * (2 * x + 1)];
                t[x][v] = s * static_cast<float>((c[v][0] - 32767) * 2048) + static_cast<float>(sum);
            }
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                float f = t[x][1] * G[2 * y + 1] + G[0] * t[x][0];
                for (int v = 2; v < 8; ++v)
                    f = f + t[x][v] * G[v * (2 * y + 1)];
                out[y][x] = f < 0.0f ? 0 : (f > 65535.0f ? 65535 : static_cast<uint16_t>(f));
            }
    }
};

TEST_F(Precoding, BlockTransformsFollowTheSinglePrecisionRecipe)
{
    const ScalarDct ref;
    uint32_t seed = 77;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 16;
    };
    for (int round = 0; round < 300; ++round) {
        uint16_t block[8][8], expected[8][8], codes[8][8], back[8][8];
        const int kind = round % 3; // noise, smooth, codes of extreme size
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                block[y][x] = static_cast<uint16_t>(kind == 1 ? (next() % 4000) + 500 * x + 300 * y : next());
        Dct(&block[0][0], &codes[0][0], 8, 8);
        ref.forward(block, expected);
        ASSERT_EQ(0, std::memcmp(codes, expected, sizeof(codes))) << round;
        if (kind == 2) // arbitrary codes, far outside what the forward transform makes
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    codes[y][x] = static_cast<uint16_t>(next());
        IDct(&codes[0][0], &back[0][0], 8, 8);
        ref.inverse(codes, expected);
        ASSERT_EQ(0, std::memcmp(back, expected, sizeof(back))) << round;
    }
}

TEST_F(Precoding, DctTouchesOnlyFullBlocksAndInvertsClosely)
{
    const int w = 19, h = 17; // two by two full blocks and margins
    std::vector<uint16_t> plane(static_cast<size_t>(w) * h);
    uint32_t seed = 99;
    for (auto& v : plane) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<uint16_t>(seed >> 16);
    }
    std::vector<uint16_t> codes(plane.size(), 0xABCD);
    Dct(plane.data(), codes.data(), w, h);
    std::vector<uint16_t> back(plane.size(), 0x1234);
    IDct(codes.data(), back.data(), w, h);
    int worst = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            if (x >= 16 || y >= 16) {
                ASSERT_EQ(codes[i], 0xABCD);
                ASSERT_EQ(back[i], 0x1234);
            } else {
                worst = std::max(worst, std::abs(static_cast<int>(back[i]) - plane[i]));
            }
        }
    }
    EXPECT_LE(worst, 90); // noise decodes within a few dozen units
    EXPECT_GT(worst, 0);

    // In place gives the same codes.
    std::vector<uint16_t> inPlace = plane;
    Dct(inPlace.data(), inPlace.data(), w, h);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(inPlace[static_cast<size_t>(y) * w + x], codes[static_cast<size_t>(y) * w + x]);
}

TEST_F(Precoding, ZigZagLayoutOfATwelveByTenImage)
{
    const int w = 12, h = 10;
    auto img = gradient(w, h);
    const auto original = img;
    ASSERT_EQ(MP_UI_ConvertToCompress(img.data(), w, h, MP_PRECODE_DCTZIGZAG), 0);
    for (int p = 0; p < 3; ++p) {
        const uint16_t* stream = img.data() + p * w * h;
        // 64 coefficients of the one full block, then 8 rows x 4 margin samples,
        // then the 2 rows below the block with all 12 samples.
        size_t k = 64;
        for (int y = 0; y < 8; ++y)
            for (int x = 8; x < 12; ++x)
                ASSERT_EQ(stream[k++], original[px(w, x, y) + p]) << p << " " << x << " " << y;
        for (int y = 8; y < 10; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(stream[k++], original[px(w, x, y) + p]);
        ASSERT_EQ(k, 120u);
    }
    ASSERT_EQ(MP_UI_ConvertFromCompress(img.data(), w, h, MP_PRECODE_DCTZIGZAG), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int a = img[px(w, x, y) + c], b = original[px(w, x, y) + c];
                if (x >= 8 || y >= 8)
                    ASSERT_EQ(a, b); // margins decode exactly
                else
                    ASSERT_LE(std::abs(a - b), kRampError);
            }
        }
    }
}

TEST_F(Precoding, ZigZagStreamGroupsCoefficientsOfEveryBlockByFrequency)
{
    // Two block rows by three block columns, each block flat with its own value:
    // the first six values of a stream are the six DC codes in block order.
    const int w = 24, h = 16;
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                img[px(w, x, y) + c] = static_cast<uint16_t>(800 * (1 + (y / 8) * 3 + x / 8) + 8 * c);
    ASSERT_EQ(MP_UI_ConvertToCompress(img.data(), w, h, MP_PRECODE_DCTZIGZAG), 0);
    for (int c = 0; c < 3; ++c) {
        for (int b = 0; b < 6; ++b)
            EXPECT_EQ(img[c * w * h + b], 32767 + 100 * (1 + b) + c);
        for (int i = 6; i < w * h; ++i)
            ASSERT_EQ(img[c * w * h + i], 32767);
    }
}

TEST_F(Precoding, PlanarDctLeavesMarginsInPlace)
{
    const int w = 10, h = 9;
    auto img = gradient(w, h);
    const auto original = img;
    ASSERT_EQ(MP_UI_ConvertToCompress(img.data(), w, h, MP_PRECODE_DCT), 0);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (x >= 8 || y >= 8) {
                    ASSERT_EQ(img[p * w * h + y * w + x], original[px(w, x, y) + p]);
                }
    ASSERT_EQ(MP_UI_ConvertFromCompress(img.data(), w, h, MP_PRECODE_DCT), 0);
    for (size_t i = 0; i < img.size(); ++i)
        ASSERT_LE(std::abs(int(img[i]) - int(original[i])), kRampError) << i;
}

TEST_F(Precoding, BytePlanesRoundTripBitExact)
{
    const int w = 13, h = 6;
    auto img = noise(w, h, 7);
    const auto original = img;
    ASSERT_EQ(MP_UI_ConvertToCompress(img.data(), w, h, MP_PRECODE_BYTEPLANES), 0);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(img.data());
    const size_t n = static_cast<size_t>(w) * h;
    for (size_t i = 0; i < n; ++i) {
        ASSERT_EQ(bytes[i], original[3 * i] & 0xFF);          // R low
        ASSERT_EQ(bytes[n + i], original[3 * i + 1] & 0xFF);  // G low
        ASSERT_EQ(bytes[5 * n + i], original[3 * i + 2] >> 8); // B high
    }
    ASSERT_EQ(MP_UI_ConvertFromCompress(img.data(), w, h, MP_PRECODE_BYTEPLANES), 0);
    EXPECT_EQ(img, original);
}

TEST_F(Precoding, RowDeltasStoreHalvedDifferences)
{
    std::vector<uint16_t> row = {10, 65535, 7, 13, 0, 8, 6, 3, 9};
    ASSERT_EQ(MP_UI_ConvertToCompress(row.data(), 3, 1, MP_PRECODE_ROWDELTA), 0);
    // R 10, 13, 6 -> halves 5, 6, 3; G 65535, 0, 3 -> 32767, 0, 1; B 7, 8, 9 -> 3, 4, 4
    const std::vector<uint16_t> expected = {10, 65535, 7, 0x8000 + 1, 0x8000 - 32767, 0x8000 + 1,
                                            0x8000 - 3, 0x8000 + 1, 0x8000 + 0};
    EXPECT_EQ(row, expected);

    const int w = 9, h = 4;
    auto img = noise(w, h, 3);
    EXPECT_EQ(roundTrip(img, w, h, MP_PRECODE_ROWDELTA | MP_PRECODE_BYTEPLANES), withRowLowBit(img, w, h));
    auto column = noise(1, 5, 4); // rows of one pixel stay as they are
    EXPECT_EQ(roundTrip(column, 1, 5, MP_PRECODE_ROWDELTA), column);
}

// Below 8 pixels on a side there are no full blocks: apart from the lowest
// bits of the row deltas, every combination of steps restores the buffer.
TEST_F(Precoding, EveryFlagCombinationRestoresSmallImages)
{
    for (auto [w, h] : {std::pair{7, 5}, std::pair{12, 3}, std::pair{2, 20}}) {
        const auto img = noise(w, h, static_cast<uint32_t>(w * 100 + h));
        for (int flags = 0; flags < 16; ++flags) {
            const auto expected = (flags & MP_PRECODE_ROWDELTA) ? withRowLowBit(img, w, h) : img;
            EXPECT_EQ(roundTrip(img, w, h, flags), expected) << w << "x" << h << " flags " << flags;
        }
    }
    // ... and the DCT steps then write three raw planes.
    const auto img = noise(5, 12, 1);
    auto planes = img;
    ASSERT_EQ(MP_UI_ConvertToCompress(planes.data(), 5, 12, MP_PRECODE_DCTZIGZAG), 0);
    for (int i = 0; i < 60; ++i)
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(planes[c * 60 + i], img[3 * i + c]);
}

TEST_F(Precoding, DctStepsStayCloseOnSmoothImages)
{
    const int w = 21, h = 18;
    const auto img = gradient(w, h);
    for (int flags : {MP_PRECODE_DCT, MP_PRECODE_DCTZIGZAG}) {
        const auto back = roundTrip(img, w, h, flags);
        for (size_t i = 0; i < img.size(); ++i)
            ASSERT_LE(std::abs(int(back[i]) - int(img[i])), kRampError) << flags;
    }
    // The zig-zag regrouping only reorders: both DCT steps decode alike.
    EXPECT_EQ(roundTrip(img, w, h, MP_PRECODE_DCT), roundTrip(img, w, h, MP_PRECODE_DCTZIGZAG));
    EXPECT_EQ(roundTrip(img, w, h, 0), img);
}

TEST_F(Precoding, InvalidInputIsRefused)
{
    std::vector<uint16_t> img(12, 5);
    EXPECT_EQ(MP_UI_ConvertToCompress(nullptr, 2, 2, 8), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_ConvertFromCompress(nullptr, 2, 2, 8), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_ConvertToCompress(img.data(), 0, 2, 15), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_ConvertFromCompress(img.data(), 2, -1, 15), MP_ERR_INPUT);
    EXPECT_EQ(img, std::vector<uint16_t>(12, 5));
}

std::atomic<int> g_allocations{0};
void* failingAlloc(size_t) { return nullptr; }
void* countingAlloc(size_t bytes)
{
    ++g_allocations;
    return std::malloc(bytes);
}

TEST_F(Precoding, WithoutScratchNothingIsWrittenAndTheCallFails)
{
    const int w = 16, h = 9;
    const auto img = noise(w, h, 11);
    MP_SetPrecodingScratchAllocator(failingAlloc);
    for (int flags = 1; flags < 16; ++flags) {
        auto buf = img;
        if (flags == MP_PRECODE_ROWDELTA) {
            // The row deltas alone need no scratch block.
            EXPECT_EQ(MP_UI_ConvertToCompress(buf.data(), w, h, flags), 0);
            continue;
        }
        EXPECT_EQ(MP_UI_ConvertToCompress(buf.data(), w, h, flags), MP_ERR_NOMEMORY) << flags;
        EXPECT_EQ(buf, img) << flags;
        EXPECT_EQ(MP_UI_ConvertFromCompress(buf.data(), w, h, flags), MP_ERR_NOMEMORY) << flags;
        EXPECT_EQ(buf, img) << flags;
    }

    // One scratch block per call, whatever the steps.
    MP_SetPrecodingScratchAllocator(countingAlloc);
    auto buf = img;
    g_allocations = 0;
    EXPECT_EQ(MP_UI_ConvertToCompress(buf.data(), w, h, 15), 0);
    EXPECT_EQ(MP_UI_ConvertFromCompress(buf.data(), w, h, 15), 0);
    EXPECT_EQ(g_allocations.load(), 2);
}

TEST_F(Precoding, WorkerJobsMayPrecodeAtTheSameTime)
{
    const int w = 40, h = 24;
    std::vector<std::vector<uint16_t>> inputs, expected;
    for (int i = 0; i < 6; ++i) {
        inputs.push_back(noise(w, h, 100 + i));
        auto e = inputs.back();
        MP_UI_ConvertToCompress(e.data(), w, h, 8 + (i % 2) * 3);
        expected.push_back(e);
    }
    std::vector<std::vector<uint16_t>> results(inputs.size());
    std::vector<std::thread> jobs;
    for (size_t i = 0; i < inputs.size(); ++i) {
        jobs.emplace_back([&, i] {
            for (int round = 0; round < 20; ++round) {
                auto b = inputs[i];
                MP_UI_ConvertToCompress(b.data(), w, h, 8 + (i % 2) * 3);
                results[i] = b;
            }
        });
    }
    for (auto& j : jobs)
        j.join();
    for (size_t i = 0; i < inputs.size(); ++i)
        EXPECT_EQ(results[i], expected[i]) << i;
}

// The kept scratch blocks: jobs of different sizes at once, each taking a
// block that may be too small (replaced by a larger one) or larger than it
// needs, give the bytes of a fresh block every time, also after a release.
TEST_F(Precoding, KeptScratchBlocksOfEverySizeGiveTheSameBytes)
{
    const int sizes[][2] = {{40, 24}, {9, 17}, {64, 64}, {33, 8}};
    std::vector<std::vector<uint16_t>> inputs, expected;
    for (int i = 0; i < 4; ++i) {
        inputs.push_back(noise(sizes[i][0], sizes[i][1], 300 + i));
        expected.push_back(inputs.back());
        ASSERT_EQ(MP_UI_ConvertToCompress(expected.back().data(), sizes[i][0], sizes[i][1], 15), 0);
    }
    for (int cycle = 0; cycle < 2; ++cycle) {
        std::vector<int> wrong(inputs.size(), 0);
        std::vector<std::thread> jobs;
        for (size_t i = 0; i < inputs.size(); ++i) {
            jobs.emplace_back([&, i] {
                for (int round = 0; round < 15; ++round) {
                    // every job also runs the other sizes, so blocks change hands
                    const size_t k = (i + static_cast<size_t>(round)) % inputs.size();
                    auto b = inputs[k];
                    MP_UI_ConvertToCompress(b.data(), sizes[k][0], sizes[k][1], 15);
                    wrong[i] += b != expected[k];
                    MP_UI_ConvertFromCompress(b.data(), sizes[k][0], sizes[k][1], 1);
                }
            });
        }
        for (auto& j : jobs)
            j.join();
        for (size_t i = 0; i < inputs.size(); ++i)
            EXPECT_EQ(wrong[i], 0) << i;
        MP_ReleasePrecodingScratch();
    }
}

} // namespace
