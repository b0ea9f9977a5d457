// font — bitmap font: draws characters, hexadecimal numbers and lines of
// text into an image by copying glyph cells out of a glyph sheet.
//
// Switch: kFONTErrorReports, off: FONTError is compiled in and called for
// every failed argument test, but prints nothing. Depends on img (the sheet
// and IMGBlit) and util (allocation).
#include "font/font.h"

#include <cstdint>
#include <cstdio>   // printf
#include <cstdlib>  // free

#include "img/img.h"
#include "util/util.h"

namespace {

// Whether FONTError prints its line.
constexpr bool kFONTErrorReports = false;

constexpr int32_t kNewGlyphSide = 6;  // glyph width and height from FONTNew
constexpr int kNibbleBits = 4;
constexpr uint32_t kNibbleMask = 0xF;
constexpr uint32_t kDecimalDigits = 10;  // nibbles 0..9 draw '0'..'9'
constexpr int kByteBits = 8;
constexpr int kHalfWordBits = 16;
constexpr uint32_t kByteMask = 0xFF;
constexpr uint32_t kHalfWordMask = 0xFFFF;
constexpr int32_t kDigitsPerByte = 2;      // FONTDrawHex8 draws two digits
constexpr int32_t kDigitsPerHalfWord = 4;  // FONTDrawHex16 draws four
constexpr char kLineFeed = '\n';

// The value clamped to the signed 32-bit range. Used for pixel positions:
// a position beyond the range lies outside every image, and so does the
// clamped one, so drawing there changes nothing either way.
int32_t saturated(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// x + steps × glyphWidth as a clamped pixel position (steps is small).
int32_t glyphPosition(int32_t x, int32_t steps, int32_t glyphWidth) {
  return saturated(x + int64_t{steps} * glyphWidth);
}

// Top pixel row of the cell in glyph row `row`: row × glyphHeight, clamped.
// A row beyond the 32-bit range is at least as far out as its clamped top.
int32_t cellTop(int64_t row, int32_t glyphHeight) {
  if (row >= INT32_MIN && row <= INT32_MAX) {
    return saturated(row * glyphHeight);  // |product| < 2^62
  }
  if (glyphHeight == 0) return 0;
  return (row < 0) == (glyphHeight < 0) ? INT32_MAX : INT32_MIN;
}

// Glyph code of the upper-case hexadecimal digit of a nibble 0..15.
int32_t hexDigit(uint32_t nibble) {
  return nibble < kDecimalDigits
             ? static_cast<int32_t>('0' + nibble)
             : static_cast<int32_t>('A' + (nibble - kDecimalDigits));
}

}  // namespace

// ---- Errors -------------------------------------------------------------

// Prints the module's one-line report when the switch is on.
void FONTError() {
  if (kFONTErrorReports) std::printf("FONT Error.\n");
}

// ---- Record -------------------------------------------------------------

// Allocates a font with 6 × 6 glyphs and no sheet.
FONT* FONTNew() {
  FONT* font = static_cast<FONT*>(MEMAlloc(1, sizeof(FONT)));
  if (font == nullptr) {
    FONTError();
    return nullptr;
  }
  font->glyphWidth = kNewGlyphSide;
  font->glyphHeight = kNewGlyphSide;
  return font;
}

// Frees the sheet (clearing the field), then the record, and clears the
// caller's handle.
void FONTFree(FONT** font) {
  if (font == nullptr || *font == nullptr) {
    FONTError();
    return;
  }
  if ((*font)->sheet != nullptr) IMGFree(&(*font)->sheet);
  std::free(*font);
  *font = nullptr;
}

// ---- Drawing ------------------------------------------------------------

// Finds the code's cell, (c × glyphWidth) mod W across and
// ((c × glyphWidth) div W) × glyphHeight down with truncating division, and
// blits it. The product is taken in 64 bits, so no code overflows; within
// the 32-bit range the cell is the same.
void FONTDrawChar(const FONT* font, int32_t code, int32_t x, int32_t y,
                  IMG* destination) {
  if (font == nullptr || font->sheet == nullptr) {
    FONTError();
    return;
  }
  const int64_t sheetWidth = font->sheet->width;
  if (sheetWidth == 0) return;  // a sheet without columns holds no cells
  const int64_t offset = int64_t{code} * font->glyphWidth;
  const int32_t sx = static_cast<int32_t>(offset % sheetWidth);
  const int32_t sy = cellTop(offset / sheetWidth, font->glyphHeight);
  IMGBlit(font->sheet, destination, sx, sy, x, y, font->glyphWidth,
          font->glyphHeight);
}

// Draws the high nibble's digit, then the low nibble's one glyph further.
void FONTDrawHex8(const FONT* font, unsigned char value, int32_t x, int32_t y,
                  IMG* destination) {
  if (font == nullptr) {
    FONTError();
    return;
  }
  for (int32_t digit = 0; digit < kDigitsPerByte; ++digit) {
    const int shift = (kDigitsPerByte - 1 - digit) * kNibbleBits;
    FONTDrawChar(font, hexDigit((uint32_t{value} >> shift) & kNibbleMask),
                 glyphPosition(x, digit, font->glyphWidth), y, destination);
  }
}

// Draws the high byte, then the low byte two glyphs further.
void FONTDrawHex16(const FONT* font, unsigned short value, int32_t x, int32_t y,
                   IMG* destination) {
  if (font == nullptr) {
    FONTError();
    return;
  }
  const uint32_t bits = value;
  FONTDrawHex8(font,
               static_cast<unsigned char>((bits >> kByteBits) & kByteMask), x,
               y, destination);
  FONTDrawHex8(font, static_cast<unsigned char>(bits & kByteMask),
               glyphPosition(x, kDigitsPerByte, font->glyphWidth), y,
               destination);
}

// Draws the upper half, then the lower half four glyphs further.
void FONTDrawHex32(const FONT* font, uint32_t value, int32_t x, int32_t y,
                   IMG* destination) {
  if (font == nullptr) {
    FONTError();
    return;
  }
  FONTDrawHex16(
      font,
      static_cast<unsigned short>((value >> kHalfWordBits) & kHalfWordMask), x,
      y, destination);
  FONTDrawHex16(font, static_cast<unsigned short>(value & kHalfWordMask),
                glyphPosition(x, kDigitsPerHalfWord, font->glyphWidth), y,
                destination);
}

// Draws each byte, as a signed code, up to the first line feed or the end;
// the pen moves one glyphWidth per byte (clamped at the 32-bit range).
void FONTDrawLine(const FONT* font, const char* text, int32_t x, int32_t y,
                  IMG* destination) {
  if (font == nullptr || text == nullptr) {
    FONTError();
    return;
  }
  int32_t pen = x;
  for (const char* p = text; *p != '\0' && *p != kLineFeed; ++p) {
    const int32_t code = static_cast<signed char>(*p);
    FONTDrawChar(font, code, pen, y, destination);
    pen = glyphPosition(pen, 1, font->glyphWidth);
  }
}
