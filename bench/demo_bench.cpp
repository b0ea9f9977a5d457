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
#include <random>
#include <vector>

#include "bench_ratio.h"
#include "demo/demo.h"

const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsWindowed;
const char* const DEMOScrollText = kDEMOScrollTextWindowed;

namespace {

constexpr size_t kFrameBytes = size_t{640} * 480 * 4;  // one frame image
constexpr int kFirstPrintable = 32;
constexpr int kLastPrintable = 126;
const char* const kReference = "MemsetFrame";
constexpr double kRenderTarget = 2.5;  // rendering, as a multiple of memset

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

}  // namespace

// The composition runs last: it moves the picture on.
BENCHMARK(MemsetFrame)->Apply(BenchFastest);
BENCHMARK(RenderDemoCanvas)->Apply(BenchFastest);
BENCHMARK(RenderRandomCanvas)->Apply(BenchFastest);
BENCHMARK(ShowImage)->Apply(BenchFastest);
BENCHMARK(ComposeFrame)->Apply(BenchFastest);

// Starts the demo headless in the directory of the font sheet, composes a
// frame with the scroller in view, runs the benchmarks and prints the
// ratios.
int main(int argc, char** argv) {
  BenchInitialize(argc, argv);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (chdir(ASCIIDEMO_SOURCE_DIR "/data") != 0) return 1;
  SDL_Init(SDL_INIT_NOPARACHUTE);
  DEMOInit();
  if (!DEMOReady() || DEMOGlobals()->font->sheet == nullptr) return 1;
  constexpr int kScrollerInView = 400;  // frames before the one measured
  const DEMOState* demo = DEMOGlobals();
  for (int k = 0; k < kScrollerInView; ++k) DEMOAdvance();
  DEMOCompose(DEMOLogoBaseColumn(demo->canvas), DEMOLogoBaseRow(demo->canvas));
  BenchRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatio to one memset of the 640 x 480 x 4-byte frame "
              "(fastest of %d):\n", kBenchRepetitions);
  reporter.PrintRatio("ComposeFrame", "ComposeFrame", kReference);
  reporter.PrintRatio("RenderDemoCanvas", "RenderDemoCanvas", kReference,
                      kRenderTarget);
  reporter.PrintRatio("RenderRandomCanvas", "RenderRandomCanvas", kReference,
                      kRenderTarget);
  reporter.PrintRatio("ShowImage", "ShowImage", kReference);
  DEMODone();
  SDL_Quit();
  return 0;
}
