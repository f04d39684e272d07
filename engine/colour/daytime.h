#pragma once
// Time of day and season: the light of a time given to a picture.
//
//   MP_calcPixelDaytime   "Tageszeit"   colour temperature and gamma from two hour tables, weighted by a mask
//   MP_calcPixelYeartime  "Jahreszeit"  colour palette, colour temperature and light/shadow with settings
//                                       from a season table, blended onto the source
//
// Drivers of the kernel frame (engine/core/driverframe.h) on RGB48 buffers;
// source and destination may be the same buffer. They return 0, -2 for a
// missing buffer or block, -1 when working memory (Yeartime's temporary
// picture, the geometry masks) cannot be had; nothing is written then.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelDaytime(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelYeartime(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The hour tables (index = hour 0..24): brightness of the hour and the
// colour-temperature slider fraction of its light.
extern const float MP_daytimeGamma[25];
extern const float MP_daytimeTemp[25];
// Gamma and colour temperature (kelvin) of an "Uhrzeit" slider value.
void MP_calcDaytimeValues(float uhrzeit, float* gamma, float* kelvin);

// The season table: ten rows (ColorPalette "Rot" .. "Magenta", ColorTemperature
// "Temperatur", LightShadow "Lichter anpassen") of five anchors (1 January,
// spring, summer, autumn, 31 December).
constexpr int MP_YEARTIME_ROWS = 10;
extern const float MP_yeartimeTable[MP_YEARTIME_ROWS][5];
// The ten slider values of a "Tag" slider value.
void MP_calcYeartimeValues(float tag, float values[MP_YEARTIME_ROWS]);
