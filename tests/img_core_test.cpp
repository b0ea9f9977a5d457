// Tests of the image record, comparison, copying, pixels and blit.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "capture.h"
#include "image_support.h"
#include "img/img.h"
#include "util/util.h"

namespace {

const std::string kReport = "IMG error\n";

TEST(ImgCoreTest, NewImageIs16By16Zeros) {
  IMG* image = IMGNew();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 16);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(image->pixels[i], 0u);
  IMGFree(&image);
  EXPECT_EQ(image, nullptr);
}

TEST(ImgCoreTest, ResizeGivesFreshZeroPixels) {
  IMG* image = FilledImage(4, 4, 7);
  IMGResize(image, 4, 4);
  for (int i = 0; i < 16; ++i) ASSERT_EQ(image->pixels[i], 0u);
  IMGResize(image, 3, 2);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  IMGFree(&image);
}

TEST(ImgCoreTest, EmptyImageHasAnEmptyPixelArray) {
  IMG* image = IMGNew();
  IMGResize(image, 0, 0);
  EXPECT_NE(image->pixels, nullptr);
  const std::string printed = CapturedStdout([&] {
    IMGClear(image);
    EXPECT_EQ(IMGGetPixel(image, 0, 0), 0u);
    IMGSetPixel(image, 0, 0, 1);
  });
  EXPECT_EQ(printed, "");
  IMGFree(&image);
}

struct RefusedSize {
  const char* description;
  int32_t width, height;
  int32_t storedWidth, storedHeight;
};

const RefusedSize kRefusedSizes[] = {
    {"bytes beyond the address range", INT_MAX, INT_MAX, INT_MAX, INT_MAX},
    {"negative width", -1, 5, 0, 5},
    {"negative height", 5, INT_MIN, 5, 0},
};

TEST(ImgCoreTest, RefusedSizesLeaveNoPixelsWithoutReport) {
  for (const RefusedSize& c : kRefusedSizes) {
    SCOPED_TRACE(c.description);
    IMG* image = IMGNew();
    EXPECT_EQ(CapturedStdout([&] { IMGResize(image, c.width, c.height); }),
              "");
    EXPECT_EQ(image->pixels, nullptr);
    EXPECT_EQ(image->width, c.storedWidth);
    EXPECT_EQ(image->height, c.storedHeight);
    // Without pixels, every pixel operation reports once.
    const std::string printed = CapturedStdout([&] {
      IMGClear(image);
      IMGSetPixel(image, 0, 0, 1);
      EXPECT_EQ(IMGGetPixel(image, 0, 0), 0u);
      EXPECT_FALSE(IMGEqual(image, image));
      EXPECT_EQ(IMGCopy(image), nullptr);
      IMGBlit(image, image, 0, 0, 0, 0, 1, 1);
    });
    EXPECT_EQ(printed, Repeated(kReport, 6));
    IMGResize(image, 2, 2);
    ASSERT_NE(image->pixels, nullptr);
    IMGFree(&image);
  }
}

TEST(ImgCoreTest, NullArgumentsReportOnce) {
  IMG* image = IMGNew();
  IMG* none = nullptr;
  struct Call {
    const char* description;
    std::function<void()> call;
  };
  const Call calls[] = {
      {"free of a null handle", [&] { IMGFree(&none); }},
      {"free of a null address", [] { IMGFree(nullptr); }},
      {"resize", [] { IMGResize(nullptr, 1, 1); }},
      {"clear", [] { IMGClear(nullptr); }},
      {"equal, first null", [&] { EXPECT_FALSE(IMGEqual(nullptr, image)); }},
      {"equal, second null", [&] { EXPECT_FALSE(IMGEqual(image, nullptr)); }},
      {"copy", [] { EXPECT_EQ(IMGCopy(nullptr), nullptr); }},
      {"set pixel", [] { IMGSetPixel(nullptr, 0, 0, 1); }},
      {"get pixel", [] { EXPECT_EQ(IMGGetPixel(nullptr, 0, 0), 0u); }},
      {"blit, null source", [&] { IMGBlit(nullptr, image, 0, 0, 0, 0, 1, 1); }},
      {"blit, null destination",
       [&] { IMGBlit(image, nullptr, 0, 0, 0, 0, 1, 1); }},
  };
  for (const Call& c : calls) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(CapturedStdout(c.call), kReport);
  }
  IMGFree(&image);
}

TEST(ImgCoreTest, SecondFreeOfAHandleReportsOnce) {
  IMG* image = IMGNew();
  EXPECT_EQ(CapturedStdout([&] { IMGFree(&image); }), "");
  EXPECT_EQ(CapturedStdout([&] { IMGFree(&image); }), kReport);
}

TEST(ImgCoreTest, EqualAndCopy) {
  IMG* image = FilledImage(3, 2, 0);
  IMGSetPixel(image, 2, 1, 0xAB000001u);
  IMG* copy = nullptr;
  const std::string printed = CapturedStdout([&] {
    copy = IMGCopy(image);
    EXPECT_TRUE(IMGEqual(image, copy));
  });
  EXPECT_EQ(printed, "");
  ASSERT_NE(copy, nullptr);
  IMGSetPixel(copy, 0, 0, 1);
  EXPECT_FALSE(IMGEqual(image, copy));
  IMG* wide = FilledImage(2, 3, 0);
  IMG* tall = FilledImage(3, 2, 0);
  EXPECT_FALSE(IMGEqual(wide, tall));
  for (IMG* i : {image, copy, wide, tall}) IMGFree(&i);
}

TEST(ImgCoreTest, PixelsOutsideAreIgnoredSilently) {
  IMG* image = FilledImage(3, 2, 5);
  const std::string printed = CapturedStdout([&] {
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1},
                        {INT_MIN, INT_MAX}}) {
      IMGSetPixel(image, x, y, 9);
      EXPECT_EQ(IMGGetPixel(image, x, y), 0u);
    }
  });
  EXPECT_EQ(printed, "");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(image->pixels[i], 5u);
  IMGSetPixel(image, 2, 1, 9);
  EXPECT_EQ(IMGGetPixel(image, 2, 1), 9u);
  EXPECT_EQ(image->pixels[5], 9u);
  IMGFree(&image);
}

TEST(ImgCoreTest, AllocationFailuresGiveNull) {
  std::string printed = CapturedStdout([] {
    MEMFailAfter(0);
    EXPECT_EQ(IMGNew(), nullptr);
    MEMFailAfter(1);
    EXPECT_EQ(IMGNew(), nullptr);
    MEMFailAfter(-1);
  });
  EXPECT_EQ(printed, Repeated(kReport, 2));
  IMG* image = FilledImage(2, 2, 1);
  printed = CapturedStdout([&] {
    MEMFailAfter(2);  // the copy's record and first pixels, not its resize
    EXPECT_EQ(IMGCopy(image), nullptr);
    MEMFailAfter(-1);
  });
  EXPECT_EQ(printed, "");
  IMGFree(&image);
}

// ---- Blit ---------------------------------------------------------------

struct BlitCase {
  const char* description;
  int32_t sx, sy, dx, dy, width, height;
  std::vector<uint32_t> expected;  // the 4 × 4 destination afterwards
};

// Source: 3 × 3 numbered image; destination: 4 × 4 of the sentinel 0xEE.
constexpr uint32_t E = 0xEE;
const BlitCase kBlitCases[] = {
    {"clipped at the top and right", 0, 0, 2, -1, 3, 3,
     {E, E, 17, 18, E, E, 33, 34, E, E, E, E, E, E, E, E}},
    {"right edge on the left edge copies nothing", 0, 0, -3, 0, 3, 3,
     {E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E}},
    {"only the third column", 0, 0, -2, 0, 3, 1,
     {3, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E}},
    {"source corner at column 2 gives a strip", 2, 0, 0, 0, 3, 3,
     {3, E, E, E, 19, E, E, E, 35, E, E, E, E, E, E, E}},
    {"source corner below the source", 0, 3, 0, 0, 3, 3,
     {E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E}},
    {"source corner left of the source", -1, -1, 0, 0, 3, 3,
     {E, E, E, E, E, 1, 2, E, E, 17, 18, E, E, E, E, E}},
    {"zero width", 0, 0, 0, 0, 0, 3,
     {E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E}},
    {"negative height", 0, 0, 0, 0, 3, -2,
     {E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E}},
    {"extreme corners do not overflow", INT_MIN, INT_MAX, INT_MAX, INT_MIN,
     INT_MAX, INT_MAX,
     {E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E}},
};

TEST(ImgCoreTest, BlitExamples) {
  for (const BlitCase& c : kBlitCases) {
    SCOPED_TRACE(c.description);
    IMG* source = NumberedImage(3, 3);
    IMG* destination = FilledImage(4, 4, E);
    EXPECT_EQ(CapturedStdout([&] {
                IMGBlit(source, destination, c.sx, c.sy, c.dx, c.dy, c.width,
                        c.height);
              }),
              "");
    EXPECT_EQ(std::vector<uint32_t>(destination->pixels,
                                    destination->pixels + 16),
              c.expected);
    IMGFree(&source);
    IMGFree(&destination);
  }
}

TEST(ImgCoreTest, BlitLeavesZeroPixelsOutAndCopiesTopBytes) {
  IMG* source = FilledImage(2, 1, 0);
  source->pixels[1] = 0xFF000000u;
  IMG* destination = FilledImage(2, 1, 0x123456);
  IMGBlit(source, destination, 0, 0, 0, 0, 2, 1);
  EXPECT_EQ(destination->pixels[0], 0x123456u);
  EXPECT_EQ(destination->pixels[1], 0xFF000000u);
  IMGFree(&source);
  IMGFree(&destination);
}

// Blit defined pixel by pixel: every pixel of the rectangle that lies in
// both images and is not 0 in the source is copied.
void ReferenceBlit(const IMG* source, IMG* destination, int32_t sx, int32_t sy,
                   int32_t dx, int32_t dy, int32_t width, int32_t height) {
  for (int32_t r = 0; r < height; ++r) {
    for (int32_t k = 0; k < width; ++k) {
      const int32_t fx = sx + k, fy = sy + r, tx = dx + k, ty = dy + r;
      if (fx < 0 || fx >= source->width || fy < 0 || fy >= source->height) {
        continue;
      }
      if (tx < 0 || tx >= destination->width || ty < 0 ||
          ty >= destination->height) {
        continue;
      }
      const uint32_t v = source->pixels[fy * source->width + fx];
      if (v != 0) destination->pixels[ty * destination->width + tx] = v;
    }
  }
}

// IMGBlit and the pixel-by-pixel definition, each applied to its own copy
// of the destination, give the same image.
testing::AssertionResult BlitMatchesDefinition(const IMG* source,
                                               const IMG* destination,
                                               int32_t sx, int32_t sy,
                                               int32_t dx, int32_t dy,
                                               int32_t width, int32_t height) {
  IMG* expected = IMGCopy(destination);
  IMG* actual = IMGCopy(destination);
  ReferenceBlit(source, expected, sx, sy, dx, dy, width, height);
  IMGBlit(source, actual, sx, sy, dx, dy, width, height);
  const bool same = IMGEqual(expected, actual);
  IMGFree(&expected);
  IMGFree(&actual);
  if (same) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "source " << source->width << "x" << source->height << " dest "
         << destination->width << "x" << destination->height << " s(" << sx
         << "," << sy << ") d(" << dx << "," << dy << ") " << width << "x"
         << height;
}

TEST(ImgCoreTest, BlitMatchesThePixelByPixelDefinition) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int32_t> sizes(0, 24);
  std::uniform_int_distribution<int32_t> corners(-30, 30);
  std::uniform_int_distribution<int32_t> extents(-5, 40);
  std::uniform_int_distribution<uint32_t> values(0, 3);
  for (int i = 0; i < 3000; ++i) {
    IMG* source = FilledImage(sizes(random), sizes(random), 0);
    for (int64_t p = 0; p < int64_t{source->width} * source->height; ++p) {
      source->pixels[p] = values(random) == 0 ? 0 : random();
    }
    IMG* destination = FilledImage(sizes(random), sizes(random), 0x55AA55);
    const int32_t sx = corners(random), sy = corners(random);
    const int32_t dx = corners(random), dy = corners(random);
    const int32_t width = extents(random), height = extents(random);
    ASSERT_TRUE(BlitMatchesDefinition(source, destination, sx, sy, dx, dy,
                                      width, height));
    IMGFree(&source);
    IMGFree(&destination);
  }
}

// Opaque values with a single bit or byte set, top byte included: a blit
// that tests only part of a pixel for transparency takes them for 0.
const uint32_t kSparseOpaque[] = {0xFF000000u, 0x80000000u, 0x00010000u,
                                  0x00000100u, 0x00000001u};

// A random source for the blit properties: runs of zero and non-zero
// pixels of random lengths, so that whole groups of transparent pixels,
// whole groups of opaque ones and mixed groups all occur; half of the
// opaque pixels are sparse ones.
void FillWithRuns(IMG* image, std::mt19937& random) {
  std::uniform_int_distribution<int32_t> runs(1, 12);
  std::uniform_int_distribution<size_t> sparse(0, std::size(kSparseOpaque) - 1);
  const int64_t count = int64_t{image->width} * image->height;
  bool opaque = random() % 2 == 0;
  for (int64_t p = 0; p < count;) {
    for (int32_t n = runs(random); n > 0 && p < count; --n, ++p) {
      if (!opaque) {
        image->pixels[p] = 0;
      } else if (random() % 2 == 0) {
        image->pixels[p] = kSparseOpaque[sparse(random)];
      } else {
        image->pixels[p] = random() | 1u;
      }
    }
    opaque = !opaque;
  }
}

TEST(ImgCoreTest, BlitOfLargeRectanglesMatchesTheDefinition) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> sizes(0, 90);
  std::uniform_int_distribution<int32_t> corners(-60, 90);
  std::uniform_int_distribution<int32_t> extents(-5, 130);
  for (int i = 0; i < 2000; ++i) {
    IMG* source = FilledImage(sizes(random), sizes(random), 0);
    FillWithRuns(source, random);
    IMG* destination = FilledImage(sizes(random), sizes(random), 0);
    FillWithRuns(destination, random);
    const int32_t sx = corners(random), sy = corners(random);
    const int32_t dx = corners(random), dy = corners(random);
    // Every third rectangle is eight pixels wide, like a glyph of the demo.
    const int32_t width = i % 3 == 0 ? 8 : extents(random);
    const int32_t height = extents(random);
    ASSERT_TRUE(BlitMatchesDefinition(source, destination, sx, sy, dx, dy,
                                      width, height));
    IMGFree(&source);
    IMGFree(&destination);
  }
}

TEST(ImgCoreTest, BlitWithinOneImageCopiesInOrder) {
  std::mt19937 random(13);
  std::uniform_int_distribution<int32_t> sizes(1, 60);
  std::uniform_int_distribution<int32_t> shifts(-6, 6);
  std::uniform_int_distribution<int32_t> extents(0, 70);
  for (int i = 0; i < 2000; ++i) {
    IMG* actual = FilledImage(sizes(random), sizes(random), 0);
    FillWithRuns(actual, random);
    IMG* expected = IMGCopy(actual);
    // Small shifts make the two rectangles overlap, so the in-order copy
    // reads pixels it has already written.
    const int32_t sx = shifts(random) + 3, sy = shifts(random) + 3;
    const int32_t dx = sx + shifts(random), dy = sy + shifts(random);
    const int32_t width = extents(random), height = extents(random);
    ReferenceBlit(expected, expected, sx, sy, dx, dy, width, height);
    IMGBlit(actual, actual, sx, sy, dx, dy, width, height);
    ASSERT_TRUE(IMGEqual(expected, actual))
        << "image " << actual->width << "x" << actual->height << " s(" << sx
        << "," << sy << ") d(" << dx << "," << dy << ") " << width << "x"
        << height;
    IMGFree(&actual);
    IMGFree(&expected);
  }
}

TEST(ImgCoreTest, BlitBetweenRecordsSharingPixelsCopiesInOrder) {
  // Two records over one array, the second starting one pixel later: a
  // copy from the first to the second moves every pixel one place right
  // and, read in order, repeats the first pixel along the row.
  IMG* image = FilledImage(16, 1, 0);
  for (int32_t x = 0; x < 16; ++x) image->pixels[x] = 100 + x;
  IMG shifted = {15, 1, image->pixels + 1};
  IMGBlit(image, &shifted, 0, 0, 0, 0, 15, 1);
  for (int32_t x = 0; x < 16; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(image->pixels[x], 100u);
  }
  IMGFree(&image);
}

}  // namespace
