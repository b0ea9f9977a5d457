// Tests of the display under SDL's dummy video driver (no screen needed).
//
// Built twice: as sdldpy_test with the module's report switch off, as in
// the programs, and as sdldpy_report_test with the module compiled in with
// ASCIIDEMO_SDLDPY_REPORTS=1, so that every refusal shows its report. The
// dummy driver gives an 8-bit paletted screen for depth 0, whose colours
// say little: here the tests check which screen pixels an operation wrote,
// and sdldpy_x11_test checks exact colours on a 32-bit screen.
#include "sdldpy/sdldpy.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "capture.h"
#include "image_support.h"
#include "img/img.h"
#include "util/util.h"

#ifndef ASCIIDEMO_SDLDPY_REPORTS
#define ASCIIDEMO_SDLDPY_REPORTS 0
#endif

const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsWindowed;

namespace {

// What one refusal prints in this build.
const std::string kReport = ASCIIDEMO_SDLDPY_REPORTS ? "SDLDPY error\n" : "";

constexpr uint8_t kSentinel = 0x5A;  // screen bytes no image pixel maps to

// Each test starts and ends without a display and with SDL shut down.
class SdldpyTest : public testing::Test {
 protected:
  void TearDown() override {
    SDLDPY* display = SDLDPYCurrent();
    if (display != nullptr) SDLDPYFree(&display);
    SDL_Quit();
  }
};

// Fills every byte of the screen's pixel memory with the sentinel.
void FillScreen(uint8_t value) {
  SDL_Surface* screen = SDL_GetVideoSurface();
  SDL_LockSurface(screen);
  std::memset(screen->pixels, value, size_t{screen->pitch} * screen->h);
  SDL_UnlockSurface(screen);
}

// The 8-bit screen pixel at (x, y).
uint8_t ScreenByte(int x, int y) {
  SDL_Surface* screen = SDL_GetVideoSurface();
  return static_cast<const uint8_t*>(screen->pixels)[y * screen->pitch + x];
}

TEST_F(SdldpyTest, NewOpensAFirstModeAndIsTheOneDisplay) {
  EXPECT_EQ(SDLDPYCurrent(), nullptr);
  SDLDPY* display = nullptr;
  EXPECT_EQ(CapturedStdout([&] { display = SDLDPYNew(); }), "");
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(SDLDPYCurrent(), display);
  EXPECT_EQ(display->width, 256);
  EXPECT_EQ(display->height, 256);
  SDL_Surface* screen = SDL_GetVideoSurface();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->w, 256);
  EXPECT_EQ(display->bpp, screen->format->BitsPerPixel);
  EXPECT_NE(display->bpp, 0);
}

TEST_F(SdldpyTest, SetModeRecordsTheSizeAndTheCaption) {
  SDLDPY* display = SDLDPYNew();
  EXPECT_EQ(CapturedStdout([&] { SDLDPYSetMode(display, 640, 480); }), "");
  EXPECT_EQ(display->width, 640);
  EXPECT_EQ(display->height, 480);
  EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
  EXPECT_EQ(SDL_GetVideoSurface()->h, 480);
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  EXPECT_STREQ(title, "KOVA4018");
  EXPECT_STREQ(icon, "KOVA4018");
}

TEST_F(SdldpyTest, SecondNewReturnsTheDisplayWithoutANewMode) {
  SDLDPY* display = SDLDPYNew();
  SDLDPYSetMode(display, 640, 480);
  SDL_Surface* screen = SDL_GetVideoSurface();
  SDLDPY* again = nullptr;
  EXPECT_EQ(CapturedStdout([&] { again = SDLDPYNew(); }), kReport);
  EXPECT_EQ(again, display);
  EXPECT_EQ(SDL_GetVideoSurface(), screen);
  EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
  EXPECT_EQ(display->width, 640);
}

TEST_F(SdldpyTest, RefusedSetModeChangesNothing) {
  SDLDPY* display = SDLDPYNew();
  SDLDPYSetMode(display, 320, 200);
  FillScreen(kSentinel);
  struct Case {
    const char* description;
    SDLDPY* handle;
    int width, height;
  };
  const Case cases[] = {
      {"negative width", display, -1, 480},  // sizes are never negative
      {"negative height", display, 640, -480},
      {"null handle", nullptr, 640, 480},  // no display named
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(
        CapturedStdout([&] { SDLDPYSetMode(c.handle, c.width, c.height); }),
        kReport);
    EXPECT_EQ(display->width, 320);
    EXPECT_EQ(display->height, 200);
    // The screen was not set again: its contents are still there.
    EXPECT_EQ(SDL_GetVideoSurface()->w, 320);
    EXPECT_EQ(ScreenByte(0, 0), kSentinel);
  }
}

TEST_F(SdldpyTest, SetModeWithoutADisplayReports) {
  SDLDPY record = {};
  EXPECT_EQ(CapturedStdout([&] { SDLDPYSetMode(&record, 640, 480); }), kReport);
  EXPECT_EQ(record.width, 0);
  EXPECT_EQ(SDL_GetVideoSurface(), nullptr);
}

TEST_F(SdldpyTest, ShowImageDrawsTopLeftAndKeepsTheRest) {
  SDLDPY* display = SDLDPYNew();
  SDLDPYSetMode(display, 640, 480);
  FillScreen(kSentinel);
  IMG* image = FilledImage(320, 200, 0xFFFFFF);
  EXPECT_EQ(CapturedStdout([&] { SDLDPYShowImage(display, image); }), "");
  EXPECT_NE(ScreenByte(0, 0), kSentinel);
  EXPECT_NE(ScreenByte(319, 199), kSentinel);
  EXPECT_EQ(ScreenByte(320, 0), kSentinel);
  EXPECT_EQ(ScreenByte(0, 200), kSentinel);
  EXPECT_EQ(ScreenByte(639, 479), kSentinel);
  IMGFree(&image);
}

TEST_F(SdldpyTest, ShowImageOfALargerImageCoversTheScreen) {
  SDLDPY* display = SDLDPYNew();
  SDLDPYSetMode(display, 64, 48);
  FillScreen(kSentinel);
  IMG* image = FilledImage(100, 60, 0xFFFFFF);
  EXPECT_EQ(CapturedStdout([&] { SDLDPYShowImage(display, image); }), "");
  for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 47}, {63, 47}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    EXPECT_NE(ScreenByte(x, y), kSentinel);
  }
  IMGFree(&image);
}

TEST_F(SdldpyTest, ShowImageOfAnEmptyImageWritesNothing) {
  SDLDPY* display = SDLDPYNew();
  SDLDPYSetMode(display, 64, 48);
  FillScreen(kSentinel);
  for (auto [width, height] : {std::pair{0, 0}, {0, 10}, {10, 0}}) {
    SCOPED_TRACE(testing::Message() << width << "x" << height);
    IMG* image = FilledImage(width, height, 0xFFFFFF);
    SDLDPYShowImage(display, image);
    EXPECT_EQ(ScreenByte(0, 0), kSentinel);
    IMGFree(&image);
  }
}

TEST_F(SdldpyTest, ShowOperationsRefuseWhatTheyCannotShow) {
  SDLDPY* display = SDLDPYNew();
  SDLDPYSetMode(display, 64, 48);
  FillScreen(kSentinel);
  IMG* fits = FilledImage(64, 48, 0xFFFFFF);
  IMG* narrow = FilledImage(63, 48, 0xFFFFFF);
  IMG* pixelless = FilledImage(64, 48, 0xFFFFFF);
  IMGResize(pixelless, -1, 48);                    // refused: no pixel array
  IMG* tooWide = FilledImage(16384, 1, 0xFFFFFF);  // rows beyond SDL's pitch
  SDLDPY foreign = *display;
  using Show = void (*)(SDLDPY*, const IMG*);
  struct Case {
    const char* description;
    Show show;
    SDLDPY* handle;
    const IMG* image;
  };
  const Case cases[] = {
      {"show image: foreign handle", SDLDPYShowImage, &foreign, fits},
      {"show image: null handle", SDLDPYShowImage, nullptr, fits},
      {"show image: null image", SDLDPYShowImage, display, nullptr},
      {"show image: no pixel array", SDLDPYShowImage, display, pixelless},
      {"show image: row too long for SDL", SDLDPYShowImage, display, tooWide},
      {"show pixels: one pixel narrower", SDLDPYShowPixels, display, narrow},
      {"show pixels: foreign handle", SDLDPYShowPixels, &foreign, fits},
      {"show pixels: null image", SDLDPYShowPixels, display, nullptr},
      {"show pixels: 8-bit screen", SDLDPYShowPixels, display, fits},
      {"copy image: one pixel narrower", SDLDPYCopyImage, display, narrow},
      {"copy image: foreign handle", SDLDPYCopyImage, &foreign, fits},
      {"copy image: no pixel array", SDLDPYCopyImage, display, pixelless},
      {"copy image: 8-bit screen", SDLDPYCopyImage, display, fits},
  };
  ASSERT_EQ(display->bpp, 8) << "the dummy driver's screen is paletted";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(CapturedStdout([&] { c.show(c.handle, c.image); }), kReport);
    EXPECT_EQ(ScreenByte(0, 0), kSentinel);
    EXPECT_EQ(ScreenByte(63, 47), kSentinel);
  }
  for (IMG* image : {fits, narrow, pixelless, tooWide}) IMGFree(&image);
}

TEST_F(SdldpyTest, RefusedFirstModeStillGivesADisplayThatShowsNothing) {
  // With a video driver SDL does not know, every mode is refused.
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  SDLDPY* display = nullptr;
  EXPECT_EQ(CapturedStdout([&] { display = SDLDPYNew(); }), kReport);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(SDLDPYCurrent(), display);
  EXPECT_EQ(display->width, 0);
  EXPECT_EQ(display->height, 0);
  EXPECT_EQ(display->bpp, 0);
  IMG* image = FilledImage(4, 4, 0xFFFFFF);
  const std::string printed = CapturedStdout([&] {
    SDLDPYSetMode(display, 640, 480);
    SDLDPYShowImage(display, image);
    SDLDPYShowPixels(display, image);
    SDLDPYCopyImage(display, image);
  });
  EXPECT_EQ(printed, kReport + kReport + kReport + kReport);
  EXPECT_EQ(display->width, 0);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  IMGFree(&image);
}

TEST_F(SdldpyTest, PlaceholderOperations) {
  SDLDPY* display = nullptr;
  std::string printed = CapturedStdout([&] {
    EXPECT_EQ(SDLDPYFromASCII(""), nullptr);  // silent without a display
  });
  EXPECT_EQ(printed, "");
  display = SDLDPYNew();
  SDLDPY other = {};
  struct Case {
    const char* description;
    std::function<void()> call;
    std::string printed;
  };
  const Case cases[] = {
      {"to text of the display",
       [&] { EXPECT_STREQ(SDLDPYToASCII(display), ""); }, ""},
      {"to text of null", [&] { EXPECT_EQ(SDLDPYToASCII(nullptr), nullptr); },
       kReport},
      {"from text with a display",
       [&] { EXPECT_EQ(SDLDPYFromASCII("x"), nullptr); }, kReport},
      {"from null text", [&] { EXPECT_EQ(SDLDPYFromASCII(nullptr), nullptr); },
       kReport},
      {"copy of the display", [&] { EXPECT_EQ(SDLDPYCopy(display), display); },
       ""},
      {"copy of another record",
       [&] { EXPECT_EQ(SDLDPYCopy(&other), nullptr); }, kReport},
      {"display equals itself",
       [&] { EXPECT_TRUE(SDLDPYEqual(display, display)); }, ""},
      {"display and null", [&] { EXPECT_FALSE(SDLDPYEqual(display, nullptr)); },
       kReport},
      {"display and another record",
       [&] { EXPECT_FALSE(SDLDPYEqual(display, &other)); }, kReport},
      {"another record with itself",
       [&] { EXPECT_FALSE(SDLDPYEqual(&other, &other)); }, kReport},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(CapturedStdout(c.call), c.printed);
  }
}

TEST_F(SdldpyTest, FreeClearsTheHandleAndANewDisplayIsFresh) {
  SDLDPY* display = SDLDPYNew();
  SDLDPYSetMode(display, 640, 480);
  SDLDPY* copy = display;
  EXPECT_EQ(CapturedStdout([&] { SDLDPYFree(&display); }), "");
  EXPECT_EQ(display, nullptr);
  EXPECT_EQ(SDLDPYCurrent(), nullptr);
  // The released record is no longer the display.
  EXPECT_EQ(CapturedStdout([&] { SDLDPYFree(&copy); }), kReport);
  EXPECT_EQ(CapturedStdout([] { SDLDPYFree(nullptr); }), kReport);
  SDLDPY* fresh = SDLDPYNew();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(SDLDPYCurrent(), fresh);
  EXPECT_EQ(fresh->width, 256);
}

TEST_F(SdldpyTest, NewWithoutMemoryGivesNull) {
  SDLDPY* display = nullptr;
  const std::string printed = CapturedStdout([&] {
    MEMFailAfter(0);
    display = SDLDPYNew();
    MEMFailAfter(-1);
  });
  EXPECT_EQ(printed, kReport);
  EXPECT_EQ(display, nullptr);
  EXPECT_EQ(SDLDPYCurrent(), nullptr);
}

}  // namespace
