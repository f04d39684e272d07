#include "tonefixture.h"

// The frame's rules for every tone driver (the cases are instantiated in the
// family test files): it runs by name at its defaults; one buffer as source
// and destination gives what separate buffers give; one thread gives what
// four or seven give; an active geometry set that hides nothing selects the
// full worker with the same effect; 50 % opacity lies halfway.

TEST_P(ToneFrame, RunsByNameInPlaceAndOnAnyThreadCount)
{
    const FrameCase& c = GetParam();
    const int w = 37, h = 29;
    const Image src = testPicture(w, h);
    int r = -9;
    const Image separate = runCopy(c.name, w, h, src, defaultsBlock(), &r);
    ASSERT_EQ(r, 0);
    EXPECT_NE(separate, Image(src.size(), 0xABCD)) << "the driver wrote nothing";
    Image inplace = src;
    MP_Params p = defaultsBlock();
    ASSERT_EQ(run(c.name, w, h, inplace, inplace, p), 0);
    EXPECT_EQ(inplace, separate);
    MP_UI_SetIdealThreadCount(1);
    EXPECT_EQ(runCopy(c.name, w, h, src, defaultsBlock()), separate);
    MP_UI_SetIdealThreadCount(7);
    EXPECT_EQ(runCopy(c.name, w, h, src, defaultsBlock()), separate);
}

TEST_P(ToneFrame, FullWorkerGivesTheSameEffect)
{
    const FrameCase& c = GetParam();
    const int w = 23, h = 19;
    const Image src = testPicture(w, h);
    const Image reduced = runCopy(c.name, w, h, src, defaultsBlock());
    MP_Params p = defaultsBlock();
    setInertGeometry(p, c.geoSlot);
    const Image full = runCopy(c.name, w, h, src, p);
    EXPECT_LE(maxDifference(full, reduced), c.fullTolerance);
    p = defaultsBlock();
    p.p[c.comboSlot][1] = 50.0f;
    const Image half = runCopy(c.name, w, h, src, p);
    for (size_t i = 0; i < src.size(); ++i) {
        if (reduced[i] == 0 || reduced[i] == 65535)
            continue; // the opacity mixes the effect before it is clipped
        const float expect = 0.5f * float(reduced[i]) + 0.5f * float(src[i]);
        ASSERT_NEAR(float(half[i]), expect, 2.0f + c.fullTolerance) << "at " << i;
    }
}
