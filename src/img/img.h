// img — 32-bit true-colour pixel images: core operations, PNM files, the
// image text form, scaling, rotation and line points.
//
// A pixel is 0x00RRGGBB; the value 0 (black) is the transparent value of
// IMGBlit. Operations that compare pixels use all 32 bits; operations that
// write channels out take only the three low bytes.
//
// Error switch: kIMGErrorReports (img_core.cpp), on. Every reported failure
// prints "IMG error\n" once on standard output, then returns the neutral
// result stated next to the operation. Coordinates outside an image are
// never errors. Nothing here ends the program.
//
// Sources: img_core.cpp (record, comparison, copy, pixels, blit),
// img_pnm.cpp (PNM files), img_text.cpp (text form), img_geom.cpp
// (distribution, scaling, rotation, line points).
#pragma once

#include <cstdint>  // int32_t, uint32_t, int64_t

struct IMG {
  int32_t width;     // number of columns, never negative
  int32_t height;    // number of rows, never negative
  uint32_t* pixels;  // width × height pixels, row-major (owned); null only
                     // after a resize whose allocation was refused
};

// Largest picture the readers (PNM files, PNM buffers, the text form) accept,
// in pixels: 2^28, a 16384 × 16384 picture, 1 GiB of pixels. Larger headers
// are refused as an allocation failure, so a hostile header cannot make a
// reader take memory out of proportion to its input.
constexpr int64_t kIMGMaxReadPixels = int64_t{1} << 28;

// ---- Core ---------------------------------------------------------------

// New 16 × 16 image of zero pixels; null after one report when memory runs
// out.
IMG* IMGNew();

// Releases the image and sets the caller's handle to null; a null address or
// handle: one report, nothing else.
void IMGFree(IMG** image);

// Gives the image a new size and a new all-zero pixel array (the old picture
// is dropped even when the size is the same). Null image: one report. A size
// that cannot be allocated (negative, or width × height × 4 bytes beyond the
// address range, or out of memory) is refused silently: the image then has
// no pixel array, keeps the new size (negative values stored as 0).
void IMGResize(IMG* image, int32_t width, int32_t height);

// Sets every pixel to 0. Null image or no pixel array: one report.
void IMGClear(IMG* image);

// 1 when both images have the same size and pixels, else 0. A null image or
// one without pixel array: one report, 0.
bool IMGEqual(const IMG* a, const IMG* b);

// New image with the source's size and pixels. Null source or no pixel
// array: one report, null. Out of memory: null (one report when the record
// itself could not be made).
IMG* IMGCopy(const IMG* source);

// Sets pixel (x, y) when it lies inside. Null image or no pixel array: one
// report.
void IMGSetPixel(IMG* image, int32_t x, int32_t y, uint32_t value);

// Pixel (x, y), or 0 when it lies outside. Null image or no pixel array:
// one report, 0.
uint32_t IMGGetPixel(const IMG* image, int32_t x, int32_t y);

// Copies the width × height rectangle at (sx, sy) of the source to (dx, dy)
// of the destination, clipped to both images; source pixels of value 0 are
// left out. A null image or one without pixel array: one report. Rectangles
// that miss either image copy nothing, silently.
void IMGBlit(const IMG* source, IMG* destination, int32_t sx, int32_t sy,
             int32_t dx, int32_t dy, int32_t width, int32_t height);

// The module's error report: "IMG error\n" on standard output.
void IMGError();

// ---- PNM files ----------------------------------------------------------

// Reads a PNM file of any kind P1..P6 into a new image. Samples are not
// scaled by the maxval and channels are or-combined (a plain sample above
// 255 reaches into the next channel); in P1 and P4 a 1 is white (0xFFFFFF).
// Header numbers wrap in 32 bits. A raster cut short is not a failure:
// missing plain samples are 0, raw bytes missing at the end of the file
// count as -1 (a P5 or P6 pixel 0xFFFFFFFF, a P4 pixel white). Failures
// (null name, unopenable file, bad kind, header cut short, zero width or
// height, a width or height that wraps negative, more than
// kIMGMaxReadPixels, out of memory): one report, null; the file is closed on
// every path.
IMG* IMGLoadPNM(const char* fileName);

// Reads a PNM image from a zero-terminated buffer (bytes taken as 0..255),
// with the same failures as IMGLoadPNM. A P1 or P4 width that follows the
// kind is widened to a multiple of 8; P1 takes every digit as one sample,
// P4 is one continuous bit string. Plain rasters end at the terminating
// zero (missing samples are 0). Precondition, the caller's duty: for the raw
// kinds the buffer holds the one byte that ends the header and, after it,
// every raster byte the header announces (width × height for P5,
// 3 × width × height for P6, width × height / 8 rounded up for P4, with the
// widened width); raw rasters are read by count, since a zero byte is
// ordinary raster data there.
IMG* IMGParsePNM(const char* buffer);

// Writes the image as a binary colour file "P6\n<w> <h>\n255\n" plus three
// bytes per pixel. 1 on success; 0 after one report for a null image, no
// pixel array, a null name, a zero width or height, or an unopenable file.
bool IMGSavePNM(const IMG* image, const char* fileName);

// ---- Text form ----------------------------------------------------------

// New text "IMG{\nP3\n<w> <h>\n255\n" + 12 characters per pixel + "}\n"
// ("IMG{}" for an image without pixels), released with free(). Null after
// one report for a null image, no pixel array, or a text that cannot be
// allocated or whose size exceeds the signed 32-bit range.
char* IMGToASCII(const IMG* image);

// New image read from the first text form found in the text. Null after one
// report for a null text, a missing "IMG", "{" or "P3\n" marker, more than
// kIMGMaxReadPixels, or out of memory. Samples missing at the end count as 0.
IMG* IMGFromASCII(const char* text);

// Index just past the first occurrence of the pattern in the text; 0 when it
// does not occur or either is empty. Null text or pattern: one report, 0.
int32_t IMGFindText(const char* text, const char* pattern);

// ---- Geometry -----------------------------------------------------------

// New array of min(|p|, |q|) + 1 run lengths dividing max(|p|, |q|) items,
// longest runs first, the last entry 1; released with free(). Null when the
// array cannot be allocated, or when its length or an entry would not fit in
// a signed 32-bit int: INT32_MAX or INT32_MIN beside 0, INT32_MIN beside
// ±1, or both magnitudes INT32_MAX or more. Never reports.
int32_t* IMGDistribute(int32_t p, int32_t q);

// New image of newWidth × newHeight made by repeating and dropping whole
// source pixels. Null after one report for a null source, no pixel array or
// a negative size; null when out of memory.
IMG* IMGScale(const IMG* source, int32_t newWidth, int32_t newHeight);

// New image about 1.414 times as wide and high holding the source turned
// about its centre by an angle in 1024ths of a turn (512 leaves it upright).
// Null after one report for a null source, no pixel array, or a width or
// height above 23174 whose result size would overflow; null when out of
// memory.
IMG* IMGRotate(const IMG* source, int32_t angle);

// New point list of the line from (x0, y0) to (x1, y1): element 0 holds
// 2M + 2, then M + 1 points as x, y pairs, M being the major extent;
// released with free(). Null when the list cannot be allocated or its size
// overflows. Never reports.
int32_t* IMGLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
