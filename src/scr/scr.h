// scr — text canvas: a grid of character cells and the program-wide
// current canvas.
//
// Cells hold 32-bit signed ints standing for character codes. Every
// character-drawing primitive stores its character through SCRPut, which
// keeps it as a signed 8-bit value widened to 32 bits (bytes 128..255 become
// -128..-1); SCRFill and SCRPutInt store the full value they are given.
// Coordinates outside the grid are never errors: single cells are dropped,
// runs, rectangles and lines are clipped, all silently. The module reports
// nothing. A canvas has no release operation: it lives until the program
// ends.
#pragma once

#include <cstdint>  // int32_t
#include <cstdio>   // FILE

struct SCR {
  int32_t w;           // number of columns, 0 or more
  int32_t h;           // number of rows, 0 or more
  int32_t spare1;      // no role; zero from creation
  int32_t spare2;      // no role; zero from creation
  int32_t* cells;      // w × h cells, row-major (owned); null only when
                       // memory for the cells ran out
  int32_t printCount;  // number of completed SCRPrint calls
};

// New 80 × 25 canvas of spaces, made the current canvas. Null when memory
// runs out (the current canvas then stays what it was).
SCR* SCRNew();

// The most recently created canvas, or null before the first SCRNew.
SCR* SCRCurrent();

// Discards all contents and sets the size, every cell a space. Negative
// counts are taken as 0; when the cells cannot be allocated the canvas
// becomes 0 × 0 without cells. Either way the canvas stays usable.
void SCRResize(SCR* canvas, int32_t columns, int32_t rows);

// Stores value in every cell.
void SCRFill(SCR* canvas, int32_t value);

// Stores the character, as a signed 8-bit value, in one cell if it exists.
void SCRPut(SCR* canvas, int32_t column, int32_t row, char character);

// Stores the full int value in one cell if it exists.
void SCRPutInt(SCR* canvas, int32_t column, int32_t row, int32_t value);

// Draws a multi-line text, every character opaque (spaces too); a line feed
// goes to the next row at the start column.
void SCRDrawString(SCR* canvas, int32_t column, int32_t row, const char* text);

// Horizontal run from column A to column B inclusive, in one row.
void SCRHLine(SCR* canvas, int32_t columnA, int32_t columnB, int32_t row,
              char character);

// Vertical run from row A to row B inclusive, in one column.
void SCRVLine(SCR* canvas, int32_t rowA, int32_t rowB, int32_t column,
              char character);

// Filled rectangle with corners (A) and (B), both inclusive.
void SCRFillRect(SCR* canvas, int32_t columnA, int32_t rowA, int32_t columnB,
                 int32_t rowB, char character);

// Straight line from (A) to (B), both ends inclusive, walked in 16.16 fixed
// point from the left end; ends in one row or column draw that run, equal
// ends one cell. Any ends are accepted: the arithmetic is 64-bit and only
// the cells on the grid are visited.
void SCRLine(SCR* canvas, int32_t columnA, int32_t rowA, int32_t columnB,
             int32_t rowB, char character);

// Writes the grid to the stream and flushes it: a line feed, then each row's
// first w-1 cells (low byte of each), rows separated by line feeds, no line
// feed at the end; then counts the call in printCount. A canvas without
// rows writes the leading line feed alone.
void SCRPrint(SCR* canvas, FILE* stream);
