// PNM reading speed: IMGLoadPNM and IMGParsePNM on a 4096 × 4096 P6 and a
// 1024 × 1024 P3 picture, each next to a plain reader measured in the same
// run, printed at the end as ratios (ours / plain; lower is faster).
//
// The plain readers: for P6, the header, then one fread of the whole raster
// packed into 0x00RRGGBB pixels; for P3, one read of the whole file parsed
// with a pointer. Their memory versions do the same on the buffer already
// in memory. Every reader allocates a zeroed pixel array, as ours do.
// Targets: P6 within 1.2 times, P3 within 1.5 times the plain reader.
// The fastest of interleaved repetitions counts (bench_ratio.h).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "img/img.h"

namespace {

constexpr int32_t kRawSide = 4096;    // the P6 picture is kRawSide squared
constexpr int32_t kPlainSide = 1024;  // the P3 picture is kPlainSide squared
constexpr int kChannels = 3;
constexpr uint32_t kSeed = 42;

// ---- Test pictures ------------------------------------------------------

// Path of a benchmark file in the temporary directory.
std::string TempPath(const char* name) {
  const char* directory = std::getenv("TMPDIR");
  return std::string(directory != nullptr ? directory : "/tmp") +
         "/asciidemo_pnm_bench_" + name;
}

const std::string kRawPath = TempPath("raw.ppm");
const std::string kPlainPath = TempPath("plain.ppm");

// The whole file plus a terminating zero, in a new buffer (released with
// free); null when it cannot be read.
char* ReadWhole(const char* path, long* size) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  std::fseek(file, 0, SEEK_END);
  *size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  char* bytes = static_cast<char*>(std::malloc(static_cast<size_t>(*size) + 1));
  const size_t got = std::fread(bytes, 1, static_cast<size_t>(*size), file);
  std::fclose(file);
  bytes[got] = '\0';
  return bytes;
}

// Writes the P6 and P3 pictures of random pixels.
void MakePictures() {
  std::mt19937 random(kSeed);
  FILE* raw = std::fopen(kRawPath.c_str(), "wb");
  std::fprintf(raw, "P6\n%d %d\n255\n", kRawSide, kRawSide);
  for (int64_t i = 0; i < int64_t{kRawSide} * kRawSide * kChannels; ++i) {
    std::fputc(static_cast<int>(random() & 0xFF), raw);
  }
  std::fclose(raw);
  FILE* plain = std::fopen(kPlainPath.c_str(), "wb");
  std::fprintf(plain, "P3\n%d %d\n255\n", kPlainSide, kPlainSide);
  for (int32_t y = 0; y < kPlainSide; ++y) {
    for (int32_t x = 0; x < kPlainSide; ++x) {
      const unsigned red = random() & 0xFF;
      const unsigned green = random() & 0xFF;
      const unsigned blue = random() & 0xFF;
      std::fprintf(plain, "%u %u %u ", red, green, blue);
    }
    std::fputc('\n', plain);
  }
  std::fclose(plain);
}

// ---- Plain readers ------------------------------------------------------

// Reads a decimal number at p, moving p past it; passes over non-digits
// first. The header numbers and P3 samples of the plain readers.
uint32_t PlainNumber(const unsigned char** p) {
  const unsigned char* at = *p;
  while (*at != 0 && (*at < '0' || *at > '9')) ++at;
  uint32_t value = 0;
  for (; *at >= '0' && *at <= '9'; ++at) value = value * 10 + (*at - '0');
  *p = at;
  return value;
}

// Zeroed pixel array of the picture, as the readers under test allocate.
uint32_t* NewPixels(int64_t count) {
  return static_cast<uint32_t*>(std::calloc(static_cast<size_t>(count), 4));
}

// Packs count RGB triples into pixels.
void Pack(const unsigned char* rgb, int64_t count, uint32_t* pixels) {
  for (int64_t i = 0; i < count; ++i, rgb += kChannels) {
    pixels[i] = uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
  }
}

// P6 file: header by fscanf, one fread of the raster, then packing.
uint32_t* PlainLoadP6(const char* path) {
  FILE* file = std::fopen(path, "rb");
  int width = 0, height = 0, maxval = 0;
  if (std::fscanf(file, "P6 %d %d %d", &width, &height, &maxval) != 3) {
    std::fclose(file);
    return nullptr;
  }
  std::fgetc(file);
  const int64_t count = int64_t{width} * height;
  unsigned char* raster =
      static_cast<unsigned char*>(std::malloc(static_cast<size_t>(count) * 3));
  std::fread(raster, 1, static_cast<size_t>(count) * kChannels, file);
  std::fclose(file);
  uint32_t* pixels = NewPixels(count);
  Pack(raster, count, pixels);
  std::free(raster);
  return pixels;
}

// P6 buffer: header with a pointer, then packing.
uint32_t* PlainParseP6(const char* buffer) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(buffer) + 2;
  const int64_t width = PlainNumber(&p);
  const int64_t height = PlainNumber(&p);
  PlainNumber(&p);
  ++p;
  uint32_t* pixels = NewPixels(width * height);
  Pack(p, width * height, pixels);
  return pixels;
}

// P3 buffer: every number with a pointer.
uint32_t* PlainParseP3(const char* buffer) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(buffer) + 2;
  const int64_t width = PlainNumber(&p);
  const int64_t height = PlainNumber(&p);
  PlainNumber(&p);
  uint32_t* pixels = NewPixels(width * height);
  for (int64_t i = 0; i < width * height; ++i) {
    const uint32_t red = PlainNumber(&p);
    const uint32_t green = PlainNumber(&p);
    pixels[i] = red << 16 | green << 8 | PlainNumber(&p);
  }
  return pixels;
}

// P3 file: one read of the whole file, then the buffer parse.
uint32_t* PlainLoadP3(const char* path) {
  long size = 0;
  char* bytes = ReadWhole(path, &size);
  uint32_t* pixels = PlainParseP3(bytes);
  std::free(bytes);
  return pixels;
}

// ---- Benchmarks ---------------------------------------------------------

// Buffers of the two files for the memory readers, read once.
char* gRawBuffer = nullptr;
char* gPlainBuffer = nullptr;

void BM_P6_IMGLoadPNM(benchmark::State& state) {
  for (auto _ : state) {
    IMG* image = IMGLoadPNM(kRawPath.c_str());
    benchmark::DoNotOptimize(image->pixels);
    IMGFree(&image);
  }
}

void BM_P6_PlainFile(benchmark::State& state) {
  for (auto _ : state) {
    uint32_t* pixels = PlainLoadP6(kRawPath.c_str());
    benchmark::DoNotOptimize(pixels);
    std::free(pixels);
  }
}

void BM_P6_IMGParsePNM(benchmark::State& state) {
  for (auto _ : state) {
    IMG* image = IMGParsePNM(gRawBuffer);
    benchmark::DoNotOptimize(image->pixels);
    IMGFree(&image);
  }
}

void BM_P6_PlainMemory(benchmark::State& state) {
  for (auto _ : state) {
    uint32_t* pixels = PlainParseP6(gRawBuffer);
    benchmark::DoNotOptimize(pixels);
    std::free(pixels);
  }
}

void BM_P3_IMGLoadPNM(benchmark::State& state) {
  for (auto _ : state) {
    IMG* image = IMGLoadPNM(kPlainPath.c_str());
    benchmark::DoNotOptimize(image->pixels);
    IMGFree(&image);
  }
}

void BM_P3_PlainFile(benchmark::State& state) {
  for (auto _ : state) {
    uint32_t* pixels = PlainLoadP3(kPlainPath.c_str());
    benchmark::DoNotOptimize(pixels);
    std::free(pixels);
  }
}

void BM_P3_IMGParsePNM(benchmark::State& state) {
  for (auto _ : state) {
    IMG* image = IMGParsePNM(gPlainBuffer);
    benchmark::DoNotOptimize(image->pixels);
    IMGFree(&image);
  }
}

void BM_P3_PlainMemory(benchmark::State& state) {
  for (auto _ : state) {
    uint32_t* pixels = PlainParseP3(gPlainBuffer);
    benchmark::DoNotOptimize(pixels);
    std::free(pixels);
  }
}

// Registers a benchmark measured in wall-clock time, fastest of several.
void Register(const char* name, void (*function)(benchmark::State&)) {
  benchmark::RegisterBenchmark(name, function)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Apply(BenchFastest);
}

}  // namespace

// Makes the pictures, runs all benchmarks and prints the ratios.
int main(int argc, char** argv) {
  BenchInitialize(argc, argv);
  MakePictures();
  long size = 0;
  gRawBuffer = ReadWhole(kRawPath.c_str(), &size);
  gPlainBuffer = ReadWhole(kPlainPath.c_str(), &size);
  Register("P6_IMGLoadPNM", BM_P6_IMGLoadPNM);
  Register("P6_PlainFile", BM_P6_PlainFile);
  Register("P6_IMGParsePNM", BM_P6_IMGParsePNM);
  Register("P6_PlainMemory", BM_P6_PlainMemory);
  Register("P3_IMGLoadPNM", BM_P3_IMGLoadPNM);
  Register("P3_PlainFile", BM_P3_PlainFile);
  Register("P3_IMGParsePNM", BM_P3_IMGParsePNM);
  Register("P3_PlainMemory", BM_P3_PlainMemory);
  BenchRatioReporter reporter(BenchRatioReporter::Clock::kWall);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatios, ours / plain reader (fastest wall time):\n");
  reporter.PrintRatio("P6 4096x4096 IMGLoadPNM / fread", "P6_IMGLoadPNM",
                      "P6_PlainFile", 1.2);
  reporter.PrintRatio("P6 4096x4096 IMGParsePNM / memory", "P6_IMGParsePNM",
                      "P6_PlainMemory", 1.2);
  reporter.PrintRatio("P3 1024x1024 IMGLoadPNM / whole file", "P3_IMGLoadPNM",
                      "P3_PlainFile", 1.5);
  reporter.PrintRatio("P3 1024x1024 IMGParsePNM / memory", "P3_IMGParsePNM",
                      "P3_PlainMemory", 1.5);
  std::free(gRawBuffer);
  std::free(gPlainBuffer);
  std::remove(kRawPath.c_str());
  std::remove(kPlainPath.c_str());
  benchmark::Shutdown();
  return 0;
}
