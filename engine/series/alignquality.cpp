#include "engine/series/alignquality.h"

#include <climits>
#include <cstdio>

int MP_align_mulitpass_maxpasses = 5;
float MP_align_multipass_minimumimprove = 0.002f;
float MP_align_minimum_improvement = 0.001f;
float MP_def_pic_min_equality = 0.5f;
int MP_align_skip_on_no_change = 1;
int MP_align_use_self_congruence = 0;
int MP_align_pass_reduce = 0;
int MP_align_zoom_predict_direction = 0;
float MP_align_scroll_radius = 0.10f;
int MP_align_scroll_abtastrate = 37;
int MP_align_scroll_equallinesx_stop = INT_MAX;
int MP_align_scroll_equallinesy_stop = 30;
int MP_align_detail_equallines_stop = 30;
float MP_align_zoom_percent = 0.10f;
int MP_align_zoom_steps = 20;
int MP_align_zoom_centersteps = 3;
int MP_align_zoom_abtastrate = 100;
int MP_align_zoom_abtastrateC = 100;
float MP_align_rotate_maxangle = 5.0f;
int MP_align_rotate_anglesteps = 10;
int MP_align_rotate_centersteps = 2;
int MP_align_rotate_abtastrate = 100;
int MP_align_rotate_abtastrateC = 100;

namespace {

// One column of the table per quality.
struct QualityColumn {
    int maxpasses;
    float scrollRadius;
    int scrollYStop;
    int detailStop;
    float zoomPercent;
    int zoomSteps;
    int zoomCentersteps;
    int zoomRate;
    int zoomRateC;
    float rotateMaxangle;
    int rotateAnglesteps;
    int rotateCentersteps;
    int rotateRate;
    int rotateRateC;
};

constexpr QualityColumn kColumns[4] = {
    {4, 0.06f, 20, 20, 0.08f, 10, 2, 80, 80, 4.0f, 8, 1, 80, 80},
    {5, 0.10f, 30, 30, 0.10f, 20, 3, 100, 100, 5.0f, 10, 2, 100, 100},
    {6, 0.16f, 40, 60, 0.12f, 30, 4, 100, 100, 6.0f, 12, 3, 100, 100},
    {7, 0.24f, 50, 90, 0.15f, 40, 5, 100, 100, 7.0f, 14, 4, 100, 100},
};

void apply(unsigned int quality)
{
    const QualityColumn& q = kColumns[quality];
    MP_align_multipass_minimumimprove = 0.002f;
    MP_align_minimum_improvement = 0.001f;
    MP_def_pic_min_equality = 0.5f;
    MP_align_skip_on_no_change = 1;
    MP_align_use_self_congruence = 0;
    MP_align_pass_reduce = 0;
    MP_align_zoom_predict_direction = 0;
    MP_align_scroll_abtastrate = 37;
    MP_align_scroll_equallinesx_stop = INT_MAX;

    MP_align_mulitpass_maxpasses = q.maxpasses;
    MP_align_scroll_radius = q.scrollRadius;
    MP_align_scroll_equallinesy_stop = q.scrollYStop;
    MP_align_detail_equallines_stop = q.detailStop;
    MP_align_zoom_percent = q.zoomPercent;
    MP_align_zoom_steps = q.zoomSteps;
    MP_align_zoom_centersteps = q.zoomCentersteps;
    MP_align_zoom_abtastrate = q.zoomRate;
    MP_align_zoom_abtastrateC = q.zoomRateC;
    MP_align_rotate_maxangle = q.rotateMaxangle;
    MP_align_rotate_anglesteps = q.rotateAnglesteps;
    MP_align_rotate_centersteps = q.rotateCentersteps;
    MP_align_rotate_abtastrate = q.rotateRate;
    MP_align_rotate_abtastrateC = q.rotateRateC;
}

} // namespace

int MP_UI_SetAlignQualityValues(unsigned int quality)
{
    if (quality > 3)
        quality = 1;
    apply(quality);
    std::printf("Align Quality: %d\r\n", static_cast<int>(quality));
    std::fflush(stdout);
    return 0;
}

void MP_ResetAlignQualityValues() { apply(1); }
