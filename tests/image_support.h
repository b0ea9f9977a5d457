// Test support: images of known contents to draw from and into, and their
// pixels for comparison.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "img/img.h"

// A new image of the given size whose pixels are all value.
inline IMG* FilledImage(int32_t width, int32_t height, uint32_t value) {
  IMG* image = IMGNew();
  IMGResize(image, width, height);
  for (int64_t i = 0; i < int64_t{width} * height; ++i) {
    image->pixels[i] = value;
  }
  return image;
}

// A new image of the given size holding the given pixels in order.
inline IMG* ImageOf(int32_t width, int32_t height,
                    const std::vector<uint32_t>& pixels) {
  IMG* image = IMGNew();
  IMGResize(image, width, height);
  for (size_t i = 0; i < pixels.size(); ++i) image->pixels[i] = pixels[i];
  return image;
}

// A width × height image whose pixel (x, y) is 1 + x + 16 y.
inline IMG* NumberedImage(int32_t width, int32_t height) {
  IMG* image = FilledImage(width, height, 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      image->pixels[y * width + x] = 1 + x + 16 * y;
    }
  }
  return image;
}

// The pixels of an image as a vector.
inline std::vector<uint32_t> PixelsOf(const IMG* image) {
  return std::vector<uint32_t>(
      image->pixels, image->pixels + int64_t{image->width} * image->height);
}
