// Tests of the checkerboard layer.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "canvas_support.h"
#include "checker/checker.h"
#include "layer_support.h"
#include "scr/scr.h"
#include "seq/seq.h"
#include "util/util.h"

namespace {

constexpr char kFill = '#';  // the layers' fill in these tests

// Every value a cursor walks, from its current element on, one lap.
std::vector<int32_t> Walk(SEQ* cursor) {
  std::vector<int32_t> values;
  for (int32_t i = 0; i < cursor->count; ++i) {
    values.push_back(*static_cast<const int32_t*>(SEQGet(cursor)));
    SEQStep(cursor);
  }
  return values;
}

// A layer with the values its cursors are aimed at.
struct TestLayer {
  CHECKER* layer;
  int32_t values[3];  // X, Y, S, the one-value tables of the cursors
};

// Aims the layer's own cursors at one-value tables holding X, Y and S.
void Aim(TestLayer* test, int32_t x, int32_t y, int32_t s) {
  test->values[0] = x;
  test->values[1] = y;
  test->values[2] = s;
  SEQSet(test->layer->xOffset, &test->values[0], 4, 1, 1);
  SEQSet(test->layer->yOffset, &test->values[1], 4, 1, 1);
  SEQSet(test->layer->squareSize, &test->values[2], 4, 1, 1);
}

// Floor of a / b for b > 0, by stepping the truncated quotient down when the
// remainder is negative.
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if (q * b > a) --q;
  return q;
}

// The closed rule: (c, r) is filled exactly when floor((c - X) / s) +
// floor((r - Y) / s) is odd, with s = |S|, or 1 for S = 0.
bool Filled(int64_t c, int64_t r, int64_t x, int64_t y, int64_t s) {
  if (s < 0) s = -s;
  if (s == 0) s = 1;
  return ((FloorDiv(c - x, s) + FloorDiv(r - y, s)) & 1) != 0;
}

// What the rule gives over a sentinel canvas of the given size.
std::string Reference(int32_t columns, int32_t rows, int32_t x, int32_t y,
                      int32_t s) {
  std::string text;
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < columns; ++c) {
      text +=
          Filled(c, r, x, y, s) ? kFill : static_cast<char>(kCanvasSentinel);
    }
    text += '\n';
  }
  return text;
}

// A picture of one layer over one X, Y, S on a sentinel canvas.
std::string Draw(int32_t columns, int32_t rows, int32_t x, int32_t y,
                 int32_t s) {
  SCR* canvas = SentinelCanvas(columns, rows);
  TestLayer test{CHECKERNew(), {}};
  test.layer->fill = kFill;
  Aim(&test, x, y, s);
  CHECKERDraw(test.layer);
  const std::string picture = Picture(canvas);
  FreeLayer(test.layer);
  return picture;
}

// ---- Creation -------------------------------------------------------------

TEST(CheckerTest, NewLayerHasItsDefaults) {
  SCR* canvas = SentinelCanvas(33, 17);
  CHECKER* layer = CHECKERNew();
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->canvas, canvas);
  EXPECT_EQ(layer->w, 33);
  EXPECT_EQ(layer->h, 17);
  EXPECT_EQ(layer->x, 0);
  EXPECT_EQ(layer->y, 0);
  EXPECT_EQ(layer->z, 0);
  EXPECT_EQ(layer->d, 0);
  EXPECT_EQ(layer->fill, 'O');
  for (SEQ* cursor : {layer->xOffset, layer->yOffset, layer->squareSize}) {
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->size, 4);
    EXPECT_EQ(cursor->index, 0);
    EXPECT_EQ(cursor->step, 1);
  }
  FreeLayer(layer);
}

TEST(CheckerTest, DefaultTablesHoldExactlyTheirValues) {
  SentinelCanvas(80, 60);
  CHECKER* layer = CHECKERNew();
  const std::vector<int32_t> xOffsets = {
      0,  2,  4,  5,  6,  7,  7,  8,  8,  8,  8,  8,  8,  7,  7,  6,  5,  4,  2,
      0, -2, -4, -5, -6, -7, -7, -8, -8, -8, -8, -8, -8, -7, -7, -6, -5, -4, -2,
  };
  const std::vector<int32_t> yOffsets = {
      0,  1,  2,  3,  4,  4,  5,  5,  6,  6,  6,  6,  5,  5,  4,  4,  3,  2,  1,
      0, -1, -2, -3, -4, -4, -5, -5, -6, -6, -6, -6, -5, -5, -4, -4, -3, -2, -1,
  };
  // 2 .. 15 five times each, 16 ten times, 15 .. 2 five times each.
  std::vector<int32_t> sizes;
  for (int32_t s = 2; s <= 15; ++s) sizes.insert(sizes.end(), 5, s);
  sizes.insert(sizes.end(), 10, 16);
  for (int32_t s = 15; s >= 2; --s) sizes.insert(sizes.end(), 5, s);
  EXPECT_EQ(Walk(layer->xOffset), xOffsets);
  EXPECT_EQ(Walk(layer->yOffset), yOffsets);
  EXPECT_EQ(Walk(layer->squareSize), sizes);
  EXPECT_EQ(layer->xOffset->index, 0);  // one whole lap of each table
  EXPECT_EQ(layer->squareSize->index, 0);
  // Each offset table's second half mirrors its first: entry i + 19 is
  // minus entry i.
  for (size_t i = 0; i < 19; ++i) {
    EXPECT_EQ(xOffsets[i + 19], -xOffsets[i]) << i;
    EXPECT_EQ(yOffsets[i + 19], -yOffsets[i]) << i;
  }
  FreeLayer(layer);
}

TEST(CheckerTest, StepMovesAllThreeCursorsToTheirNextEntry) {
  SentinelCanvas(80, 60);
  CHECKER* layer = CHECKERNew();
  CHECKERStep(layer);
  auto current = [](const SEQ* cursor) {
    return *static_cast<const int32_t*>(SEQGet(cursor));
  };
  EXPECT_EQ(current(layer->xOffset), 2);
  EXPECT_EQ(current(layer->yOffset), 1);
  EXPECT_EQ(current(layer->squareSize), 2);
  for (int i = 1; i < 38; ++i) CHECKERStep(layer);
  EXPECT_EQ(layer->xOffset->index, 0);
  EXPECT_EQ(layer->yOffset->index, 0);
  EXPECT_EQ(layer->squareSize->index, 38);
  FreeLayer(layer);
}

// Runs in a fresh copy of the test program (the threadsafe death-test style
// re-executes it), where no canvas has been created yet.
TEST(CheckerTest, NewWithoutCanvasGivesNull) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const bool neutral = SCRCurrent() == nullptr && CHECKERNew() == nullptr;
        std::exit(neutral ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

// The record and three cursors: any of the four allocations failing gives
// null, and whatever was already allocated is released (the sanitizer
// build reports leaks).
TEST(CheckerTest, NewWithoutMemoryGivesNull) {
  SentinelCanvas(8, 8);
  for (int32_t successes = 0; successes < 4; ++successes) {
    SCOPED_TRACE(successes);
    MEMFailAfter(successes);
    CHECKER* layer = CHECKERNew();
    MEMFailAfter(-1);
    EXPECT_EQ(layer, nullptr);
  }
  MEMFailAfter(4);
  CHECKER* layer = CHECKERNew();
  MEMFailAfter(-1);
  ASSERT_NE(layer, nullptr);
  FreeLayer(layer);
}

// ---- Drawing --------------------------------------------------------------

TEST(CheckerTest, SquaresOfFourFromTheOrigin) {
  SCR* canvas = SentinelCanvas(80, 60);
  TestLayer test{CHECKERNew(), {}};
  Aim(&test, 0, 0, 4);
  CHECKERDraw(test.layer);
  auto cell = [canvas](int32_t c, int32_t r) {
    return canvas->cells[r * canvas->w + c];
  };
  EXPECT_EQ(cell(4, 0), 'O');
  EXPECT_EQ(cell(0, 0), kCanvasSentinel);
  EXPECT_EQ(cell(0, 4), 'O');
  EXPECT_EQ(cell(4, 4), kCanvasSentinel);
  EXPECT_EQ(cell(79, 59), 'O');              // square (19, 14): odd
  EXPECT_EQ(cell(79, 55), kCanvasSentinel);  // square (19, 13): even
  FreeLayer(test.layer);
}

struct DrawCase {
  const char* description;
  int32_t x, y, s;
  const char* expected;  // the 6 × 4 sentinel canvas afterwards
};

const DrawCase kDrawCases[] = {
    {"squares of two", 0, 0, 2,
     "..##..\n..##..\n##..##\n##..##\n"},
    {"positive X moves the board right", 1, 0, 2,
     "#..##.\n#..##.\n.##..#\n.##..#\n"},
    {"negative X: -1 is 2s - 1", -1, 0, 2,
     ".##..#\n.##..#\n#..##.\n#..##.\n"},
    {"positive Y moves the board down", 0, 1, 2,
     "##..##\n..##..\n..##..\n##..##\n"},
    {"size 0 draws single cells", 0, 0, 0,
     ".#.#.#\n#.#.#.\n.#.#.#\n#.#.#.\n"},
    {"negative size counts as its magnitude", 0, 0, -2,
     "..##..\n..##..\n##..##\n##..##\n"},
    {"square larger than the canvas", 3, -1, 9,
     "###...\n###...\n###...\n###...\n"},
    {"square larger than the canvas, far offsets", -1000001, 999000, 1000,
     "######\n######\n######\n######\n"},
};

TEST(CheckerTest, DrawExamples) {
  for (const DrawCase& c : kDrawCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(Draw(6, 4, c.x, c.y, c.s), c.expected);
    EXPECT_EQ(Reference(6, 4, c.x, c.y, c.s), c.expected);
  }
}

TEST(CheckerTest, DrawMatchesTheClosedRule) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<int32_t> small(-40, 40);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  std::uniform_int_distribution<int32_t> sides(-20, 20);
  std::uniform_int_distribution<int32_t> sizes(0, 30);
  for (int i = 0; i < 4000; ++i) {
    const bool far = i % 4 == 0;
    const int32_t x = far ? any(random) : small(random);
    const int32_t y = far ? any(random) : small(random);
    const int32_t s = i % 8 == 1 ? any(random) : sides(random);
    const int32_t columns = sizes(random);
    const int32_t rows = sizes(random);
    ASSERT_EQ(Draw(columns, rows, x, y, s), Reference(columns, rows, x, y, s))
        << "X " << x << " Y " << y << " S " << s << " on " << columns << " x "
        << rows;
  }
}

TEST(CheckerTest, DrawAtTheExtremes) {
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1,
                              INT32_MAX - 1, INT32_MAX};
  for (int32_t x : extremes) {
    for (int32_t y : extremes) {
      for (int32_t s : extremes) {
        ASSERT_EQ(Draw(7, 5, x, y, s), Reference(7, 5, x, y, s))
            << "X " << x << " Y " << y << " S " << s;
      }
    }
  }
}

TEST(CheckerTest, GapsKeepWhatWasThere) {
  SCR* canvas = SentinelCanvas(12, 9);
  SCRDrawString(canvas, 0, 0, "abcdefghijkl\nmnopqrstuvwx");
  const std::string before = Picture(canvas);
  TestLayer test{CHECKERNew(), {}};
  test.layer->fill = kFill;
  Aim(&test, 2, -3, 3);
  CHECKERDraw(test.layer);
  const std::string after = Picture(canvas);
  size_t cell = 0;
  for (int32_t r = 0; r < 9; ++r, ++cell) {  // ++cell skips the line feed
    for (int32_t c = 0; c < 12; ++c, ++cell) {
      const char expected = Filled(c, r, 2, -3, 3) ? kFill : before[cell];
      ASSERT_EQ(after[cell], expected) << "cell " << c << ", " << r;
    }
  }
  FreeLayer(test.layer);
}

TEST(CheckerTest, DrawsIntoItsOwnCanvasAtThatCanvasSize) {
  SCR* first = SentinelCanvas(6, 4);
  TestLayer test{CHECKERNew(), {}};
  test.layer->fill = kFill;
  Aim(&test, 0, 0, 2);
  SCR* second = SentinelCanvas(3, 3);
  SCRResize(first, 4, 2);
  SCRFill(first, kCanvasSentinel);
  CHECKERDraw(test.layer);
  EXPECT_EQ(Picture(first), "..##\n..##\n");
  EXPECT_EQ(Picture(second), "...\n...\n...\n");
  FreeLayer(test.layer);
}

}  // namespace
