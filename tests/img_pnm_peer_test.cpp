// Peer check of the PNM readers against Debian's netpbm tools: the tools
// make files of all six kinds from a random picture at test time, and
// netpbm's own decoding of each file (its plain-text output) says what the
// pixels are. Our readers must agree, up to their documented differences:
// a 1 bit is white, samples are not scaled (and spill past 255), and the
// memory reader widens bit images to a multiple of 8 and takes each P1 digit
// as one sample. Needs netpbm (installed by scripts/setup).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "image_support.h"
#include "img/img.h"
#include "temp_path.h"
#include "util/util.h"

namespace {

constexpr int32_t kWidth = 37;  // not a multiple of 8: P4 rows are padded
constexpr int32_t kHeight = 23;
constexpr int kBitsPerByte = 8;
constexpr uint32_t kWhite = 0xFFFFFF;

// Runs a shell command; true when it exits with 0.
bool RunShell(const std::string& command) {
  return std::system(("set -e; " + command).c_str()) == 0;
}

// A picture as netpbm decodes it: kind ('1'..'3' after its plain output),
// size and samples in order.
struct Samples {
  char kind = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> values;
};

// Parses netpbm's plain output: "Pk", width, height, maxval (not for P1),
// then decimal samples; P1 digits count one by one.
Samples ParsePlain(const std::string& text) {
  Samples samples;
  if (text.size() < 2 || text[0] != 'P') return samples;
  samples.kind = text[1];
  size_t at = 2;
  auto isDigit = [&] { return text[at] >= '0' && text[at] <= '9'; };
  // Moves to the next digit; false at the end of the text.
  auto nextDigit = [&] {
    while (at < text.size() && !isDigit()) ++at;
    return at < text.size();
  };
  auto number = [&] {
    uint32_t value = 0;
    for (nextDigit(); at < text.size() && isDigit(); ++at) {
      value = value * 10 + static_cast<uint32_t>(text[at] - '0');
    }
    return value;
  };
  samples.width = static_cast<int32_t>(number());
  samples.height = static_cast<int32_t>(number());
  if (samples.kind != '1') number();  // maxval
  while (nextDigit()) {
    if (samples.kind == '1') {
      samples.values.push_back(static_cast<uint32_t>(text[at++] - '0'));
    } else {
      samples.values.push_back(number());
    }
  }
  return samples;
}

// Pixels as our readers define them from netpbm's samples: a 1 bit white,
// grey and colour samples unscaled and or-combined.
std::vector<uint32_t> OurPixels(const Samples& samples) {
  std::vector<uint32_t> pixels;
  const std::vector<uint32_t>& v = samples.values;
  if (samples.kind == '1') {
    for (uint32_t bit : v) pixels.push_back(bit != 0 ? kWhite : 0);
  } else if (samples.kind == '2') {
    for (uint32_t g : v) pixels.push_back(g << 16 | g << 8 | g);
  } else {
    for (size_t i = 0; i + 2 < v.size(); i += 3) {
      pixels.push_back(v[i] << 16 | v[i + 1] << 8 | v[i + 2]);
    }
  }
  return pixels;
}

// Netpbm's decoding of the file, as plain text.
std::string NetpbmPlain(const std::string& path) {
  const std::string plain = path + ".plain";
  EXPECT_TRUE(RunShell("pnmtoplainpnm < '" + path + "' > '" + plain + "'"))
      << "netpbm missing? run scripts/setup";
  std::string text = ReadBytes(plain);
  std::remove(plain.c_str());
  return text;
}

// The header of a netpbm file ("Pk\n" "w h\n" and "maxval\n" but for bit
// kinds) rewritten with comments in all the places PNM allows them.
std::string WithComments(const std::string& bytes) {
  const bool bits = bytes[1] == '1' || bytes[1] == '4';
  const size_t magicEnd = bytes.find('\n') + 1;
  const size_t sizeEnd = bytes.find('\n', magicEnd) + 1;
  const size_t headerEnd = bits ? sizeEnd : bytes.find('\n', sizeEnd) + 1;
  const std::string size = bytes.substr(magicEnd, sizeEnd - magicEnd - 1);
  const size_t space = size.find(' ');
  std::string text = bytes.substr(0, magicEnd) + "# made by netpbm\n" +
                     size.substr(0, space) + " # width, then the height\n" +
                     "#\n" + size.substr(space + 1) + "\n";
  if (!bits) {
    text += "# the maxval\n" + bytes.substr(sizeEnd, headerEnd - sizeEnd);
  }
  return text + bytes.substr(headerEnd);
}

// A netpbm P1 file with a space after every raster digit.
std::string WithSpacedDigits(const std::string& bytes) {
  const size_t headerEnd = bytes.find('\n', bytes.find('\n') + 1) + 1;
  std::string text = bytes.substr(0, headerEnd);
  for (size_t i = headerEnd; i < bytes.size(); ++i) {
    text += bytes[i];
    if (bytes[i] >= '0' && bytes[i] <= '9') text += ' ';
  }
  return text;
}

// What an image holds, for comparison.
struct Picture {
  int32_t width = -1;
  int32_t height = -1;
  std::vector<uint32_t> pixels;
  bool operator==(const Picture& other) const {
    return width == other.width && height == other.height &&
           pixels == other.pixels;
  }
};

// The image as a picture, then freed; a missing image has width -1.
Picture Take(IMG* image) {
  Picture picture;
  if (image == nullptr) return picture;
  picture.width = image->width;
  picture.height = image->height;
  picture.pixels = PixelsOf(image);
  IMGFree(&image);
  return picture;
}

// The memory reader's picture of a bit image whose netpbm samples are
// given: the width widened to a multiple of 8, the samples read as one
// stream (P1 digits) or one bit string (P4 rows, padding bits included).
Picture WidenedBits(const Samples& samples, char kind) {
  const int32_t wide =
      (samples.width + kBitsPerByte - 1) / kBitsPerByte * kBitsPerByte;
  Picture picture{
      wide, samples.height,
      std::vector<uint32_t>(static_cast<size_t>(wide) * samples.height)};
  const std::vector<uint32_t> pixels = OurPixels(samples);
  for (int32_t y = 0; y < samples.height; ++y) {
    for (int32_t x = 0; x < samples.width; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * samples.width + x];
      const size_t to = kind == '4'
                            ? static_cast<size_t>(y) * wide + x
                            : static_cast<size_t>(y) * samples.width + x;
      picture.pixels[to] = p;  // P4 padding bits stay 0 (netpbm writes 0)
    }
  }
  return picture;
}

struct PeerCase {
  const char* description;
  const char* pipeline;  // netpbm tools turning the source P6 into the file
  char kind;             // the kind digit the tools write
};

const PeerCase kPeerCases[] = {
    {"raw colour", "ppmtoppm", '6'},
    {"plain colour", "pnmtoplainpnm", '3'},
    {"raw grey", "ppmtopgm", '5'},
    {"plain grey", "ppmtopgm | pnmtoplainpnm", '2'},
    {"raw bits", "ppmtopgm | pgmtopbm -threshold", '4'},
    {"plain bits", "ppmtopgm | pgmtopbm -threshold | pnmtoplainpnm", '1'},
    {"raw colour, maxval 15", "pamdepth 15", '6'},
    {"plain colour, maxval 15", "pamdepth 15 | pnmtoplainpnm", '3'},
    {"plain grey, maxval 1000 spills",
     "ppmtopgm | pamdepth 1000 | pnmtoplainpnm", '2'},
};

class ImgPnmPeerTest : public testing::Test {
 protected:
  // A random colour picture written by our P6 writer, the tools' input.
  void SetUp() override {
    std::mt19937 random(3);
    IMG* image = IMGNew();
    IMGResize(image, kWidth, kHeight);
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
      image->pixels[i] = random() & 0xFFFFFF;
    }
    image->pixels[0] = 0x0A0A0A;  // line feeds inside the raster
    ASSERT_TRUE(IMGSavePNM(image, source_.c_str()));
    IMGFree(&image);
  }
  void TearDown() override { std::remove(source_.c_str()); }

  const std::string source_ = TempPath("source.ppm");
};

TEST_F(ImgPnmPeerTest, ReadersAgreeWithNetpbm) {
  const std::string made = TempPath("made.pnm");
  const std::string variant = TempPath("variant.pnm");
  for (const PeerCase& c : kPeerCases) {
    SCOPED_TRACE(c.description);
    ASSERT_TRUE(
        RunShell("< '" + source_ + "' " + c.pipeline + " > '" + made + "'"))
        << "netpbm missing? run scripts/setup";
    const std::string bytes = ReadBytes(made);
    ASSERT_GT(bytes.size(), 2u);
    ASSERT_EQ(bytes[1], c.kind) << "the tools wrote another kind";
    const std::string plain = NetpbmPlain(made);
    const Samples samples = ParsePlain(plain);
    ASSERT_EQ(samples.width, kWidth);
    ASSERT_EQ(samples.height, kHeight);
    const Picture expected{kWidth, kHeight, OurPixels(samples)};
    ASSERT_EQ(expected.pixels.size(), static_cast<size_t>(kWidth * kHeight));
    const bool bits = c.kind == '1' || c.kind == '4';
    const Picture expectedInMemory =
        bits ? WidenedBits(samples, c.kind) : expected;

    struct Variant {
      const char* description;
      std::string bytes;
      bool forFileReader;  // P1 digit runs are one sample in the file reader
    };
    std::vector<Variant> variants = {
        {"as the tools wrote it", bytes, c.kind != '1'},
        {"with comments", WithComments(bytes), c.kind != '1'},
    };
    if (c.kind == '1') {
      variants.push_back({"digits spaced", WithSpacedDigits(bytes), true});
      variants.push_back({"digits spaced, with comments",
                          WithComments(WithSpacedDigits(bytes)), true});
    }
    for (const Variant& v : variants) {
      SCOPED_TRACE(v.description);
      WriteBytes(variant, v.bytes);
      // Netpbm reads the variant as it read the original.
      ASSERT_EQ(NetpbmPlain(variant), plain);
      if (v.forFileReader) {
        EXPECT_TRUE(Take(IMGLoadPNM(variant.c_str())) == expected)
            << "file reader";
      }
      char* buffer = FILRead(variant.c_str());
      ASSERT_NE(buffer, nullptr);
      EXPECT_TRUE(Take(IMGParsePNM(buffer)) == expectedInMemory)
          << "memory reader";
      std::free(buffer);
    }
  }
  std::remove(made.c_str());
  std::remove(variant.c_str());
}

}  // namespace
