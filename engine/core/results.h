#pragma once
// Result codes of engine functions.
constexpr int MP_OK = 0;
constexpr int MP_ERR_NOMEMORY = -1;   // working memory could not be had
constexpr int MP_ERR_INPUT = -2;      // missing or invalid input
constexpr int MP_ERR_FLATIMAGE = -3;  // alignment: flat image
constexpr int MP_ERR_CONGRUENT = -4;  // alignment: already congruent
constexpr int MP_ERR_NOIMPROVE = -5;  // alignment: no improvement
