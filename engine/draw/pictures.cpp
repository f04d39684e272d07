#include "engine/draw/pictures.h"

#include "engine/draw/painters.h"

#include <cstddef>

uint16_t MP_pic_colorcicle[MP_PIC_COLORCIRCLE_SIZE * MP_PIC_COLORCIRCLE_SIZE * 3];
uint16_t MP_pic_mandelbrot[MP_PIC_MANDELBROT_SIZE * MP_PIC_MANDELBROT_SIZE * 3];

void MP_UI_buildColorCirclePicture()
{
    constexpr int n = MP_PIC_COLORCIRCLE_SIZE;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            float cr, cg, cb;
            MP_UI_PostoRGB(&cr, &cg, &cb, static_cast<float>(c) / static_cast<float>(n),
                           static_cast<float>(r) / static_cast<float>(n));
            uint16_t* p = MP_pic_colorcicle + (static_cast<size_t>(r) * n + c) * 3;
            p[0] = static_cast<uint16_t>(cr * 65535.0f);
            p[1] = static_cast<uint16_t>(cg * 65535.0f);
            p[2] = static_cast<uint16_t>(cb * 65535.0f);
        }
    }
}
