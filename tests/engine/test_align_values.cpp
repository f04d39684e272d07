// The alignment tuning table per quality and the brush-cursor cache.

#include "enginefixture.h"

#include <climits>
#include <cstdlib>
#include <string>

class AlignValuesTest : public EngineTest {};

TEST_F(AlignValuesTest, QualityOneAsTheEngineStartSelectsIt)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(MP_UI_SetAlignQualityValues(1), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Align Quality: 1\r\n");
    EXPECT_EQ(MP_align_mulitpass_maxpasses, 5);
    EXPECT_FLOAT_EQ(MP_align_scroll_radius, 0.10f);
    EXPECT_FLOAT_EQ(MP_align_zoom_percent, 0.10f);
    EXPECT_EQ(MP_align_zoom_steps, 20);
    EXPECT_EQ(MP_align_zoom_centersteps, 3);
    EXPECT_FLOAT_EQ(MP_align_rotate_maxangle, 5.0f);
    EXPECT_EQ(MP_align_rotate_anglesteps, 10);
    EXPECT_EQ(MP_align_rotate_centersteps, 2);
    EXPECT_EQ(MP_align_zoom_abtastrate, 100);
    EXPECT_EQ(MP_align_zoom_abtastrateC, 100);
    EXPECT_EQ(MP_align_rotate_abtastrate, 100);
    EXPECT_EQ(MP_align_rotate_abtastrateC, 100);
    EXPECT_EQ(MP_align_scroll_equallinesy_stop, 30);
    EXPECT_EQ(MP_align_detail_equallines_stop, 30);
    // The fixed values
    EXPECT_FLOAT_EQ(MP_align_minimum_improvement, 0.001f);
    EXPECT_FLOAT_EQ(MP_align_multipass_minimumimprove, 0.002f);
    EXPECT_EQ(MP_align_skip_on_no_change, 1);
    EXPECT_FLOAT_EQ(MP_def_pic_min_equality, 0.5f);
    EXPECT_EQ(MP_align_scroll_abtastrate, 37);
    EXPECT_EQ(MP_align_scroll_equallinesx_stop, INT_MAX);
    EXPECT_EQ(MP_align_use_self_congruence, 0);
    EXPECT_EQ(MP_align_pass_reduce, 0);
    EXPECT_EQ(MP_align_zoom_predict_direction, 0);
}

TEST_F(AlignValuesTest, EveryQualityColumn)
{
    struct Column {
        unsigned q;
        int passes;
        float radius;
        int yStop, detailStop;
        float zoom;
        int zoomSteps, zoomCentre, zoomRate;
        float angle;
        int angleSteps, rotCentre, rotRate;
    };
    const Column cols[] = {
        {0, 4, 0.06f, 20, 20, 0.08f, 10, 2, 80, 4.0f, 8, 1, 80},
        {1, 5, 0.10f, 30, 30, 0.10f, 20, 3, 100, 5.0f, 10, 2, 100},
        {2, 6, 0.16f, 40, 60, 0.12f, 30, 4, 100, 6.0f, 12, 3, 100},
        {3, 7, 0.24f, 50, 90, 0.15f, 40, 5, 100, 7.0f, 14, 4, 100},
    };
    for (const Column& c : cols) {
        // Start from another column so every value must be written.
        testing::internal::CaptureStdout();
        MP_UI_SetAlignQualityValues(c.q == 3 ? 0 : 3);
        MP_align_minimum_improvement = -1.0f;
        MP_UI_SetAlignQualityValues(c.q);
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_NE(log.find("Align Quality: " + std::to_string(c.q) + "\r\n"), std::string::npos);
        EXPECT_EQ(MP_align_mulitpass_maxpasses, c.passes) << c.q;
        EXPECT_FLOAT_EQ(MP_align_scroll_radius, c.radius) << c.q;
        EXPECT_EQ(MP_align_scroll_equallinesy_stop, c.yStop) << c.q;
        EXPECT_EQ(MP_align_detail_equallines_stop, c.detailStop) << c.q;
        EXPECT_FLOAT_EQ(MP_align_zoom_percent, c.zoom) << c.q;
        EXPECT_EQ(MP_align_zoom_steps, c.zoomSteps) << c.q;
        EXPECT_EQ(MP_align_zoom_centersteps, c.zoomCentre) << c.q;
        EXPECT_EQ(MP_align_zoom_abtastrate, c.zoomRate) << c.q;
        EXPECT_EQ(MP_align_zoom_abtastrateC, c.zoomRate) << c.q;
        EXPECT_FLOAT_EQ(MP_align_rotate_maxangle, c.angle) << c.q;
        EXPECT_EQ(MP_align_rotate_anglesteps, c.angleSteps) << c.q;
        EXPECT_EQ(MP_align_rotate_centersteps, c.rotCentre) << c.q;
        EXPECT_EQ(MP_align_rotate_abtastrate, c.rotRate) << c.q;
        EXPECT_EQ(MP_align_rotate_abtastrateC, c.rotRate) << c.q;
        EXPECT_FLOAT_EQ(MP_align_minimum_improvement, 0.001f) << c.q;
    }
}

TEST_F(AlignValuesTest, LargerQualitiesActAsOne)
{
    for (unsigned q : {4u, 7u, 0xFFFFFFFFu}) {
        MP_UI_SetAlignQualityValues(3);
        testing::internal::CaptureStdout();
        MP_UI_SetAlignQualityValues(q);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Align Quality: 1\r\n") << q;
        EXPECT_EQ(MP_align_mulitpass_maxpasses, 5);
        EXPECT_EQ(MP_align_zoom_steps, 20);
    }
}

TEST_F(AlignValuesTest, BrushCursorCacheIsReleased)
{
    EXPECT_EQ(MP_Brush_buffer, nullptr);
    MP_Brush_buffer = static_cast<uint32_t*>(std::malloc(129 * 129 * 4));
    ASSERT_NE(MP_Brush_buffer, nullptr);
    MP_Brush_type = 3;
    MP_Brush_sx = 129;
    MP_Brush_sy = 129;
    MP_Brush_red = 255;
    MP_UI_BrushReleaseBuffer();
    EXPECT_EQ(MP_Brush_buffer, nullptr);
    EXPECT_EQ(MP_Brush_sx, 0);
    EXPECT_EQ(MP_Brush_red, 0);
    MP_UI_BrushReleaseBuffer(); // a second release does nothing
    EXPECT_EQ(MP_Brush_buffer, nullptr);
}
