// Fuzz target: IMGLoadPNM on the input written to a file. Checks the size
// of the image against an independent reading of the header.
#include <unistd.h>  // getpid

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_support.h"
#include "img/img.h"

namespace {

// The file the inputs are written to, one per fuzzing process.
std::string gPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  gPath = "/tmp/asciidemo_pnm_load_fuzz_" + std::to_string(getpid()) + ".pnm";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Header header = fuzz::ScanHeader(data, size, true);
  if (fuzz::Acceptable(header) && fuzz::Pixels(header) > fuzz::kMaxPixels) {
    return 0;  // valid but slow; the size checks are covered by unit tests
  }
  FILE* file = std::fopen(gPath.c_str(), "wb");
  fuzz::Require(file != nullptr, "cannot write the input file");
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  fuzz::CheckImage(IMGLoadPNM(gPath.c_str()), header);
  return 0;
}
