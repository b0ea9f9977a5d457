// fontsheet — builds the glyph sheet image of the 8 × 8 font from its text
// source, one picture of '#' (ink) and '.' (background) per glyph.
//
//   fontsheet data/font8x8.txt data/font8x8.ppm
//
// Source format: lines starting with ';' and empty lines are skipped. A
// line "code N label" (N a decimal code 0..127, the label free text) starts
// a glyph; the next eight lines are its rows, eight pixels each. The sheet
// is 128 × 64 pixels, 16 cells per row in code order; ink pixels get
// kInkColour, everything else stays 0 (transparent). The sheet is written
// with IMGSavePNM. Exits 1 with a message naming the line on bad input.
#include <cstdint>
#include <cstdio>   // fprintf
#include <cstdlib>  // free, strtol
#include <cstring>  // strncmp, strlen
#include <string>
#include <vector>

#include "img/img.h"
#include "util/util.h"

namespace {

constexpr int32_t kGlyphSide = 8;          // glyph width and height in pixels
constexpr int32_t kCellsPerRow = 16;       // cells per sheet row
constexpr int32_t kCodes = 128;            // codes 0..127 have a cell
constexpr uint32_t kInkColour = 0xE0E0E0;  // light grey glyph pixels
constexpr char kInk = '#';
constexpr char kBackground = '.';
constexpr char kComment = ';';
constexpr const char* kGlyphKeyword = "code ";
constexpr int kDecimal = 10;

// The source split into lines, numbered from 1 for messages.
std::vector<std::string> SplitLines(const char* text) {
  std::vector<std::string> lines(1);
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\n') {
      lines.emplace_back();
    } else if (*p != '\r') {
      lines.back() += *p;
    }
  }
  return lines;
}

// Prints the message for the source line and returns false.
bool Fail(const char* source, size_t line, const char* message) {
  std::fprintf(stderr, "%s:%zu: %s\n", source, line + 1, message);
  return false;
}

// Draws every glyph of the source into the sheet; false after a message.
bool DrawGlyphs(const char* source, const std::vector<std::string>& lines,
                IMG* sheet) {
  std::vector<bool> seen(kCodes, false);
  size_t i = 0;
  while (i < lines.size()) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == kComment) {
      ++i;
      continue;
    }
    const size_t keyword = std::strlen(kGlyphKeyword);
    if (line.compare(0, keyword, kGlyphKeyword) != 0) {
      return Fail(source, i, "expected \"code N\"");
    }
    char* end = nullptr;
    const long code = std::strtol(line.c_str() + keyword, &end, kDecimal);
    if (end == line.c_str() + keyword || code < 0 || code >= kCodes) {
      return Fail(source, i, "code must be a number 0..127");
    }
    if (seen[code]) return Fail(source, i, "code given twice");
    seen[code] = true;
    const int32_t left = static_cast<int32_t>(code % kCellsPerRow) * kGlyphSide;
    const int32_t top = static_cast<int32_t>(code / kCellsPerRow) * kGlyphSide;
    for (int32_t row = 0; row < kGlyphSide; ++row) {
      ++i;
      if (i >= lines.size()) return Fail(source, i - 1, "glyph cut short");
      const std::string& pixels = lines[i];
      if (pixels.size() != static_cast<size_t>(kGlyphSide)) {
        return Fail(source, i, "a glyph row has eight pixels");
      }
      for (int32_t column = 0; column < kGlyphSide; ++column) {
        if (pixels[column] == kInk) {
          IMGSetPixel(sheet, left + column, top + row, kInkColour);
        } else if (pixels[column] != kBackground) {
          return Fail(source, i, "pixels are '#' or '.'");
        }
      }
    }
    ++i;
  }
  return true;
}

}  // namespace

// Reads the source, draws the sheet, writes it; 0 on success.
int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fontsheet SOURCE.txt SHEET.ppm\n");
    return 1;
  }
  char* text = FILRead(argv[1]);
  if (text == nullptr) {
    std::fprintf(stderr, "%s: cannot read\n", argv[1]);
    return 1;
  }
  const std::vector<std::string> lines = SplitLines(text);
  std::free(text);
  IMG* sheet = IMGNew();
  IMGResize(sheet, kCellsPerRow * kGlyphSide,
            kCodes / kCellsPerRow * kGlyphSide);
  const bool drawn = DrawGlyphs(argv[1], lines, sheet);
  const bool saved = drawn && IMGSavePNM(sheet, argv[2]);
  IMGFree(&sheet);
  return saved ? 0 : 1;
}
