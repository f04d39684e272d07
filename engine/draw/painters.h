#pragma once
// The engine's painters of custom controls: each fills a caller's buffer
// (16-bit RGB or ARGB 0xAARRGGBB, alpha 0xFF, rows `pitch` pixels apart),
// synchronously and without state. Results: 0, or -2 for a missing buffer,
// unless stated otherwise. Float channels 0..1 become bytes by truncation of
// c * 255.

#include <cstdint>

// ---- colour circle -----------------------------------------------------------
// Position (px, py) in 0..1 across the colour circle to RGB 0..1 by HSV: the
// distance d from the centre is the saturation, 1 - d the value, the hue the
// angle from the top, clockwise; white at the centre, black on and outside the
// rim. Null outputs are skipped.
void MP_UI_PostoRGB(float* r, float* g, float* b, float px, float py);
// The position whose colour is nearest to (r, g, b) (0..1): a coarse search in
// steps of 4/256, then every 1/256 step within 4 steps of the coarse result.
void MP_UI_RGBtoPos(float* px, float* py, float r, float g, float b);
int MP_UI_argb_paintColorCircle(uint32_t* argb, int width, int height, int pitch);
// The circle in grey: trunc((wR R + wG G + wB B) * 255), kept within 0..255.
int MP_UI_argb_paintColorCircleGreyscale(uint32_t* argb, int width, int height, int pitch, float weightR,
                                         float weightG, float weightB);

// ---- style colour selector -----------------------------------------------------
// Hues along the width fading to grey towards the bottom (brighter with the
// bright flag), with a 7 x 7 marker at (trunc(fx * width), trunc(fy * height)).
// Returns the colour 0xRRGGBB under the marker, 0x5F5F5F when the buffer is
// missing or the marker lies outside the picture.
int MP_UI_paintStyleColorSelect(uint32_t* argb, int width, int height, int pitch, int bright, float fx, float fy);
// The position (fraction of a width x height search grid) whose selector
// colour is nearest to `colour` (0xRRGGBB); (0.5, 0.5) when nothing is near.
// Writes nothing when an output is missing.
void MP_UI_getStyleColorSelectPos(int width, int height, int colour, int bright, float* fx, float* fy);

// ---- curves and kernels ----------------------------------------------------------
// The HDR fusion's compression curve for the sigmoid slider value, as grey
// ramp columns over the style background with a dotted 4 x 4 grid.
int MP_UI_argb_paintHDRsigmoidCurve(uint32_t* argb, int width, int height, int pitch, float x);
// Column i filled from trunc((1 - (i/w)^e) * h) down in grey trunc(i/w * 255)
// over 0xFF2E2E2E.
int MP_UI_argb_paintOptimizeLatitudeExponent(uint32_t* argb, int width, int height, int pitch, float exponent);
// The same columns in 16 bits (trunc(i/w * 65535)), without background.
int MP_UI_paintOptimizeLatitudeExponent(uint16_t* buf, int width, int height, int pitch, float exponent);
// Superquadric kernel of exponent n in white over 0xFF2E2E2E, with a white
// cross through the centre.
int MP_UI_argb_paintSuperquadricKernel(uint32_t* argb, int width, int height, int pitch, float n);
// The kernel's rows alone in 16 bits (0xFFFF).
int MP_UI_paintSuperquadricKernel(uint16_t* buf, int width, int height, int pitch, float n);

// ---- painters on the engine's curve and colour-temperature services -------------
// Colour temperatures from low to high Kelvin along the width with a marker at
// `position` (0..1); returns the temperature at the marker,
// low + (high - low) * position, or -2.0 when the buffer is missing.
float MP_UI_paintColorTemperatur(uint32_t* argb, int width, int height, int pitch, float low, float high,
                                 float position);
// The gradation curve through six knots (x, y pairs, `knots[12]`) over a
// 5-division grid, values below 0 blue and above 1 red on the border rows, and
// a marker at each knot.
int MP_UI_paintGradationsSpline(uint16_t* buf, int width, int height, int pitch, const float* knots);

// ---- position box ------------------------------------------------------------------
// The picture of the position picker (box width x height into `out`); see the
// flags: fill, show photograph (the photograph scaled into the box), then
// point, line, three-point, spline and colour mode in this order, and the
// position type of the point mode (0 plain, 1 light direction, 2 fractal,
// 3 horizon). `values` holds the picker's (x, y) pairs, relative to the box.
// -2 when the output is missing or the box has no pixels (or its work buffer
// cannot be had).
int MP_UI_positionBox(int photoWidth, int photoHeight, const uint16_t* photo, int boxWidth, int boxHeight,
                      uint32_t* out, const float* values, int fillRed, int fillGreen, int fillBlue, int fill,
                      int showPhoto, int pointMode, int lineMode, int threePointMode, int splineMode,
                      int colourMode, int positionType);
