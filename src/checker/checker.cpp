// checker — checkerboard layer: squares of one character over the whole of
// a text canvas, placed by three table cursors.
//
// No switches, no reports. Depends on scr (the canvas and SCRFillRect), seq
// (the cursors) and util (allocation).
#include "checker/checker.h"

#include <cstddef>  // size_t
#include <cstdint>
#include <cstdlib>  // free
#include <cstring>  // memcpy

#include "util/util.h"

namespace {

constexpr char kDefaultFill = 'O';    // fill of a new layer
constexpr int32_t kValueSize = 4;     // bytes per table value
constexpr int32_t kDefaultStep = 1;   // each cursor moves one value a step
constexpr int64_t kSmallestSide = 1;  // side used for a square size of 0

// Default horizontal offsets: one slow swing right, then left, and back.
constexpr int32_t kDefaultXOffsets[] = {
    0,  2,  4,  5,  6,  7,  7,  8,  8,  8,  8,  8,  8,  7,  7,  6,  5,  4,  2,
    0, -2, -4, -5, -6, -7, -7, -8, -8, -8, -8, -8, -8, -7, -7, -6, -5, -4, -2,
};

// Default vertical offsets: one slow swing down, then up, and back.
constexpr int32_t kDefaultYOffsets[] = {
    0,  1,  2,  3,  4,  4,  5,  5,  6,  6,  6,  6,  5,  5,  4,  4,  3,  2,  1,
    0, -1, -2, -3, -4, -4, -5, -5, -6, -6, -6, -6, -5, -5, -4, -4, -3, -2, -1,
};

// Default square sides: 2 to 15 five times each, 16 ten times, then 15 down
// to 2 five times each.
constexpr int32_t kDefaultSquareSizes[] = {
    2,  2,  2,  2,  2,  3,  3,  3,  3,  3,
    4,  4,  4,  4,  4,  5,  5,  5,  5,  5,
    6,  6,  6,  6,  6,  7,  7,  7,  7,  7,
    8,  8,  8,  8,  8,  9,  9,  9,  9,  9,
    10, 10, 10, 10, 10, 11, 11, 11, 11, 11,
    12, 12, 12, 12, 12, 13, 13, 13, 13, 13,
    14, 14, 14, 14, 14, 15, 15, 15, 15, 15,
    16, 16, 16, 16, 16, 16, 16, 16, 16, 16,
    15, 15, 15, 15, 15, 14, 14, 14, 14, 14,
    13, 13, 13, 13, 13, 12, 12, 12, 12, 12,
    11, 11, 11, 11, 11, 10, 10, 10, 10, 10,
    9,  9,  9,  9,  9,  8,  8,  8,  8,  8,
    7,  7,  7,  7,  7,  6,  6,  6,  6,  6,
    5,  5,  5,  5,  5,  4,  4,  4,  4,  4,
    3,  3,  3,  3,  3,  2,  2,  2,  2,  2,
};

// Number of values of a table, as the cursor's count.
template <size_t N>
constexpr int32_t valueCount(const int32_t (&)[N]) {
  return static_cast<int32_t>(N);
}

static_assert(valueCount(kDefaultXOffsets) == 38, "x-offset table");
static_assert(valueCount(kDefaultYOffsets) == 38, "y-offset table");
static_assert(valueCount(kDefaultSquareSizes) == 150, "square-size table");

// New cursor over a default table, or null when memory runs out.
template <size_t N>
SEQ* newCursor(const int32_t (&table)[N]) {
  SEQ* cursor = SEQNew();
  if (cursor == nullptr) return nullptr;
  SEQSet(cursor, table, kValueSize, valueCount(table), kDefaultStep);
  return cursor;
}

// The 4-byte signed value under the cursor (copied, so the table need not be
// aligned).
int32_t currentValue(const SEQ* cursor) {
  int32_t value = 0;
  std::memcpy(&value, SEQGet(cursor), sizeof value);
  return value;
}

// Fills the square of the given side whose top-left cell is (column, row),
// clipped to the canvas. Coordinates are 64-bit so that squares of any size
// far outside the canvas cannot overflow; only the part on the canvas is
// handed to SCRFillRect.
void fillSquare(SCR* canvas, int64_t column, int64_t row, int64_t side,
                char fill) {
  const int64_t right = column + side - 1;
  const int64_t bottom = row + side - 1;
  if (right < 0 || bottom < 0 || column >= canvas->w || row >= canvas->h) {
    return;
  }
  const int64_t lastColumn = int64_t{canvas->w} - 1;
  const int64_t lastRow = int64_t{canvas->h} - 1;
  SCRFillRect(canvas, static_cast<int32_t>(column < 0 ? 0 : column),
              static_cast<int32_t>(row < 0 ? 0 : row),
              static_cast<int32_t>(right > lastColumn ? lastColumn : right),
              static_cast<int32_t>(bottom > lastRow ? lastRow : bottom), fill);
}

}  // namespace

// ---- Record -------------------------------------------------------------

// Allocates a layer on the current canvas with cursors over the default
// tables; on any failure releases what it had allocated.
CHECKER* CHECKERNew() {
  SCR* canvas = SCRCurrent();
  if (canvas == nullptr) return nullptr;
  CHECKER* layer = static_cast<CHECKER*>(MEMAlloc(1, sizeof(CHECKER)));
  if (layer == nullptr) return nullptr;
  layer->canvas = canvas;
  layer->w = canvas->w;
  layer->h = canvas->h;
  layer->xOffset = newCursor(kDefaultXOffsets);
  layer->yOffset = newCursor(kDefaultYOffsets);
  layer->squareSize = newCursor(kDefaultSquareSizes);
  if (layer->xOffset == nullptr || layer->yOffset == nullptr ||
      layer->squareSize == nullptr) {
    SEQFree(layer->xOffset);
    SEQFree(layer->yOffset);
    SEQFree(layer->squareSize);
    std::free(layer);
    return nullptr;
  }
  layer->fill = kDefaultFill;
  return layer;
}

// Releases the record only: the cursors and the canvas stay.
void CHECKERFree(CHECKER* layer) { std::free(layer); }

// ---- Drawing and stepping -------------------------------------------------

// Rows of squares s high, each shifted by s against the one above; within a
// row squares s wide, 2s apart. The first row and the first square of each
// row start one period or more above and left of the canvas (the remainders
// truncate toward zero), so the canvas is covered to its edges. The result
// is the closed rule of the header: (c, r) is filled exactly when
// floor((c - X) / s) + floor((r - Y) / s) is odd. All arithmetic is 64-bit,
// so any X, Y and S (INT32_MIN included) is safe.
void CHECKERDraw(CHECKER* layer) {
  SCR* canvas = layer->canvas;
  const int64_t x = currentValue(layer->xOffset);
  const int64_t y = currentValue(layer->yOffset);
  const int64_t size = currentValue(layer->squareSize);
  int64_t side = size < 0 ? -size : size;
  if (side == 0) side = kSmallestSide;
  const int64_t period = 2 * side;
  bool oddRow = false;  // even rows start 3s left of X rem 2s, odd rows 2s
  for (int64_t row = y % period - period; row < canvas->h; row += side) {
    const int64_t first = x % period - (oddRow ? period : period + side);
    for (int64_t column = first; column < canvas->w; column += period) {
      fillSquare(canvas, column, row, side, layer->fill);
    }
    oddRow = !oddRow;
  }
}

// Steps the x-offset, y-offset and square-size cursors, in that order.
void CHECKERStep(CHECKER* layer) {
  SEQStep(layer->xOffset);
  SEQStep(layer->yOffset);
  SEQStep(layer->squareSize);
}
