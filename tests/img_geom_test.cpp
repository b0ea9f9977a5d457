// Tests of distribution, scaling, rotation and line points.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "capture.h"
#include "image_support.h"
#include "img/img.h"
#include "util/util.h"

namespace {

const std::string kReport = "IMG error\n";
constexpr double kPi = 3.14159265358979323846;

// The first count entries of an array handed out by the module, which is
// then released; empty for a null array.
std::vector<int32_t> Taken(int32_t* array, int64_t count) {
  std::vector<int32_t> entries;
  if (array != nullptr) entries.assign(array, array + count);
  std::free(array);
  return entries;
}

// Ceiling of n / d for n >= 0 and d > 0.
int64_t CeilDiv(int64_t n, int64_t d) { return (n + d - 1) / d; }

// Floor of n / d for d > 0, n of either sign.
int64_t FloorDiv(int64_t n, int64_t d) {
  const int64_t q = n / d;
  return (n % d != 0 && n < 0) ? q - 1 : q;
}

// A new image of the given size with random non-zero pixels.
IMG* RandomImage(std::mt19937& random, int32_t width, int32_t height) {
  IMG* image = ImageOf(width, height, {});
  for (int64_t i = 0; i < int64_t{width} * height; ++i) {
    image->pixels[i] = random() | 1;
  }
  return image;
}

// ---- Distribution -------------------------------------------------------

struct DistributeCase {
  const char* description;
  int32_t p, q;
  std::vector<int32_t> expected;
};

const DistributeCase kDistributeCases[] = {
    {"three runs of four", 3, 4, {2, 1, 1, 1}},
    {"two runs of five", 2, 5, {3, 2, 1}},
    {"argument order does not matter", 5, 2, {3, 2, 1}},
    {"longer runs first", 3, 7, {3, 2, 2, 1}},
    {"equal counts give runs of one", 4, 4, {1, 1, 1, 1, 1}},
    {"no runs: one entry of b + 1", 0, 4, {5}},
    {"nothing at all", 0, 0, {1}},
    {"signs do not matter", -3, 7, {3, 2, 2, 1}},
    {"both negative", -2, -5, {3, 2, 1}},
    {"largest single entry", 0, INT32_MAX - 1, {INT32_MAX}},
    {"largest run", -1, INT32_MAX, {INT32_MAX, 1}},
    {"magnitude of INT32_MIN in two runs", 2, INT32_MIN,
     {1 << 30, 1 << 30, 1}},
};

TEST(ImgGeomTest, DistributeExamples) {
  for (const DistributeCase& c : kDistributeCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(Taken(IMGDistribute(c.p, c.q),
                    static_cast<int64_t>(c.expected.size())),
              c.expected);
  }
}

TEST(ImgGeomTest, DistributeRefusesWhatDoesNotFit) {
  struct Refused {
    const char* description;
    int32_t p, q;
  };
  const Refused refused[] = {
      {"single entry b + 1 beyond INT32_MAX", 0, INT32_MAX},
      {"single entry of INT32_MIN's magnitude plus one", INT32_MIN, 0},
      {"one run of 2^31", 1, INT32_MIN},
      {"2^31 entries", INT32_MAX, INT32_MAX},
      {"2^31 + 1 entries", INT32_MIN, INT32_MIN},
  };
  const std::string printed = CapturedStdout([&] {
    for (const Refused& c : refused) {
      SCOPED_TRACE(c.description);
      EXPECT_EQ(IMGDistribute(c.p, c.q), nullptr);
    }
    MEMFailAfter(0);
    EXPECT_EQ(IMGDistribute(3, 4), nullptr);
    MEMFailAfter(-1);
  });
  EXPECT_EQ(printed, "");
}

TEST(ImgGeomTest, DistributeMatchesTheCeilingFormula) {
  std::mt19937 random(29);
  std::uniform_int_distribution<int32_t> counts(-300, 300);
  for (int i = 0; i < 3000; ++i) {
    const int32_t p = counts(random), q = counts(random);
    SCOPED_TRACE(std::to_string(p) + ", " + std::to_string(q));
    const int64_t a = std::min(std::abs(p), std::abs(q));
    const int64_t b = std::max(std::abs(p), std::abs(q));
    const std::vector<int32_t> runs = Taken(IMGDistribute(p, q), a + 1);
    ASSERT_EQ(runs.size(), static_cast<size_t>(a + 1));
    if (a == 0) {
      EXPECT_EQ(runs[0], b + 1);
      continue;
    }
    int64_t sum = 0;
    for (int64_t k = 0; k < a; ++k) {
      ASSERT_EQ(runs[k], CeilDiv((k + 1) * b, a) - CeilDiv(k * b, a)) << k;
      sum += runs[k];
    }
    EXPECT_EQ(sum, b);
    EXPECT_EQ(runs[a], 1);
  }
}

// ---- Scaling ------------------------------------------------------------

// Scaling defined pixel by pixel. Block k of n blocks over c items starts
// at ⌈k c / n⌉. Stretched axes repeat each source item over its block;
// squeezed columns keep their block's last column; squeezed rows keep the
// last row when the columns are squeezed too, else the first.
uint32_t ScaledPixel(const IMG* source, int32_t newWidth, int32_t newHeight,
                     int32_t x, int32_t y) {
  const int64_t width = source->width, height = source->height;
  const bool columnsSqueezed = newWidth < width;
  int64_t column = 0, row = 0;
  if (columnsSqueezed) {
    column = CeilDiv((x + 1) * width, newWidth) - 1;
  } else {
    while (column + 1 < width && CeilDiv((column + 1) * newWidth, width) <= x) {
      ++column;
    }
  }
  if (newHeight < height) {
    row = columnsSqueezed ? CeilDiv((y + 1) * height, newHeight) - 1
                          : CeilDiv(y * height, newHeight);
  } else {
    while (row + 1 < height && CeilDiv((row + 1) * newHeight, height) <= y) {
      ++row;
    }
  }
  if (width == 0 || height == 0) return 0;
  return source->pixels[row * width + column];
}

struct ScaleCase {
  const char* description;
  IMG* (*source)();
  int32_t newWidth, newHeight;
  std::vector<uint32_t> expected;
};

IMG* FiveByThree() { return NumberedImage(5, 3); }
IMG* OneTwoThree() { return ImageOf(3, 1, {1, 2, 3}); }
IMG* TwoByTwo() { return ImageOf(2, 2, {1, 2, 3, 4}); }
IMG* ZeroByFour() { return ImageOf(0, 4, {}); }

// Pixels of FiveByThree: rows 1..5, 17..21, 33..37.
const ScaleCase kScaleCases[] = {
    {"both squeezed keep bottom-right pixels", FiveByThree, 2, 2,
     {19, 21, 35, 37}},
    {"columns stretched, rows squeezed keep top rows", FiveByThree, 7, 2,
     {1, 1, 2, 3, 3, 4, 5, 33, 33, 34, 35, 35, 36, 37}},
    {"columns squeezed, rows stretched", FiveByThree, 2, 4,
     {3, 5, 3, 5, 19, 21, 35, 37}},
    {"same size is a copy", FiveByThree, 5, 3,
     {1, 2, 3, 4, 5, 17, 18, 19, 20, 21, 33, 34, 35, 36, 37}},
    {"to nothing", FiveByThree, 0, 0, {}},
    {"three to four", OneTwoThree, 4, 1, {1, 1, 2, 3}},
    {"two by two to three by three", TwoByTwo, 3, 3,
     {1, 1, 2, 1, 1, 2, 3, 3, 4}},
    {"empty source gives zeros", ZeroByFour, 3, 6,
     std::vector<uint32_t>(18, 0)},
};

TEST(ImgGeomTest, ScaleExamples) {
  for (const ScaleCase& c : kScaleCases) {
    SCOPED_TRACE(c.description);
    IMG* source = c.source();
    IMG* result = nullptr;
    EXPECT_EQ(CapturedStdout([&] {
                result = IMGScale(source, c.newWidth, c.newHeight);
              }),
              "");
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->width, c.newWidth);
    EXPECT_EQ(result->height, c.newHeight);
    EXPECT_EQ(PixelsOf(result), c.expected);
    IMGFree(&result);
    IMGFree(&source);
  }
}

TEST(ImgGeomTest, ScaleMatchesThePixelByPixelModel) {
  std::mt19937 random(31);
  std::uniform_int_distribution<int32_t> sides(0, 12);
  std::uniform_int_distribution<int32_t> newSides(0, 30);
  for (int i = 0; i < 3000; ++i) {
    IMG* source = RandomImage(random, sides(random), sides(random));
    const int32_t newWidth = newSides(random), newHeight = newSides(random);
    SCOPED_TRACE(std::to_string(source->width) + "x" +
                 std::to_string(source->height) + " to " +
                 std::to_string(newWidth) + "x" + std::to_string(newHeight));
    IMG* result = IMGScale(source, newWidth, newHeight);
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->width, newWidth);
    ASSERT_EQ(result->height, newHeight);
    for (int32_t y = 0; y < newHeight; ++y) {
      for (int32_t x = 0; x < newWidth; ++x) {
        ASSERT_EQ(result->pixels[y * newWidth + x],
                  ScaledPixel(source, newWidth, newHeight, x, y))
            << "at " << x << ", " << y;
      }
    }
    IMGFree(&result);
    IMGFree(&source);
  }
}

TEST(ImgGeomTest, ScaleFailures) {
  IMG* source = NumberedImage(5, 3);
  IMG noPixels = {2, 2, nullptr};
  struct Call {
    const char* description;
    const IMG* source;
    int32_t newWidth, newHeight;
  };
  const Call reported[] = {
      {"null source", nullptr, 2, 2},
      {"no pixel array", &noPixels, 2, 2},
      {"negative width", source, -1, 2},
      {"negative height", source, 2, INT32_MIN},
  };
  for (const Call& c : reported) {
    SCOPED_TRACE(c.description);
    IMG* result = source;
    EXPECT_EQ(CapturedStdout([&] {
                result = IMGScale(c.source, c.newWidth, c.newHeight);
              }),
              kReport);
    EXPECT_EQ(result, nullptr);
  }
  // Allocations: the record, its first pixels (both reported by IMGNew),
  // the resized pixels, the column runs, the row runs.
  for (int32_t granted = 0; granted < 5; ++granted) {
    SCOPED_TRACE(granted);
    IMG* result = source;
    const std::string printed = CapturedStdout([&] {
      MEMFailAfter(granted);
      result = IMGScale(source, 3, 2);
      MEMFailAfter(-1);
    });
    EXPECT_EQ(printed, granted < 2 ? kReport : "");
    EXPECT_EQ(result, nullptr);
  }
  IMGFree(&source);
}

// ---- Rotation -----------------------------------------------------------

// The sine table from its definition: 32767 × sin(2π i / 1024) rounded,
// with the stated exceptions.
std::vector<int64_t> SineTable() {
  std::vector<int64_t> table(1024);
  for (int i = 0; i < 1024; ++i) {
    table[i] = std::lround(32767 * std::sin(2 * kPi * i / 1024));
  }
  table[256] = 32766;
  table[768] = -32766;
  for (int i : {129, 383}) table[i] = 23312;
  for (int i : {183, 329}) table[i] = 29535;
  for (int i : {641, 895}) table[i] = -23312;
  for (int i : {695, 841}) table[i] = -29535;
  return table;
}

// Rotation defined pixel by pixel: each product of an offset and a table
// entry is floored to 32768ths on its own.
std::vector<uint32_t> RotatedModel(const IMG* source, int64_t angle) {
  static const std::vector<int64_t> table = SineTable();
  const auto entry = [&](int64_t i) {
    return table[((i % 1024) + 1024) % 1024];
  };
  const int64_t sn = entry(-angle), cs = entry(-angle - 256);
  const int64_t width = (int64_t{source->width} * 92667) >> 16;
  const int64_t height = (int64_t{source->height} * 92667) >> 16;
  std::vector<uint32_t> pixels;
  for (int64_t y = 0; y < height; ++y) {
    for (int64_t x = 0; x < width; ++x) {
      const int64_t dx = x - width / 2, dy = y - height / 2;
      const int64_t u = FloorDiv(dx * cs, 32768) - FloorDiv(dy * sn, 32768);
      const int64_t v = FloorDiv(dx * sn, 32768) + FloorDiv(dy * cs, 32768);
      const int64_t sx = source->width / 2 + u, sy = source->height / 2 + v;
      const bool inside =
          sx >= 0 && sx < source->width && sy >= 0 && sy < source->height;
      pixels.push_back(inside ? source->pixels[sy * source->width + sx] : 0);
    }
  }
  return pixels;
}

TEST(ImgGeomTest, RotateSizes) {
  struct SizeCase {
    const char* description;
    int32_t width, height, newWidth, newHeight;
  };
  const SizeCase cases[] = {
      {"one pixel", 1, 1, 1, 1},
      {"four by four", 4, 4, 5, 5},
      {"the frame size", 640, 480, 904, 678},
      {"no columns", 0, 5, 0, 7},
      {"largest side", 23174, 1, 32767, 1},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.description);
    IMG* source = ImageOf(c.width, c.height, {});
    IMG* result = IMGRotate(source, 100);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->width, c.newWidth);
    EXPECT_EQ(result->height, c.newHeight);
    IMGFree(&result);
    IMGFree(&source);
  }
}

struct RotateCase {
  const char* description;
  int32_t angle;
  std::vector<uint32_t> expected;  // 5 × 5
};

// Results for NumberedImage(4, 4), whose rows are 1..4, 17..20, 33..36,
// 49..52.
const std::vector<uint32_t> kUpright = {
    1,  2,  3,  3,  4,   //
    17, 18, 19, 19, 20,  //
    33, 34, 35, 35, 36,  //
    33, 34, 35, 35, 36,  //
    49, 50, 51, 51, 52,
};
const RotateCase kRotateCases[] = {
    {"512 leaves it upright, centre column and row doubled", 512, kUpright},
    {"1536 is 512", 1536, kUpright},
    {"-512 is 512", -512, kUpright},
    {"0 turns it half round", 0,
     {
         52, 51, 51, 50, 49,  //
         36, 35, 35, 34, 33,  //
         36, 35, 35, 34, 33,  //
         20, 19, 19, 18, 17,  //
         4,  3,  3,  2,  1,
     }},
    {"256 turns it a quarter clockwise", 256,
     {
         50, 34, 34, 18, 2,  //
         51, 35, 35, 19, 3,  //
         51, 35, 35, 19, 3,  //
         52, 36, 36, 20, 4,  //
         0,  0,  0,  0,  0,
     }},
};

TEST(ImgGeomTest, RotateExamples) {
  IMG* source = NumberedImage(4, 4);
  for (const RotateCase& c : kRotateCases) {
    SCOPED_TRACE(c.description);
    IMG* result = IMGRotate(source, c.angle);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(PixelsOf(result), c.expected);
    IMGFree(&result);
  }
  IMGFree(&source);
}

TEST(ImgGeomTest, RotateOfOnePixelIsACopyAtEveryAngle) {
  IMG* source = ImageOf(1, 1, {0xAB123456});
  for (int32_t angle : {0, 1, 100, 256, 511, 512, 777, 1023, 1024, -1,
                        INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(angle);
    IMG* result = IMGRotate(source, angle);
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(IMGEqual(result, source));
    IMGFree(&result);
  }
  IMGFree(&source);
}

TEST(ImgGeomTest, RotateMatchesThePixelByPixelModel) {
  std::mt19937 random(37);
  // Every angle, so every table entry, on a small image.
  IMG* small = RandomImage(random, 9, 7);
  std::vector<int64_t> angles;
  for (int64_t angle = 0; angle < 1024; ++angle) angles.push_back(angle);
  for (int64_t angle : {-1, -1023, 1024 + 77, INT32_MIN, INT32_MAX}) {
    angles.push_back(angle);
  }
  for (int64_t angle : angles) {
    SCOPED_TRACE(angle);
    IMG* result = IMGRotate(small, static_cast<int32_t>(angle));
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(PixelsOf(result), RotatedModel(small, angle));
    IMGFree(&result);
  }
  // The entries that differ from their rounded sines change the samples
  // only at offsets of 149 or more: a large image at the angles reading
  // them as sine (1024 − i) or as cosine (768 − i).
  IMG* large = RandomImage(random, 240, 240);
  for (int64_t entry : {129, 183, 329, 383, 641, 695, 841, 895}) {
    for (int64_t angle : {1024 - entry, (768 - entry + 1024) % 1024}) {
      SCOPED_TRACE(angle);
      IMG* result = IMGRotate(large, static_cast<int32_t>(angle));
      ASSERT_NE(result, nullptr);
      ASSERT_EQ(PixelsOf(result), RotatedModel(large, angle));
      IMGFree(&result);
    }
  }
  IMGFree(&small);
  IMGFree(&large);
}

TEST(ImgGeomTest, RotateFailures) {
  IMG noPixels = {2, 2, nullptr};
  IMG* wide = ImageOf(23175, 1, {});
  IMG* tall = ImageOf(1, 23175, {});
  struct Call {
    const char* description;
    const IMG* source;
  };
  const Call reported[] = {
      {"null source", nullptr},
      {"no pixel array", &noPixels},
      {"width whose result size overflows", wide},
      {"height whose result size overflows", tall},
  };
  for (const Call& c : reported) {
    SCOPED_TRACE(c.description);
    IMG* result = wide;
    EXPECT_EQ(CapturedStdout([&] { result = IMGRotate(c.source, 512); }),
              kReport);
    EXPECT_EQ(result, nullptr);
  }
  IMG* source = NumberedImage(4, 4);
  // Allocations: the record and its first pixels (both reported by IMGNew),
  // then the resized pixels.
  for (int32_t granted = 0; granted < 3; ++granted) {
    SCOPED_TRACE(granted);
    IMG* result = source;
    const std::string printed = CapturedStdout([&] {
      MEMFailAfter(granted);
      result = IMGRotate(source, 512);
      MEMFailAfter(-1);
    });
    EXPECT_EQ(printed, granted < 2 ? kReport : "");
    EXPECT_EQ(result, nullptr);
  }
  for (IMG* image : {wide, tall, source}) IMGFree(&image);
}

// ---- Line points --------------------------------------------------------

struct LineCase {
  const char* description;
  int32_t x0, y0, x1, y1;
  std::vector<int32_t> expected;  // the whole list, element 0 included
};

const LineCase kLineCases[] = {
    {"shallow, exact half goes to the end's side", 0, 0, 4, 1,
     {10, 0, 0, 1, 0, 2, 1, 3, 1, 4, 1}},
    {"odd extent steps before the half", 0, 0, 3, 1,
     {8, 0, 0, 1, 1, 2, 1, 3, 1}},
    {"steep", 0, 0, 1, 3, {8, 0, 0, 1, 1, 1, 2, 1, 3}},
    {"backwards diagonal", 2, 2, 0, 0, {6, 2, 2, 1, 1, 0, 0}},
    {"single point", 0, 0, 0, 0, {2, 0, 0}},
    {"one step right", 0, 0, 1, 0, {4, 0, 0, 1, 0}},
    {"one step up", 0, 0, 0, -1, {4, 0, 0, 0, -1}},
    {"one diagonal step", 5, 5, 4, 6, {4, 5, 5, 4, 6}},
    {"ends at the edges of the 32-bit range", INT32_MAX - 2, INT32_MIN,
     INT32_MAX, INT32_MIN + 1,
     {6, INT32_MAX - 2, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1, INT32_MAX,
      INT32_MIN + 1}},
};

TEST(ImgGeomTest, LinePointsExamples) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(Taken(IMGLinePoints(c.x0, c.y0, c.x1, c.y1),
                    static_cast<int64_t>(c.expected.size())),
              c.expected);
  }
}

TEST(ImgGeomTest, LinePointsRefusesListsThatDoNotFit) {
  const std::string printed = CapturedStdout([] {
    EXPECT_EQ(IMGLinePoints(INT32_MIN, 0, INT32_MAX, 0), nullptr);
    EXPECT_EQ(IMGLinePoints(0, INT32_MAX, 0, INT32_MIN), nullptr);
    // 2M + 3 = 2^31 + 1 ints.
    EXPECT_EQ(IMGLinePoints(0, 0, 1073741823, 5), nullptr);
    MEMFailAfter(0);
    EXPECT_EQ(IMGLinePoints(0, 0, 4, 1), nullptr);
    MEMFailAfter(-1);
  });
  EXPECT_EQ(printed, "");
}

TEST(ImgGeomTest, LinePointsMatchTheMinorOffsetFormula) {
  std::mt19937 random(41);
  std::uniform_int_distribution<int32_t> offsets(-60, 60);
  const int32_t origins[] = {0, INT32_MIN + 60, INT32_MAX - 60};
  for (int i = 0; i < 5000; ++i) {
    const int32_t origin = origins[i % 3];
    const int32_t x0 = origin + offsets(random), y0 = origin + offsets(random);
    const int32_t x1 = origin + offsets(random), y1 = origin + offsets(random);
    SCOPED_TRACE(std::to_string(x0) + "," + std::to_string(y0) + " to " +
                 std::to_string(x1) + "," + std::to_string(y1));
    const int64_t dx = int64_t{x1} - x0, dy = int64_t{y1} - y0;
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
    const int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::vector<int32_t> list =
        Taken(IMGLinePoints(x0, y0, x1, y1), 2 * major + 3);
    ASSERT_EQ(list.size(), static_cast<size_t>(2 * major + 3));
    ASSERT_EQ(list[0], 2 * major + 2);
    for (int64_t k = 0; k <= major; ++k) {
      const int64_t offset =
          major < 2 ? k * minor
                    : FloorDiv(k * minor + CeilDiv(major, 2), major);
      const int64_t majorAt = (xMajor ? x0 : y0) + k * majorStep;
      const int64_t minorAt = (xMajor ? y0 : x0) + offset * minorStep;
      ASSERT_EQ(list[1 + 2 * k], xMajor ? majorAt : minorAt) << "point " << k;
      ASSERT_EQ(list[2 + 2 * k], xMajor ? minorAt : majorAt) << "point " << k;
    }
    EXPECT_EQ(list[2 * major + 1], x1);
    EXPECT_EQ(list[2 * major + 2], y1);
  }
}

}  // namespace
