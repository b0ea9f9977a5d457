// Tests of the PNM readers (file and memory) and the P6 writer.
#include <dirent.h>  // opendir: counting this process's open files
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "capture.h"
#include "file_bytes.h"
#include "image_support.h"
#include "img/img.h"
#include "temp_path.h"
#include "util/util.h"

namespace {

using namespace std::string_literals;  // "..."s keeps embedded zero bytes

const std::string kReport = "IMG error\n";
constexpr uint32_t W = 0xFFFFFF;    // white: a set P1/P4 sample
constexpr uint32_t F = 0xFFFFFFFF;  // a raw pixel read at the end of a file

// What a reader gave: the image's size and pixels (when there was one) and
// everything it printed.
struct Decoded {
  bool present = false;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  std::string printed;
};

// An expected image.
struct Picture {
  int32_t width;
  int32_t height;
  std::vector<uint32_t> pixels;
};

// Runs a reader, records its image (then frees it) and its output.
template <typename Read>
Decoded Decode(Read read) {
  Decoded decoded;
  IMG* image = nullptr;
  decoded.printed = CapturedStdout([&] { image = read(); });
  if (image != nullptr) {
    decoded.present = true;
    decoded.width = image->width;
    decoded.height = image->height;
    decoded.pixels = PixelsOf(image);
    IMGFree(&image);
  }
  return decoded;
}

// The file reader on a file holding the bytes.
Decoded LoadBytes(const std::string& bytes) {
  const std::string path = TempPath("input.pnm");
  WriteBytes(path, bytes);
  Decoded decoded = Decode([&] { return IMGLoadPNM(path.c_str()); });
  std::remove(path.c_str());
  return decoded;
}

// The memory reader on the bytes followed by a terminating zero.
Decoded ParseBytes(const std::string& bytes) {
  return Decode([&] { return IMGParsePNM(bytes.c_str()); });
}

// Checks a reader's result against the expected picture, without reports.
void ExpectPicture(const Decoded& decoded, const Picture& expected) {
  ASSERT_TRUE(decoded.present);
  EXPECT_EQ(decoded.printed, "");
  EXPECT_EQ(decoded.width, expected.width);
  EXPECT_EQ(decoded.height, expected.height);
  EXPECT_EQ(decoded.pixels, expected.pixels);
}

// Checks that a reader failed with exactly one report.
void ExpectFailure(const Decoded& decoded) {
  EXPECT_FALSE(decoded.present);
  EXPECT_EQ(decoded.printed, kReport);
}

// ---- Good input, both readers alike -------------------------------------

struct SameCase {
  const char* description;
  std::string input;
  Picture expected;
};

const SameCase kSameCases[] = {
    {"P5 bytes are unscaled greys",
     "P5 3 1 255 \x00\x80\xFF"s,
     {3, 1, {0, 0x808080, W}}},
    {"P2 maxval does not scale",
     "P2\n2 1\n15\n15 7\n",
     {2, 1, {0x0F0F0F, 0x070707}}},
    {"P3 channels", "P3 1 1 255 255 128 0", {1, 1, {0xFF8000}}},
    {"P3 sample above 255 spills into the top byte",
     "P3 1 1 255 256 0 0",
     {1, 1, {0x01000000}}},
    {"P2 sample 256 spills into every neighbour",
     "P2 1 1 255 256",
     {1, 1, {0x01010100}}},
    {"P2 sample wraps at 32 bits", "P2 1 1 255 4294967297", {1, 1, {0x010101}}},
    {"P1 separated digits, 1 is white",
     "P1 8 1\n1 0 1 0 0 0 0 1\n",
     {8, 1, {W, 0, W, 0, 0, 0, 0, W}}},
    {"P3 cut short after the first pixel",
     "P3 2 2 255\n1 2 3\n",
     {2, 2, {0x010203, 0, 0, 0}}},
    {"P3 cut short inside a pixel",
     "P3 2 1 255 9 8 7 6",
     {2, 1, {0x090807, 0x060000}}},
    {"P2 without any sample", "P2 2 1 255", {2, 1, {0, 0}}},
    {"P6 with comments",
     "P6\n# size\n2 # width\n# height\n1\n# maxval\n255\nABCDEF",
     {2, 1, {0x414243, 0x444546}}},
    {"zero bytes in a raw raster",
     "P5 2 1 255 \x00\x05"s,
     {2, 1, {0, 0x050505}}},
    {"separators: tab, return, 0x7F, high bytes",
     "P5\t\r\x7F\xFF"
     "2\x01"
     "1 255 ab",
     {2, 1, {0x616161, 0x626262}}},
    {"a non-digit maxval counts as 0 and ends the header",
     "P2 1 1 x 9",
     {1, 1, {0x090909}}},
    {"a second P is a number of value 0", "P2 1 1 P 4", {1, 1, {0x040404}}},
    {"raster bytes that look like header text",
     "P5 2 1 255\n# 5",
     {2, 1, {0x232323, 0x202020}}},
    {"P4 width a multiple of 8",
     "P4 8 2 \xA5\x0F"s,
     {8, 2, {W, 0, W, 0, 0, W, 0, W, 0, 0, 0, 0, W, W, W, W}}},
};

TEST(ImgPnmTest, BothReadersAgree) {
  for (const SameCase& c : kSameCases) {
    SCOPED_TRACE(c.description);
    {
      SCOPED_TRACE("file");
      ExpectPicture(LoadBytes(c.input), c.expected);
    }
    {
      SCOPED_TRACE("memory");
      ExpectPicture(ParseBytes(c.input), c.expected);
    }
  }
}

// ---- Good input where the readers differ on purpose ---------------------

struct DifferentCase {
  const char* description;
  std::string input;
  Picture file;
  Picture memory;
};

const DifferentCase kDifferentCases[] = {
    {"P1 digits without separators",
     "P1 8 1\n10100001\n",
     {8, 1, {W, 0, 0, 0, 0, 0, 0, 0}},
     {8, 1, {W, 0, W, 0, 0, 0, 0, W}}},
    {"P1 width widened to 8 in memory",
     "P1 3 1 1 1 1",
     {3, 1, {W, W, W}},
     {8, 1, {W, W, W, 0, 0, 0, 0, 0}}},
    {"P1 sample wraps to 0 in the file",
     "P1 2 1 4294967296 1",
     {2, 1, {0, W}},
     {8, 1, {W, W, W, W, W, W, W, W}}},
    {"P4 rows start at a byte in the file, one bit string in memory",
     "P4 10 2\n\xFF\xC0\x00\x40"s,
     {10, 2, {W, W, W, W, W, W, W, W, W, W, 0, 0, 0, 0, 0, 0, 0, 0, 0, W}},
     {16, 2, {W, W, W, W, W, W, W, W, W, W, 0, 0, 0, 0, 0, 0,
              0, 0, 0, 0, 0, 0, 0, 0, 0, W, 0, 0, 0, 0, 0, 0}}},
    {"a # right after a number ends it in the file, comments in memory",
     "P2 1#5\n1 255 7",
     {1, 5, {W, 0x070707, 0, 0, 0}},
     {1, 1, {0x070707}}},
    {"kind last: the file raster starts right after it, memory skips one",
     "2 1 255 P5ABC",
     {2, 1, {0x414141, 0x424242}},
     {2, 1, {0x424242, 0x434343}}},
    {"P1 width before the kind is not widened",
     "3 1 P1 111",
     {3, 1, {W, 0, 0}},
     {3, 1, {W, W, W}}},
    {"P4 width before the kind: one bit string of 3 × 2 bits",
     "3 2 P4 \xB4\xFF"s,
     {3, 2, {0, 0, W, W, 0, W}},
     {3, 2, {W, 0, W, W, 0, W}}},
};

TEST(ImgPnmTest, ReadersDifferOnPurpose) {
  for (const DifferentCase& c : kDifferentCases) {
    SCOPED_TRACE(c.description);
    {
      SCOPED_TRACE("file");
      ExpectPicture(LoadBytes(c.input), c.file);
    }
    {
      SCOPED_TRACE("memory");
      ExpectPicture(ParseBytes(c.input), c.memory);
    }
  }
}

// ---- Raw rasters cut short in a file ------------------------------------
// (The memory reader reads raw rasters by count; its caller guarantees the
// bytes, so these inputs are not for it.)

const SameCase kShortFileCases[] = {
    {"P6 with 3 of 6 bytes",
     "P6 2 1 255\n\x01\x02\x03"s,
     {2, 1, {0x010203, F}}},
    {"P6 with 4 of 6 bytes",
     "P6 2 1 255\n\x01\x02\x03\x04"s,
     {2, 1, {0x010203, F}}},
    {"P5 with 1 of 2 bytes", "P5 2 1 255\n\x07"s, {2, 1, {0x070707, F}}},
    {"P5 ending at the maxval", "P5 1 1 255", {1, 1, {F}}},
    {"P4 rows past the end are white",
     "P4 9 2\n\x00"s,
     {9, 2, {0, 0, 0, 0, 0, 0, 0, 0, W, W, W, W, W, W, W, W, W, W}}},
};

TEST(ImgPnmTest, FileRawRasterCutShortCountsAsMinusOne) {
  for (const SameCase& c : kShortFileCases) {
    SCOPED_TRACE(c.description);
    ExpectPicture(LoadBytes(c.input), c.expected);
  }
}

// ---- Bad input -----------------------------------------------------------

struct BadCase {
  const char* description;
  std::string input;
};

// Every row fails in both readers with exactly one report.
const BadCase kBadCases[] = {
    {"empty input", ""},                                   // no kind
    {"only separators", " \n\t "},                         // no kind
    {"P alone", "P"},                                      // no kind byte
    {"kind byte 0", "P0 1 1 255 x"},                       // not 1..6
    {"kind byte 7", "P7 1 1 255 x"},                       // not 1..6
    {"kind byte x", "Px 1 1 255 x"},                       // not 1..6
    {"kind byte is a separator", "P 6 1 1 255 x"},         // not 1..6
    {"no kind token at all", "Q6 1 1 255 1 1"},            // Q is a number
    {"ends after the kind", "P6"},                         // no width
    {"ends after the width", "P6 2"},                      // no height
    {"ends after the height", "P6 2 1"},                   // no maxval
    {"P1 ends after the width", "P1 8"},                   // no height
    {"comment reaches the end", "P6 2 1 # no line feed"},  // no maxval
    {"comment before the kind reaches the end", "# P6 2 1 255"},
    {"width 0", "P6 0 1 255 abc"},                        // empty image
    {"height 0", "P6 1 0 255 abc"},                       // empty image
    {"P1 width 0 stays 0 when widened", "P1 0 1 1"},      // empty image
    {"minus sign is a number 0", "P6 -1 1 255 abc"},      // width 0
    {"width wraps to 0", "P6 4294967296 1 255 abc"},      // 2^32
    {"width wraps negative", "P6 2147483648 1 255 abc"},  // 2^31
    {"height wraps negative", "P5 1 4294967295 255 a"},   // 2^32 - 1
    {"huge width wraps above the cap", "P6 99999999999 1 255 abc"},
    {"one pixel above the cap", "P2 268435457 1 255"},  // 2^28 + 1
    {"square above the cap", "P5 16385 16384 255 a"},
    {"P4 width -1", "P4 4294967295 1 \xFF"},               // wraps
    {"P1 width widens beyond 2^31", "P1 2147483647 1 1"},  // wraps
};

TEST(ImgPnmTest, BadInputFailsWithOneReport) {
  for (const BadCase& c : kBadCases) {
    SCOPED_TRACE(c.description);
    {
      SCOPED_TRACE("file");
      ExpectFailure(LoadBytes(c.input));
    }
    {
      SCOPED_TRACE("memory");
      ExpectFailure(ParseBytes(c.input));
    }
  }
}

TEST(ImgPnmTest, ExactlyTheCapIsAccepted) {
  // A plain raster with no samples leaves the 1 GiB of pixels untouched
  // (and unread here).
  const std::string input = "P2 268435456 1 255";
  const std::string path = TempPath("cap.pnm");
  WriteBytes(path, input);
  IMG* loaded = nullptr;
  IMG* parsed = nullptr;
  EXPECT_EQ(CapturedStdout([&] {
              loaded = IMGLoadPNM(path.c_str());
              parsed = IMGParsePNM(input.c_str());
            }),
            "");
  for (IMG* image : {loaded, parsed}) {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, kIMGMaxReadPixels);
    EXPECT_EQ(image->height, 1);
    IMGFree(&image);
  }
  std::remove(path.c_str());
}

TEST(ImgPnmTest, MissingInputsReportOnce) {
  ExpectFailure(Decode([] { return IMGLoadPNM(nullptr); }));
  ExpectFailure(Decode([] { return IMGParsePNM(nullptr); }));
  ExpectFailure(Decode([] { return IMGLoadPNM(TempPath("absent").c_str()); }));
}

TEST(ImgPnmTest, MemoryReaderNeverPassesTheTerminatingZero) {
  // The header ends at the zero; the plain raster must not be looked for
  // beyond it (the bytes after it are the string's, not the buffer's).
  const std::string bytes = "P2 2 1 255\0 7 7"s;
  ExpectPicture(Decode([&] { return IMGParsePNM(bytes.c_str()); }),
                {2, 1, {0, 0}});
  ExpectPicture(Decode([&] { return IMGParsePNM("P1 2 1 1"); }),
                {8, 1, {W, 0, 0, 0, 0, 0, 0, 0}});
}

// Number of files this process has open.
int OpenFiles() {
  int count = 0;
  DIR* directory = opendir("/proc/self/fd");
  if (directory == nullptr) return -1;
  while (readdir(directory) != nullptr) ++count;
  closedir(directory);
  return count;
}

TEST(ImgPnmTest, FileIsClosedOnEveryPath) {
  const int before = OpenFiles();
  ASSERT_GT(before, 0);
  for (int round = 0; round < 3; ++round) {
    LoadBytes("P6 2 1 255\nabcdef");   // success
    LoadBytes("P9");                   // bad kind
    LoadBytes("P6 2");                 // header cut short
    LoadBytes("P6 0 1 255 ");          // empty image
    LoadBytes("P6 99999 99999 255 ");  // above the cap
  }
  EXPECT_EQ(OpenFiles(), before);
}

TEST(ImgPnmTest, AllocationFailuresReportOnce) {
  const std::string path = TempPath("alloc.pnm");
  WriteBytes(path, "P5 2 1 255 ab");
  // 0: the image record; 1: its first pixels; 2: the raster's pixels.
  for (int32_t successes : {0, 1, 2}) {
    SCOPED_TRACE(successes);
    const Decoded loaded = Decode([&] {
      MEMFailAfter(successes);
      IMG* image = IMGLoadPNM(path.c_str());
      MEMFailAfter(-1);
      return image;
    });
    ExpectFailure(loaded);
    const Decoded parsed = Decode([&] {
      MEMFailAfter(successes);
      IMG* image = IMGParsePNM("P5 2 1 255 ab");
      MEMFailAfter(-1);
      return image;
    });
    ExpectFailure(parsed);
  }
  std::remove(path.c_str());
}

// ---- Writing ------------------------------------------------------------

// A new image of the given size and pixels.
IMG* MakeImage(int32_t width, int32_t height,
               const std::vector<uint32_t>& pixels) {
  IMG* image = IMGNew();
  IMGResize(image, width, height);
  for (size_t i = 0; i < pixels.size(); ++i) image->pixels[i] = pixels[i];
  return image;
}

TEST(ImgPnmTest, SaveWritesTheExactBytes) {
  const std::string path = TempPath("save.ppm");
  IMG* image = MakeImage(2, 1, {0x00FF8000, 0x00000001});
  bool saved = false;
  EXPECT_EQ(CapturedStdout([&] { saved = IMGSavePNM(image, path.c_str()); }),
            "");
  EXPECT_TRUE(saved);
  EXPECT_EQ(ReadBytes(path), "P6\n2 1\n255\n\xFF\x80\x00\x00\x00\x01"s);
  IMG* loaded = IMGLoadPNM(path.c_str());
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(IMGEqual(image, loaded));
  IMGFree(&loaded);
  IMGFree(&image);
  std::remove(path.c_str());
}

TEST(ImgPnmTest, SaveWritesLineFeedsAsOneByteAndDropsTheTopByte) {
  const std::string path = TempPath("save.ppm");
  IMG* image = MakeImage(1, 2, {0xAB0A0A0A, 0x000D0A00});
  EXPECT_TRUE(IMGSavePNM(image, path.c_str()));
  EXPECT_EQ(ReadBytes(path), "P6\n1 2\n255\n\x0A\x0A\x0A\x0D\x0A\x00"s);
  IMGFree(&image);
  std::remove(path.c_str());
}

TEST(ImgPnmTest, SaveFailuresReportOnceAndCreateNoFile) {
  const std::string path = TempPath("refused.ppm");
  std::remove(path.c_str());
  IMG* good = MakeImage(1, 1, {1});
  IMG* noPixels = IMGNew();
  IMGResize(noPixels, -1, 1);  // refused: no pixel array
  IMG* noColumns = MakeImage(0, 3, {});
  IMG* noRows = MakeImage(3, 0, {});
  struct Call {
    const char* description;
    const IMG* image;
    const char* name;
  };
  const Call calls[] = {
      {"null image", nullptr, path.c_str()},
      {"no pixel array", noPixels, path.c_str()},
      {"null file name", good, nullptr},
      {"width 0", noColumns, path.c_str()},
      {"height 0", noRows, path.c_str()},
  };
  for (const Call& c : calls) {
    SCOPED_TRACE(c.description);
    bool saved = true;
    EXPECT_EQ(CapturedStdout([&] { saved = IMGSavePNM(c.image, c.name); }),
              kReport);
    EXPECT_FALSE(saved);
    EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
  }
  EXPECT_EQ(CapturedStdout([&] {
              EXPECT_FALSE(IMGSavePNM(good, "/nonexistent-dir/x.ppm"));
            }),
            kReport);
  for (IMG* image : {good, noPixels, noColumns, noRows}) IMGFree(&image);
}

TEST(ImgPnmTest, SavedImagesReadBackThroughBothReaders) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> sides(1, 40);
  const std::string path = TempPath("roundtrip.ppm");
  for (int round = 0; round < 200; ++round) {
    const int32_t width = sides(random), height = sides(random);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (uint32_t& p : pixels) p = random() & 0xFFFFFF;
    IMG* image = MakeImage(width, height, pixels);
    ASSERT_TRUE(IMGSavePNM(image, path.c_str()));
    IMG* loaded = IMGLoadPNM(path.c_str());
    char* bytes = FILRead(path.c_str());
    IMG* parsed = IMGParsePNM(bytes);
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(parsed, nullptr);
    EXPECT_TRUE(IMGEqual(image, loaded));
    EXPECT_TRUE(IMGEqual(image, parsed));
    std::free(bytes);
    for (IMG* i : {image, loaded, parsed}) IMGFree(&i);
  }
  std::remove(path.c_str());
}

}  // namespace
