// Tests of the block-letter font.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include "canvas_support.h"
#include "file_bytes.h"
#include "scr/scr.h"
#include "scroll/bigfont.h"
#include "util/util.h"

namespace {

// The picture of one glyph drawn at (column, row) on a sentinel canvas.
std::string GlyphPicture(int32_t columns, int32_t rows, int32_t column,
                         int32_t row, int32_t code) {
  SCR* canvas = SentinelCanvas(columns, rows);
  BIGFONT* font = BIGFONTNew();
  BIGFONTDrawGlyph(font, column, row, code);
  BIGFONTFree(font);
  return Picture(canvas);
}

// ---- Creation -------------------------------------------------------------

TEST(BigFontTest, NewFontHasTheSharedDefinition) {
  SCR* canvas = SentinelCanvas(80, 60);
  BIGFONT* font = BIGFONTNew();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->canvas, canvas);
  EXPECT_EQ(font->w, 6);
  EXPECT_EQ(font->h, 6);
  EXPECT_EQ(font->count, 128);
  ASSERT_NE(font->glyphs, nullptr);
  EXPECT_EQ(font->glyphs[10], font->glyphs[0]);
  EXPECT_EQ(font->glyphs[127], nullptr);
  BIGFONT* other = BIGFONTNew();
  EXPECT_EQ(other->glyphs, font->glyphs);
  BIGFONTFree(other);
  BIGFONTFree(font);
}

// Runs in a fresh copy of the test program (the threadsafe death-test style
// re-executes it), where no canvas has been created yet.
TEST(BigFontTest, NewWithoutCanvasGivesNull) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const bool neutral = SCRCurrent() == nullptr && BIGFONTNew() == nullptr;
        std::exit(neutral ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(BigFontTest, NewWithoutMemoryGivesNull) {
  SentinelCanvas(8, 8);
  MEMFailAfter(0);
  BIGFONT* font = BIGFONTNew();
  MEMFailAfter(-1);
  EXPECT_EQ(font, nullptr);
}

// ---- The glyph table ------------------------------------------------------

// Every glyph text: six rows, each ended by a line feed; rows 1-5 of five
// cells and a blank sixth; row 6 empty except for the descenders of g, j, p
// and q; only the ink character and spaces, the ink being '#' except for
// the quotation mark and the commercial at.
TEST(BigFontTest, EveryGlyphTextHasTheGlyphShape) {
  SentinelCanvas(8, 8);
  BIGFONT* font = BIGFONTNew();
  const std::set<int32_t> descenders = {'g', 'j', 'p', 'q'};
  for (int32_t code = 0; code < 127; ++code) {
    SCOPED_TRACE(code);
    const char* glyph = font->glyphs[code];
    ASSERT_NE(glyph, nullptr);
    const char ink = code == '"' ? '"' : code == '@' ? '@' : '#';
    std::string expectedShape;
    std::string shape;
    for (const char* p = glyph; *p != '\0'; ++p) {
      ASSERT_TRUE(*p == ink || *p == ' ' || *p == '\n') << int{*p};
      shape += *p == '\n' ? '\n' : 'x';
    }
    for (int row = 0; row < 5; ++row) expectedShape += "xxxxxx\n";
    expectedShape += descenders.count(code) != 0 ? "xxxxxx\n" : "\n";
    EXPECT_EQ(shape, expectedShape);
    for (size_t at = 5; at < std::string(glyph).size(); at += 7) {
      EXPECT_EQ(glyph[at], ' ') << "sixth cell of a row";
    }
  }
  BIGFONTFree(font);
}

// All 128 codes drawn in code order, 16 to a band of glyph rows, compared
// with a picture of the glyphs drawn separately from the written rows.
TEST(BigFontTest, AllGlyphsMatchTheirPicture) {
  SCR* canvas = SentinelCanvas(16 * 6, 8 * 6);
  BIGFONT* font = BIGFONTNew();
  for (int32_t code = 0; code < 128; ++code) {
    BIGFONTDrawGlyph(font, code % 16 * 6, code / 16 * 6, code);
  }
  const std::string expected = Fixture("bigfont_glyphs.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Picture(canvas), expected);
  BIGFONTFree(font);
}

// ---- Drawing glyphs -------------------------------------------------------

TEST(BigFontTest, LetterASetsExactlyItsInk) {
  SCR* canvas = SentinelCanvas(80, 60);
  BIGFONT* font = BIGFONTNew();
  BIGFONTDrawGlyph(font, 0, 0, 'A');
  const std::set<std::pair<int32_t, int32_t>> ink = {
      {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {0, 1}, {4, 1}, {0, 2},
      {1, 2}, {2, 2}, {3, 2}, {4, 2}, {0, 3}, {4, 3}, {0, 4}, {4, 4}};
  EXPECT_EQ(Drawn(canvas), ink);
  EXPECT_EQ(canvas->cells[0], '#');
  BIGFONTFree(font);
}

struct GlyphCase {
  const char* description;
  int32_t column, row, code;
  const char* expected;  // the 8 × 7 sentinel canvas afterwards
};

const GlyphCase kGlyphCases[] = {
    {"descender of g in the sixth row", 1, 0, 'g',
     "........\n"
     "...##...\n"
     "..#..#..\n"
     "...###..\n"
     ".....#..\n"
     "..###...\n"
     "........\n"},
    {"quotation mark drawn with itself", 0, 0, '"',
     ".\".\"....\n.\".\"....\n........\n........\n........\n........\n"
     "........\n"},
    {"commercial at drawn with itself", 0, 0, '@',
     ".@@@....\n@.@@@...\n@.@@@...\n@.......\n.@@@@...\n........\n"
     "........\n"},
    {"code 27 is a narrow 1 and a three-column B", 0, 0, 27,
     "#.##....\n#.#.#...\n#.##....\n#.#.#...\n#.##....\n........\n"
     "........\n"},
    {"code 31 is a narrow 1 and a three-column F", 0, 0, 31,
     "#.###...\n#.#.....\n#.##....\n#.#.....\n#.#.....\n........\n"
     "........\n"},
    {"code 10 shows 00", 0, 0, 10,
     "##.##...\n##.##...\n##.##...\n##.##...\n##.##...\n........\n"
     "........\n"},
    {"code 13 is a narrow 0 and a two-column D", 0, 0, 13,
     "##.#....\n##.##...\n##.##...\n##.##...\n##.#....\n........\n"
     "........\n"},
    {"space draws nothing", 0, 0, ' ',
     "........\n........\n........\n........\n........\n........\n"
     "........\n"},
    {"column -3 shows the glyph's columns 4 to 6", -3, 0, 'A',
     "##......\n.#......\n##......\n.#......\n.#......\n........\n"
     "........\n"},
    {"column -4 shows the fifth column", -4, 1, 'A',
     "........\n#.......\n#.......\n#.......\n#.......\n#.......\n"
     "........\n"},
    {"row -5 shows only the descender", 0, -5, 'j',
     "..##....\n........\n........\n........\n........\n........\n"
     "........\n"},
    {"column 6 on an 8-column canvas shows two columns", 6, 2, 'H',
     "........\n........\n......#.\n......#.\n......##\n......#.\n"
     "......#.\n"},
    {"bottom rows clipped", 0, 4, 'E',
     "........\n........\n........\n........\n#####...\n#.......\n"
     "####....\n"},
};

TEST(BigFontTest, GlyphExamples) {
  for (const GlyphCase& c : kGlyphCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(GlyphPicture(8, 7, c.column, c.row, c.code), c.expected);
  }
}

struct BlankCase {
  const char* description;
  int32_t column, row, code;
};

// Glyphs that leave the canvas as it was.
const BlankCase kBlankCases[] = {
    {"code 127 has no glyph", 0, 0, 127},
    {"code 128 is beyond the table", 0, 0, 128},
    {"code 200 is beyond the table", 0, 0, 200},
    {"code -23, a byte 0xE9 read as a signed character", 0, 0, -23},
    {"lowest code", 0, 0, INT32_MIN},
    {"column -6: every cell left of the grid", -6, 0, 'M'},
    {"row -6: every row above the grid (descender included)", 0, -6, 'g'},
    {"column -7 fails the clip test", -7, 0, 'M'},
    {"column w fails the clip test", 8, 0, 'M'},
    {"row h fails the clip test", 0, 7, 'M'},
    {"far right and below", INT32_MAX, INT32_MAX, 'M'},
    {"far left and above", INT32_MIN, INT32_MIN, 'M'},
};

TEST(BigFontTest, GlyphsThatDrawNothing) {
  const std::string untouched = GlyphPicture(8, 7, 0, 0, ' ');
  for (const BlankCase& c : kBlankCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(GlyphPicture(8, 7, c.column, c.row, c.code), untouched);
  }
}

// The clip test compares with the font's own w and h, lower bounds
// included: with w and h set to 2, a glyph at column or row -2 is drawn
// (its visible part lands), one at -3 is rejected whole.
TEST(BigFontTest, ClipTestUsesTheFontSizeWithInclusiveLowerBounds) {
  SCR* canvas = SentinelCanvas(4, 3);
  BIGFONT* font = BIGFONTNew();
  font->w = 2;
  font->h = 2;
  BIGFONTDrawGlyph(font, -2, 0, 'A');
  EXPECT_EQ(Picture(canvas), "###.\n..#.\n###.\n");
  SCRFill(canvas, kCanvasSentinel);
  BIGFONTDrawGlyph(font, -3, 0, 'A');
  EXPECT_EQ(Picture(canvas), "....\n....\n....\n");
  BIGFONTDrawGlyph(font, 0, -2, 'A');
  EXPECT_EQ(Picture(canvas), "####\n#...\n#...\n");
  SCRFill(canvas, kCanvasSentinel);
  BIGFONTDrawGlyph(font, 0, -3, 'A');
  EXPECT_EQ(Picture(canvas), "....\n....\n....\n");
  BIGFONTFree(font);
}

TEST(BigFontTest, InkOverwritesAndBlanksKeepTheCanvas) {
  SCR* canvas = SentinelCanvas(6, 6);
  for (int32_t r = 0; r < 6; ++r) {
    SCRDrawString(canvas, 0, r, "abcdef");
  }
  BIGFONT* font = BIGFONTNew();
  BIGFONTDrawGlyph(font, 0, 0, 'T');
  EXPECT_EQ(Picture(canvas),
            "#####f\nab#def\nab#def\nab#def\nab#def\nabcdef\n");
  BIGFONTFree(font);
}

// ---- Drawing texts --------------------------------------------------------

struct StringCase {
  const char* description;
  int32_t column, row;
  const char* text;
  const char* expected;  // the 6 × 3 canvas of 'x' afterwards
};

const StringCase kStringCases[] = {
    {"spaces leave their cells", 1, 0, "a b",
     "xaxbxx\nxxxxxx\nxxxxxx\n"},
    {"a line feed returns to the start column", 2, 0, "ab\ncd\n e",
     "xxabxx\nxxcdxx\nxxxexx\n"},
    {"cells left of and above the grid are skipped", -1, -1, "12\n34\n56",
     "4xxxxx\n6xxxxx\nxxxxxx\n"},
    {"cells right of and below the grid are skipped", 4, 1, "123\n456\n789",
     "xxxxxx\nxxxx12\nxxxx45\n"},
    {"other bytes are stored, even control bytes", 0, 2, "\t#\"",
     "xxxxxx\nxxxxxx\n\t#\"xxx\n"},
    {"empty text", 0, 0, "", "xxxxxx\nxxxxxx\nxxxxxx\n"},
    {"far start positions do not wrap around", INT32_MAX, INT32_MAX,
     "abc\ndef", "xxxxxx\nxxxxxx\nxxxxxx\n"},
};

TEST(BigFontTest, DrawStringExamples) {
  for (const StringCase& c : kStringCases) {
    SCOPED_TRACE(c.description);
    SCR* canvas = SentinelCanvas(6, 3);
    SCRFill(canvas, 'x');
    BIGFONTDrawString(canvas, c.column, c.row, c.text);
    EXPECT_EQ(Picture(canvas), c.expected);
  }
}

TEST(BigFontTest, DrawStringStoresHighBytesAsSignedCharacters) {
  SCR* canvas = SentinelCanvas(2, 1);
  BIGFONTDrawString(canvas, 0, 0, "\xE9\x7F");
  EXPECT_EQ(canvas->cells[0], -23);
  EXPECT_EQ(canvas->cells[1], 127);
}

}  // namespace
