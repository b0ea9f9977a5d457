// fontsample — renders sample lines through the bitmap font into a PPM
// file, so that anyone can look at the glyphs.
//
//   fontsample data/font8x8.ppm sample.ppm
//   pnmtopng sample.ppm > sample.png       (netpbm, to view it)
//
// Every printable code, a pangram in both cases, digits, punctuation and a
// hexadecimal number, drawn with FONTDrawLine and FONTDrawHex32 at the 8 × 8
// glyph pitch the demo uses: the sheet's light glyphs on black.
#include <cstdint>
#include <cstdio>  // fprintf

#include "font/font.h"
#include "img/img.h"

namespace {

constexpr int32_t kGlyphSide = 8;  // glyph width, height and pitch
constexpr int32_t kColumns = 48;   // width of the picture in glyphs
constexpr int32_t kMargin = 1;     // blank glyph cells around the text
constexpr uint32_t kHexSample = 0x1234ABCD;

// The sample text, one entry per picture row ("" leaves a row empty).
const char* const kLines[] = {
    " !\"#$%&'()*+,-./0123456789:;<=>?",
    "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_",
    "`abcdefghijklmnopqrstuvwxyz{|}~",
    "",
    "The quick brown fox jumps over the lazy dog.",
    "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS!",
    "Sphinx of black quartz, judge my vow?",
    "(x + y) * 3 - 7 / 2 = {a[1], b[2]} <=> 5%;",
    "il1I| O0o Q9g qpy jJ rn m vv w 5S 2Z 8B",
    "",
    "::::----)))))::::----))))  \"#\" '@' `~` ^_^",
    "",
};
constexpr int32_t kTextRows = sizeof(kLines) / sizeof(kLines[0]);

}  // namespace

// Loads the sheet, draws the sample and saves it; 0 on success.
int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fontsample SHEET.ppm SAMPLE.ppm\n");
    return 1;
  }
  FONT* font = FONTNew();
  font->glyphWidth = kGlyphSide;
  font->glyphHeight = kGlyphSide;
  font->sheet = IMGLoadPNM(argv[1]);
  if (font->sheet == nullptr) {
    FONTFree(&font);
    return 1;
  }
  IMG* picture = IMGNew();
  IMGResize(picture, (kColumns + 2 * kMargin) * kGlyphSide,
            (kTextRows + 1 + 2 * kMargin) * kGlyphSide);
  int32_t y = kMargin * kGlyphSide;
  const int32_t x = kMargin * kGlyphSide;
  for (const char* line : kLines) {
    FONTDrawLine(font, line, x, y, picture);
    y += kGlyphSide;
  }
  FONTDrawLine(font, "0x", x, y, picture);
  FONTDrawHex32(font, kHexSample, x + 2 * kGlyphSide, y, picture);
  const bool saved = IMGSavePNM(picture, argv[2]);
  IMGFree(&picture);
  FONTFree(&font);
  return saved ? 0 : 1;
}
