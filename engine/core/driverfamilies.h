// The driver tables of the kernel families, one line per family:
//   MP_DRIVER_FAMILY(table)
// where `table` is the MP_DriverTable a family file defines (see
// engine/MP_calccl.h). Naming the table here is what links the family into
// the program. Keep one blank line between entries, in the section of the
// family's folder, so that families added side by side merge cleanly.
// This file is included several times on purpose; it has no include guard.

// engine/hdr/
MP_DRIVER_FAMILY(MP_drivers_hdrweights)

MP_DRIVER_FAMILY(MP_drivers_reexpose)

MP_DRIVER_FAMILY(MP_drivers_colorspace)
MP_DRIVER_FAMILY(MP_drivers_tonemapping)

// engine/tone/
MP_DRIVER_FAMILY(MP_drivers_bwpoint)

MP_DRIVER_FAMILY(MP_drivers_lightshadow)

MP_DRIVER_FAMILY(MP_drivers_curves)

MP_DRIVER_FAMILY(MP_drivers_greyscale)

MP_DRIVER_FAMILY(MP_drivers_locallight)

// engine/colour/
MP_DRIVER_FAMILY(MP_drivers_temperature)

MP_DRIVER_FAMILY(MP_drivers_palettes)

MP_DRIVER_FAMILY(MP_drivers_daytime)

MP_DRIVER_FAMILY(MP_drivers_hsv)

MP_DRIVER_FAMILY(MP_drivers_huerange)

MP_DRIVER_FAMILY(MP_drivers_emphasis)

MP_DRIVER_FAMILY(MP_drivers_tonaleffects)

// engine/filters/
MP_DRIVER_FAMILY(MP_drivers_localcontrast)

MP_DRIVER_FAMILY(MP_drivers_edgeenhance)

MP_DRIVER_FAMILY(MP_drivers_smoothing)

MP_DRIVER_FAMILY(MP_drivers_localwhitebalance)

MP_DRIVER_FAMILY(MP_drivers_positionblur)

MP_DRIVER_FAMILY(MP_drivers_smalldenoise)

MP_DRIVER_FAMILY(MP_drivers_variancedenoise)

MP_DRIVER_FAMILY(MP_drivers_glow)

MP_DRIVER_FAMILY(MP_drivers_grain)

MP_DRIVER_FAMILY(MP_drivers_bloom)

MP_DRIVER_FAMILY(MP_drivers_sharpen)

MP_DRIVER_FAMILY(MP_drivers_morphology)

MP_DRIVER_FAMILY(MP_drivers_polfilter)

MP_DRIVER_FAMILY(MP_drivers_artifacts)

MP_DRIVER_FAMILY(MP_drivers_pathblur)

MP_DRIVER_FAMILY(MP_drivers_hueedge)

MP_DRIVER_FAMILY(MP_drivers_nlmeans)

MP_DRIVER_FAMILY(MP_drivers_bokeh)

// engine/effects/
MP_DRIVER_FAMILY(MP_drivers_rotationdistort)

MP_DRIVER_FAMILY(MP_drivers_radialdistort)

MP_DRIVER_FAMILY(MP_drivers_warps)

MP_DRIVER_FAMILY(MP_drivers_mirrors)

MP_DRIVER_FAMILY(MP_drivers_frame)

MP_DRIVER_FAMILY(MP_drivers_embossed)

MP_DRIVER_FAMILY(MP_drivers_stretched)

MP_DRIVER_FAMILY(MP_drivers_tinted)

MP_DRIVER_FAMILY(MP_drivers_dust)

MP_DRIVER_FAMILY(MP_drivers_oilpaint)

MP_DRIVER_FAMILY(MP_drivers_relief)

MP_DRIVER_FAMILY(MP_drivers_drawing)

MP_DRIVER_FAMILY(MP_drivers_painting)

MP_DRIVER_FAMILY(MP_drivers_fogbow)

MP_DRIVER_FAMILY(MP_drivers_fractal)

MP_DRIVER_FAMILY(MP_drivers_flare)

MP_DRIVER_FAMILY(MP_drivers_cubes)

MP_DRIVER_FAMILY(MP_drivers_sky)

MP_DRIVER_FAMILY(MP_drivers_weather)

MP_DRIVER_FAMILY(MP_drivers_polarlight)

MP_DRIVER_FAMILY(MP_drivers_bubbles)

// engine/series/

// engine/views/

// engine/draw/
