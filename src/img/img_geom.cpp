// img geometry — integer distribution, scaling by repeating and dropping
// whole pixels, rotation about the centre through a fixed-point sine table,
// and the point lists of straight lines.
//
// No switches of its own; reports go through IMGError (img_core.cpp).
// Depends on util (allocation).
#include <algorithm>  // min, max
#include <cstdint>
#include <cstdlib>    // free
#include <cstring>    // memcpy

#include "img/img.h"
#include "util/util.h"

namespace {

// ---- Constants ----------------------------------------------------------

// Angle steps in a full turn, and the length of the sine table.
constexpr int32_t kSineSteps = 1024;

// Angle steps in a quarter turn: the cosine is the sine a quarter ahead.
constexpr int32_t kQuarterTurn = kSineSteps / 4;

// Sine of every angle step in fixed point: entry i is the integer nearest
// to 32767 × sin(2π i / 1024), except 256 and 768 (±32766 instead of
// ±32767), 129, 383, 641, 895 (±23312 instead of ±23311) and 183, 329, 695,
// 841 (±29535 instead of ±29534). Each line starts with the index shown.
constexpr int16_t kSine[kSineSteps] = {
    /*    0 */ 0, 201, 402, 603, 804, 1005, 1206, 1407,
    /*    8 */ 1608, 1809, 2009, 2210, 2410, 2611, 2811, 3012,
    /*   16 */ 3212, 3412, 3612, 3811, 4011, 4210, 4410, 4609,
    /*   24 */ 4808, 5007, 5205, 5404, 5602, 5800, 5998, 6195,
    /*   32 */ 6393, 6590, 6786, 6983, 7179, 7375, 7571, 7767,
    /*   40 */ 7962, 8157, 8351, 8545, 8739, 8933, 9126, 9319,
    /*   48 */ 9512, 9704, 9896, 10087, 10278, 10469, 10659, 10849,
    /*   56 */ 11039, 11228, 11417, 11605, 11793, 11980, 12167, 12353,
    /*   64 */ 12539, 12725, 12910, 13094, 13279, 13462, 13645, 13828,
    /*   72 */ 14010, 14191, 14372, 14553, 14732, 14912, 15090, 15269,
    /*   80 */ 15446, 15623, 15800, 15976, 16151, 16325, 16499, 16673,
    /*   88 */ 16846, 17018, 17189, 17360, 17530, 17700, 17869, 18037,
    /*   96 */ 18204, 18371, 18537, 18703, 18868, 19032, 19195, 19357,
    /*  104 */ 19519, 19680, 19841, 20000, 20159, 20317, 20475, 20631,
    /*  112 */ 20787, 20942, 21096, 21250, 21403, 21554, 21705, 21856,
    /*  120 */ 22005, 22154, 22301, 22448, 22594, 22739, 22884, 23027,
    /*  128 */ 23170, 23312, 23452, 23592, 23731, 23870, 24007, 24143,
    /*  136 */ 24279, 24413, 24547, 24680, 24811, 24942, 25072, 25201,
    /*  144 */ 25329, 25456, 25582, 25708, 25832, 25955, 26077, 26198,
    /*  152 */ 26319, 26438, 26556, 26674, 26790, 26905, 27019, 27133,
    /*  160 */ 27245, 27356, 27466, 27575, 27683, 27790, 27896, 28001,
    /*  168 */ 28105, 28208, 28310, 28411, 28510, 28609, 28706, 28803,
    /*  176 */ 28898, 28992, 29085, 29177, 29268, 29358, 29447, 29535,
    /*  184 */ 29621, 29706, 29791, 29874, 29956, 30037, 30117, 30195,
    /*  192 */ 30273, 30349, 30424, 30498, 30571, 30643, 30714, 30783,
    /*  200 */ 30852, 30919, 30985, 31050, 31113, 31176, 31237, 31297,
    /*  208 */ 31356, 31414, 31470, 31526, 31580, 31633, 31685, 31736,
    /*  216 */ 31785, 31833, 31880, 31926, 31971, 32014, 32057, 32098,
    /*  224 */ 32137, 32176, 32213, 32250, 32285, 32318, 32351, 32382,
    /*  232 */ 32412, 32441, 32469, 32495, 32521, 32545, 32567, 32589,
    /*  240 */ 32609, 32628, 32646, 32663, 32678, 32692, 32705, 32717,
    /*  248 */ 32728, 32737, 32745, 32752, 32757, 32761, 32765, 32766,
    /*  256 */ 32766, 32766, 32765, 32761, 32757, 32752, 32745, 32737,
    /*  264 */ 32728, 32717, 32705, 32692, 32678, 32663, 32646, 32628,
    /*  272 */ 32609, 32589, 32567, 32545, 32521, 32495, 32469, 32441,
    /*  280 */ 32412, 32382, 32351, 32318, 32285, 32250, 32213, 32176,
    /*  288 */ 32137, 32098, 32057, 32014, 31971, 31926, 31880, 31833,
    /*  296 */ 31785, 31736, 31685, 31633, 31580, 31526, 31470, 31414,
    /*  304 */ 31356, 31297, 31237, 31176, 31113, 31050, 30985, 30919,
    /*  312 */ 30852, 30783, 30714, 30643, 30571, 30498, 30424, 30349,
    /*  320 */ 30273, 30195, 30117, 30037, 29956, 29874, 29791, 29706,
    /*  328 */ 29621, 29535, 29447, 29358, 29268, 29177, 29085, 28992,
    /*  336 */ 28898, 28803, 28706, 28609, 28510, 28411, 28310, 28208,
    /*  344 */ 28105, 28001, 27896, 27790, 27683, 27575, 27466, 27356,
    /*  352 */ 27245, 27133, 27019, 26905, 26790, 26674, 26556, 26438,
    /*  360 */ 26319, 26198, 26077, 25955, 25832, 25708, 25582, 25456,
    /*  368 */ 25329, 25201, 25072, 24942, 24811, 24680, 24547, 24413,
    /*  376 */ 24279, 24143, 24007, 23870, 23731, 23592, 23452, 23312,
    /*  384 */ 23170, 23027, 22884, 22739, 22594, 22448, 22301, 22154,
    /*  392 */ 22005, 21856, 21705, 21554, 21403, 21250, 21096, 20942,
    /*  400 */ 20787, 20631, 20475, 20317, 20159, 20000, 19841, 19680,
    /*  408 */ 19519, 19357, 19195, 19032, 18868, 18703, 18537, 18371,
    /*  416 */ 18204, 18037, 17869, 17700, 17530, 17360, 17189, 17018,
    /*  424 */ 16846, 16673, 16499, 16325, 16151, 15976, 15800, 15623,
    /*  432 */ 15446, 15269, 15090, 14912, 14732, 14553, 14372, 14191,
    /*  440 */ 14010, 13828, 13645, 13462, 13279, 13094, 12910, 12725,
    /*  448 */ 12539, 12353, 12167, 11980, 11793, 11605, 11417, 11228,
    /*  456 */ 11039, 10849, 10659, 10469, 10278, 10087, 9896, 9704,
    /*  464 */ 9512, 9319, 9126, 8933, 8739, 8545, 8351, 8157,
    /*  472 */ 7962, 7767, 7571, 7375, 7179, 6983, 6786, 6590,
    /*  480 */ 6393, 6195, 5998, 5800, 5602, 5404, 5205, 5007,
    /*  488 */ 4808, 4609, 4410, 4210, 4011, 3811, 3612, 3412,
    /*  496 */ 3212, 3012, 2811, 2611, 2410, 2210, 2009, 1809,
    /*  504 */ 1608, 1407, 1206, 1005, 804, 603, 402, 201,
    /*  512 */ 0, -201, -402, -603, -804, -1005, -1206, -1407,
    /*  520 */ -1608, -1809, -2009, -2210, -2410, -2611, -2811, -3012,
    /*  528 */ -3212, -3412, -3612, -3811, -4011, -4210, -4410, -4609,
    /*  536 */ -4808, -5007, -5205, -5404, -5602, -5800, -5998, -6195,
    /*  544 */ -6393, -6590, -6786, -6983, -7179, -7375, -7571, -7767,
    /*  552 */ -7962, -8157, -8351, -8545, -8739, -8933, -9126, -9319,
    /*  560 */ -9512, -9704, -9896, -10087, -10278, -10469, -10659, -10849,
    /*  568 */ -11039, -11228, -11417, -11605, -11793, -11980, -12167, -12353,
    /*  576 */ -12539, -12725, -12910, -13094, -13279, -13462, -13645, -13828,
    /*  584 */ -14010, -14191, -14372, -14553, -14732, -14912, -15090, -15269,
    /*  592 */ -15446, -15623, -15800, -15976, -16151, -16325, -16499, -16673,
    /*  600 */ -16846, -17018, -17189, -17360, -17530, -17700, -17869, -18037,
    /*  608 */ -18204, -18371, -18537, -18703, -18868, -19032, -19195, -19357,
    /*  616 */ -19519, -19680, -19841, -20000, -20159, -20317, -20475, -20631,
    /*  624 */ -20787, -20942, -21096, -21250, -21403, -21554, -21705, -21856,
    /*  632 */ -22005, -22154, -22301, -22448, -22594, -22739, -22884, -23027,
    /*  640 */ -23170, -23312, -23452, -23592, -23731, -23870, -24007, -24143,
    /*  648 */ -24279, -24413, -24547, -24680, -24811, -24942, -25072, -25201,
    /*  656 */ -25329, -25456, -25582, -25708, -25832, -25955, -26077, -26198,
    /*  664 */ -26319, -26438, -26556, -26674, -26790, -26905, -27019, -27133,
    /*  672 */ -27245, -27356, -27466, -27575, -27683, -27790, -27896, -28001,
    /*  680 */ -28105, -28208, -28310, -28411, -28510, -28609, -28706, -28803,
    /*  688 */ -28898, -28992, -29085, -29177, -29268, -29358, -29447, -29535,
    /*  696 */ -29621, -29706, -29791, -29874, -29956, -30037, -30117, -30195,
    /*  704 */ -30273, -30349, -30424, -30498, -30571, -30643, -30714, -30783,
    /*  712 */ -30852, -30919, -30985, -31050, -31113, -31176, -31237, -31297,
    /*  720 */ -31356, -31414, -31470, -31526, -31580, -31633, -31685, -31736,
    /*  728 */ -31785, -31833, -31880, -31926, -31971, -32014, -32057, -32098,
    /*  736 */ -32137, -32176, -32213, -32250, -32285, -32318, -32351, -32382,
    /*  744 */ -32412, -32441, -32469, -32495, -32521, -32545, -32567, -32589,
    /*  752 */ -32609, -32628, -32646, -32663, -32678, -32692, -32705, -32717,
    /*  760 */ -32728, -32737, -32745, -32752, -32757, -32761, -32765, -32766,
    /*  768 */ -32766, -32766, -32765, -32761, -32757, -32752, -32745, -32737,
    /*  776 */ -32728, -32717, -32705, -32692, -32678, -32663, -32646, -32628,
    /*  784 */ -32609, -32589, -32567, -32545, -32521, -32495, -32469, -32441,
    /*  792 */ -32412, -32382, -32351, -32318, -32285, -32250, -32213, -32176,
    /*  800 */ -32137, -32098, -32057, -32014, -31971, -31926, -31880, -31833,
    /*  808 */ -31785, -31736, -31685, -31633, -31580, -31526, -31470, -31414,
    /*  816 */ -31356, -31297, -31237, -31176, -31113, -31050, -30985, -30919,
    /*  824 */ -30852, -30783, -30714, -30643, -30571, -30498, -30424, -30349,
    /*  832 */ -30273, -30195, -30117, -30037, -29956, -29874, -29791, -29706,
    /*  840 */ -29621, -29535, -29447, -29358, -29268, -29177, -29085, -28992,
    /*  848 */ -28898, -28803, -28706, -28609, -28510, -28411, -28310, -28208,
    /*  856 */ -28105, -28001, -27896, -27790, -27683, -27575, -27466, -27356,
    /*  864 */ -27245, -27133, -27019, -26905, -26790, -26674, -26556, -26438,
    /*  872 */ -26319, -26198, -26077, -25955, -25832, -25708, -25582, -25456,
    /*  880 */ -25329, -25201, -25072, -24942, -24811, -24680, -24547, -24413,
    /*  888 */ -24279, -24143, -24007, -23870, -23731, -23592, -23452, -23312,
    /*  896 */ -23170, -23027, -22884, -22739, -22594, -22448, -22301, -22154,
    /*  904 */ -22005, -21856, -21705, -21554, -21403, -21250, -21096, -20942,
    /*  912 */ -20787, -20631, -20475, -20317, -20159, -20000, -19841, -19680,
    /*  920 */ -19519, -19357, -19195, -19032, -18868, -18703, -18537, -18371,
    /*  928 */ -18204, -18037, -17869, -17700, -17530, -17360, -17189, -17018,
    /*  936 */ -16846, -16673, -16499, -16325, -16151, -15976, -15800, -15623,
    /*  944 */ -15446, -15269, -15090, -14912, -14732, -14553, -14372, -14191,
    /*  952 */ -14010, -13828, -13645, -13462, -13279, -13094, -12910, -12725,
    /*  960 */ -12539, -12353, -12167, -11980, -11793, -11605, -11417, -11228,
    /*  968 */ -11039, -10849, -10659, -10469, -10278, -10087, -9896, -9704,
    /*  976 */ -9512, -9319, -9126, -8933, -8739, -8545, -8351, -8157,
    /*  984 */ -7962, -7767, -7571, -7375, -7179, -6983, -6786, -6590,
    /*  992 */ -6393, -6195, -5998, -5800, -5602, -5404, -5205, -5007,
    /* 1000 */ -4808, -4609, -4410, -4210, -4011, -3811, -3612, -3412,
    /* 1008 */ -3212, -3012, -2811, -2611, -2410, -2210, -2009, -1809,
    /* 1016 */ -1608, -1407, -1206, -1005, -804, -603, -402, -201,
};

// Fixed-point unit of the sine products: a product is shifted down by 15.
constexpr int64_t kSineUnit = int64_t{1} << 15;

// Rotation result sides are side × 92667 >> 16: 1.41400 times the source
// side, just under the square root of 2.
constexpr int64_t kGrowthFactor = 92667;
constexpr int kGrowthShift = 16;

// Largest source side whose side × kGrowthFactor fits in a signed 32-bit
// int; larger sides are refused.
constexpr int32_t kMaxRotateSide = 23174;

// Largest element count of the arrays handed out here.
constexpr int64_t kMaxCount = INT32_MAX;

// Ints per point of a point list: x, then y.
constexpr int64_t kIntsPerPoint = 2;

// ---- Helpers ------------------------------------------------------------

// Magnitude of a 32-bit value, INT32_MIN included.
int64_t magnitude(int32_t value) {
  return value < 0 ? -int64_t{value} : int64_t{value};
}

// value >> 15 as an arithmetic shift: a division by 32768 rounded towards
// minus infinity, written without shifting a negative value.
int64_t shiftDown(int64_t value) {
  return value >= 0 ? value / kSineUnit
                    : -((-value + kSineUnit - 1) / kSineUnit);
}

// Sine table entry of an angle step, taken modulo 1024 also for negative
// angles.
int64_t sine(int64_t angle) {
  const int64_t index = angle % kSineSteps;
  return kSine[index < 0 ? index + kSineSteps : index];
}

// One result row from one source row through the column runs. Stretched
// (newWidth >= width): source column i fills runs[i] neighbouring columns.
// Squeezed: result column x keeps the last column of its block of runs[x].
void scaleRow(const uint32_t* from, int32_t width, uint32_t* to,
              int32_t newWidth, const int32_t* runs) {
  if (newWidth >= width) {
    for (int32_t i = 0; i < width; ++i) {
      const uint32_t value = from[i];
      for (int32_t r = runs[i]; r > 0; --r) *to++ = value;
    }
    return;
  }
  int64_t blockEnd = 0;  // one past the current block's last source column
  for (int32_t x = 0; x < newWidth; ++x) {
    blockEnd += runs[x];
    to[x] = from[blockEnd - 1];
  }
}

// Fills the result from the source with the column and row runs. Stretched
// rows are scaled once and copied into the rest of their run; a squeezed
// row block gives its bottom row when the columns are squeezed too, and its
// top row when they are stretched.
void fillScaled(const IMG* source, IMG* result, const int32_t* columnRuns,
                const int32_t* rowRuns) {
  const size_t rowBytes = static_cast<size_t>(result->width) * sizeof(uint32_t);
  uint32_t* to = result->pixels;
  if (result->height >= source->height) {
    const uint32_t* from = source->pixels;
    for (int32_t i = 0; i < source->height; ++i, from += source->width) {
      scaleRow(from, source->width, to, result->width, columnRuns);
      uint32_t* copy = to + result->width;
      for (int32_t r = 1; r < rowRuns[i]; ++r, copy += result->width) {
        std::memcpy(copy, to, rowBytes);
      }
      to = copy;
    }
    return;
  }
  const bool columnsSqueezed = result->width < source->width;
  int64_t blockStart = 0;  // first source row of the current row block
  for (int32_t y = 0; y < result->height; ++y, to += result->width) {
    const int64_t row =
        columnsSqueezed ? blockStart + rowRuns[y] - 1 : blockStart;
    scaleRow(source->pixels + row * source->width, source->width, to,
             result->width, columnRuns);
    blockStart += rowRuns[y];
  }
}

// New image of the given size, all 0; null when it cannot be made (IMGNew
// has reported when the record failed; a refused pixel array is silent).
IMG* newImage(int32_t width, int32_t height) {
  IMG* image = IMGNew();
  if (image == nullptr) return nullptr;
  IMGResize(image, width, height);
  if (image->pixels == nullptr) IMGFree(&image);
  return image;
}

}  // namespace

// ---- Geometry -----------------------------------------------------------

// Walks the b + 1 items through the a + 1 entries: e starts at b, each item
// lowers e by a, and once e ≤ 0 the walk adds b to e and moves to the next
// entry. An entry reached with e > 0 thus takes ⌈e / a⌉ items, computed in
// one step, so the walk costs one division per entry, not one step per item.
int32_t* IMGDistribute(int32_t p, int32_t q) {
  const int64_t a = std::min(magnitude(p), magnitude(q));
  const int64_t b = std::max(magnitude(p), magnitude(q));
  const int64_t largestRun = a == 0 ? b + 1 : (b + a - 1) / a;
  if (a + 1 > kMaxCount || largestRun > kMaxCount) return nullptr;
  int32_t* runs = static_cast<int32_t*>(MEMAlloc(a + 1, sizeof(int32_t)));
  if (runs == nullptr) return nullptr;
  if (a == 0) {
    runs[0] = static_cast<int32_t>(b + 1);
    return runs;
  }
  int64_t e = b;
  int64_t itemsLeft = b + 1;
  for (int64_t k = 0; k <= a; ++k) {
    const int64_t items = std::min((e + a - 1) / a, itemsLeft);
    runs[k] = static_cast<int32_t>(items);
    itemsLeft -= items;
    e += b - items * a;
  }
  return runs;
}

// Scales each axis by its runs from IMGDistribute; an empty source or
// result needs no runs and stays all 0.
IMG* IMGScale(const IMG* source, int32_t newWidth, int32_t newHeight) {
  if (source == nullptr || source->pixels == nullptr || newWidth < 0 ||
      newHeight < 0) {
    IMGError();
    return nullptr;
  }
  IMG* result = newImage(newWidth, newHeight);
  if (result == nullptr) return nullptr;
  if (source->width == 0 || source->height == 0 || newWidth == 0 ||
      newHeight == 0) {
    return result;
  }
  int32_t* columnRuns = IMGDistribute(newWidth, source->width);
  int32_t* rowRuns = IMGDistribute(newHeight, source->height);
  if (columnRuns != nullptr && rowRuns != nullptr) {
    fillScaled(source, result, columnRuns, rowRuns);
  } else {
    IMGFree(&result);
  }
  std::free(columnRuns);
  std::free(rowRuns);
  return result;
}

// Samples the source for every result pixel through the inverse rotation:
// u = (X cs >> 15) − (Y sn >> 15), v = (X sn >> 15) + (Y cs >> 15) about
// both centres, each product shifted on its own. The Y terms are the same
// for a whole row and are computed once per row.
IMG* IMGRotate(const IMG* source, int32_t angle) {
  if (source == nullptr || source->pixels == nullptr ||
      source->width > kMaxRotateSide || source->height > kMaxRotateSide) {
    IMGError();
    return nullptr;
  }
  const int32_t width = source->width;
  const int32_t height = source->height;
  const int32_t newWidth =
      static_cast<int32_t>((width * kGrowthFactor) >> kGrowthShift);
  const int32_t newHeight =
      static_cast<int32_t>((height * kGrowthFactor) >> kGrowthShift);
  IMG* result = newImage(newWidth, newHeight);
  if (result == nullptr) return nullptr;

  const int64_t sn = sine(-int64_t{angle});
  const int64_t cs = sine(-int64_t{angle} - kQuarterTurn);
  const int64_t centreX = width / 2, centreY = height / 2;
  uint32_t* to = result->pixels;
  for (int64_t y = 0; y < newHeight; ++y) {
    const int64_t dy = y - newHeight / 2;
    const int64_t rowU = shiftDown(dy * sn);
    const int64_t rowV = shiftDown(dy * cs);
    for (int64_t x = 0; x < newWidth; ++x) {
      const int64_t dx = x - newWidth / 2;
      const int64_t u = shiftDown(dx * cs) - rowU;
      const int64_t v = shiftDown(dx * sn) + rowV;
      *to++ = IMGGetPixel(source, static_cast<int32_t>(centreX + u),
                          static_cast<int32_t>(centreY + v));
    }
  }
  return result;
}

// Walks the major axis one step per point; the error term e, starting at
// M div 2, moves the minor coordinate each time it drops to 0 or below. A
// line of M = 1 is just its two ends. Coordinates run in 64 bits, so the
// step past the end point cannot overflow.
int32_t* IMGLinePoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  const int64_t dx = int64_t{x1} - x0, dy = int64_t{y1} - y0;
  const int64_t stepX = dx < 0 ? -1 : 1, stepY = dy < 0 ? -1 : 1;
  const bool xMajor = std::abs(dx) > std::abs(dy);
  const int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
  const int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
  const int64_t count = 1 + kIntsPerPoint * (major + 1);  // 2M + 3
  if (count > kMaxCount) return nullptr;
  int32_t* list = static_cast<int32_t*>(MEMAlloc(count, sizeof(int32_t)));
  if (list == nullptr) return nullptr;
  list[0] = static_cast<int32_t>(count - 1);
  if (major == 1) {
    list[1] = x0;
    list[2] = y0;
    list[3] = x1;
    list[4] = y1;
    return list;
  }
  int64_t x = x0, y = y0;
  int64_t& majorCoordinate = xMajor ? x : y;
  int64_t& minorCoordinate = xMajor ? y : x;
  const int64_t majorStep = xMajor ? stepX : stepY;
  const int64_t minorStep = xMajor ? stepY : stepX;
  int64_t e = major / 2;
  int32_t* at = list + 1;
  for (int64_t k = 0; k <= major; ++k) {
    *at++ = static_cast<int32_t>(x);
    *at++ = static_cast<int32_t>(y);
    majorCoordinate += majorStep;
    e -= minor;
    if (e <= 0) {
      e += major;
      minorCoordinate += minorStep;
    }
  }
  return list;
}
