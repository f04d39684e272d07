#pragma once
// The histogram picture of the histogram dock: the red, green, blue and
// luminance distributions of an RGB48 image, measured on a sparse grid of
// about 150 x 150 samples and painted into an ARGB picture (dark background,
// grid, areas shaded by a left-to-right brightness ramp, one curve per
// channel). Runs on the caller's thread.

#include <cstdint>

// Paints a picture of `bins` columns (one per histogram bin) and `rows` rows,
// `pitch` pixels from one row to the next. The channel switches and the
// cumulative switch are booleans. Results: 0 on success; -2 for a null
// pointer, bins or rows below 1, a pitch below bins, or an image size below 1;
// -1 when the working memory cannot be had. On an error nothing is drawn.
int MP_UI_calcHistogram(const uint16_t* rgb48, uint32_t* argb, int pitch, int width, int height, int bins, int rows,
                        int luminance, int red, int green, int blue, int cumulative);
