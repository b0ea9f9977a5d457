// bigfont glyphs — the one font definition shared by every BIGFONT: glyph
// size, number of entries and the glyph texts by character code.
//
// Internal to the scroll module (bigfont.cpp reads it). No switches; no
// dependencies.
#pragma once

#include <cstdint>  // int32_t

// Glyph size and glyph table of the block-letter font.
struct BigFontDefinition {
  int32_t w;                  // glyph width in cells, the blank sixth included
  int32_t h;                  // glyph height in cells, the descender included
  int32_t count;              // entries in glyphs, one per code 0 .. count-1
  const char* const* glyphs;  // glyph text by code; null: no glyph
};

// The definition every BIGFONT copies: 6 × 6 cells, 128 codes.
extern const BigFontDefinition kBigFontDefinition;
