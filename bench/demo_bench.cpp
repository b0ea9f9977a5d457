// Benchmark of the demo's frame: composing the canvas, rendering it through
// the 8 × 8 font (4,800 glyph blits into 640 × 480) and showing the image
// under SDL's dummy video driver, each printed as a ratio to one memset of
// the 640 × 480 × 4-byte frame measured in the same run.
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>  // chdir

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "demo/demo.h"

const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsWindowed;
const char* const DEMOScrollText = kDEMOScrollTextWindowed;

namespace {

constexpr size_t kFrameBytes = size_t{640} * 480 * 4;  // one frame image
constexpr int kFirstPrintable = 32;
constexpr int kLastPrintable = 126;
const char* const kReference = "MemsetFrame";

// The reference: clearing the frame's bytes once.
void MemsetFrame(benchmark::State& state) {
  std::vector<uint8_t> frame(kFrameBytes);
  for (auto _ : state) {
    std::memset(frame.data(), 0, frame.size());
    benchmark::DoNotOptimize(frame.data());
    benchmark::ClobberMemory();
  }
}

// One frame's composition: the canvas drawn and all motion advanced.
void ComposeFrame(benchmark::State& state) {
  const DEMOState* demo = DEMOGlobals();
  const int32_t baseColumn = DEMOLogoBaseColumn(demo->canvas);
  const int32_t baseRow = DEMOLogoBaseRow(demo->canvas);
  for (auto _ : state) {
    DEMOCompose(baseColumn, baseRow);
    DEMOAdvance();
    benchmark::ClobberMemory();
  }
}

// Rendering the demo's own canvas, composed at a frame with the scroller in
// view.
void RenderDemoCanvas(benchmark::State& state) {
  const DEMOState* demo = DEMOGlobals();
  for (auto _ : state) {
    DEMORenderCanvas(demo->frame, demo->canvas, demo->font);
    benchmark::ClobberMemory();
  }
}

// Rendering a canvas of random printable codes.
void RenderRandomCanvas(benchmark::State& state) {
  const DEMOState* demo = DEMOGlobals();
  SCR canvas = *demo->canvas;
  std::vector<int32_t> cells(size_t(canvas.w) * canvas.h);
  std::mt19937 random(1);
  std::uniform_int_distribution<int32_t> codes(kFirstPrintable, kLastPrintable);
  for (int32_t& cell : cells) cell = codes(random);
  canvas.cells = cells.data();
  for (auto _ : state) {
    DEMORenderCanvas(demo->frame, &canvas, demo->font);
    benchmark::ClobberMemory();
  }
}

// Showing the rendered frame on the dummy driver's screen.
void ShowImage(benchmark::State& state) {
  const DEMOState* demo = DEMOGlobals();
  for (auto _ : state) {
    SDLDPYShowImage(demo->display, demo->frame);
  }
}

// Prints the usual table and keeps each benchmark's time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
  }

  // One line per benchmark: its time divided by the memset's.
  void PrintRatios() const {
    const auto reference = times_.find(kReference);
    if (reference == times_.end() || reference->second <= 0) return;
    std::printf("\nRatio to one memset of the 640 x 480 x 4-byte frame:\n");
    for (const auto& [name, time] : times_) {
      if (name == kReference) continue;
      std::printf("  %-20s %6.2fx\n", name.c_str(), time / reference->second);
    }
  }

 private:
  std::map<std::string, double> times_;  // CPU time per iteration by name
};

}  // namespace

// The composition runs last: it moves the picture on.
BENCHMARK(MemsetFrame);
BENCHMARK(RenderDemoCanvas);
BENCHMARK(RenderRandomCanvas);
BENCHMARK(ShowImage);
BENCHMARK(ComposeFrame);

// Starts the demo headless in the directory of the font sheet, composes a
// frame with the scroller in view, runs the benchmarks and prints the
// ratios.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (chdir(ASCIIDEMO_SOURCE_DIR "/data") != 0) return 1;
  SDL_Init(SDL_INIT_NOPARACHUTE);
  DEMOInit();
  if (!DEMOReady() || DEMOGlobals()->font->sheet == nullptr) return 1;
  constexpr int kScrollerInView = 400;  // frames before the one measured
  const DEMOState* demo = DEMOGlobals();
  for (int k = 0; k < kScrollerInView; ++k) DEMOAdvance();
  DEMOCompose(DEMOLogoBaseColumn(demo->canvas), DEMOLogoBaseRow(demo->canvas));
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  DEMODone();
  SDL_Quit();
  return 0;
}
