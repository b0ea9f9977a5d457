// bigfont glyphs — the glyph texts of the block-letter font, written in a
// compact row notation and turned into glyph texts at compile time.
//
// Notation: a glyph is its rows from top to bottom separated by '/', five
// cells per row, '#' for ink and '.' for a blank. Building the text puts the
// glyph's ink character for '#' and a space for '.', adds the blank sixth
// cell and a line feed to every row, and adds an empty sixth row to glyphs
// without a descender. No switches; no dependencies.
#include "scroll/bigfont_glyphs.h"

#include <array>    // the built glyph texts and the table by code
#include <cstddef>  // size_t
#include <cstdint>

namespace {

constexpr int32_t kGlyphWidth = 6;     // cells per glyph row, blank included
constexpr int32_t kGlyphHeight = 6;    // glyph rows, descender row included
constexpr int32_t kNotationCells = 5;  // cells per row in the notation
constexpr int32_t kBodyRows = 5;       // rows of every glyph; a sixth row is
                                       // a descender
constexpr int32_t kCodeCount = 128;    // codes 0 .. 127; 127 has no glyph
constexpr int32_t kHexCodes = 32;      // codes 0 .. 31 show two hex digits
constexpr int32_t kLetterCount = 95;   // codes 32 .. 126 are block letters
constexpr int32_t kDigitValues = 16;   // values of one hexadecimal digit
constexpr int32_t kSharedCode = 10;    // has no glyph of its own ...
constexpr int32_t kSharedWith = 0;     // ... and shows this code's glyph

constexpr char kInk = '#';     // ink in the notation and in most glyphs
constexpr char kBlank = '.';   // blank cell in the notation
constexpr char kRowEnd = '/';  // row separator in the notation
constexpr char kSpace = ' ';   // blank cell in a glyph text
constexpr char kLineFeed = '\n';

// Bytes of the longest glyph text: six rows of six cells and a line feed
// each, and the terminating zero.
constexpr size_t kGlyphTextSize = kGlyphHeight * (kGlyphWidth + 1) + 1;

// Bytes of a hex glyph's notation: five rows of five cells, four
// separators and the terminating zero.
constexpr size_t kHexNotationSize = kBodyRows * (kNotationCells + 1);

// One glyph text, zero-terminated.
struct GlyphText {
  char text[kGlyphTextSize];  // rows, each ended by a line feed
};

// One block letter in the notation.
struct LetterRows {
  int32_t code;      // character code, 32 .. 126
  const char* rows;  // the glyph in the notation
  char ink = kInk;   // character the ink cells are drawn with
};

// Narrow digits for codes 0..15 (first digit 0): the two-column form of the
// second digit, by its value. There is no two-column A.
constexpr const char* kTwoColumnDigits[kDigitValues] = {
    "##/##/##/##/##",  // 0
    "#./#./#./#./#.",  // 1
    "##/.#/##/#./##",  // 2
    "##/.#/##/.#/##",  // 3
    "##/##/##/.#/.#",  // 4
    "##/#./##/.#/##",  // 5
    "##/#./##/##/##",  // 6
    "##/.#/.#/.#/.#",  // 7
    "##/##/../##/##",  // 8
    "##/##/.#/.#/##",  // 9
    nullptr,  // A: none, code 10 shows code 0's glyph
    "##/##/#./##/##",  // B
    "##/#./#./#./##",  // C
    "#./##/##/##/#.",  // D
    "##/#./##/#./##",  // E
    "##/#./##/#./#.",  // F
};

// Narrow digits for codes 16..31 (first digit 1): the three-column form of
// the second digit, by its value.
constexpr const char* kThreeColumnDigits[kDigitValues] = {
    "###/#.#/#.#/#.#/###",  // 0
    ".#./.#./.#./.#./.#.",  // 1
    "###/..#/###/#../###",  // 2
    "###/..#/###/..#/###",  // 3
    "#.#/#.#/###/..#/..#",  // 4
    "###/#../###/..#/###",  // 5
    "###/#../###/#.#/###",  // 6
    "###/..#/..#/..#/..#",  // 7
    "###/#.#/###/#.#/###",  // 8
    "###/#.#/###/..#/###",  // 9
    "###/#.#/###/#.#/#.#",  // A
    "##./#.#/##./#.#/##.",  // B
    ".##/#../#../#../.##",  // C
    "##./#.#/#.#/#.#/##.",  // D
    "###/#../##./#../###",  // E
    "###/#../##./#../#..",  // F
};

// The narrow first digits and the blank column after them, as notation
// cells: "##." for 0 (a solid two-cell bar), "#." for 1.
constexpr const char* kFirstDigitZero = "##.";
constexpr const char* kFirstDigitOne = "#.";

// Codes 32..126 in code order.
constexpr LetterRows kLetters[kLetterCount] = {
    {32, "...../...../...../...../....."},  // space
    {33, "..##./..##./..##./...../..##."},  // !
    {34, ".#.#./.#.#./...../...../.....", '"'},  // " (drawn with itself)
    {35, ".#.#./#####/.#.#./#####/.#.#."},  // #
    {36, ".####/#.#../.###./..#.#/####."},  // $
    {37, "##..#/##.#./..#../.#.##/#..##"},  // %
    {38, "..#../.#.#./.##../#..##/.##.#"},  // &
    {39, "..##./.##../...../...../....."},  // '
    {40, "..##./.#.../.#.../.#.../..##."},  // (
    {41, "..##./....#/....#/....#/..##."},  // )
    {42, "#.#.#/.###./#####/.###./#.#.#"},  // *
    {43, "..#../..#../#####/..#../..#.."},  // +
    {44, "...../...../...../...##/.##.."},  // ,
    {45, "...../...../.####/...../....."},  // -
    {46, "...../...../...../..##./..##."},  // .
    {47, "....#/...#./..#../.#.../#...."},  // /
    {48, "#####/#...#/#.#.#/#...#/#####"},  // 0
    {49, "..#../.##../..#../..#../.###."},  // 1
    {50, "#####/....#/#####/#..../#####"},  // 2
    {51, "#####/....#/..###/....#/#####"},  // 3
    {52, "#...#/#...#/#####/....#/....#"},  // 4
    {53, "#####/#..../#####/....#/#####"},  // 5
    {54, "#####/#..../#####/#...#/#####"},  // 6
    {55, "#####/....#/....#/....#/....#"},  // 7
    {56, "#####/#...#/#####/#...#/#####"},  // 8
    {57, "#####/#...#/#####/....#/#####"},  // 9
    {58, "...../..##./...../..##./....."},  // :
    {59, "...../..##./...../..##./.#..."},  // ;
    {60, "..#../...#./....#/...#./..#.."},  // <
    {61, "...../.####/...../.####/....."},  // =
    {62, ".#.../..#../...#./..#../.#..."},  // >
    {63, ".###./#...#/..##./...../..#.."},  // ?
    {64, ".###./#.###/#.###/#..../.####", '@'},  // @ (drawn with itself)
    {65, "#####/#...#/#####/#...#/#...#"},  // A
    {66, "####./#...#/####./#...#/####."},  // B
    {67, ".####/#..../#..../#..../.####"},  // C
    {68, "####./#...#/#...#/#...#/####."},  // D
    {69, "#####/#..../####./#..../#####"},  // E
    {70, "#####/#..../####./#..../#...."},  // F
    {71, ".####/#..../#.###/#...#/.####"},  // G
    {72, "#...#/#...#/#####/#...#/#...#"},  // H
    {73, "#####/..#../..#../..#../#####"},  // I
    {74, "..###/....#/....#/#...#/.###."},  // J
    {75, "#...#/#..#./###../#..#./#...#"},  // K
    {76, "#..../#..../#..../#..../#####"},  // L
    {77, "#...#/##.##/#.#.#/#...#/#...#"},  // M
    {78, "#...#/##..#/#.#.#/#..##/#...#"},  // N
    {79, ".###./#...#/#...#/#...#/.###."},  // O
    {80, "####./#...#/####./#..../#...."},  // P
    {81, ".###./#...#/#.#.#/#..##/.####"},  // Q
    {82, "####./#...#/####./#..#./#...#"},  // R
    {83, ".####/#..../.###./....#/####."},  // S
    {84, "#####/..#../..#../..#../..#.."},  // T
    {85, "#...#/#...#/#...#/#...#/.###."},  // U
    {86, "#...#/#...#/#...#/.#.#./..#.."},  // V
    {87, "#...#/#...#/#.#.#/##.##/#...#"},  // W
    {88, "#...#/.#.#./..#../.#.#./#...#"},  // X
    {89, "#...#/.#.#./..#../..#../..#.."},  // Y
    {90, "#####/...#./..#../.#.../#####"},  // Z
    {91, ".###./.#.../.#.../.#.../.###."},  // [
    {92, "#..../.#.../..#../...#./....#"},  // backslash
    {93, ".###./...#./...#./...#./.###."},  // ]
    {94, "..#../.#.#./#...#/...../....."},  // ^
    {95, "...../...../...../...../#####"},  // _
    {96, ".##../..##./...../...../....."},  // `
    {97, "...../.###./#...#/#...#/.####"},  // a
    {98, "#..../#..../####./#...#/####."},  // b
    {99, "...../.####/#..../#..../.####"},  // c
    {100, "....#/....#/.####/#...#/.####"},  // d
    {101, "...../.###./#####/#..../.####"},  // e
    {102, "...##/..#../.###./..#../..#.."},  // f
    {103, "...../..##./.#..#/..###/....#/.###."},  // g
    {104, "#..../#..../####./#...#/#...#"},  // h
    {105, "..#../...../..#../..#../.###."},  // i
    {106, "....#/...../...##/....#/.#..#/..##."},  // j
    {107, "#..../#.#../##.../#.#../#..#."},  // k
    {108, "#..../#..../#..../#..../.###."},  // l
    {109, "...../.#.#./#.#.#/#.#.#/#...#"},  // m
    {110, "...../#.##./##..#/#...#/#...#"},  // n
    {111, "...../.###./#...#/#...#/.###."},  // o
    {112, "...../###../#..#./###../#..../#...."},  // p
    {113, "...../.###./#..#./.###./...#./...#."},  // q
    {114, "...../#.##./##..#/#..../#...."},  // r
    {115, "...../.###./##.../..##./###.."},  // s
    {116, "..#../#####/..#../..#../...##"},  // t
    {117, "...../#...#/#...#/#...#/.###."},  // u
    {118, "...../#...#/#...#/.#.#./..#.."},  // v
    {119, "...../#...#/#.#.#/#.#.#/.#.#."},  // w
    {120, "...../#...#/.#.#./.#.#./#...#"},  // x
    {121, "...../#...#/.####/....#/.###."},  // y
    {122, "...../####./..#../.#.../####."},  // z
    {123, "..#../.#.../##.../.#.../..#.."},  // {
    {124, "..#../..#../..#../..#../..#.."},  // |
    {125, "..#../...#./...##/...#./..#.."},  // }
    {126, ".#.#./#.#../...../...../....."},  // ~
};

// ---- Building the texts ---------------------------------------------------

// Whether the notation is five or six rows of five '#' or '.' cells.
constexpr bool WellFormed(const char* rows) {
  int32_t row = 0;
  int32_t cells = 0;
  for (const char* p = rows;; ++p) {
    if (*p == kRowEnd || *p == '\0') {
      if (cells != kNotationCells) return false;
      ++row;
      cells = 0;
      if (*p == '\0') return row == kBodyRows || row == kGlyphHeight;
    } else if (*p == kInk || *p == kBlank) {
      ++cells;
    } else {
      return false;
    }
  }
}

// The glyph text of a notation, drawn with the given ink character.
constexpr GlyphText MakeGlyph(const char* rows, char ink) {
  GlyphText glyph{};
  size_t at = 0;
  int32_t row = 0;
  for (const char* p = rows;; ++p) {
    if (*p == kRowEnd || *p == '\0') {
      glyph.text[at++] = kSpace;
      glyph.text[at++] = kLineFeed;
      ++row;
      if (*p == '\0') break;
    } else {
      glyph.text[at++] = *p == kInk ? ink : kSpace;
    }
  }
  if (row < kGlyphHeight) glyph.text[at++] = kLineFeed;
  glyph.text[at] = '\0';
  return glyph;
}

// The notation of a code 0..31 (other than 10): per row, the narrow first
// digit, a blank column and the row of the narrow second digit.
constexpr std::array<char, kHexNotationSize> HexNotation(int32_t code) {
  const bool high = code >= kDigitValues;
  const char* first = high ? kFirstDigitOne : kFirstDigitZero;
  const char* second = high ? kThreeColumnDigits[code - kDigitValues]
                            : kTwoColumnDigits[code];
  std::array<char, kHexNotationSize> notation{};
  size_t at = 0;
  for (int32_t row = 0; row < kBodyRows; ++row) {
    if (row > 0) notation[at++] = kRowEnd;
    for (const char* p = first; *p != '\0'; ++p) notation[at++] = *p;
    for (; *second != kRowEnd && *second != '\0'; ++second) {
      notation[at++] = *second;
    }
    if (*second == kRowEnd) ++second;
  }
  notation[at] = '\0';
  return notation;
}

// Glyph texts of codes 0..31; entry 10 stays empty, code 10 uses entry 0.
constexpr std::array<GlyphText, kHexCodes> MakeHexGlyphs() {
  std::array<GlyphText, kHexCodes> glyphs{};
  for (int32_t code = 0; code < kHexCodes; ++code) {
    if (code == kSharedCode) continue;
    glyphs[code] = MakeGlyph(HexNotation(code).data(), kInk);
  }
  return glyphs;
}

// Glyph texts of the block letters, in the order of kLetters.
constexpr std::array<GlyphText, kLetterCount> MakeLetterGlyphs() {
  std::array<GlyphText, kLetterCount> glyphs{};
  for (int32_t i = 0; i < kLetterCount; ++i) {
    glyphs[i] = MakeGlyph(kLetters[i].rows, kLetters[i].ink);
  }
  return glyphs;
}

// Whether kLetters lists codes 32..126 in order, each well formed.
constexpr bool LettersAreComplete() {
  for (int32_t i = 0; i < kLetterCount; ++i) {
    if (kLetters[i].code != kHexCodes + i) return false;
    if (!WellFormed(kLetters[i].rows)) return false;
  }
  return true;
}

// Whether every narrow hex glyph is well formed.
constexpr bool HexGlyphsAreWellFormed() {
  for (int32_t code = 0; code < kHexCodes; ++code) {
    if (code != kSharedCode && !WellFormed(HexNotation(code).data())) {
      return false;
    }
  }
  return true;
}

static_assert(LettersAreComplete(), "block letters: codes or rows amiss");
static_assert(HexGlyphsAreWellFormed(), "narrow digits: rows amiss");

constexpr std::array<GlyphText, kHexCodes> kHexGlyphs = MakeHexGlyphs();
constexpr std::array<GlyphText, kLetterCount> kLetterGlyphs =
    MakeLetterGlyphs();

// The glyph text of every code; code 10 shares code 0's text and code 127
// has none.
constexpr std::array<const char*, kCodeCount> MakeGlyphTable() {
  std::array<const char*, kCodeCount> table{};
  for (int32_t code = 0; code < kHexCodes; ++code) {
    table[code] = kHexGlyphs[code == kSharedCode ? kSharedWith : code].text;
  }
  for (int32_t i = 0; i < kLetterCount; ++i) {
    table[kLetters[i].code] = kLetterGlyphs[i].text;
  }
  return table;
}

constexpr std::array<const char*, kCodeCount> kGlyphTable = MakeGlyphTable();

}  // namespace

const BigFontDefinition kBigFontDefinition = {kGlyphWidth, kGlyphHeight,
                                              kCodeCount, kGlyphTable.data()};
