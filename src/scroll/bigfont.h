// bigfont — block-letter font: large letters made of characters, drawn into
// a text canvas on a 6 × 6 cell pitch.
//
// Codes 32..126 are block letters of '#' (the quotation mark and the
// commercial at are drawn with their own characters), codes 0..31 their
// two-digit hexadecimal value in narrow digits (10 shows 00), 127 and codes
// outside 0..127 have no glyph. Glyph blanks are transparent. No operation
// reports anything. Depends on scr.
#pragma once

#include <cstdint>  // int32_t

#include "scr/scr.h"

struct BIGFONT {
  SCR* canvas;                // canvas drawn into (borrowed)
  int32_t w;                  // glyph width in cells: 6
  int32_t h;                  // glyph height in cells: 6
  int32_t count;              // entries in the glyph table: 128
  const char* const* glyphs;  // shared static glyph texts by code (borrowed);
                              // null entries have no glyph
};

// New font on the current canvas. Null when no canvas exists yet or memory
// runs out.
BIGFONT* BIGFONTNew();

// Releases the font record; the glyph table and the canvas stay.
void BIGFONTFree(BIGFONT* font);

// Draws the glyph of the code with its top-left cell at (column, row); draws
// nothing for codes without a glyph or when the glyph lies wholly right of or
// below the canvas, or starts more than one glyph left of or above it.
void BIGFONTDrawGlyph(BIGFONT* font, int32_t column, int32_t row, int32_t code);

// Draws a multi-line text with spaces transparent: a line feed goes to the
// next row at the start column, a space leaves its cell as it was.
void BIGFONTDrawString(SCR* canvas, int32_t column, int32_t row,
                       const char* text);
