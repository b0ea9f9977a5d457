// img text form — an image as a plain P3 pixmap between "IMG{" and "}", the
// reader of that form and the substring search that finds its markers.
//
// No switches of its own; reports go through IMGError (img_core.cpp).
// Depends on util (allocation).
#include <cstdint>
#include <cstdio>   // snprintf
#include <cstdlib>  // free
#include <cstring>  // memcpy, strlen, strstr

#include "img/img.h"
#include "util/util.h"

namespace {

// ---- Constants ----------------------------------------------------------

// The whole form of an image without pixels (zero terminator included).
constexpr char kEmptyForm[] = "IMG{}";

// Header of the form: tag, opening brace, kind, width and height, maxval.
constexpr char kHeaderFormat[] = "IMG{\nP3\n%d %d\n255\n";

// End of the form (zero terminator included).
constexpr char kClosing[] = "}\n";

// Markers the reader looks for, in this order, each after the one before.
constexpr const char* kMarkers[] = {"IMG", "{", "P3\n"};

constexpr int64_t kFieldChars = 4;     // one "%3d " sample field
constexpr int64_t kPixelChars = 12;    // red, green and blue fields
constexpr int64_t kPixelsPerLine = 6;  // pixels on one raster line

// Buffer bytes beyond 12 per pixel and one per raster line: the header's 14
// fixed characters, 12 for the digits of the two sizes, "}\n" and the
// terminating zero. (Sizes with more than 12 digits together belong to
// images of 10^11 pixels or more, whose n div 6 leaves ample room.)
constexpr int64_t kFixedBufferChars = 29;

// Largest buffer the writer hands out: its size must fit in a signed 32-bit
// int.
constexpr int64_t kMaxTextBytes = INT32_MAX;

constexpr int kRedShift = 16;    // bit position of the red channel
constexpr int kGreenShift = 8;   // bit position of the green channel
constexpr uint32_t kChannelMask = 0xFF;
constexpr uint32_t kDecimalBase = 10;

// ---- Helpers ------------------------------------------------------------

// Writes a channel value 0..255 as "%3d " does: right-aligned in three
// places, then a space.
void writeField(char* at, uint32_t value) {
  constexpr uint32_t kHundred = kDecimalBase * kDecimalBase;
  at[0] = value >= kHundred ? static_cast<char>('0' + value / kHundred) : ' ';
  at[1] = value >= kDecimalBase
              ? static_cast<char>('0' + value / kDecimalBase % kDecimalBase)
              : ' ';
  at[2] = static_cast<char>('0' + value % kDecimalBase);
  at[3] = ' ';
}

// Whether the character is a decimal digit.
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the run of decimal digits at the position and moves past it; no
// digits give 0. The value wraps modulo 2^32, as in the PNM readers.
uint32_t readNumber(const char** at) {
  uint32_t value = 0;
  for (; isDigit(**at); ++*at) {
    value = value * kDecimalBase + static_cast<uint32_t>(**at - '0');
  }
  return value;
}

// Passes over one character, unless it is the terminating zero.
void passSeparator(const char** at) {
  if (**at != '\0') ++*at;
}

// Passes over characters up to the next digit and reads the number there;
// false, with the sample untouched, when the text ends first.
bool readSample(const char** at, uint32_t* sample) {
  while (**at != '\0' && !isDigit(**at)) ++*at;
  if (**at == '\0') return false;
  *sample = readNumber(at);
  return true;
}

// Position just past the first occurrence of the pattern in the text; null
// when it does not occur or either of them is empty.
const char* findEnd(const char* text, const char* pattern) {
  if (*text == '\0' || *pattern == '\0') return nullptr;
  const char* start = std::strstr(text, pattern);
  return start == nullptr ? nullptr : start + std::strlen(pattern);
}

}  // namespace

// ---- Text form ----------------------------------------------------------

// Builds the whole form in one buffer sized up front; every pixel takes
// exactly 12 characters after the header.
char* IMGToASCII(const IMG* image) {
  if (image == nullptr || image->pixels == nullptr) {
    IMGError();
    return nullptr;
  }
  const int64_t count = int64_t{image->width} * image->height;
  if (count == 0) {
    char* text = static_cast<char*>(MEMAlloc(sizeof kEmptyForm, 1));
    if (text == nullptr) {
      IMGError();
      return nullptr;
    }
    std::memcpy(text, kEmptyForm, sizeof kEmptyForm);
    return text;
  }
  const int64_t size =
      kPixelChars * count + count / kPixelsPerLine + kFixedBufferChars;
  char* text =
      size > kMaxTextBytes ? nullptr : static_cast<char*>(MEMAlloc(size, 1));
  if (text == nullptr) {
    IMGError();
    return nullptr;
  }
  const int header = std::snprintf(text, static_cast<size_t>(size),
                                   kHeaderFormat, image->width, image->height);
  char* at = text + header;
  for (int64_t j = 0; j < count; ++j, at += kPixelChars) {
    const uint32_t value = image->pixels[j];
    writeField(at, (value >> kRedShift) & kChannelMask);
    writeField(at + kFieldChars, (value >> kGreenShift) & kChannelMask);
    writeField(at + 2 * kFieldChars, value & kChannelMask);
    if ((j + 1) % kPixelsPerLine == 0) at[kPixelChars - 1] = '\n';
  }
  at[-1] = '\n';
  std::memcpy(at, kClosing, sizeof kClosing);
  return text;
}

// Finds the markers one after the other, then reads the sizes and samples
// with a position that only moves forward and never passes the terminating
// zero.
IMG* IMGFromASCII(const char* text) {
  if (text == nullptr) {
    IMGError();
    return nullptr;
  }
  const char* at = text;
  for (const char* marker : kMarkers) {
    at = findEnd(at, marker);
    if (at == nullptr) {
      IMGError();
      return nullptr;
    }
  }
  const uint32_t width = readNumber(&at);
  passSeparator(&at);
  const uint32_t height = readNumber(&at);
  passSeparator(&at);
  readNumber(&at);  // the maxval: samples are taken unscaled
  passSeparator(&at);
  if (width > INT32_MAX || height > INT32_MAX ||
      int64_t{width} * height > kIMGMaxReadPixels) {
    IMGError();
    return nullptr;
  }

  IMG* image = IMGNew();
  if (image == nullptr) return nullptr;
  IMGResize(image, static_cast<int32_t>(width), static_cast<int32_t>(height));
  if (image->pixels == nullptr) {
    IMGFree(&image);
    IMGError();
    return nullptr;
  }
  const int64_t count = int64_t{width} * height;
  for (int64_t j = 0; j < count; ++j) {
    uint32_t red = 0, green = 0, blue = 0;
    const bool complete = readSample(&at, &red) &&
                          readSample(&at, &green) && readSample(&at, &blue);
    image->pixels[j] = (red << kRedShift) | (green << kGreenShift) | blue;
    if (!complete) break;
  }
  return image;
}

// strstr with the form's conventions: the index after the match, 0 for no
// match (also for an empty text or pattern, and for a match ending beyond
// the 32-bit index range).
int32_t IMGFindText(const char* text, const char* pattern) {
  if (text == nullptr || pattern == nullptr) {
    IMGError();
    return 0;
  }
  const char* end = findEnd(text, pattern);
  if (end == nullptr || end - text > INT32_MAX) return 0;
  return static_cast<int32_t>(end - text);
}
