// scroll — scroller: a text of block letters moving across a text canvas.
//
// The position counts canvas columns; the text, read through a table cursor
// over its characters, repeats without end. Each SCROLLDraw places the
// glyphs for the current position afresh, so the picture depends on the
// position alone. No operation reports anything. Depends on scr, seq,
// bigfont and util.
#pragma once

#include <cstdint>  // int32_t

#include "scroll/bigfont.h"
#include "scr/scr.h"
#include "seq/seq.h"

struct SCROLL {
  int32_t x;         // column where the glyph under the position starts when
                     // the position is a multiple of the glyph width
  int32_t y;         // row of the top row of the glyphs
  int32_t z;         // no role; read by no operation
  int32_t w;         // canvas columns at creation; read by no operation
  int32_t h;         // canvas rows at creation; read by no operation
  int32_t d;         // no role; read by no operation
  int32_t speed;     // added to position by SCROLLStep; 1 new
  int32_t position;  // scroll position in canvas columns; wraps at 32 bits
  SCR* canvas;       // canvas whose width bounds the drawing (borrowed)
  SEQ* text;         // cursor of 1-byte elements over the text (owned; the
                     // characters are borrowed and hold at least one)
  BIGFONT* font;     // block-letter font (created here, not released here)
};

// New scroller on the current canvas over the default text "A scroll's
// default text. ". Null when no canvas exists yet or memory runs out.
SCROLL* SCROLLNew();

// Releases the scroller record and its text cursor record; not the font,
// not the characters.
void SCROLLFree(SCROLL* scroller);

// Draws the visible glyphs of the text at the current position.
void SCROLLDraw(SCROLL* scroller);

// Adds speed to position (wrapping at 32 bits).
void SCROLLStep(SCROLL* scroller);
