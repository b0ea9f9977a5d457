// bigfont — block-letter font: glyph texts of characters drawn into a text
// canvas with their blanks transparent.
//
// No switches, no reports. Depends on scr (the canvas and SCRPut), util
// (allocation) and the glyph table in bigfont_glyphs.cpp.
#include "scroll/bigfont.h"

#include <cstdint>
#include <cstdlib>  // free

#include "scroll/bigfont_glyphs.h"
#include "util/util.h"

namespace {

constexpr char kLineFeed = '\n';
constexpr char kSpace = ' ';  // transparent in BIGFONTDrawString

}  // namespace

// ---- Record -------------------------------------------------------------

// Allocates a font on the current canvas over the shared glyph table.
BIGFONT* BIGFONTNew() {
  SCR* canvas = SCRCurrent();
  if (canvas == nullptr) return nullptr;
  BIGFONT* font = static_cast<BIGFONT*>(MEMAlloc(1, sizeof(BIGFONT)));
  if (font == nullptr) return nullptr;
  font->canvas = canvas;
  font->w = kBigFontDefinition.w;
  font->h = kBigFontDefinition.h;
  font->count = kBigFontDefinition.count;
  font->glyphs = kBigFontDefinition.glyphs;
  return font;
}

// Releases the record only.
void BIGFONTFree(BIGFONT* font) { std::free(font); }

// ---- Drawing ------------------------------------------------------------

// Looks up the glyph, rejects glyphs wholly right of or below the canvas or
// starting more than one glyph size left of or above it (so a glyph at
// column -w still passes and is then skipped cell by cell), and draws it.
void BIGFONTDrawGlyph(BIGFONT* font, int32_t column, int32_t row,
                      int32_t code) {
  if (code < 0 || code >= font->count) return;
  const char* glyph = font->glyphs[code];
  if (glyph == nullptr) return;
  const SCR* canvas = font->canvas;
  if (column >= canvas->w || row >= canvas->h) return;
  if (int64_t{column} < -int64_t{font->w}) return;
  if (int64_t{row} < -int64_t{font->h}) return;
  BIGFONTDrawString(font->canvas, column, row, glyph);
}

// Walks the text with a 64-bit column and row, so that no start position
// overflows; cells beyond the canvas are skipped, the rest go through
// SCRPut, which also skips cells left of or above the canvas.
void BIGFONTDrawString(SCR* canvas, int32_t column, int32_t row,
                       const char* text) {
  int64_t c = column;
  int64_t r = row;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == kLineFeed) {
      c = column;
      ++r;
      continue;
    }
    if (*p != kSpace && c < canvas->w && r < canvas->h) {
      SCRPut(canvas, static_cast<int32_t>(c), static_cast<int32_t>(r), *p);
    }
    ++c;
  }
}
