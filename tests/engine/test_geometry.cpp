#include "enginefixture.h"

#include "engine/filters/filterframe.h"

#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr int kSlot = 3;

enum { DIR, SIZEH, SIZEV, SHARP, EXPO, INTENS, CX, CY };

struct GeoSet {
    float direction, sizeh, sizev, sharpness, exponent, intensity, centerx, centery;
};

class GeometryTest : public EngineTest {
protected:
    static std::unique_ptr<MP_Params> block()
    {
        auto p = std::make_unique<MP_Params>();
        std::memset(p.get(), 0, sizeof(MP_Params));
        return p;
    }
    static void put(MP_Params& p, int i, const GeoSet& s, int slot = kSlot)
    {
        float* v = &p.p[slot][i * 8];
        v[DIR] = s.direction;
        v[SIZEH] = s.sizeh;
        v[SIZEV] = s.sizev;
        v[SHARP] = s.sharpness;
        v[EXPO] = s.exponent;
        v[INTENS] = s.intensity;
        v[CX] = s.centerx;
        v[CY] = s.centery;
    }
    static float opacity(const MP_Params& p, int x, int y, int w, int h)
    {
        return MP_calcGeometryMethodOpacity(x, y, w, h, kSlot, &p);
    }
    // Sets of every shape and direction from a fixed random sequence: additive,
    // subtractive and active-in-no-list ones, every exponent and sharpness from
    // diamond to rectangle, soft to hard, intensities 0 .. 1.5, sizes from a
    // sliver to the whole image, centres inside, on the edges and beyond them.
    static void putRandomSets(MP_Params& p, int count, unsigned seed, float directions)
    {
        auto next = [&seed]() {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<float>(seed >> 8) / 16777216.0f;
        };
        for (int i = 0; i < count; ++i) {
            const float d = next() * directions;
            GeoSet s{};
            s.direction = d < 1.0f ? 1.0f : (d < 2.0f ? 2.0f : 3.0f);
            s.sizeh = next() * next();
            s.sizev = next() * next();
            s.sharpness = i % 5 == 0 ? 0.0f : (i % 5 == 1 ? 1.0f : next());
            s.exponent = i % 4 == 0 ? 0.0f : (i % 4 == 1 ? 1.0f : next());
            s.intensity = i % 7 == 0 ? 0.0f : next() * 1.5f;
            s.centerx = next() * 1.4f - 0.2f;
            s.centery = next() * 1.4f - 0.2f;
            put(p, i, s);
        }
    }
    static std::vector<float> opacityMap(const MP_Params& p, int w, int h)
    {
        std::vector<float> m;
        m.reserve(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                m.push_back(opacity(p, x, y, w, h));
        return m;
    }
};

TEST_F(GeometryTest, NormalisesActiveSetsInPlace)
{
    auto p = block();
    put(*p, 0, {1, 0.0f, 0.5f, 0.0f, 0.0f, 0.6f, 0.25f, 0.5f});
    put(*p, 1, {0, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f}); // off: untouched
    put(*p, 2, {2, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f});
    put(*p, 3, {1, 0.2f, 0.2f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(200, 100, kSlot, p.get()), 0);

    const float* s0 = &p->p[kSlot][0];
    EXPECT_FLOAT_EQ(s0[SIZEH], 1.0f / (0.001f * 200.0f)); // a size of 0 is 0.1 % of the side
    EXPECT_FLOAT_EQ(s0[SIZEV], 1.0f / ((0.999f * 0.5f + 0.001f) * 100.0f));
    EXPECT_FLOAT_EQ(s0[SHARP], 2.0f);   // soft
    EXPECT_FLOAT_EQ(s0[EXPO], 1.002f);  // diamond
    EXPECT_EQ(s0[INTENS], 0.6f);
    EXPECT_FLOAT_EQ(s0[CX], 50.0f);
    EXPECT_FLOAT_EQ(s0[CY], 50.0f);

    const float* s1 = &p->p[kSlot][8];
    for (int k = 1; k < 8; ++k)
        EXPECT_EQ(s1[k], 0.3f);

    const float* s2 = &p->p[kSlot][16];
    EXPECT_FLOAT_EQ(s2[SIZEH], 1.0f / 200.0f);
    EXPECT_FLOAT_EQ(s2[SHARP], 0.001f); // hard
    EXPECT_FLOAT_EQ(s2[EXPO], 18.0f);   // nearly a rectangle
    EXPECT_FLOAT_EQ(s2[CX], 200.0f);

    const float* s3 = &p->p[kSlot][24];
    EXPECT_NEAR(s3[EXPO], 2.000016f, 1e-6f); // ellipse: ((0.5005 - 0.5) * 8)^2 + 2
    EXPECT_NEAR(s3[SHARP], 1.0005f, 1e-6f);
}

TEST_F(GeometryTest, SortsSetsIntoAdditiveAndSubtractiveLists)
{
    auto p = block();
    const float dirs[] = {1, 0, 2, 1, 3, 2, 0, 0.5f};
    for (int i = 0; i < 8; ++i)
        put(*p, i, {dirs[i], 0.2f, 0.2f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f});
    put(*p, 31, {1, 0.2f, 0.2f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(16, 16, kSlot, p.get()), 0);
    EXPECT_EQ(p->geometry_needed, 7); // every non-zero direction is active
    ASSERT_EQ(p->geometry_addam, 3);
    EXPECT_EQ(p->geometry_addidx[0], 0);
    EXPECT_EQ(p->geometry_addidx[1], 3);
    EXPECT_EQ(p->geometry_addidx[2], 31);
    ASSERT_EQ(p->geometry_subam, 2);
    EXPECT_EQ(p->geometry_subidx[0], 2);
    EXPECT_EQ(p->geometry_subidx[1], 5);
}

TEST_F(GeometryTest, NoActiveSetNeedsNoMask)
{
    auto p = block();
    p->geometry_addam = 5; // stale values of an earlier run are replaced
    p->geometry_subam = 4;
    p->geometry_needed = 9;
    ASSERT_EQ(MP_calcPrepareGeometry(10, 10, kSlot, p.get()), 0);
    EXPECT_EQ(p->geometry_needed, 0);
    EXPECT_EQ(p->geometry_addam, 0);
    EXPECT_EQ(p->geometry_subam, 0);
}

TEST_F(GeometryTest, AdditiveSetRevealsItsInsideOnly)
{
    auto p = block();
    put(*p, 0, {1, 0.25f, 0.25f, 0.5f, 0.5f, 0.7f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(64, 48, kSlot, p.get()), 0);
    EXPECT_EQ(opacity(*p, 32, 24, 64, 48), 0.7f); // centre: the intensity (falloff entry 0)
    EXPECT_EQ(MP_geo_exponent2[0][0], 0.7f);
    EXPECT_EQ(opacity(*p, 0, 0, 64, 48), 0.0f);
    EXPECT_EQ(opacity(*p, 63, 24, 64, 48), 0.0f);
    const float mid = opacity(*p, 40, 24, 64, 48);
    EXPECT_GT(mid, 0.0f);
    EXPECT_LT(mid, 0.7f);
}

TEST_F(GeometryTest, SubtractiveSetAloneHidesItsInside)
{
    auto p = block();
    put(*p, 4, {2, 0.25f, 0.25f, 0.5f, 0.5f, 0.7f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(64, 48, kSlot, p.get()), 0);
    EXPECT_EQ(opacity(*p, 0, 0, 64, 48), 1.0f);
    EXPECT_EQ(opacity(*p, 32, 24, 64, 48), 1.0f - 0.7f);
    const float mid = opacity(*p, 40, 24, 64, 48);
    EXPECT_GT(mid, 0.3f);
    EXPECT_LT(mid, 1.0f);
}

TEST_F(GeometryTest, SetInNeitherListRevealsEverything)
{
    auto p = block();
    put(*p, 0, {3, 0.25f, 0.25f, 0.5f, 0.5f, 0.7f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(20, 10, kSlot, p.get()), 0);
    EXPECT_EQ(p->geometry_needed, 1);
    for (float o : opacityMap(*p, 20, 10))
        ASSERT_EQ(o, 1.0f);
}

TEST_F(GeometryTest, LargestAdditiveWinsAndLargestSubtractiveIsTakenOff)
{
    auto p = block();
    put(*p, 0, {1, 0.3f, 0.3f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    put(*p, 1, {1, 0.3f, 0.3f, 0.5f, 0.5f, 0.8f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(40, 40, kSlot, p.get()), 0);
    EXPECT_EQ(opacity(*p, 20, 20, 40, 40), 0.8f);

    auto q = block();
    put(*q, 0, {1, 0.3f, 0.3f, 0.5f, 0.5f, 0.8f, 0.5f, 0.5f});
    put(*q, 1, {2, 0.3f, 0.3f, 0.5f, 0.5f, 0.3f, 0.5f, 0.5f});
    put(*q, 2, {2, 0.3f, 0.3f, 0.5f, 0.5f, 0.1f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(40, 40, kSlot, q.get()), 0);
    EXPECT_EQ(opacity(*q, 20, 20, 40, 40), 0.8f - 0.3f);

    // more taken off than revealed gives 0; an intensity above 1 gives 1
    auto r = block();
    put(*r, 0, {1, 0.3f, 0.3f, 0.5f, 0.5f, 1.5f, 0.25f, 0.5f});
    put(*r, 1, {1, 0.3f, 0.3f, 0.5f, 0.5f, 0.2f, 0.75f, 0.5f});
    put(*r, 2, {2, 0.1f, 0.1f, 0.5f, 0.5f, 0.9f, 0.75f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(40, 40, kSlot, r.get()), 0);
    EXPECT_EQ(opacity(*r, 10, 20, 40, 40), 1.0f);
    EXPECT_EQ(opacity(*r, 30, 20, 40, 40), 0.0f);
}

// The mask follows its description: inside where r = (|dx|/Rx)^n + (|dy|/Ry)^n
// is below 1, with opacity intensity * (1 - r^(1/(0.08 n + 0.92)))^P.
TEST_F(GeometryTest, MaskIsTheDescribedSuperellipse)
{
    const int w = 80, h = 60;
    struct Shape {
        float sharpness, exponent;
    };
    for (Shape shape : {Shape{0.5f, 0.5f}, Shape{0.0f, 0.0f}, Shape{0.3f, 0.8f}}) {
        auto p = block();
        put(*p, 0, {1, 0.25f, 0.3f, shape.sharpness, shape.exponent, 0.9f, 0.4f, 0.55f});
        ASSERT_EQ(MP_calcPrepareGeometry(w, h, kSlot, p.get()), 0);

        const double rx = (0.999 * 0.25 + 0.001) * w, ry = (0.999 * 0.3 + 0.001) * h;
        const double g = 0.999 * shape.exponent + 0.001;
        const double n = g < 0.5 ? 2 * g + 1 : std::pow(8 * (g - 0.5), 2) + 2;
        const double power = (1.0 - shape.sharpness) * 1.999 + 0.001;
        const double d = 0.08 * n + 0.92;
        int inside = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const double r = std::pow(std::fabs(x - 0.4 * w) / rx, n) + std::pow(std::fabs(y - 0.55 * h) / ry, n);
                const float o = opacity(*p, x, y, w, h);
                if (r > 1.01) {
                    ASSERT_EQ(o, 0.0f) << x << "," << y;
                } else if (r > 0.02 && r < 0.97) {
                    ASSERT_NEAR(o, 0.9 * std::pow(1.0 - std::pow(r, 1.0 / d), power), 3e-3) << x << "," << y;
                    ++inside;
                }
            }
        }
        EXPECT_GT(inside, 100);
    }
}

TEST_F(GeometryTest, TermOfExactlyOneIsOutside)
{
    auto p = block();
    // 0.999 + 0.001 rounds to 1: the half width is the whole width, 64 px,
    // and the centre sits on the right edge, so column 0 lies at u = 1.
    put(*p, 0, {1, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(64, 16, kSlot, p.get()), 0);
    EXPECT_EQ(MP_geo_table[0][0], MP_GEO_ONE);
    EXPECT_EQ(MP_geo_table[0][2 * 8 + 1], 0); // row 8 is the centre row
    EXPECT_EQ(opacity(*p, 0, 8, 64, 16), 0.0f);
    EXPECT_GT(opacity(*p, 1, 8, 64, 16), 0.0f);
}

TEST_F(GeometryTest, RowListsHoldOnlySetsReachingTheRow)
{
    auto p = block();
    // vertical half size (0.999 * 0.1 + 0.001) * 40 = 4.036 rows
    put(*p, 0, {1, 0.5f, 0.1f, 0.5f, 0.5f, 1.0f, 0.5f, 0.25f});
    put(*p, 1, {2, 0.5f, 0.1f, 0.5f, 0.5f, 1.0f, 0.5f, 0.75f});
    ASSERT_EQ(MP_calcPrepareGeometry(40, 40, kSlot, p.get()), 0);
    for (int y = 0; y < 40; ++y) {
        EXPECT_EQ(MP_geo_lineaddam[y], (y >= 6 && y <= 14) ? 1 : 0) << y;
        EXPECT_EQ(MP_geo_linesubam[y], (y >= 26 && y <= 34) ? 1 : 0) << y;
    }
    EXPECT_EQ(MP_geo_lineaddidx[10 * 32], 0);
    EXPECT_EQ(MP_geo_linesubidx[30 * 32], 1);
}

TEST_F(GeometryTest, PanoramaWrapsSetsAcrossTheSeam)
{
    // centred at 2 % of 100 columns, half width 5.095 columns
    auto prepare = [&](int panorama) {
        MP_UI_SetPanoramaMode(panorama);
        auto p = block();
        put(*p, 0, {1, 0.05f, 0.2f, 0.5f, 0.5f, 1.0f, 0.02f, 0.5f});
        EXPECT_EQ(MP_calcPrepareGeometry(100, 20, kSlot, p.get()), 0);
        return p;
    };
    auto wrapped = prepare(1);
    EXPECT_GT(opacity(*wrapped, 99, 10, 100, 20), 0.0f);
    EXPECT_GT(opacity(*wrapped, 97, 10, 100, 20), 0.0f);
    EXPECT_EQ(opacity(*wrapped, 96, 10, 100, 20), 0.0f);
    EXPECT_GT(opacity(*wrapped, 7, 10, 100, 20), 0.0f);
    EXPECT_EQ(opacity(*wrapped, 8, 10, 100, 20), 0.0f);
    EXPECT_EQ(opacity(*wrapped, 97, 10, 100, 20), opacity(*wrapped, 7, 10, 100, 20));

    auto flat = prepare(0);
    EXPECT_EQ(opacity(*flat, 99, 10, 100, 20), 0.0f);
    EXPECT_GT(opacity(*flat, 7, 10, 100, 20), 0.0f);
}

TEST_F(GeometryTest, FalloffTableIsRebuiltOnlyWhenItsShapeChanges)
{
    const GeoSet set{1, 0.25f, 0.25f, 0.5f, 0.5f, 0.7f, 0.5f, 0.5f};
    auto p = block();
    put(*p, 0, set);
    ASSERT_EQ(MP_calcPrepareGeometry(32, 32, kSlot, p.get()), 0);
    EXPECT_EQ(MP_geo_exponent2[0][0], 0.7f);

    MP_geo_exponent2[0][0] = 42.0f; // marks the table: a rebuild would overwrite it
    auto again = block();
    put(*again, 0, set);
    ASSERT_EQ(MP_calcPrepareGeometry(48, 16, kSlot, again.get()), 0);
    EXPECT_EQ(MP_geo_exponent2[0][0], 42.0f);

    auto changed = block();
    put(*changed, 0, {1, 0.25f, 0.25f, 0.5f, 0.5f, 0.6f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(32, 32, kSlot, changed.get()), 0);
    EXPECT_EQ(MP_geo_exponent2[0][0], 0.6f);

    // engine release forgets the tables
    MP_geo_exponent2[0][0] = 42.0f;
    MP_geometryFreeBuffers();
    EXPECT_EQ(MP_geo_size[0], 0);
    EXPECT_EQ(MP_geo_lineaddsize, 0);
    EXPECT_EQ(MP_geo_table[0], nullptr);
    auto fresh = block();
    put(*fresh, 0, {1, 0.25f, 0.25f, 0.5f, 0.5f, 0.6f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(32, 32, kSlot, fresh.get()), 0);
    EXPECT_EQ(MP_geo_exponent2[0][0], 0.6f);
}

// A cancel request drops the tasks of the falloff pass; the half-built table
// must not be reused once the request is gone.
TEST_F(GeometryTest, FalloffTableCutShortByCancelIsRebuiltLater)
{
    const GeoSet set{1, 0.25f, 0.25f, 0.5f, 0.5f, 0.7f, 0.5f, 0.5f};
    MP_geo_exponent2[0][0] = 42.0f;
    MP_UI_SetIsCalculatingCancelRequest(1);
    auto cancelled = block();
    put(*cancelled, 0, set);
    EXPECT_EQ(MP_calcPrepareGeometry(32, 32, kSlot, cancelled.get()), 0);
    MP_UI_SetIsCalculatingCancelRequest(0);
    EXPECT_EQ(MP_geo_exponent2[0][0], 42.0f);

    auto p = block();
    put(*p, 0, set);
    ASSERT_EQ(MP_calcPrepareGeometry(32, 32, kSlot, p.get()), 0);
    EXPECT_EQ(MP_geo_exponent2[0][0], 0.7f);
    EXPECT_EQ(opacity(*p, 16, 16, 32, 32), 0.7f);
}

TEST_F(GeometryTest, BuffersGrowAndNeverShrink)
{
    const GeoSet set{1, 0.2f, 0.2f, 0.5f, 0.5f, 0.9f, 0.5f, 0.5f};
    auto small = block();
    put(*small, 0, set);
    ASSERT_EQ(MP_calcPrepareGeometry(16, 8, kSlot, small.get()), 0);
    EXPECT_EQ(MP_geo_size[0], 16);
    EXPECT_EQ(MP_geo_size[31], 16);
    EXPECT_EQ(MP_geo_lineaddsize, 8);

    auto tall = block();
    put(*tall, 0, set);
    ASSERT_EQ(MP_calcPrepareGeometry(40, 60, kSlot, tall.get()), 0);
    EXPECT_EQ(MP_geo_size[0], 60);
    EXPECT_EQ(MP_geo_lineaddsize, 60);
    EXPECT_EQ(opacity(*tall, 20, 30, 40, 60), 0.9f);
    EXPECT_EQ(opacity(*tall, 20, 59, 40, 60), 0.0f);

    auto again = block();
    put(*again, 0, set);
    ASSERT_EQ(MP_calcPrepareGeometry(16, 8, kSlot, again.get()), 0);
    EXPECT_EQ(MP_geo_size[0], 60);
    EXPECT_EQ(MP_geo_lineaddsize, 60);
    EXPECT_EQ(opacityMap(*again, 16, 8), opacityMap(*small, 16, 8));
}

TEST_F(GeometryTest, ResultDoesNotDependOnTheThreadCount)
{
    const int w = 37, h = 23;
    auto run = [&](int threads) {
        MP_UI_SetIdealThreadCount(threads);
        MP_geometryFreeBuffers();
        auto p = block();
        put(*p, 0, {1, 0.3f, 0.4f, 0.2f, 0.7f, 0.9f, 0.3f, 0.4f});
        put(*p, 5, {1, 0.2f, 0.2f, 0.8f, 0.1f, 0.6f, 0.7f, 0.6f});
        put(*p, 9, {2, 0.1f, 0.3f, 0.5f, 0.5f, 0.5f, 0.35f, 0.5f});
        EXPECT_EQ(MP_calcPrepareGeometry(w, h, kSlot, p.get()), 0);
        std::vector<float> falloff(MP_geo_exponent2[5], MP_geo_exponent2[5] + MP_GEO_FALLOFF_SIZE);
        return std::make_pair(opacityMap(*p, w, h), falloff);
    };
    const auto one = run(1);
    for (int threads : {3, 8, 64}) {
        const auto many = run(threads);
        EXPECT_EQ(many.first, one.first) << threads;
        EXPECT_EQ(many.second, one.second) << threads;
    }
}

TEST_F(GeometryTest, RejectsAMissingBlockOrSlotWithoutWriting)
{
    EXPECT_EQ(MP_calcPrepareGeometry(10, 10, 0, nullptr), -2);
    auto p = block();
    put(*p, 0, {1, 0.2f, 0.2f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f}, 0);
    const MP_Params before = *p;
    EXPECT_EQ(MP_calcPrepareGeometry(10, 10, -1, p.get()), -2);
    EXPECT_EQ(MP_calcPrepareGeometry(10, 10, MP_MAX_PARAMETER, p.get()), -2);
    EXPECT_EQ(std::memcmp(&before, p.get(), sizeof(MP_Params)), 0);
}

TEST_F(GeometryTest, EmptyImageIsPreparedWithoutTables)
{
    auto p = block();
    put(*p, 0, {1, 0.2f, 0.2f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f});
    EXPECT_EQ(MP_calcPrepareGeometry(0, 0, kSlot, p.get()), 0);
    EXPECT_EQ(p->geometry_needed, 1);
    EXPECT_EQ(MP_geo_size[0], 0);
}

// Every allocation of a growing preparation may fail; the preparation then
// reports it before writing the block or any table.
class GeometryAllocFailure : public GeometryTest, public ::testing::WithParamInterface<int> {};

TEST_P(GeometryAllocFailure, ReportsNoMemoryAndLeavesEverythingAsItWas)
{
    auto first = block();
    put(*first, 0, {1, 0.3f, 0.3f, 0.5f, 0.5f, 0.8f, 0.5f, 0.5f});
    put(*first, 1, {2, 0.1f, 0.1f, 0.5f, 0.5f, 0.4f, 0.5f, 0.5f});
    ASSERT_EQ(MP_calcPrepareGeometry(32, 24, kSlot, first.get()), 0);
    const std::vector<float> before = opacityMap(*first, 32, 24);
    const std::vector<float> falloff(MP_geo_exponent2[0], MP_geo_exponent2[0] + MP_GEO_FALLOFF_SIZE);

    auto bigger = block();
    put(*bigger, 0, {1, 0.2f, 0.2f, 0.1f, 0.9f, 0.5f, 0.125f, 0.125f});
    const MP_Params untouched = *bigger;
    MP_geometryTestFailAllocation(GetParam());
    EXPECT_EQ(MP_calcPrepareGeometry(64, 48, kSlot, bigger.get()), -1);
    EXPECT_EQ(std::memcmp(&untouched, bigger.get(), sizeof(MP_Params)), 0);
    for (int s = 0; s < MP_MAX_GEOMETRYSETS; ++s)
        EXPECT_EQ(MP_geo_size[s], 32);
    EXPECT_EQ(MP_geo_lineaddsize, 24);
    EXPECT_EQ(opacityMap(*first, 32, 24), before);
    EXPECT_EQ(std::vector<float>(MP_geo_exponent2[0], MP_geo_exponent2[0] + MP_GEO_FALLOFF_SIZE), falloff);

    MP_geometryTestFailAllocation(-1);
    ASSERT_EQ(MP_calcPrepareGeometry(64, 48, kSlot, bigger.get()), 0);
    EXPECT_EQ(MP_geo_size[0], 64);
    EXPECT_EQ(opacity(*bigger, 8, 6, 64, 48), 0.5f);
}

// 32 per-set arrays, then the four per-row arrays
INSTANTIATE_TEST_SUITE_P(EachAllocation, GeometryAllocFailure, ::testing::Values(0, 1, 17, 31, 32, 33, 34, 35));

TEST_F(GeometryTest, FirstPreparationWithoutMemoryLeavesNoBuffers)
{
    auto p = block();
    put(*p, 0, {1, 0.2f, 0.2f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f});
    MP_geometryTestFailAllocation(33);
    EXPECT_EQ(MP_calcPrepareGeometry(20, 20, kSlot, p.get()), -1);
    EXPECT_EQ(p->geometry_needed, 0);
    EXPECT_EQ(p->p[kSlot][CX], 0.5f);
    for (int s = 0; s < MP_MAX_GEOMETRYSETS; ++s) {
        EXPECT_EQ(MP_geo_size[s], 0);
        EXPECT_EQ(MP_geo_table[s], nullptr);
    }
    EXPECT_EQ(MP_geo_lineaddsize, 0);
    EXPECT_EQ(MP_geo_lineaddam, nullptr);
}

TEST_F(GeometryTest, RowRunsEqualTheOpacityOfEachPixel)
{
    struct Case {
        int w, h, sets;
        float directions; // < 1 additive only, 1..2 both, 3 also sets in no list
        int panorama;
    };
    const Case cases[] = {
        {97, 61, 32, 2.0f, 0}, {333, 120, 32, 3.0f, 0}, {333, 120, 32, 3.0f, 1}, {64, 300, 5, 0.99f, 0},
        {40, 40, 12, 2.0f, 1}, {520, 33, 1, 2.0f, 0},   {7, 9, 32, 2.0f, 0},
    };
    const int runs[][2] = {{0, -1}, {3, -5}, {0, 1}, {5, 12}, {1, -1}, {2, 11}};
    const bool portableModes[] = {false, true};
    for (const Case& c : cases) {
        MP_UI_SetPanoramaMode(c.panorama);
        for (unsigned seed = 1; seed <= 3; ++seed) {
            auto p = block();
            putRandomSets(*p, c.sets, seed * 7919u + static_cast<unsigned>(c.w), c.directions);
            ASSERT_EQ(MP_calcPrepareGeometry(c.w, c.h, kSlot, p.get()), 0);
            const std::vector<float> plain = opacityMap(*p, c.w, c.h);
            for (bool portable : portableModes) {
                mp_filters::g_filterPortable = portable;
                for (const auto& run : runs) {
                    const int x0 = MP_imin(run[0], c.w - 1);
                    const int x1 = run[1] < 0 ? c.w + 1 + run[1] : MP_imin(run[1], c.w);
                    if (x1 <= x0)
                        continue;
                    std::vector<float> out(static_cast<size_t>(x1 - x0)), scratch(out.size());
                    for (int y = 0; y < c.h; ++y) {
                        MP_calcGeometryOpacityRow(y, x0, x1, p.get(), out.data(), scratch.data());
                        ASSERT_EQ(std::memcmp(out.data(), &plain[static_cast<size_t>(y) * c.w + x0],
                                              out.size() * sizeof(float)),
                                  0)
                            << c.w << "x" << c.h << " seed " << seed << " portable " << portable << " row " << y
                            << " run " << x0 << ".." << x1;
                    }
                }
            }
            mp_filters::g_filterPortable = false;
        }
    }
    MP_UI_SetPanoramaMode(0);
}

TEST(GeometryBlend, MixesEffectIntoSourceByOpacity)
{
    const MP_float3 r = MP_calcGeometryMethodBlend({0.2f, 0.0f, 1.0f}, {0.6f, 1.0f, 0.0f}, 0.25f);
    EXPECT_FLOAT_EQ(r.x, 0.3f);
    EXPECT_FLOAT_EQ(r.y, 0.25f);
    EXPECT_FLOAT_EQ(r.z, 0.75f);
    const MP_float3 full = MP_calcGeometryMethodBlend({0.2f, 0.0f, 1.0f}, {0.6f, 1.0f, 0.0f}, 1.0f);
    EXPECT_EQ(full.x, 0.6f);
    EXPECT_EQ(full.z, 0.0f);
}

} // namespace
