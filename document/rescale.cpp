#include "document/rescale.h"

#include "document/documentseams.h"
#include "engine/core/settings.h"

#include <cmath>
#include <cstdio>
#include <iostream>

FREE_IMAGE_FILTER RescaleFilterOfMethod(int method)
{
    switch (method) {
    case 0:
        return FILTER_BOX;
    case 2:
        return FILTER_BSPLINE;
    case 3:
        return FILTER_BICUBIC;
    case 4:
        return FILTER_CATMULLROM;
    case 5:
        return FILTER_LANCZOS3;
    default:
        return FILTER_BILINEAR;
    }
}

bool RescaleTargetSize(unsigned oldW, unsigned oldH, unsigned p, float& W, float& H)
{
    W = float((unsigned long long)oldW * p / 100);
    H = float((unsigned long long)oldH * p / 100);
    const float kMinSide = 500.25f;
    float rw, rh;
    if (W < 1.0f) {
        W = 1.0f;
        rw = 1.0f / kMinSide;
    } else {
        rw = W / kMinSide;
    }
    if (H < 1.0f) {
        H = 1.0f;
        rh = 1.0f / kMinSide;
    } else {
        rh = H / kMinSide;
    }
    if (W < kMinSide || H < kMinSide) {
        const float r = rw < rh ? rw : rh;
        W /= r;
        H /= r;
    }
    while (W * H / 1000000.0f > 715.827882f) {
        W *= 0.995f;
        H *= 0.995f;
    }
    return int(W) >= 500 && int(H) >= 500;
}

FIBITMAP* RescaleFreeImage(FIBITMAP* bitmap, float sideFactor)
{
    const SRawDevelopmentSettings raw = CDocumentSettings::RawDevelopment();
    return RescaleFreeImage(bitmap, sideFactor, raw.dScalePercent, raw.iScaleMethod);
}

FIBITMAP* RescaleFreeImage(FIBITMAP* bitmap, float sideFactor, double percent, int method)
{
    const FREE_IMAGE_FILTER filter = RescaleFilterOfMethod(method);
    float g = sideFactor > 0.0f ? sideFactor : std::sqrt(float(percent * 0.01));
    if (!(g > 0.0f) || !std::isfinite(g))
        g = 1.0f;
    const unsigned p = unsigned(g * 100.0f);
    if (!bitmap)
        return nullptr;

    const unsigned oldW = FreeImage_GetWidth(bitmap);
    const unsigned oldH = FreeImage_GetHeight(bitmap);
    float W = 0.0f, H = 0.0f;
    // Decided from the sides alone: a narrow image that would stay too narrow
    // is handed back as it is, and its caller refuses it at once.
    if (!RescaleTargetSize(oldW, oldH, p, W, H) && (oldW < 500 || oldH < 500))
        return bitmap;
    if (std::fabs(W - float(oldW)) < 1.0f && std::fabs(H - float(oldH)) < 1.0f)
        return bitmap;

    std::cout << "ReScaling Image: " << oldW << "x" << oldH << " -> " << int(W) << "x" << int(H) << std::endl;
    const double start = MP_UI_GetActualTime();
    FIBITMAP* scaled = FreeImage_Rescale(bitmap, int(W), int(H), filter);
    std::printf("ReScaling finsihed - %11.4f ms\n", MP_UI_CalcTimeDifference(start));
    if (!scaled)
        return bitmap;
    std::cout << "Clone Metadata" << std::endl;
    FreeImage_CloneMetadata(scaled, bitmap);
    std::cout << "Unload Source Image" << std::endl;
    FreeImage_Unload(bitmap);
    return scaled;
}
