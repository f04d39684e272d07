#pragma once
// The two small RGB48 pictures of the engine that the position picker draws:
// the colour circle (80 x 80) and the fractal (250 x 250), both black until
// the engine's start-up renders them.

#include <cstdint>

constexpr int MP_PIC_COLORCIRCLE_SIZE = 80;
constexpr int MP_PIC_MANDELBROT_SIZE = 250;

extern uint16_t MP_pic_colorcicle[MP_PIC_COLORCIRCLE_SIZE * MP_PIC_COLORCIRCLE_SIZE * 3];
extern uint16_t MP_pic_mandelbrot[MP_PIC_MANDELBROT_SIZE * MP_PIC_MANDELBROT_SIZE * 3];

// Renders the colour circle: pixel (column c, row r) = MP_UI_PostoRGB(c / 80,
// r / 80) with each output times 65535, truncated.
void MP_UI_buildColorCirclePicture();
