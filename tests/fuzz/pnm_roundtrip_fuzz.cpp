// Fuzz target: an image made from the input (width and height from the
// first two bytes, then three bytes per pixel) is saved with IMGSavePNM and
// read back with IMGLoadPNM and IMGParsePNM; both must equal it.
#include <unistd.h>  // getpid

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "img/img.h"
#include "util/util.h"

namespace {

constexpr int32_t kSides = 33;  // widths and heights 0..32

// The file the images are saved to, one per fuzzing process.
std::string gPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  gPath =
      "/tmp/asciidemo_pnm_roundtrip_fuzz_" + std::to_string(getpid()) + ".ppm";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  IMG* image = IMGNew();
  IMGResize(image, data[0] % kSides, data[1] % kSides);
  const int64_t count = int64_t{image->width} * image->height;
  for (int64_t i = 0; i < count; ++i) {
    const size_t at = 2 + static_cast<size_t>(i) * 3;
    if (at + 2 >= size) break;
    image->pixels[i] =
        uint32_t{data[at]} << 16 | uint32_t{data[at + 1]} << 8 | data[at + 2];
  }
  const bool saved = IMGSavePNM(image, gPath.c_str());
  fuzz::Require(saved == (count > 0), "saving succeeds exactly when not empty");
  if (saved) {
    IMG* loaded = IMGLoadPNM(gPath.c_str());
    fuzz::Require(loaded != nullptr && IMGEqual(image, loaded),
                  "IMGLoadPNM gives the saved image");
    char* bytes = FILRead(gPath.c_str());
    IMG* parsed = IMGParsePNM(bytes);
    fuzz::Require(parsed != nullptr && IMGEqual(image, parsed),
                  "IMGParsePNM gives the saved image");
    std::free(bytes);
    IMGFree(&loaded);
    IMGFree(&parsed);
  }
  IMGFree(&image);
  return 0;
}
