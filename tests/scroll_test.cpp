// Tests of the scroller, and of a whole frame of layers and scroller.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "canvas_support.h"
#include "checker/checker.h"
#include "file_bytes.h"
#include "layer_support.h"
#include "scr/scr.h"
#include "scroll/bigfont.h"
#include "scroll/scroll.h"
#include "seq/seq.h"
#include "util/util.h"

namespace {

constexpr char kDefaultText[] = "A scroll's default text. ";
constexpr int32_t kDefaultLength = 25;

// Gives the scroller a cursor of its own over the text (the text must
// outlive the scroller).
void UseText(SCROLL* scroller, const char* text, int32_t length) {
  SEQSet(scroller->text, text, 1, length, 1);
}

// A sentinel canvas with `count` glyphs drawn straight through the font:
// glyph i is text[(first + i) mod length] at column start + 6 i, row `row`.
std::string GlyphRow(int32_t columns, int32_t rows, int64_t start,
                     int32_t row, const char* text, int32_t length,
                     int64_t first, int32_t count) {
  SCR* canvas = SentinelCanvas(columns, rows);
  BIGFONT* font = BIGFONTNew();
  for (int32_t i = 0; i < count; ++i) {
    const int64_t index = ((first + i) % length + length) % length;
    const int32_t code = static_cast<signed char>(text[index]);
    BIGFONTDrawGlyph(font, static_cast<int32_t>(start + 6 * i), row, code);
  }
  BIGFONTFree(font);
  return Picture(canvas);
}

// The scroller's picture at a position on a sentinel canvas.
std::string ScrollPicture(int32_t columns, int32_t rows, int32_t x, int32_t y,
                          int32_t position) {
  SCR* canvas = SentinelCanvas(columns, rows);
  SCROLL* scroller = SCROLLNew();
  scroller->x = x;
  scroller->y = y;
  scroller->position = position;
  SCROLLDraw(scroller);
  FreeScroller(scroller);
  return Picture(canvas);
}

// ---- Creation and release -------------------------------------------------

TEST(ScrollTest, NewScrollerHasItsDefaults) {
  SCR* canvas = SentinelCanvas(80, 25);
  SCROLL* scroller = SCROLLNew();
  ASSERT_NE(scroller, nullptr);
  EXPECT_EQ(scroller->x, 0);
  EXPECT_EQ(scroller->y, 0);
  EXPECT_EQ(scroller->z, 0);
  EXPECT_EQ(scroller->w, 80);
  EXPECT_EQ(scroller->h, 25);
  EXPECT_EQ(scroller->d, 0);
  EXPECT_EQ(scroller->speed, 1);
  EXPECT_EQ(scroller->position, 0);
  EXPECT_EQ(scroller->canvas, canvas);
  ASSERT_NE(scroller->text, nullptr);
  EXPECT_EQ(scroller->text->size, 1);
  EXPECT_EQ(scroller->text->count, kDefaultLength);
  EXPECT_EQ(scroller->text->index, 0);
  EXPECT_EQ(scroller->text->step, 1);
  EXPECT_EQ(std::memcmp(scroller->text->table, kDefaultText, kDefaultLength),
            0);
  ASSERT_NE(scroller->font, nullptr);
  EXPECT_EQ(scroller->font->canvas, canvas);
  EXPECT_EQ(scroller->font->w, 6);
  FreeScroller(scroller);
}

// Runs in a fresh copy of the test program (the threadsafe death-test style
// re-executes it), where no canvas has been created yet.
TEST(ScrollTest, NewWithoutCanvasGivesNull) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const bool neutral = SCRCurrent() == nullptr && SCROLLNew() == nullptr;
        std::exit(neutral ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

// The record, the cursor and the font: any of the three allocations failing
// gives null, and whatever was already allocated is released (the sanitizer
// build reports leaks).
TEST(ScrollTest, NewWithoutMemoryGivesNull) {
  SentinelCanvas(8, 8);
  for (int32_t successes = 0; successes < 3; ++successes) {
    SCOPED_TRACE(successes);
    MEMFailAfter(successes);
    SCROLL* scroller = SCROLLNew();
    MEMFailAfter(-1);
    EXPECT_EQ(scroller, nullptr);
  }
  MEMFailAfter(3);
  SCROLL* scroller = SCROLLNew();
  MEMFailAfter(-1);
  ASSERT_NE(scroller, nullptr);
  FreeScroller(scroller);
}

// SCROLLFree releases the record and its cursor (the sanitizer build reports
// the cursor as a leak otherwise) but leaves the font usable.
TEST(ScrollTest, FreeKeepsTheFont) {
  SCR* canvas = SentinelCanvas(6, 6);
  SCROLL* scroller = SCROLLNew();
  BIGFONT* font = scroller->font;
  SCROLLFree(scroller);
  BIGFONTDrawGlyph(font, 0, 0, 'I');
  EXPECT_EQ(Picture(canvas),
            "#####.\n..#...\n..#...\n..#...\n#####.\n......\n");
  BIGFONTFree(font);
  SCROLLFree(nullptr);
}

// ---- Drawing --------------------------------------------------------------

struct PlacementCase {
  const char* description;
  int32_t x, position;
  int64_t firstColumn;  // where the first glyph drawn starts
  int64_t firstIndex;   // which character of the default text it shows
};

const PlacementCase kPlacementCases[] = {
    {"position 0", 0, 0, 0, 0},
    {"position 1: the A starts at column -1", 0, 1, -1, 0},
    {"sub-offset 4", 0, 4, -4, 0},
    {"position 6: the second character at column 0", 0, 6, 0, 1},
    {"position 150: back at the start", 0, 150, 0, 0},
    {"position 155", 0, 155, -5, 0},
    {"position -1: first character at column 1", 0, -1, 1, 0},
    {"position -6: last character at column 0", 0, -6, 0, 24},
    {"position -7: last character at column 1", 0, -7, 1, 24},
    {"position -150: back at the start", 0, -150, 0, 0},
    {"position -151", 0, -151, 1, 0},
    {"x 10, position 3", 10, 3, 7, 0},
    {"x 10, position -3", 10, -3, 13, 0},
    {"x -20, position 0", -20, 0, -20, 0},
    // 2147483647 = 6 × 357913941 + 1 and 357913941 = 25 × 14316557 + 16.
    {"largest position", 0, INT32_MAX, -1, 16},
    // -2147483648 = 6 × -357913941 - 2, and -357913941 lies 9 past a
    // multiple of 25 when counted upward (floored).
    {"smallest position", 0, INT32_MIN, 2, 9},
};

TEST(ScrollTest, GlyphsStandWhereThePositionPutsThem) {
  for (const PlacementCase& c : kPlacementCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(ScrollPicture(80, 8, c.x, 1, c.position),
              GlyphRow(80, 8, c.firstColumn, 1, kDefaultText, kDefaultLength,
                       c.firstIndex, 14));
  }
}

TEST(ScrollTest, FirstGlyphPartlyLeftOfTheCanvas) {
  SCR* canvas = SentinelCanvas(80, 25);
  SCROLL* scroller = SCROLLNew();
  SCROLLStep(scroller);
  EXPECT_EQ(scroller->position, 1);
  SCROLLDraw(scroller);
  const std::string picture = Picture(canvas);
  // The A's columns 2-6 (its sixth column blank), then the space's slot.
  EXPECT_EQ(picture.substr(0, 12), "####........");
  EXPECT_EQ(picture.substr(81, 12), "...#........");
  FreeScroller(scroller);
}

TEST(ScrollTest, NegativePositionLeavesTheColumnsBeforeTheFirstGlyph) {
  SCR* canvas = SentinelCanvas(80, 6);
  SCRFill(canvas, '+');
  SCROLL* scroller = SCROLLNew();
  static const char kBars[] = "MMMM";
  UseText(scroller, kBars, 4);
  scroller->position = -3;
  SCROLLDraw(scroller);
  for (int32_t r = 0; r < 5; ++r) {
    for (int32_t c = 0; c < 3; ++c) {
      EXPECT_EQ(canvas->cells[r * 80 + c], '+') << c << ", " << r;
    }
    EXPECT_EQ(canvas->cells[r * 80 + 3], '#') << r;
  }
  FreeScroller(scroller);
}

// With the 80-column canvas the last glyph starts at 78 - r: column 79 gets
// ink for sub-offsets 0 to 3 and none for 4 and 5.
TEST(ScrollTest, RightmostColumnAndSubOffset) {
  static const char kBars[] = "M";  // ink in the glyph's columns 1 and 5
  for (int32_t position = 0; position < 6; ++position) {
    SCOPED_TRACE(position);
    SCR* canvas = SentinelCanvas(80, 6);
    SCROLL* scroller = SCROLLNew();
    UseText(scroller, kBars, 1);
    scroller->position = position;
    SCROLLDraw(scroller);
    bool inked = false;
    for (int32_t r = 0; r < 6; ++r) inked |= canvas->cells[r * 80 + 79] == '#';
    EXPECT_EQ(inked, position < 4);
    FreeScroller(scroller);
  }
}

TEST(ScrollTest, BytesWithoutGlyphLeaveTheirSlot) {
  static const char kText[] = "A\x80\x7F" "B\xFF";
  SCR* canvas = SentinelCanvas(30, 6);
  SCROLL* scroller = SCROLLNew();
  UseText(scroller, kText, 5);
  SCROLLDraw(scroller);
  const std::string drawn = Picture(canvas);
  static const char kExpected[] = "A  B ";
  EXPECT_EQ(drawn, GlyphRow(30, 6, 0, 0, kExpected, 5, 0, 5));
  FreeScroller(scroller);
}

// The reference: glyph j of the endless text starts at column x + 6 j -
// position; the first glyph drawn is the leftmost one starting at x - 5 or
// later (position >= 0) or at x or later (position < 0), and ceil(W / 6)
// glyphs are drawn.
std::string StripPicture(int32_t columns, int32_t rows, int32_t x, int32_t y,
                         int64_t position, const char* text, int32_t length) {
  const int64_t lowest = position >= 0 ? x - 5 : x;
  int64_t j = position / 6 - 2;
  while (x + 6 * j - position < lowest) ++j;
  return GlyphRow(columns, rows, x + 6 * j - position, y, text, length, j,
                  (columns + 5) / 6);
}

TEST(ScrollTest, PictureDependsOnlyOnThePosition) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  std::uniform_int_distribution<int32_t> near(-400, 400);
  std::uniform_int_distribution<int32_t> widths(1, 90);
  std::uniform_int_distribution<int32_t> small(-8, 8);
  std::uniform_int_distribution<int32_t> lengths(1, 40);
  std::uniform_int_distribution<int32_t> bytes(1, 255);
  for (int i = 0; i < 1500; ++i) {
    std::string text;
    const int32_t length = lengths(random);
    for (int32_t k = 0; k < length; ++k) {
      text += static_cast<char>(bytes(random));
    }
    const int32_t columns = widths(random);
    const int32_t x = small(random);
    const int32_t y = small(random);
    const int32_t position = i % 3 == 0 ? any(random) : near(random);
    SCR* canvas = SentinelCanvas(columns, 7);
    SCROLL* scroller = SCROLLNew();
    UseText(scroller, text.c_str(), length);
    scroller->text->index = any(random);  // whatever the cursor held before
    scroller->text->step = any(random);
    scroller->x = x;
    scroller->y = y;
    scroller->position = position;
    SCROLLDraw(scroller);
    EXPECT_EQ(scroller->text->step, 1);
    ASSERT_EQ(Picture(canvas),
              StripPicture(columns, 7, x, y, position, text.c_str(), length))
        << "position " << position << " x " << x << " width " << columns
        << " text length " << length;
    FreeScroller(scroller);
  }
}

TEST(ScrollTest, DrawLeavesTheCursorAfterTheLastGlyph) {
  SentinelCanvas(80, 6);
  SCROLL* scroller = SCROLLNew();
  scroller->position = 6 * 20;  // character 20, then 14 glyphs
  SCROLLDraw(scroller);
  EXPECT_EQ(scroller->text->index, (20 + 14) % kDefaultLength);
  EXPECT_EQ(scroller->text->step, 1);
  FreeScroller(scroller);
}

TEST(ScrollTest, FontWithoutWidthDrawsNothing) {
  SCR* canvas = SentinelCanvas(12, 6);
  const std::string before = Picture(canvas);
  SCROLL* scroller = SCROLLNew();
  scroller->font->w = 0;
  SCROLLDraw(scroller);
  EXPECT_EQ(Picture(canvas), before);
  FreeScroller(scroller);
}

// ---- Stepping -------------------------------------------------------------

struct StepCase {
  const char* description;
  int32_t position, speed, expected;
};

const StepCase kStepCases[] = {
    {"default speed", 0, 1, 1},
    {"backwards past zero", 5, -7, -2},
    {"standing still", 42, 0, 42},
    {"past the largest position", INT32_MAX, 1, INT32_MIN},
    {"below the smallest position", INT32_MIN, -1, INT32_MAX},
    {"largest speed from the largest position", INT32_MAX, INT32_MAX, -2},
    {"smallest speed from the smallest position", INT32_MIN, INT32_MIN, 0},
};

TEST(ScrollTest, StepAddsTheSpeedWrappingAt32Bits) {
  SentinelCanvas(8, 8);
  SCROLL* scroller = SCROLLNew();
  for (const StepCase& c : kStepCases) {
    SCOPED_TRACE(c.description);
    scroller->position = c.position;
    scroller->speed = c.speed;
    SCROLLStep(scroller);
    EXPECT_EQ(scroller->position, c.expected);
  }
  FreeScroller(scroller);
}

TEST(ScrollTest, StepPastTheLargestPositionKeepsDrawing) {
  SCR* canvas = SentinelCanvas(80, 8);
  SCROLL* scroller = SCROLLNew();
  scroller->y = 1;
  scroller->position = INT32_MAX;
  SCROLLStep(scroller);
  SCROLLDraw(scroller);
  // Position INT32_MIN: see the smallest-position placement case.
  EXPECT_EQ(Picture(canvas),
            GlyphRow(80, 8, 2, 1, kDefaultText, kDefaultLength, 9, 14));
  FreeScroller(scroller);
}

// ---- A whole frame --------------------------------------------------------

// One frame's offsets and sizes for each layer, entry 1 of each table, and
// a scroll text; the tables must outlive the cursors.
const int32_t kLayer1X[] = {0, 12};
const int32_t kLayer1Y[] = {0, 6};
const int32_t kLayer1S[] = {4, 4};
const int32_t kLayer2X[] = {0, -7};
const int32_t kLayer2Y[] = {0, 5};
const int32_t kLayer2S[] = {12, 12};
const int32_t kLayer3X[] = {0, 36};
const int32_t kLayer3Y[] = {0, -9};
const int32_t kLayer3S[] = {36, 36};
const char kFrameText[] = "A \"jolly\" q@pg scroll: 42%! ";

// A layer over three two-entry tables with its fill.
CHECKER* FrameLayer(const int32_t* x, const int32_t* y, const int32_t* s,
                    char fill) {
  CHECKER* layer = CHECKERNew();
  SEQSet(layer->xOffset, x, 4, 2, 1);
  SEQSet(layer->yOffset, y, 4, 2, 1);
  SEQSet(layer->squareSize, s, 4, 2, 1);
  layer->fill = fill;
  return layer;
}

// The frame as the demo composes it: spaces, the three layers in order, the
// scroller on row 45, after one step of all motion (entry 1 of every layer
// table, scroll position 9).
TEST(ScrollTest, ThreeLayersAndAScrollLineMatchTheFramePicture) {
  SCR* canvas = SCRNew();
  SCRResize(canvas, 80, 60);
  SCROLL* scroller = SCROLLNew();
  scroller->y = canvas->h * 3 / 4;
  UseText(scroller, kFrameText, STRLength(kFrameText));
  scroller->position = 8;
  CHECKER* layers[] = {FrameLayer(kLayer1X, kLayer1Y, kLayer1S, ':'),
                       FrameLayer(kLayer2X, kLayer2Y, kLayer2S, '-'),
                       FrameLayer(kLayer3X, kLayer3Y, kLayer3S, ')')};
  SCROLLStep(scroller);
  for (CHECKER* layer : layers) CHECKERStep(layer);
  SCRFill(canvas, ' ');
  for (CHECKER* layer : layers) CHECKERDraw(layer);
  SCROLLDraw(scroller);
  const std::string expected = Fixture("layers_scroll_frame.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Picture(canvas), expected);
  for (CHECKER* layer : layers) FreeLayer(layer);
  FreeScroller(scroller);
}

}  // namespace
