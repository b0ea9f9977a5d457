// checker — checkerboard layer: square blocks of one character over the
// whole of a text canvas, moved and sized by three table cursors.
//
// A cell (c, r) is set to fill exactly when floor((c - X) / s) +
// floor((r - Y) / s) is odd, X, Y and S being the cursors' current values
// and s = |S| (1 when S is 0); every other cell keeps its value. The layer
// draws into the canvas that was current when it was created. No operation
// reports anything. Depends on scr and seq.
#pragma once

#include <cstdint>  // int32_t

#include "scr/scr.h"
#include "seq/seq.h"

struct CHECKER {
  int32_t x;        // column on the canvas; read by no operation
  int32_t y;        // row on the canvas; read by no operation
  int32_t z;        // further header value; read by no operation
  int32_t w;        // canvas columns at creation; read by no operation
  int32_t h;        // canvas rows at creation; read by no operation
  int32_t d;        // further header value; read by no operation
  SCR* canvas;      // canvas drawn into (borrowed)
  SEQ* xOffset;     // cursor over 4-byte horizontal offsets (replaceable)
  SEQ* yOffset;     // cursor over 4-byte vertical offsets (replaceable)
  SEQ* squareSize;  // cursor over 4-byte square sides (replaceable)
  char fill;        // character the squares are drawn with
};

// New layer on the current canvas with cursors over the default tables and
// fill 'O'. Null when no canvas exists yet or memory runs out.
CHECKER* CHECKERNew();

// Releases the layer record only: not its cursors, not its canvas.
void CHECKERFree(CHECKER* layer);

// Draws the checkerboard of the cursors' current values into the canvas.
void CHECKERDraw(CHECKER* layer);

// Steps the x-offset, y-offset and square-size cursors, in that order.
void CHECKERStep(CHECKER* layer);
