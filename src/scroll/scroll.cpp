// scroll — scroller: a text of block letters moving across a text canvas,
// repeated without end.
//
// No switches, no reports. Depends on scr (the canvas), seq (the text
// cursor), bigfont (the glyphs) and util (allocation, text length).
#include "scroll/scroll.h"

#include <cstdint>
#include <cstdlib>  // free

#include "util/util.h"

namespace {

// Text of a new scroller; static, never owned by a scroller.
constexpr char kDefaultText[] = "A scroll's default text. ";

constexpr int32_t kCharacterSize = 1;  // bytes per element of the text cursor
constexpr int32_t kTextStep = 1;       // the cursor moves one character a glyph
constexpr int32_t kDefaultSpeed = 1;   // columns added to position per step

// A 64-bit column brought into the 32-bit range. Columns beyond it lie far
// outside any canvas, and so do the clamped values, so nothing is drawn for
// them either way.
int32_t clampColumn(int64_t column) {
  if (column > INT32_MAX) return INT32_MAX;
  if (column < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(column);
}

}  // namespace

// ---- Record -------------------------------------------------------------

// Allocates a scroller on the current canvas with a cursor over the default
// text and a font of its own; on any failure releases what it had
// allocated.
SCROLL* SCROLLNew() {
  SCR* canvas = SCRCurrent();
  if (canvas == nullptr) return nullptr;
  SCROLL* scroller = static_cast<SCROLL*>(MEMAlloc(1, sizeof(SCROLL)));
  if (scroller == nullptr) return nullptr;
  scroller->canvas = canvas;
  scroller->w = canvas->w;
  scroller->h = canvas->h;
  scroller->text = SEQNew();
  scroller->font = BIGFONTNew();
  if (scroller->text == nullptr || scroller->font == nullptr) {
    SEQFree(scroller->text);
    BIGFONTFree(scroller->font);
    std::free(scroller);
    return nullptr;
  }
  SEQSet(scroller->text, kDefaultText, kCharacterSize,
         STRLength(kDefaultText), kTextStep);
  scroller->position = 0;
  scroller->speed = kDefaultSpeed;
  return scroller;
}

// Releases the text cursor record and the scroller record; the font stays.
void SCROLLFree(SCROLL* scroller) {
  if (scroller == nullptr) return;
  SEQFree(scroller->text);
  std::free(scroller);
}

// ---- Drawing and stepping -------------------------------------------------

// With q = position / glyph width (truncated) and r the remainder (sign of
// the position), the cursor is put on character q in one step of q places
// from index 0 (a floored remainder, constant time whatever the position),
// then one glyph is drawn every glyph width from column x - r on, while the
// slot starts left of the canvas's right edge: 14 glyphs for 80 columns.
// A font whose glyph width is below 1 draws nothing.
void SCROLLDraw(SCROLL* scroller) {
  const int64_t glyphWidth = scroller->font->w;
  if (glyphWidth < 1) return;
  const int64_t position = scroller->position;
  const int64_t quotient = position / glyphWidth;
  const int64_t subOffset = position - quotient * glyphWidth;
  SEQ* text = scroller->text;
  text->index = 0;
  text->step = static_cast<int32_t>(quotient);  // |quotient| <= |position|
  SEQStep(text);
  text->step = kTextStep;
  const int64_t start = int64_t{scroller->x} - subOffset;
  for (int64_t k = 0; k < scroller->canvas->w; k += glyphWidth) {
    const char character = *static_cast<const char*>(SEQGet(text));
    const int32_t code = static_cast<signed char>(character);
    BIGFONTDrawGlyph(scroller->font, clampColumn(start + k), scroller->y,
                     code);
    SEQStep(text);
  }
}

// Adds speed to position in unsigned arithmetic, so the position wraps
// from INT32_MAX to INT32_MIN (and back) without overflow.
void SCROLLStep(SCROLL* scroller) {
  scroller->position = static_cast<int32_t>(
      static_cast<uint32_t>(scroller->position) +
      static_cast<uint32_t>(scroller->speed));
}
