// Test support: text canvases filled with a sentinel before drawing, so that
// a test sees what was drawn and what was left alone, and their pictures.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "scr/scr.h"

constexpr int32_t kCanvasSentinel = '.';  // fills canvases before drawing

// A canvas of the given size with every cell set to the sentinel; it is the
// current canvas afterwards.
inline SCR* SentinelCanvas(int32_t columns, int32_t rows) {
  SCR* canvas = SCRNew();
  SCRResize(canvas, columns, rows);
  SCRFill(canvas, kCanvasSentinel);
  return canvas;
}

// The canvas as text, one line per row, each cell as its low byte.
inline std::string Picture(const SCR* canvas) {
  std::string text;
  for (int32_t r = 0; r < canvas->h; ++r) {
    for (int32_t c = 0; c < canvas->w; ++c) {
      text += static_cast<char>(canvas->cells[r * canvas->w + c]);
    }
    text += '\n';
  }
  return text;
}

// Cells that no longer hold the sentinel, as (column, row) pairs.
inline std::set<std::pair<int32_t, int32_t>> Drawn(const SCR* canvas) {
  std::set<std::pair<int32_t, int32_t>> cells;
  for (int32_t r = 0; r < canvas->h; ++r) {
    for (int32_t c = 0; c < canvas->w; ++c) {
      if (canvas->cells[r * canvas->w + c] != kCanvasSentinel) {
        cells.insert({c, r});
      }
    }
  }
  return cells;
}
