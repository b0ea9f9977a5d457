// img core — the image record, comparison, copying, single pixels and the
// clipped transparent copy.
//
// Switch: kIMGErrorReports turns the "IMG error\n" report on or off for the
// whole image module. Depends on util (allocation).
#include <cstdint>
#include <cstdio>   // printf
#include <cstdlib>  // free
#include <cstring>  // memcpy, memcmp, memset

#if defined(__SSE2__)
#include <emmintrin.h>  // SSE2: four pixels tested and copied at once
#endif
#if defined(__x86_64__)
#include <immintrin.h>  // AVX2, where the processor has it: eight at once
#endif

#include "img/img.h"
#include "util/util.h"

namespace {

// Whether IMGError prints its line.
constexpr bool kIMGErrorReports = true;

constexpr int32_t kNewSide = 16;  // width and height of an image from IMGNew

// Number of pixels of the image, as a 64-bit count.
int64_t pixelCount(const IMG* image) {
  return int64_t{image->width} * image->height;
}

// Whether the pixel arrays of the two images share any memory (the same
// image, or arrays that alias).
bool pixelsOverlap(const IMG* a, const IMG* b) {
  const auto aStart = reinterpret_cast<uintptr_t>(a->pixels);
  const auto bStart = reinterpret_cast<uintptr_t>(b->pixels);
  const uintptr_t aEnd = aStart + pixelCount(a) * sizeof(uint32_t);
  const uintptr_t bEnd = bStart + pixelCount(b) * sizeof(uint32_t);
  return aStart < bEnd && bStart < aEnd;
}

// Copies the non-zero pixels of one row, one pixel after the other; the
// order matters when the row overlaps itself.
void copyRowInOrder(const uint32_t* from, uint32_t* to, int64_t count) {
  for (int64_t k = 0; k < count; ++k) {
    if (from[k] != 0) to[k] = from[k];
  }
}

#if defined(__SSE2__)
constexpr int64_t kQuad = 4;  // pixels per 128-bit register

// Copies the non-zero pixels among four: each destination pixel becomes the
// source pixel where that is not 0 and keeps its value where it is (the
// source is 0 exactly where the old pixel is kept, so an OR joins them).
inline void copyQuad(const uint32_t* from, uint32_t* to) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  const __m128i transparent = _mm_cmpeq_epi32(v, _mm_setzero_si128());
  __m128i* target = reinterpret_cast<__m128i*>(to);
  const __m128i kept = _mm_and_si128(transparent, _mm_loadu_si128(target));
  _mm_storeu_si128(target, _mm_or_si128(kept, v));
}
#endif

#if defined(__x86_64__)
constexpr int64_t kOctet = 8;  // pixels per 256-bit register: a glyph row

// Whether the processor runs AVX2 instructions, asked once at start-up.
const bool kHaveAvx2 = __builtin_cpu_supports("avx2");

// Copies the non-zero pixels of rows eight pixels wide (the demo's glyph
// cells) with AVX2, one register per row, blending as copyQuad does; a row
// of the source that is wholly 0 leaves the destination row untouched
// without reading it.
__attribute__((target("avx2"))) void copyOctetRows(const uint32_t* from,
                                                   uint32_t* to, int64_t rows,
                                                   int64_t fromPitch,
                                                   int64_t toPitch) {
  for (int64_t r = 0; r < rows; ++r, from += fromPitch, to += toPitch) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
    if (_mm256_testz_si256(v, v)) continue;  // a wholly transparent row
    const __m256i transparent = _mm256_cmpeq_epi32(v, _mm256_setzero_si256());
    __m256i* target = reinterpret_cast<__m256i*>(to);
    const __m256i kept =
        _mm256_and_si256(transparent, _mm256_loadu_si256(target));
    _mm256_storeu_si256(target, _mm256_or_si256(kept, v));
  }
}
#endif

// Copies the non-zero pixels of one row of an array that does not overlap
// the destination's: the same result as copyRowInOrder, with SSE2 four
// pixels at a time and no branch on the pixel values; the pixels left over
// at the end go one by one.
void copyRowApart(const uint32_t* from, uint32_t* to, int64_t count) {
  int64_t k = 0;
#if defined(__SSE2__)
  for (; k + kQuad <= count; k += kQuad) copyQuad(from + k, to + k);
#endif
  copyRowInOrder(from + k, to + k, count - k);
}

}  // namespace

// ---- Errors -------------------------------------------------------------

// Prints the module's one-line report when the switch is on.
void IMGError() {
  if (kIMGErrorReports) std::printf("IMG error\n");
}

// ---- Record -------------------------------------------------------------

// Allocates a 16 × 16 image of zero pixels.
IMG* IMGNew() {
  IMG* image = static_cast<IMG*>(MEMAlloc(1, sizeof(IMG)));
  if (image == nullptr) {
    IMGError();
    return nullptr;
  }
  image->width = kNewSide;
  image->height = kNewSide;
  image->pixels =
      static_cast<uint32_t*>(MEMAlloc(pixelCount(image), sizeof(uint32_t)));
  if (image->pixels == nullptr) {
    std::free(image);
    IMGError();
    return nullptr;
  }
  return image;
}

// Frees the pixels and the record and clears the caller's handle.
void IMGFree(IMG** image) {
  if (image == nullptr || *image == nullptr) {
    IMGError();
    return;
  }
  std::free((*image)->pixels);
  std::free(*image);
  *image = nullptr;
}

// Drops the old pixels and allocates zeroed ones for the new size; a size
// MEMAlloc refuses leaves the image without pixels.
void IMGResize(IMG* image, int32_t width, int32_t height) {
  if (image == nullptr) {
    IMGError();
    return;
  }
  std::free(image->pixels);
  image->pixels = nullptr;
  if (width >= 0 && height >= 0) {
    image->pixels = static_cast<uint32_t*>(
        MEMAlloc(int64_t{width} * height, sizeof(uint32_t)));
  }
  image->width = width < 0 ? 0 : width;
  image->height = height < 0 ? 0 : height;
}

// Zeroes every pixel.
void IMGClear(IMG* image) {
  if (image == nullptr || image->pixels == nullptr) {
    IMGError();
    return;
  }
  std::memset(image->pixels, 0,
              static_cast<size_t>(pixelCount(image)) * sizeof(uint32_t));
}

// Same width, same height, same pixel values.
bool IMGEqual(const IMG* a, const IMG* b) {
  if (a == nullptr || b == nullptr || a->pixels == nullptr ||
      b->pixels == nullptr) {
    IMGError();
    return false;
  }
  if (a->width != b->width || a->height != b->height) return false;
  return std::memcmp(a->pixels, b->pixels,
                     static_cast<size_t>(pixelCount(a)) * sizeof(uint32_t)) ==
         0;
}

// New image of the source's size holding a copy of its pixels.
IMG* IMGCopy(const IMG* source) {
  if (source == nullptr || source->pixels == nullptr) {
    IMGError();
    return nullptr;
  }
  IMG* copy = IMGNew();
  if (copy == nullptr) return nullptr;
  IMGResize(copy, source->width, source->height);
  if (copy->pixels == nullptr) {
    IMGFree(&copy);
    return nullptr;
  }
  std::memcpy(copy->pixels, source->pixels,
              static_cast<size_t>(pixelCount(source)) * sizeof(uint32_t));
  return copy;
}

// ---- Pixels -------------------------------------------------------------

// Writes one pixel if it lies inside.
void IMGSetPixel(IMG* image, int32_t x, int32_t y, uint32_t value) {
  if (image == nullptr || image->pixels == nullptr) {
    IMGError();
    return;
  }
  if (x < 0 || x >= image->width || y < 0 || y >= image->height) return;
  image->pixels[int64_t{y} * image->width + x] = value;
}

// Reads one pixel, 0 outside.
uint32_t IMGGetPixel(const IMG* image, int32_t x, int32_t y) {
  if (image == nullptr || image->pixels == nullptr) {
    IMGError();
    return 0;
  }
  if (x < 0 || x >= image->width || y < 0 || y >= image->height) return 0;
  return image->pixels[int64_t{y} * image->width + x];
}

// ---- Blit ---------------------------------------------------------------

// Rejects rectangles that miss either image (tests on the arguments as
// passed), clips at the destination's edges and then at the source's, and
// copies the non-zero pixels row by row. The clipping runs in 64 bits, so
// extreme arguments cannot overflow; within the 32-bit range the results
// are the same.
void IMGBlit(const IMG* source, IMG* destination, int32_t sx, int32_t sy,
             int32_t dx, int32_t dy, int32_t width, int32_t height) {
  if (source == nullptr || destination == nullptr ||
      source->pixels == nullptr || destination->pixels == nullptr) {
    IMGError();
    return;
  }
  int64_t srcX = sx, srcY = sy, dstX = dx, dstY = dy, w = width, h = height;
  const int64_t srcW = source->width, srcH = source->height;
  const int64_t dstW = destination->width, dstH = destination->height;
  if (dstX >= dstW || dstX + w < 0 || dstY >= dstH || dstY + h < 0) return;
  if (srcX >= srcW || srcX + w < 0 || srcY >= srcH || srcY + h < 0) return;
  if (dstX < 0) { w += dstX; srcX -= dstX; dstX = 0; }
  if (dstY < 0) { h += dstY; srcY -= dstY; dstY = 0; }
  if (dstX + w > dstW) w = dstW - dstX;
  if (dstY + h > dstH) h = dstH - dstY;
  if (srcX < 0) { w += srcX; dstX -= srcX; srcX = 0; }
  if (srcY < 0) { h += srcY; dstY -= srcY; srcY = 0; }
  if (srcX + w > srcW) w = srcW - srcX;
  if (srcY + h > srcH) h = srcH - srcY;
  if (w <= 0 || h <= 0) return;

  const uint32_t* from = source->pixels + srcY * srcW + srcX;
  uint32_t* to = destination->pixels + dstY * dstW + dstX;
  if (pixelsOverlap(source, destination)) {
    // Within one array the copy runs strictly pixel after pixel, so that an
    // overlapping copy reads the pixels it has already written.
    for (int64_t r = 0; r < h; ++r, from += srcW, to += dstW) {
      copyRowInOrder(from, to, w);
    }
    return;
  }
#if defined(__x86_64__)
  if (w == kOctet && kHaveAvx2) {
    copyOctetRows(from, to, h, srcW, dstW);
    return;
  }
#endif
  for (int64_t r = 0; r < h; ++r, from += srcW, to += dstW) {
    copyRowApart(from, to, w);
  }
}
