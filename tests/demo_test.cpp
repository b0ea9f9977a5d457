// Tests of the demo driver and its data, headless under SDL's dummy video
// driver: start-up, the frame sequence against expected text pictures, the
// rendering of the canvas, keys arriving as pushed SDL events, teardown.
#include "demo/demo.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>  // chdir, getcwd

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "canvas_support.h"
#include "capture.h"
#include "file_bytes.h"
#include "layer_support.h"
#include "seq/seq.h"

const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsWindowed;
const char* const DEMOScrollText = kDEMOScrollTextWindowed;

namespace {

const std::string kDataDir = ASCIIDEMO_SOURCE_DIR "/data";

// ---- Data -----------------------------------------------------------------

struct ScrollTextCase {
  const char* description;
  const char* text;        // the scroll text
  int32_t trailingSpaces;  // spaces at its end
  size_t nearLength;       // the length the text keeps close to
  const char* hint;        // how to leave the demo
};

const ScrollTextCase kScrollTexts[] = {
    {"windowed", kDEMOScrollTextWindowed, 25, 1170, "Press [ESC] to exit."},
    {"full screen", kDEMOScrollTextFullScreen, 40, 700, "press Q or [ESC]"},
};

TEST(DemoDataTest, ScrollTextsHaveTheirForm) {
  constexpr int32_t kLeadingSpaces = 40;
  constexpr size_t kLengthTolerance = 40;
  for (const ScrollTextCase& c : kScrollTexts) {
    SCOPED_TRACE(c.description);
    const std::string text = c.text;
    for (char ch : text) {
      ASSERT_TRUE(ch >= 32 && ch <= 126) << "byte " << int{ch};
    }
    EXPECT_EQ(text.find_first_not_of(' '), size_t{kLeadingSpaces});
    EXPECT_EQ(text.size() - 1 - text.find_last_not_of(' '),
              size_t(c.trailingSpaces));
    EXPECT_NEAR(double(text.size()), double(c.nearLength),
                double(kLengthTolerance));
    EXPECT_NE(text.find(c.hint), std::string::npos);
  }
}

TEST(DemoDataTest, LogoIsSevenRowsOfTwentyOne) {
  std::vector<std::string> rows;
  std::stringstream logo(kDEMOLogo);
  for (std::string row; std::getline(logo, row);) rows.push_back(row);
  ASSERT_EQ(rows.size(), 7u);
  for (const std::string& row : rows) EXPECT_EQ(row.size(), 21u) << row;
  EXPECT_EQ(std::strlen(kDEMOLogo), 153u);
  EXPECT_EQ(rows[0], std::string(21, '|'));
  EXPECT_EQ(rows[3], "| KK   O O V V AAAA |");
}

struct TableCase {
  const char* description;
  DEMOTable table;              // the table checked
  int32_t count;                // its length
  int32_t from;                 // first entry of the checked run
  std::vector<int32_t> values;  // entries from, from + 1, ...
};

TEST(DemoDataTest, TablesHaveTheirLengthsAndIrregularRuns) {
  const TableCase cases[] = {
      {"logo x starts at the rightmost point", kDEMOLogoX, 58, 0, {20, 20}},
      {"logo y starts level", kDEMOLogoY, 58, 0, {0, 1}},
      {"layer 1 x steps back at 35",
       kDEMOLayers[0].xOffset,
       78,
       35,
       {4, 2, 3, 1, 0}},
      {"layer 1 y", kDEMOLayers[0].yOffset, 76, 74, {-1, -1}},
      {"layer 1 squares", kDEMOLayers[0].squareSize, 12, 0, {4, 4}},
      {"layer 2 x", kDEMOLayers[1].xOffset, 150, 148, {-2, -1}},
      {"layer 2 y", kDEMOLayers[1].yOffset, 124, 122, {-1, -1}},
      {"layer 2 squares", kDEMOLayers[1].squareSize, 12, 10, {12, 12}},
      {"layer 3 x", kDEMOLayers[2].xOffset, 178, 176, {-4, -2}},
      {"layer 3 y steps back at 35",
       kDEMOLayers[2].yOffset,
       78,
       35,
       {4, 2, 3, 1, 0}},
      {"layer 3 y ends out of order",
       kDEMOLayers[2].yOffset,
       78,
       74,
       {-4, -2, -3, -1}},
      {"layer 3 squares", kDEMOLayers[2].squareSize, 12, 11, {36}},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.description);
    ASSERT_EQ(c.table.count, c.count);
    const std::vector<int32_t> run(
        c.table.values + c.from,
        c.table.values + c.from + static_cast<int32_t>(c.values.size()));
    EXPECT_EQ(run, c.values);
  }
  EXPECT_EQ(kDEMOLayers[0].fill, ':');
  EXPECT_EQ(kDEMOLayers[1].fill, '-');
  EXPECT_EQ(kDEMOLayers[2].fill, ')');
}

// ---- Driver -----------------------------------------------------------------

// Runs the driver's start-up in the given working directory the way main
// does, and releases at the end what the driver made, the objects it keeps
// until the process ends included, so that the next test starts afresh.
class DemoTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(getcwd(home_, sizeof home_), nullptr); }

  void TearDown() override {
    DEMOState* state = DEMOGlobals();
    if (state->display != nullptr) DEMODone();
    ReleaseScene(state);
    *state = DEMOState{};
    state->toggle1 = 1;
    state->toggle2 = 1;
    state->counter3 = 7;
    SDL_Quit();
    ASSERT_EQ(chdir(home_), 0);
  }

  // SDL up, then the driver's start-up in the directory.
  std::string Start(const std::string& directory) {
    EXPECT_EQ(chdir(directory.c_str()), 0);
    SDL_Init(SDL_INIT_NOPARACHUTE);
    return CapturedStdout([] { DEMOInit(); });
  }

  // Releases the canvas, the scroller and the layers with their cursors.
  static void ReleaseScene(DEMOState* state) {
    for (CHECKER*& layer : state->layers) {
      if (layer == nullptr) continue;
      FreeLayer(layer);
      layer = nullptr;
    }
    if (state->scroller != nullptr) {
      FreeScroller(state->scroller);
      state->scroller = nullptr;
    }
    if (state->canvas != nullptr) {
      std::free(state->canvas->cells);
      std::free(state->canvas);
      state->canvas = nullptr;
    }
  }

  char home_[4096] = {};
};

// Composes frame after frame as DEMORun does, without showing them.
std::vector<std::string> ComposedFrames(int count) {
  DEMOState* state = DEMOGlobals();
  const int32_t baseColumn = DEMOLogoBaseColumn(state->canvas);
  const int32_t baseRow = DEMOLogoBaseRow(state->canvas);
  std::vector<std::string> frames;
  for (int k = 0; k < count; ++k) {
    DEMOCompose(baseColumn, baseRow);
    frames.push_back(Picture(state->canvas));
    DEMOAdvance();
  }
  return frames;
}

// Everything that moves from frame to frame.
struct Motion {
  int32_t logoX;                       // logo X index
  int32_t logoY;                       // logo Y index
  int32_t position;                    // scroller position
  std::vector<int32_t> cursorIndices;  // the layers' cursors, in order
};

// The current motion.
Motion SaveMotion() {
  const DEMOState* state = DEMOGlobals();
  Motion motion = {
      state->logoXIndex, state->logoYIndex, state->scroller->position, {}};
  for (const CHECKER* layer : state->layers) {
    for (const SEQ* cursor :
         {layer->xOffset, layer->yOffset, layer->squareSize}) {
      motion.cursorIndices.push_back(cursor->index);
    }
  }
  return motion;
}

// Puts the motion back where it was when saved.
void RestoreMotion(const Motion& motion) {
  DEMOState* state = DEMOGlobals();
  state->logoXIndex = motion.logoX;
  state->logoYIndex = motion.logoY;
  state->scroller->position = motion.position;
  size_t i = 0;
  for (CHECKER* layer : state->layers) {
    for (SEQ* cursor : {layer->xOffset, layer->yOffset, layer->squareSize}) {
      cursor->index = motion.cursorIndices[i++];
    }
  }
}

// Pushes a key press (down true) or release of the key symbol.
void PushKey(int symbol, bool down) {
  SDL_Event event = {};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.keysym.sym = static_cast<SDLKey>(symbol);
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}

TEST_F(DemoTest, StartUpCreatesEveryObject) {
  EXPECT_EQ(Start(kDataDir), "");
  const DEMOState* state = DEMOGlobals();
  EXPECT_TRUE(DEMOReady());
  ASSERT_NE(state->display, nullptr);
  EXPECT_EQ(state->display, SDLDPYCurrent());
  EXPECT_EQ(state->display->width, 640);
  EXPECT_EQ(state->display->height, 480);
  ASSERT_NE(state->keyboard, nullptr);
  EXPECT_EQ(state->keyboard->buffer[0], 0);
  ASSERT_NE(state->frame, nullptr);
  EXPECT_EQ(state->frame->width, 640);
  EXPECT_EQ(state->frame->height, 480);
  ASSERT_NE(state->font, nullptr);
  EXPECT_EQ(state->font->glyphWidth, 8);
  EXPECT_EQ(state->font->glyphHeight, 8);
  EXPECT_NE(state->font->sheet, nullptr);
  ASSERT_NE(state->canvas, nullptr);
  EXPECT_EQ(state->canvas, SCRCurrent());
  EXPECT_EQ(state->canvas->w, 80);
  EXPECT_EQ(state->canvas->h, 60);
  ASSERT_NE(state->scroller, nullptr);
  EXPECT_EQ(state->scroller->y, 45);
  EXPECT_EQ(state->scroller->canvas, state->canvas);
  EXPECT_EQ(state->scroller->text->table, DEMOScrollText);
  EXPECT_EQ(state->scroller->text->size, 1);
  EXPECT_EQ(state->scroller->text->count,
            static_cast<int32_t>(std::strlen(DEMOScrollText)));
  for (int32_t i = 0; i < kDEMOLayerCount; ++i) {
    SCOPED_TRACE(i);
    const CHECKER* layer = state->layers[i];
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->canvas, state->canvas);
    EXPECT_EQ(layer->fill, kDEMOLayers[i].fill);
    const std::pair<const SEQ*, DEMOTable> cursors[] = {
        {layer->xOffset, kDEMOLayers[i].xOffset},
        {layer->yOffset, kDEMOLayers[i].yOffset},
        {layer->squareSize, kDEMOLayers[i].squareSize}};
    for (const auto& [cursor, table] : cursors) {
      EXPECT_EQ(cursor->table, table.values);
      EXPECT_EQ(cursor->count, table.count);
      EXPECT_EQ(cursor->size, 4);
      EXPECT_EQ(cursor->step, 1);
      EXPECT_EQ(cursor->index, 0);
    }
  }
  EXPECT_EQ(state->quitCode, kDEMOKeepRunning);
  EXPECT_EQ(state->toggle1, 1);
  EXPECT_EQ(state->toggle2, 1);
  EXPECT_EQ(state->counter3, 7);
}

TEST_F(DemoTest, FramesMatchTheirPictures) {
  Start(kDataDir);
  const std::vector<std::string> frames = ComposedFrames(201);
  for (int k : {0, 37, 58, 75, 200}) {
    SCOPED_TRACE("frame " + std::to_string(k));
    const std::string expected =
        Fixture("demo/frame_" + std::to_string(k) + ".txt");
    ASSERT_EQ(expected.size(), 60u * 81u) << "fixture missing";
    EXPECT_EQ(frames[k], expected);
  }
}

TEST_F(DemoTest, LogoPathWrapsAfter58Frames) {
  Start(kDataDir);
  const DEMOState* state = DEMOGlobals();
  for (int k = 0; k < 58; ++k) DEMOAdvance();
  EXPECT_EQ(state->logoXIndex, 0);
  EXPECT_EQ(state->logoYIndex, 0);
  EXPECT_EQ(DEMOLogoBaseColumn(state->canvas), 30);
  EXPECT_EQ(DEMOLogoBaseRow(state->canvas), 27);
}

TEST_F(DemoTest, SpaceReentryContinuesTheSameSequence) {
  Start(kDataDir);
  DEMOState* state = DEMOGlobals();
  const Motion start = SaveMotion();
  constexpr int kFrames = 60;
  const std::vector<std::string> expected = ComposedFrames(kFrames);
  RestoreMotion(start);
  IMG* rendered = IMGNew();
  IMGResize(rendered, 640, 480);
  for (int k = 0; k < kFrames; ++k) {
    SCOPED_TRACE("frame " + std::to_string(k));
    // Space, held: the frame that handles it ends DEMORun, and main enters
    // it again.
    PushKey(SDLK_SPACE, true);
    DEMORun();
    ASSERT_EQ(state->quitCode, kDEMOReenter);
    state->quitCode = kDEMOKeepRunning;
    ASSERT_EQ(Picture(state->canvas), expected[k]);
    // The frame shown is the canvas rendered through the font.
    IMGClear(rendered);
    DEMORenderCanvas(rendered, state->canvas, state->font);
    ASSERT_TRUE(IMGEqual(rendered, state->frame));
  }
  IMGFree(&rendered);
}

TEST_F(DemoTest, QuitKeysEndThePlayAfterOneFrame) {
  const std::pair<const char*, int> keys[] = {
      {"q", SDLK_q}, {"Q", 'Q'}, {"escape", SDLK_ESCAPE}, {"F2", SDLK_F2}};
  Start(kDataDir);
  DEMOState* state = DEMOGlobals();
  for (const auto& [name, symbol] : keys) {
    SCOPED_TRACE(name);
    const int32_t before = state->logoXIndex;
    PushKey(symbol, true);
    DEMOPlay();
    EXPECT_EQ(state->quitCode, kDEMOQuit);
    EXPECT_EQ(state->logoXIndex, before + 1) << "one frame";
    EXPECT_EQ(state->keyboard->buffer[0], 0);
    state->quitCode = kDEMOKeepRunning;
  }
}

TEST_F(DemoTest, FrameHandlesEachKeyPressOnce) {
  Start(kDataDir);
  DEMOState* state = DEMOGlobals();
  PushKey(SDLK_1, true);  // held down: one event
  DEMOFrame();
  EXPECT_EQ(state->toggle1, 0);
  EXPECT_EQ(state->keyboard->buffer[0], 0);
  DEMOFrame();
  EXPECT_EQ(state->toggle1, 0) << "a held key acts once";
  PushKey(SDLK_q, true);  // a quick tap between two frames
  PushKey(SDLK_q, false);
  DEMOFrame();
  EXPECT_EQ(state->quitCode, kDEMOKeepRunning);
  SDL_Event close = {};
  close.type = SDL_QUIT;  // the window's close request
  ASSERT_EQ(SDL_PushEvent(&close), 0);
  DEMOFrame();
  EXPECT_EQ(state->quitCode, kDEMOKeepRunning);
  PushKey(SDLK_RALT, true);  // 307 arrives as '3'
  DEMOFrame();
  EXPECT_EQ(state->counter3, 8);
}

struct KeyCase {
  const char* description;
  signed char key;       // the code handled
  signed char quitCode;  // afterwards, from 0
  signed char toggle1;   // afterwards, from 1
  signed char toggle2;   // afterwards, from 1
  signed char counter3;  // afterwards, from 7
};

TEST_F(DemoTest, KeyTable) {
  const KeyCase cases[] = {
      {"q quits", 'q', 1, 1, 1, 7},
      {"Q quits", 'Q', 1, 1, 1, 7},
      {"escape quits", 27, 1, 1, 1, 7},
      {"space re-enters", ' ', 2, 1, 1, 7},
      {"1 flips toggle 1", '1', 0, 0, 1, 7},
      {"2 flips toggle 2", '2', 0, 1, 0, 7},
      {"3 counts", '3', 0, 1, 1, 8},
      {"no key", 0, 0, 1, 1, 7},
      {"another letter", 'a', 0, 1, 1, 7},
      {"a byte above 127", -27, 0, 1, 1, 7},
  };
  DEMOState* state = DEMOGlobals();
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.description);
    state->quitCode = 0;
    state->toggle1 = 1;
    state->toggle2 = 1;
    state->counter3 = 7;
    DEMOKey(c.key);
    EXPECT_EQ(state->quitCode, c.quitCode);
    EXPECT_EQ(state->toggle1, c.toggle1);
    EXPECT_EQ(state->toggle2, c.toggle2);
    EXPECT_EQ(state->counter3, c.counter3);
  }
  state->quitCode = 0;
  state->counter3 = 127;
  DEMOKey('3');
  EXPECT_EQ(state->counter3, -128) << "an 8-bit count wraps";
  DEMOKey('1');
  DEMOKey('1');
  EXPECT_EQ(state->toggle1, 1) << "two flips restore the toggle";
}

TEST_F(DemoTest, FramesPerSecondCountsCallsInTheFirstSecond) {
  SDL_Init(SDL_INIT_NOPARACHUTE | SDL_INIT_TIMER);
  const uint32_t before = SDL_GetTicks();
  const int first = DEMOFramesPerSecond();
  const int second = DEMOFramesPerSecond();
  const int third = DEMOFramesPerSecond();
  if (before / 1000 != SDL_GetTicks() / 1000 || before >= 1000) {
    GTEST_SKIP() << "the calls did not all fall in the first second";
  }
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(third, 3);
}

TEST_F(DemoTest, FramesPerSecondDividesByTheStartedSeconds) {
  SDL_Init(SDL_INIT_NOPARACHUTE | SDL_INIT_TIMER);
  DEMOGlobals()->frameCounter = 5999;
  const uint32_t before = SDL_GetTicks() / 1000;
  const int rate = DEMOFramesPerSecond();
  if (before != SDL_GetTicks() / 1000) GTEST_SKIP() << "a second passed";
  EXPECT_EQ(rate, 6000 / static_cast<int>(before + 1));
  DEMOGlobals()->frameCounter = INT32_MAX;
  DEMOFramesPerSecond();
  EXPECT_EQ(DEMOGlobals()->frameCounter, INT32_MIN) << "the count wraps";
}

TEST_F(DemoTest, DoneReleasesTheDisplaySide) {
  Start(kDataDir);
  DEMODone();
  const DEMOState* state = DEMOGlobals();
  EXPECT_EQ(state->frame, nullptr);
  EXPECT_EQ(state->font, nullptr);
  EXPECT_EQ(state->keyboard, nullptr);
  EXPECT_EQ(state->display, nullptr);
  EXPECT_EQ(SDLDPYCurrent(), nullptr);
  EXPECT_NE(state->canvas, nullptr) << "the canvas lives on";
}

TEST_F(DemoTest, WithoutTheFontSheetFramesAreBlack) {
  char directory[] = "/tmp/asciidemo-nofont-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  EXPECT_EQ(Start(directory), "IMG error\n");
  DEMOState* state = DEMOGlobals();
  EXPECT_EQ(state->font->sheet, nullptr);
  EXPECT_TRUE(DEMOReady());
  ComposedFrames(1);
  PushKey(SDLK_q, true);
  EXPECT_EQ(CapturedStdout([] { DEMOFrame(); }), "");
  EXPECT_EQ(state->quitCode, kDEMOQuit) << "the keys still work";
  IMG* black = IMGNew();
  IMGResize(black, 640, 480);
  EXPECT_TRUE(IMGEqual(state->frame, black));
  IMGFree(&black);
  rmdir(directory);
}

TEST_F(DemoTest, NoScreenIsNotReady) {
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  Start(kDataDir);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_FALSE(DEMOReady());
}

// ---- Rendering ------------------------------------------------------------

// A 128 × 64 sheet of sixteen 8 × 8 glyphs per row for codes 0..127, every
// pixel a different non-zero value, except that glyph pixels on the cell's
// diagonal are 0 (transparent).
IMG* NumberedSheet() {
  IMG* sheet = IMGNew();
  IMGResize(sheet, 128, 64);
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 128; ++x) {
      sheet->pixels[y * 128 + x] = x % 8 == y % 8 ? 0 : 1 + x + 128 * y;
    }
  }
  return sheet;
}

TEST_F(DemoTest, RenderCanvasDrawsEveryCellAtAnEightPixelPitch) {
  FONT* font = FONTNew();
  font->glyphWidth = 8;
  font->glyphHeight = 8;
  font->sheet = NumberedSheet();
  SCR* canvas = SCRNew();
  SCRResize(canvas, 80, 60);
  std::mt19937 random(17);
  // Codes of the sheet, and values no glyph has: beyond the sheet, negative,
  // and one whose low byte is a letter (the whole value counts).
  const int32_t unusual[] = {128, 1000, -1, -23, 256 + 'A'};
  for (int32_t i = 0; i < 80 * 60; ++i) {
    canvas->cells[i] =
        random() % 8 == 0 ? unusual[random() % 5] : int32_t(random() % 128);
  }
  IMG* image = IMGNew();
  IMGResize(image, 640, 480);
  for (int32_t i = 0; i < 640 * 480; ++i) image->pixels[i] = 0xEE;
  DEMORenderCanvas(image, canvas, font);
  for (int32_t r = 0; r < 60; ++r) {
    for (int32_t c = 0; c < 80; ++c) {
      const int32_t code = canvas->cells[r * 80 + c];
      const bool drawn = code >= 0 && code < 128;
      for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
          const uint32_t glyph =
              drawn
                  ? font->sheet
                        ->pixels[(code / 16 * 8 + y) * 128 + code % 16 * 8 + x]
                  : 0;
          const uint32_t expected = glyph != 0 ? glyph : 0xEE;
          ASSERT_EQ(image->pixels[(8 * r + y) * 640 + 8 * c + x], expected)
              << "cell " << c << "," << r << " code " << code;
        }
      }
    }
  }
  IMGFree(&image);
  FONTFree(&font);
  std::free(canvas->cells);
  std::free(canvas);
}

}  // namespace
