#pragma once
// The one set of luminance weights every luminance of the engine uses.

// Weights of red, green and blue. Initial value: Rec. 709.
extern float MP_LuminanzConv[3];

// Stores the weights of type 1 (0.3333, 0.3334, 0.3333), 2 (Rec. 709) or
// 3 (Rec. 601); any other type changes nothing.
void MP_UI_SetLuminanzConv(int type);
// The weights of a type (type 1 reports 0.3333 for all three); outputs may be null.
void MP_UI_GetLuminanzConvFromType(int type, float* r, float* g, float* b);
// Stores the weights normalised to sum 1. Negative or non-finite components
// (or a sum that overflows) are refused: the previous weights stay. A sum of 0
// stores them unchanged.
void MP_UI_SetLuminanzConvRGB(float r, float g, float b);
void MP_UI_GetLuminanzConvRGB(float* r, float* g, float* b);
// Back to the weights at program start (Rec. 709).
void MP_ResetLuminanzConv();
