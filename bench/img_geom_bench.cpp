// Benchmarks of image scaling and rotation of a 640 × 480 frame. Each
// operation is measured next to a plain memcpy of its result's size in the
// same run, and the closing lines print the operation's time as a multiple
// of that memcpy's. The operations' times include allocating and
// zero-filling their results, as a caller pays for them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>   // printf
#include <cstring>  // memcpy
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "img/img.h"

namespace {

constexpr int32_t kFrameWidth = 640;
constexpr int32_t kFrameHeight = 480;
constexpr int32_t kUprightAngle = 512;  // rotation that keeps the picture
constexpr int32_t kSomeAngle = 77;      // a rotation off the axes

// One measured operation on the frame.
struct Case {
  const char* name;                   // printed name of the operation
  IMG* (*run)(const IMG* frame);      // the operation, a new image
  int32_t resultWidth, resultHeight;  // size of the image it makes
};

// The result's size of IMGRotate for a side of the frame.
constexpr int32_t RotatedSide(int32_t side) {
  return static_cast<int32_t>((int64_t{side} * 92667) >> 16);
}

const Case kCases[] = {
    {"IMGScale 640x480 -> 1280x960",
     [](const IMG* frame) { return IMGScale(frame, 1280, 960); }, 1280, 960},
    {"IMGScale 640x480 -> 320x240",
     [](const IMG* frame) { return IMGScale(frame, 320, 240); }, 320, 240},
    {"IMGRotate 640x480 upright",
     [](const IMG* frame) { return IMGRotate(frame, kUprightAngle); },
     RotatedSide(kFrameWidth), RotatedSide(kFrameHeight)},
    {"IMGRotate 640x480 angle 77",
     [](const IMG* frame) { return IMGRotate(frame, kSomeAngle); },
     RotatedSide(kFrameWidth), RotatedSide(kFrameHeight)},
};

// A frame-sized image with varied pixel values.
IMG* Frame() {
  IMG* frame = IMGNew();
  IMGResize(frame, kFrameWidth, kFrameHeight);
  for (int32_t i = 0; i < kFrameWidth * kFrameHeight; ++i) {
    frame->pixels[i] = static_cast<uint32_t>(i) * 2654435761u;
  }
  return frame;
}

// Runs the operation on the frame and releases its result, repeatedly.
void MeasureOperation(benchmark::State& state, const Case* c) {
  IMG* frame = Frame();
  for (auto _ : state) {
    IMG* result = c->run(frame);
    benchmark::DoNotOptimize(result->pixels);
    IMGFree(&result);
  }
  IMGFree(&frame);
}

// Copies a buffer of the operation's result size, repeatedly.
void MeasureMemcpy(benchmark::State& state, const Case* c) {
  const size_t count = static_cast<size_t>(c->resultWidth) * c->resultHeight;
  std::vector<uint32_t> from(count, 1), to(count);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), count * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

// Name of the memcpy measured next to an operation.
std::string MemcpyName(const Case& c) {
  return std::string("memcpy of the result of ") + c.name;
}

}  // namespace

// Registers every operation with its memcpy, runs them and prints ratios.
int main(int argc, char** argv) {
  BenchInitialize(argc, argv);
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark(c.name, MeasureOperation, &c)
        ->Apply(BenchFastest);
    benchmark::RegisterBenchmark(MemcpyName(c).c_str(), MeasureMemcpy, &c)
        ->Apply(BenchFastest);
  }
  BenchRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nTime per call as a multiple of a memcpy of the result "
              "(fastest of %d):\n", kBenchRepetitions);
  for (const Case& c : kCases) {
    reporter.PrintRatio(c.name, c.name, MemcpyName(c));
  }
  benchmark::Shutdown();
  return 0;
}
