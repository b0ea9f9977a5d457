// scr — text canvas of character cells and the program-wide current canvas.
// No switches, no reports; depends on util (allocation).
#include "scr/scr.h"

#include <cstdint>
#include <cstdio>   // FILE, fputc, fflush
#include <cstdlib>  // free
#include <utility>  // swap

#include "util/util.h"

namespace {

constexpr int32_t kNewColumns = 80;  // size of a canvas fresh from SCRNew
constexpr int32_t kNewRows = 25;
constexpr int32_t kSpace = ' ';       // what every cell holds after a resize
constexpr char kLineFeed = '\n';
constexpr int kFractionBits = 16;     // line walks run in 16.16 fixed point
constexpr int64_t kOne = int64_t{1} << kFractionBits;
constexpr int64_t kHalf = kOne / 2;   // middle of a cell

// The most recently created canvas.
SCR* gCurrent = nullptr;

// Stores value in cell (column, row) when the cell exists; coordinates are
// 64-bit so that callers walking far outside the grid cannot overflow.
void putCell(SCR* canvas, int64_t column, int64_t row, int32_t value) {
  if (column < 0 || column >= canvas->w || row < 0 || row >= canvas->h) {
    return;
  }
  canvas->cells[row * canvas->w + column] = value;
}

// A character as a cell stores it: a signed 8-bit value widened to 32 bits.
int32_t charCell(char character) {
  return static_cast<int32_t>(static_cast<signed char>(character));
}

// Integer part of a 16.16 value, rounded toward minus infinity (an
// arithmetic shift right by 16).
int64_t floorFixed(int64_t value) {
  return value >= 0 ? value / kOne : -((-value + kOne - 1) / kOne);
}

}  // namespace

// ---- Creation -----------------------------------------------------------

// Allocates an 80 × 25 canvas of spaces and makes it current.
SCR* SCRNew() {
  SCR* canvas = static_cast<SCR*>(MEMAlloc(1, sizeof(SCR)));
  if (canvas == nullptr) return nullptr;
  SCRResize(canvas, kNewColumns, kNewRows);
  if (canvas->cells == nullptr) {
    std::free(canvas);
    return nullptr;
  }
  gCurrent = canvas;
  return canvas;
}

// The canvas SCRNew made last.
SCR* SCRCurrent() { return gCurrent; }

// Replaces the cell array by one of the new size, all spaces.
void SCRResize(SCR* canvas, int32_t columns, int32_t rows) {
  std::free(canvas->cells);
  canvas->w = columns < 0 ? 0 : columns;
  canvas->h = rows < 0 ? 0 : rows;
  canvas->cells = static_cast<int32_t*>(
      MEMAlloc(int64_t{canvas->w} * canvas->h, sizeof(int32_t)));
  if (canvas->cells == nullptr) {
    canvas->w = 0;
    canvas->h = 0;
  }
  SCRFill(canvas, kSpace);
}

// ---- Cells --------------------------------------------------------------

// Stores value in all w × h cells.
void SCRFill(SCR* canvas, int32_t value) {
  const int64_t count = int64_t{canvas->w} * canvas->h;
  for (int64_t i = 0; i < count; ++i) canvas->cells[i] = value;
}

// Stores a character, widened as a signed byte, in one cell.
void SCRPut(SCR* canvas, int32_t column, int32_t row, char character) {
  putCell(canvas, column, row, charCell(character));
}

// Stores a full int in one cell.
void SCRPutInt(SCR* canvas, int32_t column, int32_t row, int32_t value) {
  putCell(canvas, column, row, value);
}

// Draws the text cell by cell; a line feed returns to the start column one
// row down.
void SCRDrawString(SCR* canvas, int32_t column, int32_t row,
                   const char* text) {
  int64_t c = column;
  int64_t r = row;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == kLineFeed) {
      c = column;
      ++r;
    } else {
      putCell(canvas, c, r, charCell(*p));
      ++c;
    }
  }
}

// ---- Runs and rectangles -------------------------------------------------

// Orders the columns, rejects runs off the grid, clamps, then fills.
void SCRHLine(SCR* canvas, int32_t columnA, int32_t columnB, int32_t row,
              char character) {
  if (columnA > columnB) std::swap(columnA, columnB);
  if (row < 0 || row >= canvas->h || columnA >= canvas->w || columnB < 0) {
    return;
  }
  if (columnA < 0) columnA = 0;
  if (columnB >= canvas->w) columnB = canvas->w - 1;
  int32_t* cells = canvas->cells + int64_t{row} * canvas->w;
  const int32_t value = charCell(character);
  for (int32_t c = columnA; c <= columnB; ++c) cells[c] = value;
}

// Orders the rows, rejects runs off the grid, clamps, then fills.
void SCRVLine(SCR* canvas, int32_t rowA, int32_t rowB, int32_t column,
              char character) {
  if (rowA > rowB) std::swap(rowA, rowB);
  if (column < 0 || column >= canvas->w || rowA >= canvas->h || rowB < 0) {
    return;
  }
  if (rowA < 0) rowA = 0;
  if (rowB >= canvas->h) rowB = canvas->h - 1;
  const int32_t value = charCell(character);
  for (int32_t r = rowA; r <= rowB; ++r) {
    canvas->cells[int64_t{r} * canvas->w + column] = value;
  }
}

// Orders both corners, rejects rectangles off the grid, clamps the rows and
// the left column, and draws one run per row (the run clamps the right
// column).
void SCRFillRect(SCR* canvas, int32_t columnA, int32_t rowA, int32_t columnB,
                 int32_t rowB, char character) {
  if (columnA > columnB) std::swap(columnA, columnB);
  if (rowA > rowB) std::swap(rowA, rowB);
  if (columnB < 0 || columnA >= canvas->w || rowB < 0 || rowA >= canvas->h) {
    return;
  }
  if (rowA < 0) rowA = 0;
  if (columnA < 0) columnA = 0;
  if (rowB >= canvas->h) rowB = canvas->h - 1;
  for (int32_t r = rowA; r <= rowB; ++r) {
    SCRHLine(canvas, columnA, columnB, r, character);
  }
}

// ---- Lines --------------------------------------------------------------

// 16.16 walk from the left end: one cell per column for shallow lines, one
// per row for steep ones, the accumulator starting in the middle of the
// first cell. Point k of the walk is computed as start + k × step, which is
// what adding step k times gives, so only the k whose cells can lie on the
// grid are visited.
void SCRLine(SCR* canvas, int32_t columnA, int32_t rowA, int32_t columnB,
             int32_t rowB, char character) {
  int64_t x0 = columnA;
  int64_t y0 = rowA;
  int64_t x1 = columnB;
  int64_t y1 = rowB;
  if (x0 > x1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const int64_t w = canvas->w;
  const int64_t h = canvas->h;
  if (x1 < 0 || x0 >= w || (y0 < 0 && y1 < 0) || (y0 >= h && y1 >= h)) {
    return;
  }
  const int32_t value = charCell(character);
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const int64_t steps = dy < 0 ? -dy : dy;
  if (dx == 0 && dy == 0) {
    putCell(canvas, x0, y0, value);
    return;
  }
  if (dx >= steps) {
    const int64_t step = dy * kOne / dx;  // truncated toward zero
    const int64_t start = y0 * kOne + kHalf;
    const int64_t first = x0 < 0 ? 0 : x0;
    const int64_t last = x1 < w - 1 ? x1 : w - 1;
    for (int64_t x = first; x <= last; ++x) {
      putCell(canvas, x, floorFixed(start + (x - x0) * step), value);
    }
    return;
  }
  const int64_t sy = dy > 0 ? 1 : -1;
  const int64_t step = dx * kOne / steps;  // truncated toward zero
  const int64_t start = x0 * kOne + kHalf;
  // Row y0 + k × sy lies on the grid for k in [first, last].
  int64_t first = sy > 0 ? -y0 : y0 - (h - 1);
  int64_t last = sy > 0 ? (h - 1) - y0 : y0;
  if (first < 0) first = 0;
  if (last > steps) last = steps;
  for (int64_t k = first; k <= last; ++k) {
    putCell(canvas, floorFixed(start + k * step), y0 + k * sy, value);
  }
}

// ---- Text dump ----------------------------------------------------------

// Writes a line feed, then w-1 cells of every row with line feeds between
// the rows, flushes and counts the call.
void SCRPrint(SCR* canvas, FILE* stream) {
  std::fputc(kLineFeed, stream);
  for (int32_t r = 0; r < canvas->h; ++r) {
    const int32_t* row = canvas->cells + int64_t{r} * canvas->w;
    for (int32_t c = 0; c + 1 < canvas->w; ++c) {
      std::fputc(static_cast<unsigned char>(row[c]), stream);
    }
    if (r + 1 < canvas->h) std::fputc(kLineFeed, stream);
  }
  std::fflush(stream);
  canvas->printCount =
      static_cast<int32_t>(static_cast<uint32_t>(canvas->printCount) + 1u);
}
