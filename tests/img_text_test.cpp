// Tests of the image text form: the writer, the reader and the marker
// search.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
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
constexpr uint32_t kColourMask = 0x00FFFFFF;  // what the form keeps of a pixel

// A new image of the given size with random pixels, top bytes included.
IMG* RandomImage(std::mt19937& random, int32_t width, int32_t height) {
  IMG* image = ImageOf(width, height, {});
  for (int64_t i = 0; i < int64_t{width} * height; ++i) {
    image->pixels[i] = random();
  }
  return image;
}

// The text form built field by field with printf's "%3d ", independently of
// the writer's own digit code.
std::string ExpectedForm(const IMG* image) {
  const int64_t count = int64_t{image->width} * image->height;
  if (count == 0) return "IMG{}";
  std::string text = "IMG{\nP3\n" + std::to_string(image->width) + " " +
                     std::to_string(image->height) + "\n255\n";
  for (int64_t j = 0; j < count; ++j) {
    const uint32_t value = image->pixels[j];
    for (int shift : {16, 8, 0}) {
      char field[8];
      std::snprintf(field, sizeof field, "%3d ",
                    static_cast<int>((value >> shift) & 0xFF));
      text += field;
    }
    if ((j + 1) % 6 == 0) text.back() = '\n';
  }
  text.back() = '\n';
  return text + "}\n";
}

// What IMGToASCII gives for the image, "<null>" for a null result.
std::string Written(const IMG* image) {
  char* text = IMGToASCII(image);
  const std::string written = text == nullptr ? "<null>" : text;
  std::free(text);
  return written;
}

// ---- Writer -------------------------------------------------------------

TEST(ImgTextTest, WorkedExampleWritesAndReadsBack) {
  IMG* image = ImageOf(2, 1, {0x00FF8000, 0x00000001});
  const std::string expected =
      "IMG{\nP3\n2 1\n255\n"
      "255 128   0   0   0   1\n"
      "}\n";
  EXPECT_EQ(Written(image), expected);
  IMG* read = IMGFromASCII(expected.c_str());
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(IMGEqual(read, image));
  IMGFree(&read);
  IMGFree(&image);
}

struct RasterCase {
  const char* description;
  int32_t width, height;
  std::vector<size_t> lineLengths;  // of the raster lines, line feeds included
};

const RasterCase kRasterCases[] = {
    {"one pixel", 1, 1, {12}},
    {"six pixels fill one line", 6, 1, {72}},
    {"a seventh pixel opens a second line", 7, 1, {72, 12}},
    {"twelve pixels fill two lines", 3, 4, {72, 72}},
    {"lines run on across image rows", 5, 3, {72, 72, 36}},
};

TEST(ImgTextTest, RasterHoldsSixPixelsPerLine) {
  for (const RasterCase& c : kRasterCases) {
    SCOPED_TRACE(c.description);
    IMG* image = ImageOf(c.width, c.height, {});
    const std::string text = Written(image);
    const std::string header = "IMG{\nP3\n" + std::to_string(c.width) + " " +
                               std::to_string(c.height) + "\n255\n";
    ASSERT_EQ(text.compare(0, header.size(), header), 0) << text;
    ASSERT_EQ(text.substr(text.size() - 2), "}\n");
    std::vector<size_t> lengths;
    size_t start = header.size();
    while (start < text.size() - 2) {
      const size_t end = text.find('\n', start);
      lengths.push_back(end + 1 - start);
      start = end + 1;
    }
    EXPECT_EQ(lengths, c.lineLengths);
    IMGFree(&image);
  }
}

TEST(ImgTextTest, EveryChannelValueIsWrittenLikePrintf) {
  std::vector<uint32_t> pixels;
  for (uint32_t v = 0; v < 256; ++v) {
    pixels.push_back((v << 16) | ((255 - v) << 8) | (v * 7 % 256));
  }
  IMG* image = ImageOf(16, 16, pixels);
  EXPECT_EQ(Written(image), ExpectedForm(image));
  IMGFree(&image);
}

TEST(ImgTextTest, RandomImagesRoundTripWithoutTheTopByte) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int32_t> sides(1, 14);
  for (int i = 0; i < 300; ++i) {
    IMG* image = RandomImage(random, sides(random), sides(random));
    const std::string text = Written(image);
    ASSERT_EQ(text, ExpectedForm(image));
    IMG* read = IMGFromASCII(text.c_str());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->width, image->width);
    ASSERT_EQ(read->height, image->height);
    std::vector<uint32_t> expected = PixelsOf(image);
    for (uint32_t& p : expected) p &= kColourMask;
    ASSERT_EQ(PixelsOf(read), expected);
    IMGFree(&read);
    IMGFree(&image);
  }
}

TEST(ImgTextTest, ImagesWithoutPixelsWriteTheEmptyForm) {
  for (auto [width, height] : {std::pair{0, 5}, {5, 0}, {0, 0}}) {
    IMG* image = ImageOf(width, height, {});
    EXPECT_EQ(Written(image), "IMG{}");
    IMGFree(&image);
  }
  IMG* read = nullptr;
  EXPECT_EQ(CapturedStdout([&] { read = IMGFromASCII("IMG{}"); }), kReport);
  EXPECT_EQ(read, nullptr);
}

TEST(ImgTextTest, WriterFailuresReportOnce) {
  uint32_t pixel = 0;
  // Big sizes over a one-pixel array: the writer must refuse them before
  // it touches a pixel.
  IMG tooLong = {176505503, 1, &pixel};  // 12 n + n div 6 + 29 = 2^31
  IMG huge = {100000, 100000, &pixel};
  IMG noPixels = {2, 2, nullptr};
  IMG* small = ImageOf(2, 1, {1, 2});
  IMG* empty = ImageOf(0, 3, {});
  struct Call {
    const char* description;
    const IMG* image;
    int32_t allocations;  // granted before injected failures, -1: none
  };
  const Call calls[] = {
      {"null image", nullptr, -1},
      {"no pixel array", &noPixels, -1},
      {"text size beyond 32 bits", &tooLong, -1},
      {"text far beyond 32 bits", &huge, -1},
      {"buffer not allocated", small, 0},
      {"empty form not allocated", empty, 0},
  };
  for (const Call& c : calls) {
    SCOPED_TRACE(c.description);
    char* text = nullptr;
    const std::string printed = CapturedStdout([&] {
      MEMFailAfter(c.allocations);
      text = IMGToASCII(c.image);
      MEMFailAfter(-1);
    });
    EXPECT_EQ(printed, kReport);
    EXPECT_EQ(text, nullptr);
  }
  // The whole text comes from a single allocation.
  char* text = nullptr;
  EXPECT_EQ(CapturedStdout([&] {
              MEMFailAfter(1);
              text = IMGToASCII(small);
              MEMFailAfter(-1);
            }),
            "");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, ExpectedForm(small).c_str());
  std::free(text);
  IMGFree(&small);
  IMGFree(&empty);
}

// ---- Reader -------------------------------------------------------------

struct ReadCase {
  const char* description;
  const char* text;
  int32_t width, height;
  std::vector<uint32_t> pixels;
};

const ReadCase kGoodForms[] = {
    {"markers are searched, not expected at the start",
     "junk IMG and { then P3\n1 1\n255\n1 2 3", 1, 1, {0x010203}},
    {"text between the markers is passed over",
     "{ IMGx{P3\n1 1\n255\n4 5 6\n}\n", 1, 1, {0x040506}},
    {"raster ends after the first pixel", "IMG{\nP3\n2 1\n255\n1 2 3", 2, 1,
     {0x010203, 0}},
    {"raster ends inside a pixel", "IMG{\nP3\n2 1\n255\n7 8", 2, 1,
     {0x070800, 0}},
    {"samples are neither scaled nor limited",
     "IMG{\nP3\n2 1\n15\n0 0 256 300 0 0", 2, 1, {0x000100, 300u << 16}},
    {"any non-digit characters separate samples",
     "IMG{\nP3\n1 1\n255\nr1,g2;b3", 1, 1, {0x010203}},
    {"what follows the last sample is not examined",
     "IMG{\nP3\n1 1\n255\n9 9 9 oops", 1, 1, {0x090909}},
    {"the width must begin right after P3", "IMG{P3\n 2 1\n255\n", 0, 2, {}},
    {"exactly one separator after the width", "IMG{P3\n2  1\n255\n", 2, 0,
     {}},
    {"text ends inside the header", "IMG{P3\n3", 3, 0, {}},
    {"size digits wrap modulo 2^32", "IMG{P3\n4294967297 1\n255\n5 6 7", 1,
     1, {0x050607}},
};

TEST(ImgTextTest, ReaderExamples) {
  for (const ReadCase& c : kGoodForms) {
    SCOPED_TRACE(c.description);
    IMG* image = nullptr;
    EXPECT_EQ(CapturedStdout([&] { image = IMGFromASCII(c.text); }), "");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    EXPECT_EQ(PixelsOf(image), c.pixels);
    IMGFree(&image);
  }
}

struct BadForm {
  const char* description;
  const char* text;
};

const BadForm kBadForms[] = {
    {"null text", nullptr},
    {"empty text", ""},
    {"empty form has no P3", "IMG{}"},
    {"tag in lower case", "img{P3\n1 1\n255\n0 0 0"},
    {"brace only before the tag", "{IMG P3\n1 1\n255\n0 0 0"},
    {"P3 only before the brace", "P3\nIMG{1 1\n255\n0 0 0"},
    {"P3 without its line feed", "IMG{P3 1 1 255 0 0 0"},
    {"height beyond the signed 32-bit range", "IMG{P3\n1 2147483648\n255\n"},
    {"more pixels than a reader accepts", "IMG{P3\n16385 16384\n255\n"},
};

TEST(ImgTextTest, BadFormsReportOnce) {
  for (const BadForm& c : kBadForms) {
    SCOPED_TRACE(c.description);
    IMG* image = nullptr;
    EXPECT_EQ(CapturedStdout([&] { image = IMGFromASCII(c.text); }), kReport);
    EXPECT_EQ(image, nullptr);
  }
}

TEST(ImgTextTest, ReaderAllocationFailuresReportOnce) {
  const char* text = "IMG{\nP3\n1 1\n255\n1 2 3";
  // 0: the record; 1: the first pixels of IMGNew; 2: the resized pixels.
  for (int32_t granted : {0, 1, 2}) {
    SCOPED_TRACE(granted);
    IMG* image = nullptr;
    const std::string printed = CapturedStdout([&] {
      MEMFailAfter(granted);
      image = IMGFromASCII(text);
      MEMFailAfter(-1);
    });
    EXPECT_EQ(printed, kReport);
    EXPECT_EQ(image, nullptr);
  }
}

// Every prefix of a form, in a heap block of exactly its size, is read
// without passing its terminating zero: pixels wholly inside the prefix come
// back, pixels wholly behind it are 0.
TEST(ImgTextTest, EveryPrefixIsReadWithinItsEnd) {
  std::mt19937 random(23);
  IMG* image = RandomImage(random, 7, 2);
  const std::string text = Written(image);
  const size_t headerLength = std::strlen("IMG{\nP3\n7 2\n255\n");
  const size_t markersEnd = std::strlen("IMG{\nP3\n");
  for (size_t length = 0; length <= text.size(); ++length) {
    SCOPED_TRACE(length);
    std::unique_ptr<char[]> prefix(new char[length + 1]);
    std::memcpy(prefix.get(), text.data(), length);
    prefix[length] = '\0';
    IMG* read = nullptr;
    const std::string printed =
        CapturedStdout([&] { read = IMGFromASCII(prefix.get()); });
    if (length < markersEnd) {
      EXPECT_EQ(printed, kReport);
      EXPECT_EQ(read, nullptr);
      continue;
    }
    EXPECT_EQ(printed, "");
    ASSERT_NE(read, nullptr);
    if (length >= headerLength) {
      ASSERT_EQ(read->width, 7);
      ASSERT_EQ(read->height, 2);
      for (size_t j = 0; j < 14; ++j) {
        const size_t start = headerLength + 12 * j;
        if (start + 11 <= length) {
          EXPECT_EQ(read->pixels[j], image->pixels[j] & kColourMask) << j;
        } else if (start >= length) {
          EXPECT_EQ(read->pixels[j], 0u) << j;
        }
      }
    }
    IMGFree(&read);
  }
  IMGFree(&image);
}

// ---- Search -------------------------------------------------------------

struct FindCase {
  const char* description;
  const char* text;
  const char* pattern;
  int32_t expected;
};

const FindCase kFindCases[] = {
    {"index just past the match", "abcIMGx", "IMG", 6},
    {"partial match only", "xMG", "IMG", 0},
    {"match after a false start", "IIMG", "IMG", 4},
    {"first of two matches", "IMG IMG", "IMG", 3},
    {"overlapping candidates", "aaa", "aa", 2},
    {"case matters", "imgIMG", "IMG", 6},
    {"pattern longer than the text", "IM", "IMG", 0},
    {"no brace in the text", "abc", "{", 0},
    {"empty pattern", "abc", "", 0},
    {"empty text", "", "a", 0},
};

TEST(ImgTextTest, FindTextExamples) {
  for (const FindCase& c : kFindCases) {
    SCOPED_TRACE(c.description);
    int32_t found = -1;
    EXPECT_EQ(CapturedStdout([&] { found = IMGFindText(c.text, c.pattern); }),
              "");
    EXPECT_EQ(found, c.expected);
  }
  int32_t found = -1;
  EXPECT_EQ(CapturedStdout([&] { found = IMGFindText(nullptr, "a"); }),
            kReport);
  EXPECT_EQ(found, 0);
  found = -1;
  EXPECT_EQ(CapturedStdout([&] { found = IMGFindText("a", nullptr); }),
            kReport);
  EXPECT_EQ(found, 0);
}

}  // namespace
