// demo data — the choreography the frame loop plays back: the logo, its
// path, the motion tables of the three checkerboard layers and the two
// scroll texts. Static, read-only; nothing here changes while the demo
// runs. No switches; depends on nothing but the driver's header.
#include <cstdint>
#include <iterator>  // std::size

#include "demo/demo.h"

namespace {

// ---- Logo path ---------------------------------------------------------
// A closed loop around the centre, clockwise on screen, starting at its
// rightmost point (20, 0).
constexpr int32_t kLogoXValues[] = {
    20, 20, 19, 19, 18, 17, 15, 14, 12, 10, 8, 6, 4, 2, 0, -2, -4, -6, -8,
    -10, -12, -14, -15, -17, -18, -19, -19, -20, -20, -20, -20, -19, -19, -18,
    -17, -15, -14, -12, -10, -8, -6, -4, -2, 0, 2, 4, 6, 8, 10, 12, 14, 15,
    17, 18, 19, 19, 20, 20
};
constexpr int32_t kLogoYValues[] = {
    0, 1, 2, 3, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 9, 9, 8, 8, 7, 7, 6, 6, 5, 5,
    4, 3, 2, 1, 0, -1, -2, -3, -4, -5, -5, -6, -6, -7, -7, -8, -8, -9, -9, -9,
    -9, -8, -8, -7, -7, -6, -6, -5, -5, -4, -3, -2, -1
};

// ---- Layer 1: ':' ------------------------------------------------------
// The x offsets step back by one cell at entries 35 to 39 (4, 2, 3, 1, 0).
constexpr int32_t kLayer1XOffsets[] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 9, 9, 10, 10, 11, 11, 11, 12, 12, 12, 12,
    12, 12, 11, 11, 11, 10, 10, 9, 9, 8, 8, 7, 6, 5, 4, 2, 3, 1, 0, -1, -2,
    -3, -4, -5, -6, -7, -8, -8, -9, -9, -10, -10, -11, -11, -11, -12, -12,
    -12, -12, -12, -12, -11, -11, -11, -10, -10, -9, -9, -8, -8, -7, -6, -5,
    -4, -3, -2, -1
};
constexpr int32_t kLayer1YOffsets[] = {
    0, 0, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 5, 5,
    5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 0, 0, -1, -1, -2, -2, -2, -3, -3,
    -3, -4, -4, -4, -5, -5, -5, -5, -6, -6, -6, -6, -6, -6, -5, -5, -5, -5,
    -4, -4, -4, -3, -3, -3, -2, -2, -2, -1, -1
};
constexpr int32_t kLayer1SquareSizes[] = {
    4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4
};

// ---- Layer 2: '-' ------------------------------------------------------
constexpr int32_t kLayer2XOffsets[] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 17, 18, 18,
    19, 19, 20, 20, 20, 21, 21, 21, 22, 22, 22, 22, 23, 23, 23, 23, 23, 23,
    23, 23, 23, 23, 22, 22, 22, 22, 21, 21, 21, 20, 20, 20, 19, 19, 18, 18,
    17, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2,
    -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, -13, -14, -15, -16, -17, -17,
    -18, -18, -19, -19, -20, -20, -20, -21, -21, -21, -22, -22, -22, -22, -23,
    -23, -23, -23, -23, -23, -23, -23, -23, -23, -22, -22, -22, -22, -21, -21,
    -21, -20, -20, -20, -19, -19, -18, -18, -17, -17, -16, -15, -14, -13, -12,
    -11, -10, -9, -8, -7, -6, -5, -4, -3, -2, -1
};
constexpr int32_t kLayer2YOffsets[] = {
    0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10,
    10, 10, 10, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 10, 10, 10, 10, 10, 9,
    9, 9, 8, 8, 8, 7, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, 0, -1, -1, -2,
    -2, -3, -3, -4, -4, -5, -5, -6, -6, -7, -7, -8, -8, -8, -9, -9, -9, -10,
    -10, -10, -10, -10, -11, -11, -11, -11, -11, -11, -11, -11, -11, -11, -10,
    -10, -10, -10, -10, -9, -9, -9, -8, -8, -8, -7, -7, -6, -6, -5, -5, -4,
    -4, -3, -3, -2, -2, -1, -1
};
constexpr int32_t kLayer2SquareSizes[] = {
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12
};

// ---- Layer 3: ')' ------------------------------------------------------
// The y offsets step back by one cell at entries 35 to 39 (4, 2, 3, 1, 0)
// and end with -4, -2, -3, -1 (entries 74 to 77).
constexpr int32_t kLayer3XOffsets[] = {
    0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 33, 34, 35,
    36, 37, 38, 39, 40, 41, 41, 42, 42, 42, 43, 43, 43, 43, 44, 44, 44, 44,
    44, 44, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 44, 44, 44, 44, 44, 44,
    43, 43, 43, 43, 42, 42, 42, 41, 41, 40, 39, 38, 37, 36, 35, 34, 33, 32,
    30, 28, 26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 0, -2, -4, -6, -8,
    -10, -12, -14, -16, -18, -20, -22, -24, -26, -28, -30, -32, -33, -34, -35,
    -36, -37, -38, -39, -40, -41, -41, -42, -42, -42, -43, -43, -43, -43, -44,
    -44, -44, -44, -44, -44, -45, -45, -45, -45, -45, -45, -45, -45, -45, -45,
    -44, -44, -44, -44, -44, -44, -43, -43, -43, -43, -42, -42, -42, -41, -41,
    -40, -39, -38, -37, -36, -35, -34, -33, -32, -30, -28, -26, -24, -22, -20,
    -18, -16, -14, -12, -10, -8, -6, -4, -2
};
constexpr int32_t kLayer3YOffsets[] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 9, 10, 10, 11, 11, 11, 12, 12, 12, 12, 12,
    12, 12, 12, 11, 11, 11, 10, 10, 9, 8, 8, 7, 6, 5, 4, 2, 3, 1, 0, -1, -2,
    -3, -4, -5, -6, -7, -8, -8, -9, -10, -10, -11, -11, -11, -12, -12, -12,
    -12, -12, -12, -12, -12, -11, -11, -11, -10, -10, -9, -8, -8, -7, -6, -5,
    -4, -2, -3, -1
};
constexpr int32_t kLayer3SquareSizes[] = {
    36, 36, 36, 36, 36, 36, 36, 36, 36, 36, 36, 36
};

// Number of values of a table, as the 32-bit count a cursor takes.
template <size_t N>
constexpr int32_t countOf(const int32_t (&)[N]) {
  return static_cast<int32_t>(N);
}

}  // namespace

// ---- Logo --------------------------------------------------------------

// The word KOVA in block letters inside a frame of '|', 21 × 7 characters.
const char kDEMOLogo[] =
    "|||||||||||||||||||||\n"
    "| K  K OOO V V  AA  |\n"
    "| K K  O O V V A  A |\n"
    "| KK   O O V V AAAA |\n"
    "| K K  O O V V A  A |\n"
    "| K  K OOO  V  A  A |\n"
    "|||||||||||||||||||||";

// The logo path tables.
const DEMOTable kDEMOLogoX = {kLogoXValues, countOf(kLogoXValues)};
const DEMOTable kDEMOLogoY = {kLogoYValues, countOf(kLogoYValues)};

// ---- Layers ------------------------------------------------------------

// The three layers in drawing order.
const DEMOLayerData kDEMOLayers[kDEMOLayerCount] = {
    {{kLayer1XOffsets, countOf(kLayer1XOffsets)},
     {kLayer1YOffsets, countOf(kLayer1YOffsets)},
     {kLayer1SquareSizes, countOf(kLayer1SquareSizes)},
     ':'},
    {{kLayer2XOffsets, countOf(kLayer2XOffsets)},
     {kLayer2YOffsets, countOf(kLayer2YOffsets)},
     {kLayer2SquareSizes, countOf(kLayer2SquareSizes)},
     '-'},
    {{kLayer3XOffsets, countOf(kLayer3XOffsets)},
     {kLayer3YOffsets, countOf(kLayer3YOffsets)},
     {kLayer3SquareSizes, countOf(kLayer3SquareSizes)},
     ')'},
};

// ---- Scroll texts ------------------------------------------------------

// The windowed program's scroll text.
const char kDEMOScrollTextWindowed[] =
    "                                        "  // 40 spaces
    "Welcome to KOVA 4018, a moving picture made of nothing but letters. "
    "Everything you see is a grid of 80 by 60 character cells, and every "
    "frame each of those 4800 cells is drawn through an 8 by 8 pixel font "
    "into one 640 by 480 image. Behind the logo three checkerboards "
    "slide and breathe: colons in squares of four cells, dashes in "
    "squares of twelve, round brackets in squares of thirty-six. Each "
    "one is drawn over the last, and where their squares cross the "
    "patterns beat against each other. The framed logo travels a closed "
    "loop of 58 steps around the centre, clockwise, starting at its "
    "rightmost point. The letters you are reading are block letters five "
    "cells tall, every cell of them a hash sign, sliding one cell to the "
    "left per frame. No clock drives any of this: each motion is a small "
    "table of numbers walked by a cursor that wraps around at its end, "
    "one step per frame, so a faster machine simply plays the whole show "
    "faster. Keys 1, 2 and 3 turn switches that change nothing you can "
    "see. Space leaves the frame loop and comes straight back without a "
    "jump. Press [ESC] to exit. See you on the next lap."
    "                         ";  // 25 spaces

// The full-screen program's scroll text.
const char kDEMOScrollTextFullScreen[] =
    "                                        "  // 40 spaces
    "KOVA 4018 now fills the whole screen: 80 columns and 60 rows of "
    "character cells, three sliding checkerboards of colons, dashes and "
    "brackets, a framed logo on a loop of 58 steps and these block "
    "letters of hash signs, all drawn from nothing in every frame "
    "through an 8 by 8 pixel font. Every motion is a table of numbers "
    "stepped once per frame, so the speed is the frame rate. There is no "
    "window to close here: to return to the desktop, press Q or [ESC]. "
    "Nothing here is a picture file: the only pixels loaded are the "
    "glyphs of the font sheet, and the rest is arithmetic on cells. The "
    "text starts over after a pause..."
    "                                        ";  // 40 spaces
