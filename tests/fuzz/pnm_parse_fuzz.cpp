// Fuzz target: IMGParsePNM on the input plus a terminating zero. For raw
// kinds the buffer is padded with zero bytes so that it holds every raster
// byte the header announces (the reader's precondition). Checks the size of
// the image against an independent reading of the header.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "img/img.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Header header = fuzz::ScanHeader(data, size, false);
  size_t rasterBytes = 0;
  if (fuzz::Acceptable(header)) {
    const int64_t pixels = fuzz::Pixels(header);
    if (pixels > fuzz::kMaxPixels) return 0;  // valid but slow
    if (header.kind == 4) rasterBytes = static_cast<size_t>((pixels + 7) / 8);
    if (header.kind == 5) rasterBytes = static_cast<size_t>(pixels);
    if (header.kind == 6) rasterBytes = static_cast<size_t>(pixels) * 3;
  }
  // Input, then zeros up to the end of the announced raster, then the
  // terminating zero.
  const size_t end = header.rasterStart + rasterBytes;
  std::vector<char> buffer((end > size ? end : size) + 1, 0);
  if (size > 0) std::memcpy(buffer.data(), data, size);
  fuzz::CheckImage(IMGParsePNM(buffer.data()), header);
  return 0;
}
