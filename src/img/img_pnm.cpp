// img PNM — reading all six PNM kinds from files and from zero-terminated
// buffers, and writing binary colour files.
//
// The two readers share one header grammar and one set of sample-to-pixel
// rules, and differ where noted: the file reader consumes the byte that
// ends a header number and takes each run of P1 digits as one sample; the
// memory reader leaves that byte in place, widens P1 and P4 widths to a
// multiple of 8, takes each P1 digit as a sample and reads P4 as one
// continuous bit string.
//
// Reports go through IMGError (switch kIMGErrorReports in img_core.cpp).
// Depends on util (allocation, through IMGNew and IMGResize).
#include <cstddef>  // size_t
#include <cstdint>
#include <cstdio>  // FILE, fopen, fread, fclose, fprintf, getc_unlocked,
                   // putc_unlocked

#include "img/img.h"

namespace {

// ---- Constants ----------------------------------------------------------

constexpr int kEndOfInput = EOF;       // what the byte sources give at the end
constexpr int kFirstTokenByte = 0x21;  // bytes outside 0x21..0x7E separate
constexpr int kLastTokenByte = 0x7E;   // header tokens
constexpr int kKindMarker = 'P';       // starts the kind token "P1".."P6"
constexpr int kCommentMarker = '#';    // starts a comment up to a line feed
constexpr int kLineFeed = '\n';
constexpr uint32_t kDecimalBase = 10;
constexpr int kBitsPerByte = 8;
constexpr uint32_t kLeftmostBit = 0x80;  // bit of the leftmost P4 pixel
constexpr uint32_t kWhite = 0xFFFFFF;    // a set P1/P4 sample
constexpr uint32_t kBlack = 0;           // a clear P1/P4 sample
constexpr int kRedShift = 16;            // channel positions in a pixel
constexpr int kGreenShift = 8;
constexpr uint32_t kChannelMask = 0xFF;
constexpr int kWrittenMaxval = 255;
constexpr int kColourSamples = 3;                 // samples of a P3 or P6 pixel
constexpr size_t kRasterBlock = size_t{1} << 16;  // raster bytes read ahead

// The six kinds, numbered as their digit after 'P'.
constexpr int32_t kPlainBits = 1;
constexpr int32_t kPlainGrey = 2;
constexpr int32_t kPlainColour = 3;
constexpr int32_t kRawBits = 4;
constexpr int32_t kRawGrey = 5;
constexpr int32_t kRawColour = 6;

// Header numbers of a kind with a maxval: width, height, maxval.
constexpr int32_t kNumbersWithMaxval = 3;
// Header numbers of P1 and P4, whose maxval is known with the kind.
constexpr int32_t kNumbersWithoutMaxval = 2;

// ---- Types --------------------------------------------------------------

// What the header has told so far.
struct PNMHeader {
  int32_t kind;     // 1..6 for P1..P6; 0 until the kind token is read
  uint32_t width;   // first header number, wrapped to 32 bits
  uint32_t height;  // second header number, wrapped to 32 bits
  int32_t numbers;  // header numbers taken (width, height, maxval), 0..3
  bool widenBits;   // memory reader: a P1/P4 width is rounded up to 8s
};

// Header bytes of an open file. Bytes are fetched lazily, so after the
// header the stream stands right after the last byte the header consumed.
struct FileBytes {
  FILE* file;  // the stream being read (borrowed)
  int byte;    // the byte fetched but not yet consumed, when held
  bool held;   // whether byte holds a fetched byte
};

// Raster bytes of an open file: fetched from the stream a block at a time,
// handed out one at a time (the cursor stays in registers, where a byte
// read from the stream would update the stream's own cursor every time).
struct FileRaster {
  FILE* file;                         // the stream being read (borrowed)
  const unsigned char* next;          // next byte to hand out from block
  const unsigned char* end;           // end of the bytes held in block
  bool ended;                         // the stream has no more bytes
  unsigned char block[kRasterBlock];  // bytes read ahead from the stream
};

// Header bytes of a zero-terminated buffer.
struct BufferBytes {
  const unsigned char* bytes;  // the caller's buffer (borrowed)
  size_t at;                   // index of the next byte
};

// ---- Helpers ------------------------------------------------------------

// The next byte of the file, not consumed; kEndOfInput at its end.
int peekByte(FileBytes* in) {
  if (!in->held) {
    in->byte = getc_unlocked(in->file);
    in->held = true;
  }
  return in->byte;
}

// Consumes the next byte of the file.
void advanceByte(FileBytes* in) {
  peekByte(in);
  in->held = false;
}

// The next byte of the buffer, not consumed; kEndOfInput at the
// terminating zero.
int peekByte(const BufferBytes* in) {
  return in->bytes[in->at] == 0 ? kEndOfInput : in->bytes[in->at];
}

// Consumes the next byte of the buffer.
void advanceByte(BufferBytes* in) { ++in->at; }

// Whether the byte is a decimal digit '0'..'9'.
bool isDigit(int byte) { return byte >= '0' && byte <= '9'; }

// Space, tab, line ends, other control bytes, 0x7F and bytes from 0x80 up;
// not the end of input, which the callers test first.
bool isSeparator(int byte) {
  return byte < kFirstTokenByte || byte > kLastTokenByte;
}

// P1 and P4: one bit per pixel, no maxval.
bool isBitKind(int32_t kind) { return kind == kPlainBits || kind == kRawBits; }

// P4, P5 and P6: binary rasters.
bool isRawKind(int32_t kind) { return kind >= kRawBits; }

// Whether the kind and every number the kind needs are known.
bool headerComplete(const PNMHeader& header) {
  if (header.kind == 0) return false;
  return header.numbers >=
         (isBitKind(header.kind) ? kNumbersWithoutMaxval : kNumbersWithMaxval);
}

// Value rounded up to a multiple of 8, wrapping in 32 bits.
uint32_t widenedToBytes(uint32_t value) {
  return (value + kBitsPerByte - 1) / kBitsPerByte * kBitsPerByte;
}

// Files the number as width, height or maxval, whichever comes first
// unknown; ignored once all three are known.
void takeNumber(PNMHeader* header, uint32_t value) {
  if (header->numbers == 0) {
    header->width = header->widenBits && isBitKind(header->kind)
                        ? widenedToBytes(value)
                        : value;
  } else if (header->numbers == 1) {
    header->height = value;
  }
  if (header->numbers < kNumbersWithMaxval) ++header->numbers;
}

// Reads header tokens until the header is complete; false when the input
// ends first or the kind byte is not '1'..'6'. Decimal numbers wrap in
// unsigned 32-bit arithmetic. With consumeNumberEnd (the file reader) the
// byte after a number's digits is consumed with it; otherwise it starts the
// next token.
template <typename Bytes>
bool readHeader(Bytes* in, bool consumeNumberEnd, PNMHeader* header) {
  while (!headerComplete(*header)) {
    const int first = peekByte(in);
    if (first == kEndOfInput) return false;
    advanceByte(in);
    if (isSeparator(first)) continue;
    if (first == kKindMarker && header->kind == 0) {
      const int kind = peekByte(in);
      if (kind < '0' + kPlainBits || kind > '0' + kRawColour) return false;
      advanceByte(in);
      header->kind = kind - '0';
    } else if (first == kCommentMarker) {
      int byte;
      do {
        byte = peekByte(in);
        if (byte == kEndOfInput) return false;
        advanceByte(in);
      } while (byte != kLineFeed);
    } else {
      // A token that does not start with a digit counts as the number 0.
      uint32_t value = 0;
      if (isDigit(first)) {
        value = static_cast<uint32_t>(first - '0');
        for (int digit = peekByte(in); isDigit(digit); digit = peekByte(in)) {
          value = value * kDecimalBase + static_cast<uint32_t>(digit - '0');
          advanceByte(in);
        }
        if (consumeNumberEnd) advanceByte(in);
      }
      takeNumber(header, value);
    }
  }
  return true;
}

// A 32-bit header value as the signed size it stands for (two's complement
// wrap, so values from 2^31 up are negative).
int32_t asSigned(uint32_t value) { return static_cast<int32_t>(value); }

// New zeroed image of the header's size. Null after one report when the
// width or height is zero or negative, when there are more than
// kIMGMaxReadPixels pixels, or when memory runs out.
IMG* newRasterImage(const PNMHeader& header) {
  const int32_t width = asSigned(header.width);
  const int32_t height = asSigned(header.height);
  if (width == 0 || height == 0) {
    IMGError();
    return nullptr;
  }
  if (width < 0 || height < 0 || int64_t{width} * height > kIMGMaxReadPixels) {
    IMGError();
    return nullptr;
  }
  IMG* image = IMGNew();
  if (image == nullptr) return nullptr;  // IMGNew has reported
  IMGResize(image, width, height);
  if (image->pixels == nullptr) {
    IMGFree(&image);
    IMGError();
    return nullptr;
  }
  return image;
}

// Pixel of a grey sample: the sample in all three channels, or-combined, so
// samples above 255 reach into the next channel.
uint32_t greyPixel(uint32_t grey) {
  return (grey << kRedShift) | (grey << kGreenShift) | grey;
}

// Pixel of three colour samples, or-combined unscaled.
uint32_t colourPixel(uint32_t red, uint32_t green, uint32_t blue) {
  return (red << kRedShift) | (green << kGreenShift) | blue;
}

// A P1 sample or P4 bit: non-zero is white.
uint32_t bitPixel(uint32_t sample) { return sample != 0 ? kWhite : kBlack; }

// ---- File raster --------------------------------------------------------

// The next raster byte, read ahead a block at a time; kEndOfInput once the
// file has ended.
int rasterByte(FileRaster* in) {
  if (in->next == in->end) {
    if (in->ended) return kEndOfInput;
    const size_t got = std::fread(in->block, 1, kRasterBlock, in->file);
    in->ended = got == 0;
    if (in->ended) return kEndOfInput;
    in->next = in->block;
    in->end = in->block + got;
  }
  return *in->next++;
}

// A raw byte of the file; the end of the file gives 0xFFFFFFFF (the end
// value -1 with every bit set).
uint32_t rawFileByte(FileRaster* in) {
  return static_cast<uint32_t>(rasterByte(in));
}

// Next plain-text sample of the file: passes over bytes up to a digit and
// reads the run of digits there (wrapping in 32 bits), consuming the byte
// after it. False at the end of the file.
bool plainFileSample(FileRaster* in, uint32_t* sample) {
  int byte;
  do {
    byte = rasterByte(in);
    if (byte == kEndOfInput) return false;
  } while (!isDigit(byte));
  uint32_t value = static_cast<uint32_t>(byte - '0');
  for (byte = rasterByte(in); isDigit(byte); byte = rasterByte(in)) {
    value = value * kDecimalBase + static_cast<uint32_t>(byte - '0');
  }
  *sample = value;
  return true;
}

// Pixel of the samples of a plain kind: P1 and P2 take one, P3 three.
uint32_t plainPixel(int32_t kind, const uint32_t* samples) {
  if (kind == kPlainBits) return bitPixel(samples[0]);
  if (kind == kPlainGrey) return greyPixel(samples[0]);
  return colourPixel(samples[0], samples[1], samples[2]);
}

// Decodes the plain samples of the file into count pixels. Samples missing
// at the end count as 0: a pixel cut short keeps the samples it got, later
// pixels stay 0. (One call site, so the sample reader is inlined.)
void readPlainFileRaster(FileRaster* in, int32_t kind, uint32_t* pixels,
                         int64_t count) {
  const int perPixel = kind == kPlainColour ? kColourSamples : 1;
  uint32_t samples[kColourSamples] = {0, 0, 0};
  int taken = 0;  // samples of the current pixel read so far
  int64_t i = 0;
  while (i < count && plainFileSample(in, &samples[taken])) {
    if (++taken < perPixel) continue;
    pixels[i++] = plainPixel(kind, samples);
    taken = 0;
    samples[0] = samples[1] = samples[2] = 0;
  }
  if (taken > 0) pixels[i] = plainPixel(kind, samples);
}

// Decodes the file's raster into the image. Plain samples missing at the
// end leave their pixels 0; raw bytes missing at the end count as -1.
void readFileRaster(FileRaster* file, int32_t kind, IMG* image) {
  const int64_t count = int64_t{image->width} * image->height;
  uint32_t* pixel = image->pixels;
  switch (kind) {
    case kPlainBits:
    case kPlainGrey:
    case kPlainColour:
      readPlainFileRaster(file, kind, pixel, count);
      return;
    case kRawBits:
      // Every row starts with a fresh byte; the bits past the width in a
      // row's last byte are not used.
      for (int32_t y = 0; y < image->height; ++y) {
        uint32_t bits = 0;
        for (int32_t x = 0; x < image->width; ++x, ++pixel) {
          if (x % kBitsPerByte == 0) bits = rawFileByte(file);
          *pixel = bitPixel(bits & (kLeftmostBit >> (x % kBitsPerByte)));
        }
      }
      return;
    case kRawGrey:
      for (int64_t i = 0; i < count; ++i) {
        pixel[i] = greyPixel(rawFileByte(file));
      }
      return;
    default:  // kRawColour
      for (int64_t i = 0; i < count; ++i) {
        const uint32_t red = rawFileByte(file);
        const uint32_t green = rawFileByte(file);
        pixel[i] = colourPixel(red, green, rawFileByte(file));
      }
      return;
  }
}

// Reads header and raster from the open file; null after one report.
IMG* loadFromFile(FILE* file) {
  PNMHeader header = {};
  FileBytes in = {file, 0, false};
  if (!readHeader(&in, true, &header)) {
    IMGError();
    return nullptr;
  }
  IMG* image = newRasterImage(header);
  if (image != nullptr) {
    FileRaster raster;
    raster.file = file;
    raster.next = raster.end = raster.block;
    raster.ended = false;
    readFileRaster(&raster, header.kind, image);
  }
  return image;
}

// ---- Buffer raster ------------------------------------------------------

// Next plain-text sample of the buffer: passes over bytes up to a digit and
// reads the run of digits there (wrapping in 32 bits). False at the
// terminating zero, which is never passed.
bool plainBufferSample(const unsigned char** at, uint32_t* sample) {
  const unsigned char* p = *at;
  while (!isDigit(*p)) {
    if (*p == 0) {
      *at = p;
      return false;
    }
    ++p;
  }
  uint32_t value = 0;
  for (; isDigit(*p); ++p) {
    value = value * kDecimalBase + static_cast<uint32_t>(*p - '0');
  }
  *at = p;
  *sample = value;
  return true;
}

// Next P1 digit of the buffer, one digit per sample. False at the
// terminating zero.
bool plainBufferDigit(const unsigned char** at, uint32_t* sample) {
  const unsigned char* p = *at;
  while (!isDigit(*p)) {
    if (*p == 0) {
      *at = p;
      return false;
    }
    ++p;
  }
  *sample = static_cast<uint32_t>(*p - '0');
  *at = p + 1;
  return true;
}

// Decodes the raster that starts at p into the image. Raw rasters are read
// by count (the caller guarantees the bytes); plain samples missing before
// the terminating zero leave their pixels 0.
void readBufferRaster(const unsigned char* p, int32_t kind, IMG* image) {
  const int64_t count = int64_t{image->width} * image->height;
  uint32_t* pixel = image->pixels;
  switch (kind) {
    case kPlainBits:
      for (int64_t i = 0; i < count; ++i) {
        uint32_t sample;
        if (!plainBufferDigit(&p, &sample)) return;
        pixel[i] = bitPixel(sample);
      }
      return;
    case kPlainGrey:
      for (int64_t i = 0; i < count; ++i) {
        uint32_t sample;
        if (!plainBufferSample(&p, &sample)) return;
        pixel[i] = greyPixel(sample);
      }
      return;
    case kPlainColour:
      for (int64_t i = 0; i < count; ++i) {
        uint32_t red = 0, green = 0, blue = 0;
        const bool complete = plainBufferSample(&p, &red) &&
                              plainBufferSample(&p, &green) &&
                              plainBufferSample(&p, &blue);
        pixel[i] = colourPixel(red, green, blue);
        if (!complete) return;
      }
      return;
    case kRawBits:
      // One continuous bit string: pixel i is bit i mod 8 of byte i / 8.
      for (int64_t i = 0; i < count; ++i) {
        pixel[i] = bitPixel(p[i / kBitsPerByte] &
                            (kLeftmostBit >> (i % kBitsPerByte)));
      }
      return;
    case kRawGrey:
      for (int64_t i = 0; i < count; ++i) pixel[i] = greyPixel(p[i]);
      return;
    default:  // kRawColour
      for (int64_t i = 0; i < count; ++i, p += 3) {
        pixel[i] = colourPixel(p[0], p[1], p[2]);
      }
      return;
  }
}

}  // namespace

// ---- PNM files ----------------------------------------------------------

// Opens the file, reads header and raster, closes the file on every path.
IMG* IMGLoadPNM(const char* fileName) {
  if (fileName == nullptr) {
    IMGError();
    return nullptr;
  }
  FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) {
    IMGError();
    return nullptr;
  }
  IMG* image = loadFromFile(file);
  std::fclose(file);
  return image;
}

// Reads the header from the buffer, skips the one byte after it and decodes
// the raster. For plain kinds the skip never passes the terminating zero,
// so plain samples are only ever searched inside the buffer.
IMG* IMGParsePNM(const char* buffer) {
  if (buffer == nullptr) {
    IMGError();
    return nullptr;
  }
  PNMHeader header = {};
  header.widenBits = true;
  BufferBytes in = {reinterpret_cast<const unsigned char*>(buffer), 0};
  if (!readHeader(&in, false, &header)) {
    IMGError();
    return nullptr;
  }
  if (isRawKind(header.kind) || peekByte(&in) != kEndOfInput) advanceByte(&in);
  IMG* image = newRasterImage(header);
  if (image != nullptr) readBufferRaster(in.bytes + in.at, header.kind, image);
  return image;
}

// Writes "P6\n<w> <h>\n255\n" and three bytes per pixel, one byte at a time.
bool IMGSavePNM(const IMG* image, const char* fileName) {
  if (image == nullptr || image->pixels == nullptr || fileName == nullptr ||
      image->width == 0 || image->height == 0) {
    IMGError();
    return false;
  }
  FILE* file = std::fopen(fileName, "wb");
  if (file == nullptr) {
    IMGError();
    return false;
  }
  std::fprintf(file, "P6\n%d %d\n%d\n", static_cast<int>(image->width),
               static_cast<int>(image->height), kWrittenMaxval);
  const int64_t count = int64_t{image->width} * image->height;
  for (int64_t i = 0; i < count; ++i) {
    const uint32_t value = image->pixels[i];
    putc_unlocked(static_cast<int>((value >> kRedShift) & kChannelMask), file);
    putc_unlocked(static_cast<int>((value >> kGreenShift) & kChannelMask),
                  file);
    putc_unlocked(static_cast<int>(value & kChannelMask), file);
  }
  std::fclose(file);
  return true;
}
