#pragma once
// The alignment tuning table: engine globals read by the median-threshold
// alignment builders and the series alignment, written only by
// MP_UI_SetAlignQualityValues (the engine start selects quality 1, which is
// also their value at program start).

extern int MP_align_mulitpass_maxpasses;
extern float MP_align_multipass_minimumimprove;
extern float MP_align_minimum_improvement;
extern float MP_def_pic_min_equality;
extern int MP_align_skip_on_no_change;
extern int MP_align_use_self_congruence;
extern int MP_align_pass_reduce;
extern int MP_align_zoom_predict_direction;
extern float MP_align_scroll_radius;
extern int MP_align_scroll_abtastrate;
extern int MP_align_scroll_equallinesx_stop;
extern int MP_align_scroll_equallinesy_stop;
extern int MP_align_detail_equallines_stop;
extern float MP_align_zoom_percent;
extern int MP_align_zoom_steps;
extern int MP_align_zoom_centersteps;
extern int MP_align_zoom_abtastrate;
extern int MP_align_zoom_abtastrateC;
extern float MP_align_rotate_maxangle;
extern int MP_align_rotate_anglesteps;
extern int MP_align_rotate_centersteps;
extern int MP_align_rotate_abtastrate;
extern int MP_align_rotate_abtastrateC;

// Fills the table for quality 0..3 (any larger value acts as 1) and writes
// "Align Quality: %d\r\n" with the quality used to standard output. The
// result carries nothing (always 0).
int MP_UI_SetAlignQualityValues(unsigned int quality);

// Puts the table back to its program-start values (quality 1) without a log line.
void MP_ResetAlignQualityValues();
