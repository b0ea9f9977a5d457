// Tests of the shipped font sheet data/font8x8.ppm: it is what the fontsheet
// tool makes from data/font8x8.txt, it has the demo's layout, and every
// printable glyph can be told from every other.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "file_bytes.h"
#include "font/font.h"
#include "img/img.h"
#include "temp_path.h"

namespace {

const std::string kSheetPath = ASCIIDEMO_SOURCE_DIR "/data/font8x8.ppm";
const std::string kSourcePath = ASCIIDEMO_SOURCE_DIR "/data/font8x8.txt";
constexpr int32_t kGlyph = 8;  // glyph side and pitch
constexpr int32_t kCellsPerRow = 16;
constexpr int32_t kSheetWidth = 128;
constexpr int32_t kSheetHeight = 64;
constexpr int32_t kFirstPrintable = 32;
constexpr int32_t kLastPrintable = 126;
constexpr uint32_t kLightChannel = 0xC0;  // every channel of the ink at least

// Metric rows of the glyph design.
constexpr int32_t kCapTop = 0;
constexpr int32_t kXHeightTop = 2;
constexpr int32_t kBaseline = 5;
constexpr int32_t kDescender = 6;

// One glyph as 64 booleans, row by row: true where the sheet has ink.
using Glyph = std::vector<bool>;

// The glyph of the code from the sheet's cell grid.
Glyph CellOf(const IMG* sheet, int32_t code) {
  const int32_t left = code % kCellsPerRow * kGlyph;
  const int32_t top = code / kCellsPerRow * kGlyph;
  Glyph glyph;
  for (int32_t y = 0; y < kGlyph; ++y) {
    for (int32_t x = 0; x < kGlyph; ++x) {
      glyph.push_back(sheet->pixels[(top + y) * sheet->width + left + x] != 0);
    }
  }
  return glyph;
}

// First and last row of the glyph holding ink; {-1, -1} for a blank glyph.
std::pair<int32_t, int32_t> InkRows(const Glyph& glyph) {
  int32_t first = -1, last = -1;
  for (int32_t y = 0; y < kGlyph; ++y) {
    for (int32_t x = 0; x < kGlyph; ++x) {
      if (!glyph[y * kGlyph + x]) continue;
      if (first < 0) first = y;
      last = y;
    }
  }
  return {first, last};
}

class FontSheetTest : public testing::Test {
 protected:
  void SetUp() override {
    sheet_ = IMGLoadPNM(kSheetPath.c_str());
    ASSERT_NE(sheet_, nullptr) << kSheetPath;
  }
  void TearDown() override {
    if (sheet_ != nullptr) IMGFree(&sheet_);
  }
  IMG* sheet_ = nullptr;
};

TEST(FontSheetToolTest, CommittedSheetIsWhatTheToolMakes) {
  const std::string built = TempPath("sheet.ppm");
  const std::string command = std::string("\"") + FONTSHEET_TOOL + "\" \"" +
                              kSourcePath + "\" \"" + built + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string made = ReadBytes(built);
  ASSERT_FALSE(made.empty());
  EXPECT_TRUE(made == ReadBytes(kSheetPath))
      << "data/font8x8.ppm is stale: rebuild it with the fontsheet tool";
  std::remove(built.c_str());
}

TEST(FontSheetToolTest, BadSourceIsRefused) {
  const std::string source = TempPath("bad.txt");
  const std::string built = TempPath("bad.ppm");
  const char* const sources[] = {
      "code 65 A\n########\n",  // glyph cut short
      "code 200 x\n",           // code out of range
      "glyph 65\n",             // no "code" keyword
      "code 65 A\n#######\n",   // row of seven pixels
      "code 65 A\n#######x\n",  // pixel neither '#' nor '.'
  };
  for (const char* text : sources) {
    SCOPED_TRACE(text);
    FILE* file = std::fopen(source.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(text, file);
    std::fclose(file);
    std::remove(built.c_str());
    const std::string command = std::string("\"") + FONTSHEET_TOOL + "\" \"" +
                                source + "\" \"" + built + "\" 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_TRUE(ReadBytes(built).empty());
  }
  std::remove(source.c_str());
}

TEST_F(FontSheetTest, LayoutAndColours) {
  ASSERT_EQ(sheet_->width, kSheetWidth);
  ASSERT_EQ(sheet_->height, kSheetHeight);
  std::set<uint32_t> inks;
  for (int32_t i = 0; i < kSheetWidth * kSheetHeight; ++i) {
    if (sheet_->pixels[i] != 0) inks.insert(sheet_->pixels[i]);
  }
  ASSERT_EQ(inks.size(), 1u) << "glyph pixels are one colour";
  const uint32_t ink = *inks.begin();
  EXPECT_GE(ink >> 16 & 0xFF, kLightChannel);
  EXPECT_GE(ink >> 8 & 0xFF, kLightChannel);
  EXPECT_GE(ink & 0xFF, kLightChannel);
  EXPECT_EQ(ink >> 24, 0u);
  for (int32_t code = 0; code < kCellsPerRow * kSheetHeight / kGlyph; ++code) {
    SCOPED_TRACE(code);
    const Glyph glyph = CellOf(sheet_, code);
    const bool printable = code >= kFirstPrintable && code <= kLastPrintable;
    if (!printable) {
      EXPECT_EQ(InkRows(glyph).first, -1) << "only printable codes are drawn";
    }
    // The last column and row stay blank, so neighbours never touch.
    for (int32_t k = 0; k < kGlyph; ++k) {
      EXPECT_FALSE(glyph[k * kGlyph + kGlyph - 1]) << "column 7, row " << k;
      EXPECT_FALSE(glyph[(kGlyph - 1) * kGlyph + k]) << "row 7, column " << k;
    }
  }
}

TEST_F(FontSheetTest, PrintableGlyphsArePairwiseDistinct) {
  for (int32_t a = kFirstPrintable; a <= kLastPrintable; ++a) {
    const Glyph first = CellOf(sheet_, a);
    if (a != ' ') {
      EXPECT_NE(InkRows(first).first, -1) << "code " << a;
    }
    for (int32_t b = a + 1; b <= kLastPrintable; ++b) {
      EXPECT_NE(first, CellOf(sheet_, b)) << "codes " << a << " and " << b;
    }
  }
}

TEST_F(FontSheetTest, LettersShareBaselineAndHeights) {
  struct Group {
    const char* description;
    std::string members;
    int32_t top, bottom;  // first and last row holding ink
  };
  const Group groups[] = {
      {"capitals and digits", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", kCapTop,
       kBaseline},
      {"x-height letters", "acemnorsuvwxz", kXHeightTop, kBaseline},
      {"ascending letters", "bdfhklt", kCapTop, kBaseline},
      {"descending letters", "gpqy", kXHeightTop, kDescender},
  };
  for (const Group& g : groups) {
    SCOPED_TRACE(g.description);
    for (char c : g.members) {
      const auto rows = InkRows(CellOf(sheet_, c));
      EXPECT_EQ(rows.first, g.top) << c;
      EXPECT_EQ(rows.second, g.bottom) << c;
    }
  }
}

TEST_F(FontSheetTest, DrawnTextDecodesCellByCell) {
  // The demo's screenshots are read back this way: each 8 × 8 cell of the
  // picture is matched against the sheet's cells.
  std::string text;
  for (int32_t c = kFirstPrintable; c <= kLastPrintable; ++c) {
    text += static_cast<char>(c);
  }
  FONT* font = FONTNew();
  font->glyphWidth = kGlyph;
  font->glyphHeight = kGlyph;
  font->sheet = sheet_;
  sheet_ = nullptr;  // the font owns it now
  IMG* picture = IMGNew();
  IMGResize(picture, static_cast<int32_t>(text.size()) * kGlyph, kGlyph);
  FONTDrawLine(font, text.c_str(), 0, 0, picture);
  std::string decoded;
  for (size_t cell = 0; cell < text.size(); ++cell) {
    Glyph drawn;
    for (int32_t y = 0; y < kGlyph; ++y) {
      for (int32_t x = 0; x < kGlyph; ++x) {
        drawn.push_back(
            picture->pixels[y * picture->width + cell * kGlyph + x] != 0);
      }
    }
    char match = '?';
    int matches = 0;
    for (int32_t c = kFirstPrintable; c <= kLastPrintable; ++c) {
      if (CellOf(font->sheet, c) == drawn) {
        match = static_cast<char>(c);
        ++matches;
      }
    }
    EXPECT_EQ(matches, 1) << "cell " << cell;
    decoded += match;
  }
  EXPECT_EQ(decoded, text);
  IMGFree(&picture);
  FONTFree(&font);
}

}  // namespace
