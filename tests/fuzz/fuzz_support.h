// Support for the PNM fuzz targets: an independent reading of the PNM
// header, used to check the sizes the readers give, to keep the pictures
// small enough for fast runs, and to pad buffers for the memory reader's
// raw-raster precondition; plus a check that stops the run on a mismatch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>   // fprintf, freopen
#include <cstdlib>  // abort

#include "img/img.h"

namespace fuzz {

// Largest picture the targets decode, in pixels (the readers accept up to
// kIMGMaxReadPixels; larger pictures here only cost time).
constexpr int64_t kMaxPixels = int64_t{1} << 16;

// Stops the run with a message when the condition fails; libFuzzer then
// keeps the input as a crash.
inline void Require(bool condition, const char* message) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", message);
  std::abort();
}

// Sends the readers' "IMG error" lines to /dev/null.
inline void SilenceReports() {
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
}

// What a header announces, read with either reader's rules.
struct Header {
  bool complete = false;   // kind and every number the kind needs were read
  int kind = 0;            // 1..6
  uint32_t width = 0;      // 32-bit wrapped numbers, widened for bit kinds
  uint32_t height = 0;     // under the memory rules
  size_t rasterStart = 0;  // index of the first raster byte
};

// Reads the header of data[0 .. size) by the file reader's rules
// (fileRules) or the memory reader's (a zero byte ends the input; the byte
// after a number starts the next token; one byte is skipped at the end).
inline Header ScanHeader(const uint8_t* data, size_t size, bool fileRules) {
  Header h;
  int numbers = 0;
  size_t i = 0;
  auto atEnd = [&] { return i >= size || (!fileRules && data[i] == 0); };
  auto isDigit = [&] { return !atEnd() && data[i] >= '0' && data[i] <= '9'; };
  auto done = [&] {
    return h.kind != 0 && numbers >= ((h.kind == 1 || h.kind == 4) ? 2 : 3);
  };
  while (!done()) {
    if (atEnd()) return h;
    const uint8_t b = data[i++];
    if (b < 0x21 || b > 0x7E) continue;
    if (b == 'P' && h.kind == 0) {
      if (atEnd() || data[i] < '1' || data[i] > '6') return h;
      h.kind = data[i++] - '0';
    } else if (b == '#') {
      while (!atEnd() && data[i] != '\n') ++i;
      if (atEnd()) return h;
      ++i;
    } else {
      uint32_t value = 0;
      if (b >= '0' && b <= '9') {
        value = b - '0';
        for (; isDigit(); ++i) value = value * 10 + (data[i] - '0');
        if (fileRules && i < size) ++i;
      }
      if (numbers == 0) {
        const bool bits = h.kind == 1 || h.kind == 4;
        h.width = (!fileRules && bits) ? (value + 7) / 8 * 8 : value;
      } else if (numbers == 1) {
        h.height = value;
      }
      if (numbers < 3) ++numbers;
    }
  }
  h.complete = true;
  const bool raw = h.kind >= 4;
  h.rasterStart = (fileRules || (!raw && atEnd())) ? i : i + 1;
  return h;
}

// Whether the readers accept the header's size: positive width and height
// as signed 32-bit values, at most kIMGMaxReadPixels pixels.
inline bool Acceptable(const Header& h) {
  const int32_t width = static_cast<int32_t>(h.width);
  const int32_t height = static_cast<int32_t>(h.height);
  return h.complete && width > 0 && height > 0 &&
         int64_t{width} * height <= kIMGMaxReadPixels;
}

// Number of pixels the header announces (meaningful when Acceptable).
inline int64_t Pixels(const Header& h) {
  return int64_t{static_cast<int32_t>(h.width)} *
         static_cast<int32_t>(h.height);
}

// Checks that the reader's image matches the header, then frees it.
inline void CheckImage(IMG* image, const Header& h) {
  if (!Acceptable(h)) {
    Require(image == nullptr, "a refused header gave an image");
    return;
  }
  Require(image != nullptr, "an acceptable header gave no image");
  Require(image->width == static_cast<int32_t>(h.width), "width");
  Require(image->height == static_cast<int32_t>(h.height), "height");
  IMGFree(&image);
}

}  // namespace fuzz
