// Benchmarks of the checkerboard layer and the scroller, each printed as a
// ratio to a plain reference measured in the same run:
//   - a layer of the demo's smallest squares (side 4) on the 80 × 60 canvas
//     against a per-cell loop over the closed rule;
//   - the scroller far out (position 2 100 000 000) against position 0;
//     both positions are whole laps of the text, so the same glyphs are
//     drawn and only the cost of finding the first character differs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>  // printf

#include "bench_ratio.h"
#include "checker/checker.h"
#include "scr/scr.h"
#include "scroll/bigfont.h"
#include "scroll/scroll.h"
#include "seq/seq.h"

namespace {

constexpr int32_t kColumns = 80;  // the demo's canvas
constexpr int32_t kRows = 60;
constexpr int32_t kSide = 4;      // the demo's smallest squares
constexpr int32_t kScrollRow = 45;
constexpr int32_t kLap = 150;     // 6 columns × 25 characters of the text
constexpr int32_t kFarLaps = 14000000;

// The canvas every benchmark draws into.
SCR* Canvas() {
  static SCR* canvas = [] {
    SCR* made = SCRNew();
    SCRResize(made, kColumns, kRows);
    return made;
  }();
  return canvas;
}

// Floor of a / b for b > 0.
int32_t FloorDiv(int32_t a, int32_t b) {
  const int32_t q = a / b;
  return q * b > a ? q - 1 : q;
}

// The plain reference: every cell tested against the closed rule.
void BM_CheckerPerCellReference(benchmark::State& state) {
  SCR* canvas = Canvas();
  const int32_t x = 3, y = -2;
  for (auto _ : state) {
    for (int32_t r = 0; r < kRows; ++r) {
      for (int32_t c = 0; c < kColumns; ++c) {
        if (((FloorDiv(c - x, kSide) + FloorDiv(r - y, kSide)) & 1) != 0) {
          canvas->cells[r * kColumns + c] = ':';
        }
      }
    }
    benchmark::DoNotOptimize(canvas->cells);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CheckerPerCellReference)->Apply(BenchFastest);

void BM_CheckerDraw(benchmark::State& state) {
  Canvas();
  CHECKER* layer = CHECKERNew();
  static const int32_t values[] = {3, -2, kSide};
  SEQSet(layer->xOffset, &values[0], 4, 1, 1);
  SEQSet(layer->yOffset, &values[1], 4, 1, 1);
  SEQSet(layer->squareSize, &values[2], 4, 1, 1);
  layer->fill = ':';
  for (auto _ : state) {
    CHECKERDraw(layer);
    benchmark::DoNotOptimize(layer->canvas->cells);
    benchmark::ClobberMemory();
  }
  SEQFree(layer->xOffset);
  SEQFree(layer->yOffset);
  SEQFree(layer->squareSize);
  CHECKERFree(layer);
}
BENCHMARK(BM_CheckerDraw)->Apply(BenchFastest);

// Draws the default text at the given position.
void ScrollAt(benchmark::State& state, int32_t position) {
  Canvas();
  SCROLL* scroller = SCROLLNew();
  scroller->y = kScrollRow;
  scroller->position = position;
  for (auto _ : state) {
    SCROLLDraw(scroller);
    benchmark::DoNotOptimize(scroller->canvas->cells);
    benchmark::ClobberMemory();
  }
  BIGFONT* font = scroller->font;
  SCROLLFree(scroller);
  BIGFONTFree(font);
}

void BM_ScrollDrawAtStart(benchmark::State& state) { ScrollAt(state, 0); }
BENCHMARK(BM_ScrollDrawAtStart)->Apply(BenchFastest);

void BM_ScrollDrawFarOut(benchmark::State& state) {
  ScrollAt(state, kLap * kFarLaps);
}
BENCHMARK(BM_ScrollDrawFarOut)->Apply(BenchFastest);

}  // namespace

// Runs the benchmarks, then prints the ratios.
int main(int argc, char** argv) {
  BenchInitialize(argc, argv);
  BenchRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatios, measured / reference (fastest of %d):\n",
              kBenchRepetitions);
  reporter.PrintRatio("CheckerDraw / per-cell rule", "BM_CheckerDraw",
                      "BM_CheckerPerCellReference");
  reporter.PrintRatio("ScrollDraw far out / at start", "BM_ScrollDrawFarOut",
                      "BM_ScrollDrawAtStart");
  benchmark::Shutdown();
  return 0;
}
