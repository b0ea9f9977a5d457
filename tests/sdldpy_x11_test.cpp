// Tests of the display on a real X server: a private Xvfb at 24 bits per
// pixel, whose screen SDL opens as a 32-bit surface, so that colours can be
// checked exactly.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "image_support.h"
#include "img/img.h"
#include "sdldpy/sdldpy.h"
#include "xvfb.h"

const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsWindowed;

namespace {

constexpr uint32_t kSentinel = 0x00123456;    // screen value no test shows
constexpr uint32_t kColourMask = 0x00FFFFFF;  // the screen's colour bits

// Each test gets its own X server and a 640 × 480 display on it, and ends
// without a display and with SDL shut down.
class SdldpyX11Test : public testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<XvfbServer>();
    ASSERT_FALSE(server_->display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server_->display().c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");
    display_ = SDLDPYNew();
    ASSERT_NE(display_, nullptr);
    SDLDPYSetMode(display_, 640, 480);
    ASSERT_EQ(display_->bpp, 32);
  }

  void TearDown() override {
    if (SDLDPYCurrent() != nullptr) SDLDPYFree(&display_);
    SDL_Quit();
    server_.reset();
  }

  std::unique_ptr<XvfbServer> server_;
  SDLDPY* display_ = nullptr;
};

// A new image of random colours, 0 (black) among them.
IMG* RandomImage(int32_t width, int32_t height, uint32_t seed) {
  IMG* image = FilledImage(width, height, 0);
  std::mt19937 random(seed);
  for (int64_t i = 0; i < int64_t{width} * height; ++i) {
    image->pixels[i] = random() % 4 == 0 ? 0 : random() & kColourMask;
  }
  return image;
}

// Sets every screen pixel to the value.
void FillScreen(uint32_t value) {
  SDL_Surface* screen = SDL_GetVideoSurface();
  SDL_LockSurface(screen);
  for (int y = 0; y < screen->h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(
        static_cast<uint8_t*>(screen->pixels) + y * screen->pitch);
    for (int x = 0; x < screen->w; ++x) row[x] = value;
  }
  SDL_UnlockSurface(screen);
}

// The colour of screen pixel (x, y) as 0x00RRGGBB.
uint32_t ScreenPixel(int x, int y) {
  SDL_Surface* screen = SDL_GetVideoSurface();
  const auto* row = reinterpret_cast<const uint32_t*>(
      static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch);
  return row[x] & kColourMask;
}

TEST_F(SdldpyX11Test, ScreenIs32BitWithRedGreenBlueBytes) {
  const SDL_PixelFormat* format = SDL_GetVideoSurface()->format;
  EXPECT_EQ(format->Rmask, 0x00FF0000u);
  EXPECT_EQ(format->Gmask, 0x0000FF00u);
  EXPECT_EQ(format->Bmask, 0x000000FFu);
}

TEST_F(SdldpyX11Test, ShowImageShowsExactColoursOpaque) {
  FillScreen(kSentinel);
  IMG* image = RandomImage(640, 480, 3);
  SDLDPYShowImage(display_, image);
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      ASSERT_EQ(ScreenPixel(x, y), image->pixels[y * 640 + x])
          << "at " << x << "," << y;
    }
  }
  IMGFree(&image);
}

TEST_F(SdldpyX11Test, ShowImageOfASmallImageKeepsTheRest) {
  FillScreen(kSentinel);
  IMG* image = RandomImage(320, 200, 4);
  SDLDPYShowImage(display_, image);
  EXPECT_EQ(ScreenPixel(0, 0), image->pixels[0]);
  EXPECT_EQ(ScreenPixel(319, 199), image->pixels[199 * 320 + 319]);
  EXPECT_EQ(ScreenPixel(320, 0), kSentinel);
  EXPECT_EQ(ScreenPixel(0, 200), kSentinel);
  EXPECT_EQ(ScreenPixel(639, 479), kSentinel);
  IMGFree(&image);
}

TEST_F(SdldpyX11Test, ShowImageOfATallImageShowsItsTopRows) {
  IMG* image = RandomImage(640, 600, 5);
  SDLDPYShowImage(display_, image);
  for (int32_t x = 0; x < 640; ++x) {
    ASSERT_EQ(ScreenPixel(x, 479), image->pixels[479 * 640 + x]) << x;
  }
  IMGFree(&image);
}

TEST_F(SdldpyX11Test, ShowImageOfAWideImageShowsItsTopLeftPart) {
  FillScreen(kSentinel);
  IMG* image = RandomImage(700, 500, 6);
  SDLDPYShowImage(display_, image);
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      ASSERT_EQ(ScreenPixel(x, y), image->pixels[y * 700 + x])
          << "at " << x << "," << y;
    }
  }
  IMGFree(&image);
}

TEST_F(SdldpyX11Test, CopyImageWritesEveryRowAtTheScreensPitch) {
  FillScreen(kSentinel);
  IMG* image = RandomImage(640, 480, 7);
  SDLDPYCopyImage(display_, image);
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      ASSERT_EQ(ScreenPixel(x, y), image->pixels[y * 640 + x])
          << "at " << x << "," << y;
    }
  }
  IMGFree(&image);
}

TEST_F(SdldpyX11Test, ShowPixelsLendsThePixelsOnlyWhilePresenting) {
  SDL_Surface* screen = SDL_GetVideoSurface();
  void* own = screen->pixels;
  FillScreen(kSentinel);
  IMG* image = RandomImage(640, 480, 8);
  SDLDPYShowPixels(display_, image);
  EXPECT_EQ(screen->pixels, own);
  EXPECT_EQ(ScreenPixel(0, 0), kSentinel);
  IMGFree(&image);
}

}  // namespace
