#pragma once
// Blurs whose amount depends on the pixel's place in the picture: "Tilt
// Shift" (MP_calcPixelTiltShift) keeps a band along a line sharp, "Fokus"
// (MP_calcPixelFocus) a circular zone around a centre. Positions are
// fractions of the buffer's width and height, so both always run on the
// whole image; neither window wraps in panorama mode.
//
// TiltShift: p[0][0] "Radius", p[1][0] "Breite", p[2][0] "Farbe", line slot 3
// ("Schärfegrenze": x1, y1, x2, y2), slot 4 combo, slot 5 geometry.
// Focus: p[0][0] "Weichzeichnung", p[1][0] "Radius", position slot 2
// ("Zentrum": cx, cy), slot 3 combo, slot 4 geometry.
//
// Drivers: 0; -1 without the output scratch (nothing written); -2 for missing
// buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelTiltShift(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);
int MP_calcPixelFocus(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The pieces of the two operators, for tests.
// TiltShift's saturation exponent from "Farbe".
float MP_tiltShiftSaturationExponent(float farbe);
// Focus's sharpness at offset (dx, dy) (in shorter sides) with zone size t.
float MP_focusSharpness(float dx, float dy, float t);
