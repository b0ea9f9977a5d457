// Tests of the bitmap font: cell lookup, transparency, hexadecimal digits,
// lines of text and the quiet handling of bad arguments.
#include "font/font.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "capture.h"
#include "image_support.h"
#include "img/img.h"
#include "util/util.h"

namespace {

constexpr uint32_t kSentinel = 0xEE;   // fills destinations before drawing
constexpr int32_t kGlyph = 8;          // glyph side of the code sheets
constexpr uint32_t kCodeBase = 0x100;  // code sheet cell of c holds base + c

// A 128 × 128 sheet of 8 × 8 cells for codes 0..255, 16 per row; every
// pixel of the cell of code c is kCodeBase + c.
IMG* CodeSheet() {
  IMG* sheet = FilledImage(16 * kGlyph, 16 * kGlyph, 0);
  for (int32_t y = 0; y < sheet->height; ++y) {
    for (int32_t x = 0; x < sheet->width; ++x) {
      sheet->pixels[y * sheet->width + x] =
          kCodeBase + static_cast<uint32_t>((y / kGlyph) * 16 + x / kGlyph);
    }
  }
  return sheet;
}

// A font with 8 × 8 glyphs over the code sheet.
FONT* CodeFont() {
  FONT* font = FONTNew();
  font->glyphWidth = kGlyph;
  font->glyphHeight = kGlyph;
  font->sheet = CodeSheet();
  return font;
}

// The codes drawn in a row of cells at y = 0 of a destination drawn by a
// code font: one entry per cell, -1 where the cell holds the sentinel. Each
// cell must be uniform (a whole glyph drawn at a multiple of 8).
std::vector<int32_t> DrawnCodes(const IMG* destination) {
  std::vector<int32_t> codes;
  for (int32_t cell = 0; cell * kGlyph < destination->width; ++cell) {
    const uint32_t first = destination->pixels[cell * kGlyph];
    for (int32_t y = 0; y < kGlyph; ++y) {
      for (int32_t x = 0; x < kGlyph; ++x) {
        EXPECT_EQ(
            destination->pixels[y * destination->width + cell * kGlyph + x],
            first)
            << "cell " << cell << " pixel " << x << "," << y;
      }
    }
    codes.push_back(
        first == kSentinel ? -1 : static_cast<int32_t>(first - kCodeBase));
  }
  return codes;
}

// Whether every pixel of the image still holds the sentinel.
bool Untouched(const IMG* image) {
  for (int64_t i = 0; i < int64_t{image->width} * image->height; ++i) {
    if (image->pixels[i] != kSentinel) return false;
  }
  return true;
}

TEST(FontTest, NewFontHasSixBySixGlyphsAndNoSheet) {
  FONT* font = FONTNew();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->glyphWidth, 6);
  EXPECT_EQ(font->glyphHeight, 6);
  EXPECT_EQ(font->sheet, nullptr);
  IMG* destination = FilledImage(16, 8, kSentinel);
  EXPECT_EQ(CapturedStdout([&] {
              FONTDrawChar(font, 'A', 0, 0, destination);
              FONTDrawLine(font, "AB", 0, 0, destination);
              FONTDrawHex32(font, 0x12345678, 0, 0, destination);
            }),
            "");
  EXPECT_TRUE(Untouched(destination));
  FONTFree(&font);
  EXPECT_EQ(font, nullptr);
  IMGFree(&destination);
}

TEST(FontTest, FreeReleasesTheSheet) {
  // LeakSanitizer (sanitize build) fails the test if the sheet is kept.
  FONT* font = CodeFont();
  FONTFree(&font);
  EXPECT_EQ(font, nullptr);
  EXPECT_EQ(CapturedStdout([&] { FONTFree(&font); }), "");
  EXPECT_EQ(CapturedStdout([] { FONTFree(nullptr); }), "");
}

TEST(FontTest, CellsOfThe128PixelSheet) {
  FONT* font = CodeFont();
  struct Case {
    const char* description;
    int32_t code;
    int32_t expected;  // code found in the drawn cell, -1 for none
  };
  const Case cases[] = {
      {"code 0 at (0, 0)", 0, 0},
      {"code 16 starts the second row", 16, 16},
      {"A at (8, 32)", 'A', 'A'},
      {"last code of the sheet", 255, 255},
      {"first code below the sheet", 256, -1},
      {"negative code", -1, -1},
      {"signed byte 0xE9", -23, -1},
      {"most negative code", INT_MIN, -1},
      {"largest code", INT_MAX, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    IMG* destination = FilledImage(kGlyph, kGlyph, kSentinel);
    EXPECT_EQ(
        CapturedStdout([&] { FONTDrawChar(font, c.code, 0, 0, destination); }),
        "");
    EXPECT_EQ(DrawnCodes(destination), std::vector<int32_t>{c.expected});
    IMGFree(&destination);
  }
  FONTFree(&font);
}

// The glyph as the font defines it, pixel by pixel: the cell's corner from
// exact (64-bit) arithmetic, every non-zero sheet pixel that lies in both
// images copied.
void ReferenceDrawChar(const FONT* font, int32_t code, int32_t x, int32_t y,
                       IMG* destination) {
  const IMG* sheet = font->sheet;
  if (sheet->width == 0) return;
  const int64_t offset = int64_t{code} * font->glyphWidth;
  const int64_t sx = offset % sheet->width;
  const int64_t sy = offset / sheet->width * font->glyphHeight;
  for (int64_t r = 0; r < font->glyphHeight; ++r) {
    for (int64_t k = 0; k < font->glyphWidth; ++k) {
      const int64_t fx = sx + k, fy = sy + r, tx = x + k, ty = y + r;
      if (fx < 0 || fx >= sheet->width || fy < 0 || fy >= sheet->height) {
        continue;
      }
      if (tx < 0 || tx >= destination->width || ty < 0 ||
          ty >= destination->height) {
        continue;
      }
      const uint32_t v = sheet->pixels[fy * sheet->width + fx];
      if (v != 0) destination->pixels[ty * destination->width + tx] = v;
    }
  }
}

TEST(FontTest, DrawCharMatchesThePixelDefinition) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> sheetSides(0, 40);
  std::uniform_int_distribution<int32_t> glyphSides(-2, 12);
  std::uniform_int_distribution<int32_t> codes(-300, 300);
  std::uniform_int_distribution<int32_t> positions(-20, 40);
  std::uniform_int_distribution<uint32_t> values(0, 3);
  for (int round = 0; round < 4000; ++round) {
    FONT* font = FONTNew();
    font->glyphWidth = glyphSides(random);
    font->glyphHeight = glyphSides(random);
    font->sheet = FilledImage(sheetSides(random), sheetSides(random), 0);
    IMG* sheet = font->sheet;
    for (int64_t i = 0; i < int64_t{sheet->width} * sheet->height; ++i) {
      sheet->pixels[i] = values(random) == 0 ? 0 : 1 + random() % 1000;
    }
    const int32_t code = codes(random);
    const int32_t x = positions(random), y = positions(random);
    IMG* expected = FilledImage(24, 24, kSentinel);
    IMG* actual = IMGCopy(expected);
    ReferenceDrawChar(font, code, x, y, expected);
    FONTDrawChar(font, code, x, y, actual);
    ASSERT_TRUE(IMGEqual(expected, actual))
        << "sheet " << sheet->width << "x" << sheet->height << " glyph "
        << font->glyphWidth << "x" << font->glyphHeight << " code " << code
        << " at " << x << "," << y;
    IMGFree(&expected);
    IMGFree(&actual);
    FONTFree(&font);
  }
}

TEST(FontTest, ZeroSheetPixelsAreTransparent) {
  FONT* font = FONTNew();
  font->glyphWidth = 2;
  font->glyphHeight = 1;
  font->sheet = FilledImage(2, 1, 0);
  font->sheet->pixels[1] = 0xFF000000u;
  IMG* destination = FilledImage(2, 1, kSentinel);
  FONTDrawChar(font, 0, 0, 0, destination);
  EXPECT_EQ(destination->pixels[0], kSentinel);
  EXPECT_EQ(destination->pixels[1], 0xFF000000u);
  IMGFree(&destination);
  FONTFree(&font);
}

TEST(FontTest, ExtremeCodesAndSizesDrawNothingAndDoNotOverflow) {
  // The sanitize build turns any signed overflow here into a failure.
  struct Case {
    const char* description;
    int32_t code, glyphWidth, glyphHeight, sheetWidth;
  };
  const Case cases[] = {
      {"code times width beyond 32 bits", 1 << 28, 8, 8, 8},
      {"most negative code, widest glyph", INT_MIN, INT_MAX, 8, 1},
      {"most negative code and glyph width", INT_MIN, INT_MIN, 8, 1},
      {"row times height beyond 64 bits", INT_MIN, INT_MIN, INT_MIN, 1},
      {"largest everything", INT_MAX, INT_MAX, INT_MAX, 3},
      {"negative height, huge row", INT_MAX, INT_MAX, -5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    FONT* font = FONTNew();
    font->glyphWidth = c.glyphWidth;
    font->glyphHeight = c.glyphHeight;
    font->sheet = FilledImage(c.sheetWidth, 8, 1);
    IMG* destination = FilledImage(8, 8, kSentinel);
    FONTDrawChar(font, c.code, 0, 0, destination);
    FONTDrawLine(font, "\x80\x7F", INT_MAX - 1, INT_MIN, destination);
    FONTDrawHex32(font, 0xFFFFFFFF, INT_MIN, 0, destination);
    EXPECT_TRUE(Untouched(destination));
    IMGFree(&destination);
    FONTFree(&font);
  }
}

TEST(FontTest, SheetOfWidthZeroDrawsNothing) {
  FONT* font = FONTNew();
  font->sheet = FilledImage(0, 8, 0);
  IMG* destination = FilledImage(8, 8, kSentinel);
  EXPECT_EQ(CapturedStdout([&] {
              FONTDrawChar(font, 'A', 0, 0, destination);
              FONTDrawLine(font, "ABC", 0, 0, destination);
            }),
            "");
  EXPECT_TRUE(Untouched(destination));
  IMGFree(&destination);
  FONTFree(&font);
}

TEST(FontTest, HexDigits) {
  struct Case {
    const char* description;
    std::function<void(const FONT*, IMG*)> draw;
    std::string expected;  // the glyphs drawn from x = 8, then a blank cell
  };
  const Case cases[] = {
      {"byte 0x0F",
       [](const FONT* f, IMG* d) { FONTDrawHex8(f, 0x0F, 8, 0, d); }, "0F"},
      {"byte 0xA9",
       [](const FONT* f, IMG* d) { FONTDrawHex8(f, 0xA9, 8, 0, d); }, "A9"},
      {"half word 0x12AB",
       [](const FONT* f, IMG* d) { FONTDrawHex16(f, 0x12AB, 8, 0, d); },
       "12AB"},
      {"word 42", [](const FONT* f, IMG* d) { FONTDrawHex32(f, 42, 8, 0, d); },
       "0000002A"},
      {"word 0xFEDCBA98",
       [](const FONT* f, IMG* d) { FONTDrawHex32(f, 0xFEDCBA98, 8, 0, d); },
       "FEDCBA98"},
  };
  FONT* font = CodeFont();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    IMG* destination = FilledImage(10 * kGlyph, kGlyph, kSentinel);
    c.draw(font, destination);
    std::vector<int32_t> expected(10, -1);
    for (size_t i = 0; i < c.expected.size(); ++i)
      expected[i + 1] = c.expected[i];
    EXPECT_EQ(DrawnCodes(destination), expected);
    IMGFree(&destination);
  }
  FONTFree(&font);
}

TEST(FontTest, LinesStopAtLineFeedOrEnd) {
  struct Case {
    const char* description;
    const char* text;
    int32_t x;
    std::vector<int32_t> expected;  // codes in the six cells
  };
  const Case cases[] = {
      {"stops at the line feed", "AB\nCD", 0, {'A', 'B', -1, -1, -1, -1}},
      {"stops at the end", "xyz", 8, {-1, 'x', 'y', 'z', -1, -1}},
      {"empty text", "", 0, {-1, -1, -1, -1, -1, -1}},
      {"line feed first", "\nAB", 0, {-1, -1, -1, -1, -1, -1}},
      {"bytes from 0x80 are negative codes",
       "A\xE9"
       "B",
       0,
       {'A', -1, 'B', -1, -1, -1}},
      {"clipped on the left", "ABCD", -16, {'C', 'D', -1, -1, -1, -1}},
  };
  FONT* font = CodeFont();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    IMG* destination = FilledImage(6 * kGlyph, kGlyph, kSentinel);
    FONTDrawLine(font, c.text, c.x, 0, destination);
    EXPECT_EQ(DrawnCodes(destination), c.expected);
    IMGFree(&destination);
  }
  FONTFree(&font);
}

TEST(FontTest, GlyphPartlyOutsideIsClipped) {
  FONT* font = CodeFont();
  IMG* destination = FilledImage(12, 12, kSentinel);
  FONTDrawChar(font, 'A', 8, -4, destination);
  for (int32_t y = 0; y < 12; ++y) {
    for (int32_t x = 0; x < 12; ++x) {
      const bool inside = x >= 8 && y < 4;
      EXPECT_EQ(destination->pixels[y * 12 + x],
                inside ? kCodeBase + 'A' : kSentinel)
          << x << "," << y;
    }
  }
  IMGFree(&destination);
  FONTFree(&font);
}

TEST(FontTest, BadArgumentsChangeNothingSilently) {
  FONT* font = CodeFont();
  FONT* noSheet = FONTNew();
  FONT* none = nullptr;
  IMG* destination = FilledImage(16, 8, kSentinel);
  const std::string printed = CapturedStdout([&] {
    FONTDrawChar(nullptr, 'A', 0, 0, destination);
    FONTDrawChar(noSheet, 'A', 0, 0, destination);
    FONTDrawHex8(nullptr, 1, 0, 0, destination);
    FONTDrawHex16(nullptr, 1, 0, 0, destination);
    FONTDrawHex32(nullptr, 1, 0, 0, destination);
    FONTDrawLine(nullptr, "A", 0, 0, destination);
    FONTDrawLine(font, nullptr, 0, 0, destination);
    FONTFree(&none);
    FONTFree(nullptr);
    FONTError();
  });
  EXPECT_EQ(printed, "");  // the font's error switch is off
  EXPECT_TRUE(Untouched(destination));
  IMGFree(&destination);
  FONTFree(&font);
  FONTFree(&noSheet);
}

TEST(FontTest, BadDestinationIsReportedByTheImageModule) {
  FONT* font = CodeFont();
  IMG* noPixels = IMGNew();
  IMGResize(noPixels, -1, -1);
  EXPECT_EQ(CapturedStdout([&] {
              FONTDrawChar(font, 'A', 0, 0, nullptr);
              FONTDrawChar(font, 'A', 0, 0, noPixels);
            }),
            "IMG error\nIMG error\n");
  IMGFree(&noPixels);
  FONTFree(&font);
}

TEST(FontTest, NewFontOutOfMemoryIsNull) {
  FONT* font = nullptr;
  EXPECT_EQ(CapturedStdout([&] {
              MEMFailAfter(0);
              font = FONTNew();
              MEMFailAfter(-1);
            }),
            "");
  EXPECT_EQ(font, nullptr);
}

}  // namespace
