// font — bitmap font: draws characters into an image by copying glyph cells
// out of a glyph sheet image.
//
// The glyphs lie in the sheet in code order as one strip of cells, each
// glyphWidth wide, wrapped at the sheet's width into rows glyphHeight tall:
// code c starts at sx = (c × glyphWidth) mod W, sy = ((c × glyphWidth) div W)
// × glyphHeight, with truncating division (negative codes give cells left of
// or above the sheet). The product c × glyphWidth is taken in 64 bits, so
// every 32-bit code is safe; pen positions beyond the 32-bit range are
// clamped to it (still outside every image). Sheet pixels of value 0 are
// transparent.
//
// Error switch: kFONTErrorReports (font.cpp), off. When on, every failed
// argument test prints "FONT Error.\n"; either way the operation then
// returns without other effect. Depends on img.
#pragma once

#include <cstdint>  // int32_t, uint32_t

#include "img/img.h"

struct FONT {
  int32_t glyphWidth;   // cell width in pixels and horizontal advance; 6 new
  int32_t glyphHeight;  // cell height in pixels; 6 new
  IMG* sheet;           // glyph sheet (owned; freed with the font); null new
};

// New font with 6 × 6 glyphs and no sheet; null after a report when memory
// runs out.
FONT* FONTNew();

// Releases the font and its sheet and sets the caller's handle to null; a
// null address or handle: report, nothing else.
void FONTFree(FONT** font);

// Copies the glyph cell of the code to pixel (x, y) of the destination,
// clipped, zero pixels transparent. Null font or no sheet: report, nothing
// drawn. A sheet of width 0 draws nothing.
void FONTDrawChar(const FONT* font, int32_t code, int32_t x, int32_t y,
                  IMG* destination);

// Draws the byte as two upper-case hexadecimal digits. Null font: report.
void FONTDrawHex8(const FONT* font, unsigned char value, int32_t x, int32_t y,
                  IMG* destination);

// Draws the value as four hexadecimal digits. Null font: report.
void FONTDrawHex16(const FONT* font, unsigned short value, int32_t x,
                   int32_t y, IMG* destination);

// Draws the value as eight hexadecimal digits. Null font: report.
void FONTDrawHex32(const FONT* font, uint32_t value, int32_t x, int32_t y,
                   IMG* destination);

// Draws the text up to its first line feed or its end, one glyph every
// glyphWidth pixels, bytes taken as signed codes. Null font or text: report.
void FONTDrawLine(const FONT* font, const char* text, int32_t x, int32_t y,
                  IMG* destination);

// The module's error report: "FONT Error.\n" when the switch is on.
void FONTError();
