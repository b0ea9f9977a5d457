// Tests of the text canvas.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "canvas_support.h"
#include "scr/scr.h"

namespace {

// Everything SCRPrint writes for the canvas.
std::string Printed(SCR* canvas) {
  FILE* stream = std::tmpfile();
  SCRPrint(canvas, stream);
  std::rewind(stream);
  std::string bytes;
  for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) {
    bytes += static_cast<char>(c);
  }
  std::fclose(stream);
  return bytes;
}

TEST(ScrTest, NewCanvasIsCurrentAndFullOfSpaces) {
  SCR* first = SCRNew();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(SCRCurrent(), first);
  EXPECT_EQ(first->w, 80);
  EXPECT_EQ(first->h, 25);
  EXPECT_EQ(first->printCount, 0);
  for (int32_t i = 0; i < 80 * 25; ++i) ASSERT_EQ(first->cells[i], ' ');
  SCRPut(first, 1, 1, 'x');
  SCR* second = SCRNew();
  EXPECT_EQ(SCRCurrent(), second);
  EXPECT_EQ(first->cells[80 + 1], 'x');
}

TEST(ScrTest, ResizeDiscardsEverything) {
  SCR* canvas = SentinelCanvas(4, 3);
  SCRResize(canvas, 80, 60);
  EXPECT_EQ(canvas->w, 80);
  EXPECT_EQ(canvas->h, 60);
  for (int32_t i = 0; i < 80 * 60; ++i) ASSERT_EQ(canvas->cells[i], ' ');
}

struct EmptySize {
  const char* description;
  int32_t columns, rows;
  const char* printed;  // what SCRPrint writes afterwards
};

const EmptySize kEmptySizes[] = {
    {"zero by zero", 0, 0, "\n"},
    {"negative columns count as none", -3, 5, "\n\n\n\n\n"},
    {"negative rows count as none", 5, -3, "\n"},
    {"cells beyond memory leave 0 by 0", INT32_MAX, INT32_MAX, "\n"},
};

TEST(ScrTest, EmptyCanvasesStayUsable) {
  for (const EmptySize& c : kEmptySizes) {
    SCOPED_TRACE(c.description);
    SCR* canvas = SentinelCanvas(4, 4);
    SCRResize(canvas, c.columns, c.rows);
    EXPECT_EQ(int64_t{canvas->w} * canvas->h, 0);
    SCRFill(canvas, 'x');
    SCRPut(canvas, 0, 0, 'x');
    SCRDrawString(canvas, 0, 0, "ab\ncd");
    SCRHLine(canvas, 0, 3, 0, 'x');
    SCRVLine(canvas, 0, 3, 0, 'x');
    SCRFillRect(canvas, 0, 0, 3, 3, 'x');
    SCRLine(canvas, 0, 0, 3, 2, 'x');
    EXPECT_EQ(Printed(canvas), c.printed);
  }
}

TEST(ScrTest, CharactersAreStoredAsSignedBytes) {
  SCR* canvas = SentinelCanvas(3, 1);
  SCRPut(canvas, 0, 0, '\xE9');
  SCRPutInt(canvas, 1, 0, 233);
  EXPECT_EQ(canvas->cells[0], -23);
  EXPECT_EQ(canvas->cells[1], 233);
  EXPECT_EQ(Printed(canvas), "\n\xE9\xE9");
}

struct DrawCase {
  const char* description;
  std::function<void(SCR*)> draw;
  const char* expected;  // the 6 × 5 canvas afterwards
};

const DrawCase kDrawCases[] = {
    {"puts outside the grid change nothing",
     [](SCR* s) {
       SCRPut(s, 6, 0, 'x');
       SCRPut(s, -1, 0, 'x');
       SCRPut(s, 0, -1, 'x');
       SCRPut(s, 0, 5, 'x');
       SCRPutInt(s, 6, 4, 'x');
     },
     "......\n......\n......\n......\n......\n"},
    {"string starting left of the grid keeps what lands",
     [](SCR* s) { SCRDrawString(s, -1, 0, "XY\nZ"); },
     "Y.....\n......\n......\n......\n......\n"},
    {"string spaces are opaque, line feeds return to the start column",
     [](SCR* s) { SCRDrawString(s, 1, 1, "a b\n c"); },
     "......\n.a b..\n. c...\n......\n......\n"},
    {"string runs past the right edge without wrapping",
     [](SCR* s) { SCRDrawString(s, 4, 4, "abcd"); },
     "......\n......\n......\n......\n....ab\n"},
    {"horizontal run with columns in falling order",
     [](SCR* s) { SCRHLine(s, 5, 2, 0, 'h'); },
     "..hhhh\n......\n......\n......\n......\n"},
    {"horizontal run wider than the grid",
     [](SCR* s) { SCRHLine(s, -10, 200, 2, 'h'); },
     "......\n......\nhhhhhh\n......\n......\n"},
    {"horizontal runs in rows -1 and h",
     [](SCR* s) {
       SCRHLine(s, 0, 5, -1, 'h');
       SCRHLine(s, 0, 5, 5, 'h');
     },
     "......\n......\n......\n......\n......\n"},
    {"vertical run with rows in falling order, clipped",
     [](SCR* s) { SCRVLine(s, 9, 3, 1, 'v'); },
     "......\n......\n......\n.v....\n.v....\n"},
    {"vertical runs in columns -1 and w",
     [](SCR* s) {
       SCRVLine(s, 0, 4, -1, 'v');
       SCRVLine(s, 0, 4, 6, 'v');
     },
     "......\n......\n......\n......\n......\n"},
    {"rectangle from corners given in falling order",
     [](SCR* s) { SCRFillRect(s, 3, 4, 1, 2, 'r'); },
     "......\n......\n.rrr..\n.rrr..\n.rrr..\n"},
    {"rectangle wholly left of the grid",
     [](SCR* s) { SCRFillRect(s, -5, -5, -1, 10, 'r'); },
     "......\n......\n......\n......\n......\n"},
    {"rectangle over the bottom-right corner",
     [](SCR* s) { SCRFillRect(s, 4, 3, 100, 100, 'r'); },
     "......\n......\n......\n....rr\n....rr\n"},
    {"rectangle over the top-left corner",
     [](SCR* s) { SCRFillRect(s, -3, -3, 0, 1, 'r'); },
     "r.....\nr.....\n......\n......\n......\n"},
};

TEST(ScrTest, DrawingPrimitives) {
  for (const DrawCase& c : kDrawCases) {
    SCOPED_TRACE(c.description);
    SCR* canvas = SentinelCanvas(6, 5);
    c.draw(canvas);
    EXPECT_EQ(Picture(canvas), c.expected);
  }
}

using Cells = std::set<std::pair<int32_t, int32_t>>;

struct LineCase {
  const char* description;
  int32_t c0, r0, c1, r1;
  Cells expected;
};

const LineCase kLineCases[] = {
    {"shallow", 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
    {"steep, rising to the right", 0, 4, 2, 0,
     {{0, 4}, {1, 3}, {1, 2}, {2, 1}, {2, 0}}},
    {"45 degrees down", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
    {"45 degrees up", 0, 3, 3, 0, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
    {"both ends above the grid", -3, -1, 5, -4, {}},
    {"both ends below the grid", 0, 10, 5, 12, {}},
    {"wholly right of the grid", 10, 0, 12, 5, {}},
    {"partly outside keeps its inside cells", -2, 0, 2, 0,
     {{0, 0}, {1, 0}, {2, 0}}},
    {"single cell", 3, 3, 3, 3, {{3, 3}}},
    {"ends in one row", 4, 1, 1, 1, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
    {"ends in one column", 2, 3, 2, 0, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}},
};

TEST(ScrTest, LineExamples) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.description);
    SCR* forward = SentinelCanvas(8, 6);
    SCRLine(forward, c.c0, c.r0, c.c1, c.r1, '*');
    EXPECT_EQ(Drawn(forward), c.expected);
    SCR* backward = SentinelCanvas(8, 6);
    SCRLine(backward, c.c1, c.r1, c.c0, c.r0, '*');
    EXPECT_EQ(Drawn(backward), c.expected);
  }
}

// The line walk written out step by step: from the left end, one cell per
// column (shallow) or per row (steep), adding the 16.16 step every time.
Cells ReferenceLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                    int32_t columns, int32_t rows) {
  if (x0 > x1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  Cells cells;
  auto put = [&](int64_t c, int64_t r) {
    if (c >= 0 && c < columns && r >= 0 && r < rows) {
      cells.insert({static_cast<int32_t>(c), static_cast<int32_t>(r)});
    }
  };
  const int64_t dx = x1 - x0, dy = y1 - y0, steps = dy < 0 ? -dy : dy;
  if (dx == 0 && dy == 0) {
    put(x0, y0);
  } else if (dx >= steps) {
    const int64_t step = dy * 65536 / dx;
    int64_t accumulator = y0 * 65536 + 32768;
    for (int64_t x = x0; x <= x1; ++x, accumulator += step) {
      put(x, accumulator >> 16);
    }
  } else {
    const int64_t step = dx * 65536 / steps;
    int64_t accumulator = x0 * 65536 + 32768;
    for (int64_t k = 0; k <= steps; ++k, accumulator += step) {
      put(accumulator >> 16, y0 + (dy > 0 ? k : -k));
    }
  }
  return cells;
}

TEST(ScrTest, LinesMatchTheStepByStepWalk) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int32_t> near(-40, 60);
  std::uniform_int_distribution<int32_t> far(-300000, 300000);
  for (int i = 0; i < 3000; ++i) {
    auto& ends = i % 30 == 0 ? far : near;
    const int32_t c0 = ends(random), r0 = ends(random);
    const int32_t c1 = ends(random), r1 = ends(random);
    SCR* canvas = SentinelCanvas(20, 15);
    SCRLine(canvas, c0, r0, c1, r1, '*');
    ASSERT_EQ(Drawn(canvas), ReferenceLine(c0, r0, c1, r1, 20, 15))
        << "(" << c0 << ", " << r0 << ") to (" << c1 << ", " << r1 << ")";
  }
}

TEST(ScrTest, LinesBetweenExtremeEnds) {
  SCR* row = SentinelCanvas(6, 5);
  SCRLine(row, INT_MIN, 3, INT_MAX, 3, '*');
  EXPECT_EQ(Picture(row), "......\n......\n......\n******\n......\n");
  SCR* column = SentinelCanvas(6, 5);
  SCRLine(column, 2, INT_MAX, 2, INT_MIN, '*');
  EXPECT_EQ(Picture(column), "..*...\n..*...\n..*...\n..*...\n..*...\n");
  SCR* diagonal = SentinelCanvas(6, 5);
  SCRLine(diagonal, INT_MAX, INT_MAX, INT_MIN, INT_MIN, '*');
  EXPECT_EQ(Picture(diagonal), "*.....\n.*....\n..*...\n...*..\n....*.\n");
}

TEST(ScrTest, PrintWritesTheGridWithoutItsLastColumn) {
  SCR* canvas = SentinelCanvas(3, 2);
  SCRDrawString(canvas, 0, 0, "pqr\nstu");
  EXPECT_EQ(Printed(canvas), "\npq\nst");
  EXPECT_EQ(canvas->printCount, 1);
  SCR* standard = SCRNew();
  std::string expected = "\n";
  for (int r = 0; r < 25; ++r) {
    if (r > 0) expected += '\n';
    expected += std::string(79, ' ');
  }
  EXPECT_EQ(Printed(standard), expected);
}

}  // namespace
