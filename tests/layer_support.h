// Test support: releasing the drawing layers of a frame together with what
// they own, which the modules' own release functions leave to the caller.
#pragma once

#include "checker/checker.h"
#include "scroll/bigfont.h"
#include "scroll/scroll.h"
#include "seq/seq.h"

// Releases a checkerboard layer and the three cursors it holds.
inline void FreeLayer(CHECKER* layer) {
  SEQFree(layer->xOffset);
  SEQFree(layer->yOffset);
  SEQFree(layer->squareSize);
  CHECKERFree(layer);
}

// Releases a scroller together with its font.
inline void FreeScroller(SCROLL* scroller) {
  BIGFONT* font = scroller->font;
  SCROLLFree(scroller);
  BIGFONTFree(font);
}
