#pragma once
// Rescaling of a loaded bitmap before it becomes an exposure, by the RAW
// development window's scaling percent and method. The exposure series wraps
// it as CExposureSeries::RescaleFreeImage.

#include <FreeImage.h>

// sideFactor > 0 scales each side by it; otherwise the settings' percent
// applies to the pixel count. Method index: 0 box, 1 bilinear, 2 B-spline,
// 3 bicubic, 4 Catmull-Rom, 5 Lanczos-3, any other bilinear. The smaller side
// is brought up to 500.25 pixels and the pixel count kept at most 715,827,882.
// Returns the bitmap itself when the size stays, when rescaling fails or when
// a side below 500 pixels cannot reach 500 within the pixel bound (the image
// is then too small for every caller, which refuses it), otherwise a new bitmap with
// the metadata copied, the old one released. A null bitmap gives null.
FIBITMAP* RescaleFreeImage(FIBITMAP* bitmap, float sideFactor);
FIBITMAP* RescaleFreeImage(FIBITMAP* bitmap, float sideFactor, double percent, int method);
// The sides (before truncation) a bitmap of oldW x oldH gets at p percent a
// side: the smaller side brought up to 500.25, the pixel count kept at most
// 715,827,882. false when a truncated side stays below 500 (a strip such as
// 65535 x 6 would be raised to hundreds of megapixels and still be too
// narrow): such an image is not worth rescaling.
bool RescaleTargetSize(unsigned oldW, unsigned oldH, unsigned p, float& W, float& H);
// The FreeImage filter of a method index.
FREE_IMAGE_FILTER RescaleFilterOfMethod(int method);
