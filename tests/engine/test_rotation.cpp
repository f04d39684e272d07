#include "enginefixture.h"

#include <cstdlib>

namespace {

using Image = std::vector<uint16_t>;

uint16_t at(const Image& img, int w, int x, int y, int ch) { return img[(size_t(y) * w + x) * 3 + ch]; }

// A smooth picture: red rises along x, green along y, blue is flat.
Image gradient(int w, int h)
{
    Image img(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* p = &img[(size_t(y) * w + x) * 3];
            p[0] = uint16_t(1000 + 1000 * x);
            p[1] = uint16_t(2000 + 1500 * y);
            p[2] = 40000;
        }
    return img;
}

// A square picture with one colour per quadrant (red only), split at the centre.
constexpr uint16_t kTopLeft = 10000, kTopRight = 20000, kBottomLeft = 30000, kBottomRight = 40000;
Image quadrants(int n)
{
    Image img(size_t(n) * n * 3);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const bool right = x >= n / 2, bottom = y >= n / 2;
            img[(size_t(y) * n + x) * 3] = bottom ? (right ? kBottomRight : kBottomLeft) : (right ? kTopRight : kTopLeft);
        }
    return img;
}

using Rotation = EngineTest;

TEST_F(Rotation, HalfAngleGivesTheInputBack)
{
    // a = 0.5 is no turn; the 0.9995 scale and the bilinear resampling move
    // a smooth picture by a few units at most, a flat one not at all.
    const int w = 24, h = 18;
    for (int seamless : {0, 1}) {
        const Image src = gradient(w, h);
        Image dst(src.size(), 1);
        ASSERT_EQ(MP_UI_RotateBuffer(w, h, src.data(), dst.data(), seamless, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), 0);
        for (size_t i = 0; i < src.size(); ++i)
            EXPECT_NEAR(dst[i], src[i], 12) << i << " seamless " << seamless;

        const Image flat = solidImage(w, h, 1000, 30000, 65535);
        ASSERT_EQ(MP_UI_RotateBuffer(w, h, flat.data(), dst.data(), seamless, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), 0);
        EXPECT_EQ(dst, flat) << "seamless " << seamless;
    }
}

TEST_F(Rotation, QuarterTurnTakesEachPointFromNinetyDegreesFurther)
{
    // a = 0.75: the point at angle phi takes its colour from phi + 90 degrees
    // (y pointing down), so each quadrant shows the next one clockwise.
    const int n = 20;
    const Image src = quadrants(n);
    Image dst(src.size());
    ASSERT_EQ(MP_UI_RotateBuffer(n, n, src.data(), dst.data(), 0, 0.75f, 0.5f, 0.0f, 0.5f, 0.5f), 0);
    EXPECT_EQ(at(dst, n, 15, 5, 0), kBottomRight);
    EXPECT_EQ(at(dst, n, 15, 15, 0), kBottomLeft);
    EXPECT_EQ(at(dst, n, 5, 15, 0), kTopLeft);
    EXPECT_EQ(at(dst, n, 5, 5, 0), kTopRight);
}

TEST_F(Rotation, TwistTurnsOuterRingsFurther)
{
    // t = 0 adds 0.005 radians per pixel of distance: 35 pixels out the turn
    // is 0.175 radians and crosses the quadrant border, 3 pixels out it does not.
    const int n = 80;
    const Image src = quadrants(n);
    Image dst(src.size());
    ASSERT_EQ(MP_UI_RotateBuffer(n, n, src.data(), dst.data(), 0, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), 0);
    EXPECT_EQ(at(dst, n, 75, 38, 0), kTopRight);
    EXPECT_EQ(at(dst, n, 41, 37, 0), kTopRight);
    ASSERT_EQ(MP_UI_RotateBuffer(n, n, src.data(), dst.data(), 0, 0.5f, 0.0f, 0.0f, 0.5f, 0.5f), 0);
    EXPECT_EQ(at(dst, n, 75, 38, 0), kBottomRight);
    EXPECT_EQ(at(dst, n, 41, 37, 0), kTopRight);
}

TEST_F(Rotation, ShrunkPictureLeavesBlackCornersUnlessSeamless)
{
    // z = -0.5 halves the picture: the corners sample outside the source.
    const int w = 20, h = 16;
    const Image flat = solidImage(w, h, 1000, 30000, 65535);
    Image dst(flat.size(), 7);
    ASSERT_EQ(MP_UI_RotateBuffer(w, h, flat.data(), dst.data(), 0, 0.5f, 0.5f, -0.5f, 0.5f, 0.5f), 0);
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(at(dst, w, 0, 0, ch), 0);
        EXPECT_EQ(at(dst, w, w - 1, h - 1, ch), 0);
    }
    EXPECT_EQ(at(dst, w, w / 2, h / 2, 1), 30000);
    ASSERT_EQ(MP_UI_RotateBuffer(w, h, flat.data(), dst.data(), 1, 0.5f, 0.5f, -0.5f, 0.5f, 0.5f), 0);
    EXPECT_EQ(dst, flat);
}

TEST_F(Rotation, SameBufferAndThreadCountGiveTheSameResult)
{
    const int w = 31, h = 23;
    const Image src = gradient(w, h);
    for (int seamless : {0, 1}) {
        Image separate(src.size());
        ASSERT_EQ(MP_UI_RotateBuffer(w, h, src.data(), separate.data(), seamless, 0.3f, 0.2f, 0.1f, 0.4f, 0.6f), 0);
        Image inPlace = src;
        ASSERT_EQ(MP_UI_RotateBuffer(w, h, inPlace.data(), inPlace.data(), seamless, 0.3f, 0.2f, 0.1f, 0.4f, 0.6f), 0);
        EXPECT_EQ(inPlace, separate) << "seamless " << seamless;

        for (int threads : {1, 3, 7}) {
            MP_UI_SetIdealThreadCount(threads);
            Image other(src.size());
            ASSERT_EQ(MP_UI_RotateBuffer(w, h, src.data(), other.data(), seamless, 0.3f, 0.2f, 0.1f, 0.4f, 0.6f), 0);
            EXPECT_EQ(other, separate) << threads << " threads, seamless " << seamless;
        }
        MP_UI_SetIdealThreadCount(kThreads);
    }
}

TEST_F(Rotation, SineTableOfThePrepass)
{
    const Image src = solidImage(2, 2, 1, 2, 3);
    Image dst(src.size());
    ASSERT_EQ(MP_UI_RotateBuffer(2, 2, src.data(), dst.data(), 0, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), 0);
    EXPECT_EQ(MP_temp_table[0], 0.0f);
    EXPECT_NEAR(MP_temp_table[16384], 1.0f, 1e-6f);
    EXPECT_NEAR(MP_temp_table[49152], -1.0f, 1e-6f);
    EXPECT_EQ(MP_temp_table[12345], MP_sin(((12345.0f * 1.5259022e-05f) * 2.0f) * 3.1415927f));
}

TEST_F(Rotation, FailuresLeaveTheDestinationAlone)
{
    const int w = 6, h = 5;
    const Image src = gradient(w, h);
    const Image before = solidImage(w, h, 11, 22, 33);
    Image dst = before;

    MP_rotationTestFailAllocation(true);
    EXPECT_EQ(MP_UI_RotateBuffer(w, h, src.data(), dst.data(), 0, 0.6f, 0.5f, 0.0f, 0.5f, 0.5f), -1);
    EXPECT_EQ(dst, before);
    MP_rotationTestFailAllocation(false);

    // A cancel request drops the band tasks: nothing half-done reaches dst.
    MP_UI_SetIsCalculatingCancelRequest(1);
    EXPECT_EQ(MP_UI_RotateBuffer(w, h, src.data(), dst.data(), 1, 0.6f, 0.5f, 0.0f, 0.5f, 0.5f), 0);
    EXPECT_EQ(dst, before);
    MP_UI_SetIsCalculatingCancelRequest(0);

    EXPECT_EQ(MP_UI_RotateBuffer(w, h, nullptr, dst.data(), 0, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), -2);
    EXPECT_EQ(MP_UI_RotateBuffer(w, h, src.data(), nullptr, 0, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), -2);
    EXPECT_EQ(MP_UI_RotateBuffer(-1, h, src.data(), dst.data(), 0, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), -2);
    EXPECT_EQ(MP_UI_RotateBuffer(0, h, src.data(), dst.data(), 0, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f), 0);
    EXPECT_EQ(dst, before);

    // A zoom of -1 divides by zero; the result is still a picture.
    EXPECT_EQ(MP_UI_RotateBuffer(w, h, src.data(), dst.data(), 1, 0.5f, 0.5f, -1.0f, 0.5f, 0.5f), 0);
    EXPECT_EQ(MP_UI_RotateBuffer(w, h, src.data(), dst.data(), 0, 0.5f, 0.5f, -1.0f, 0.5f, 0.5f), 0);
}

} // namespace
