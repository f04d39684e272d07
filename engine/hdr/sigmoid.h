#pragma once
// Coefficients of the HDR fusion's compression curve
//   t in 0..1  ->  (1 / (q * e^(-k * (10 t - 5)) + 1) - lo) / (hi - lo),
// which runs from 0 at t = 0 to 1 at t = 1, for the slider value s (0..1):
//   k = |s - 0.5| * 2 * 0.7 + 0.1,  q = s * -1.722 + 1.732,
//   lo = 1 / (q e^(5k) + 1),  hi = 1 / (q e^(-5k) + 1),
// in single precision. Null outputs are skipped.
void MP_calcHDRSigmoidCoefficients(float* k, float* q, float* lo, float* hi, float s);
