// sdldpy — the display: the one SDL 1.2 video surface and the showing of
// images on it.
//
// Switch: kSDLDPYErrorReports turns the "SDLDPY error\n" report on or off
// (off). The video flags word comes from the program (SDLDPYVideoFlags).
// Depends on img, util (allocation) and SDL 1.2.
#include "sdldpy/sdldpy.h"

#include <SDL/SDL.h>

#include <cstdint>
#include <cstdio>   // printf
#include <cstdlib>  // free
#include <cstring>  // memcpy

#include "util/util.h"

namespace {

// Whether SDLDPYError prints its line: off. A test build turns it on with
// -DASCIIDEMO_SDLDPY_REPORTS=1 to see every failure.
#ifndef ASCIIDEMO_SDLDPY_REPORTS
#define ASCIIDEMO_SDLDPY_REPORTS 0
#endif
constexpr bool kSDLDPYErrorReports = ASCIIDEMO_SDLDPY_REPORTS != 0;

constexpr int kFirstModeSide = 256;  // width and height of the first mode
constexpr int kDesktopDepth = 0;     // SDL_SetVideoMode: the current depth
constexpr const char* kCaption = "KOVA4018";  // window and icon title

// The wrapper surface that lends an image to SDL: 32-bit pixels 0x00RRGGBB,
// the top byte taken as alpha (dropped by the conversion to the screen).
constexpr int kWrapperDepth = 32;
constexpr uint32_t kRedMask = 0x00FF0000u;
constexpr uint32_t kGreenMask = 0x0000FF00u;
constexpr uint32_t kBlueMask = 0x000000FFu;
constexpr uint32_t kAlphaMask = 0xFF000000u;

constexpr int kPixelBytes = 4;  // bytes of one image pixel
// Largest row SDL 1.2 can describe: a surface's pitch is 16 bits.
constexpr int64_t kMaxPitch = UINT16_MAX;

// ---- Module state -------------------------------------------------------

SDLDPY* gDisplay = nullptr;      // the one display, or null
SDL_Surface* gScreen = nullptr;  // screen surface of the last mode (SDL's)
int gDoubleBuffered = 0;         // 1 when the screen is flipped, not updated
uint32_t gVideoFlags = 0;        // flags of the last mode call, reused for
                                 // the wrapper surface

// Whether the handle is the one display.
bool isDisplay(const SDLDPY* display) {
  return display != nullptr && display == gDisplay;
}

// Makes the screen's contents visible: a flip when double-buffered, else an
// update of the whole screen.
void present() {
  if (gDoubleBuffered != 0) {
    SDL_Flip(gScreen);
  } else {
    SDL_UpdateRect(gScreen, 0, 0, 0, 0);
  }
}

// The tests shared by SDLDPYShowPixels and SDLDPYCopyImage: the display, an
// image with pixels of exactly the screen's recorded size, and a screen.
bool screenSizedImage(const SDLDPY* display, const IMG* image) {
  return isDisplay(display) && image != nullptr && image->pixels != nullptr &&
         image->width == display->width && image->height == display->height &&
         gScreen != nullptr;
}

// Whether the screen holds 32-bit pixels, at least width × height of them
// in rows at least width pixels long.
bool screenIs32Bit(const SDLDPY* display) {
  return gScreen->format->BitsPerPixel == kWrapperDepth &&
         gScreen->w >= display->width && gScreen->h >= display->height &&
         gScreen->pitch >= int64_t{display->width} * kPixelBytes;
}

}  // namespace

// ---- Errors -------------------------------------------------------------

// Prints the module's one-line report when the switch is on.
void SDLDPYError() {
  if (kSDLDPYErrorReports) std::printf("SDLDPY error\n");
}

// ---- Record -------------------------------------------------------------

// The one display, or null.
SDLDPY* SDLDPYCurrent() { return gDisplay; }

// Creates the display and opens the first 256 × 256 mode.
SDLDPY* SDLDPYNew() {
  if (gDisplay != nullptr) {
    SDLDPYError();
    return gDisplay;
  }
  SDLDPY* display = static_cast<SDLDPY*>(MEMAlloc(1, sizeof(SDLDPY)));
  if (display == nullptr) {
    SDLDPYError();
    return nullptr;
  }
  gDisplay = display;
  SDLDPYSetMode(display, kFirstModeSide, kFirstModeSide);
  return display;
}

// Forgets the screen surface, frees the display and clears the handle.
void SDLDPYFree(SDLDPY** display) {
  if (display == nullptr || !isDisplay(*display)) {
    SDLDPYError();
    return;
  }
  SDL_FreeSurface(gScreen);
  gScreen = nullptr;
  gDoubleBuffered = 0;
  std::free(gDisplay);
  gDisplay = nullptr;
  *display = nullptr;
}

// ---- Placeholders of the value operations --------------------------------

// An empty text for the display.
const char* SDLDPYToASCII(const SDLDPY* display) {
  if (!isDisplay(display)) {
    SDLDPYError();
    return nullptr;
  }
  return "";
}

// No display is ever made from a text.
SDLDPY* SDLDPYFromASCII(const char* text) {
  if (text == nullptr || gDisplay != nullptr) SDLDPYError();
  return nullptr;
}

// True only for the display compared with itself.
bool SDLDPYEqual(const SDLDPY* a, const SDLDPY* b) {
  if (a == nullptr || b == nullptr || a != b || !isDisplay(a)) {
    SDLDPYError();
    return false;
  }
  return true;
}

// The display is a singleton: its copy is itself.
SDLDPY* SDLDPYCopy(SDLDPY* display) {
  if (!isDisplay(display)) {
    SDLDPYError();
    return nullptr;
  }
  return display;
}

// ---- Mode ---------------------------------------------------------------

// Replaces the screen surface by a new mode and records its size and depth
// in the one display record.
void SDLDPYSetMode(SDLDPY* display, int width, int height) {
  if (display == nullptr || width < 0 || height < 0 || gDisplay == nullptr) {
    SDLDPYError();
    return;
  }
  if (gScreen != nullptr) SDL_FreeSurface(gScreen);
  gVideoFlags = SDLDPYVideoFlags;
  gScreen = SDL_SetVideoMode(width, height, kDesktopDepth, gVideoFlags);
  if (gScreen == nullptr) {
    SDLDPYError();
    return;
  }
  SDL_WM_SetCaption(kCaption, kCaption);
  gDisplay->bpp = gScreen->format->BitsPerPixel;
  gDisplay->width = width;
  gDisplay->height = height;
  gDoubleBuffered = (gScreen->flags & SDL_DOUBLEBUF) != 0 ? 1 : 0;
}

// ---- Showing images -----------------------------------------------------

// Lends the image's pixels to a 32-bit wrapper surface of the visible part
// (rows one image row apart), lets SDL convert it to the screen's format,
// blits it to the top-left corner and presents the screen.
void SDLDPYShowImage(SDLDPY* display, const IMG* image) {
  if (!isDisplay(display) || image == nullptr || image->pixels == nullptr ||
      gScreen == nullptr) {
    SDLDPYError();
    return;
  }
  const int64_t rowBytes = int64_t{image->width} * kPixelBytes;
  if (rowBytes > kMaxPitch) {
    SDLDPYError();
    return;
  }
  const int w = image->width < display->width ? image->width : display->width;
  const int h =
      image->height < display->height ? image->height : display->height;
  SDL_Surface* wrapper =
      SDL_CreateRGBSurface(gVideoFlags, w, h, kWrapperDepth, kRedMask,
                           kGreenMask, kBlueMask, kAlphaMask);
  if (wrapper == nullptr) {
    SDLDPYError();
    return;
  }
  void* ownPixels = wrapper->pixels;
  const Uint16 ownPitch = wrapper->pitch;
  // SDL only reads the lent pixels.
  wrapper->pixels = const_cast<uint32_t*>(image->pixels);
  wrapper->pitch = static_cast<Uint16>(rowBytes);
  SDL_Surface* converted = SDL_DisplayFormat(wrapper);
  wrapper->pixels = ownPixels;
  wrapper->pitch = ownPitch;
  SDL_FreeSurface(wrapper);
  if (converted == nullptr) {
    SDLDPYError();
    return;
  }
  SDL_UpperBlit(converted, nullptr, gScreen, nullptr);
  SDL_FreeSurface(converted);
  present();
}

// Presents the screen while its pixel memory is the image's array.
void SDLDPYShowPixels(SDLDPY* display, const IMG* image) {
  if (!screenSizedImage(display, image) || !screenIs32Bit(display) ||
      gScreen->pitch != display->width * kPixelBytes) {
    SDLDPYError();
    return;
  }
  SDL_LockSurface(gScreen);
  void* ownPixels = gScreen->pixels;
  // SDL only reads the lent pixels while presenting.
  gScreen->pixels = const_cast<uint32_t*>(image->pixels);
  present();
  gScreen->pixels = ownPixels;
  SDL_UnlockSurface(gScreen);
}

// Copies the image row by row into the screen's pixel memory, each row at
// the screen's own pitch, and presents the screen.
void SDLDPYCopyImage(SDLDPY* display, const IMG* image) {
  if (!screenSizedImage(display, image) || !screenIs32Bit(display)) {
    SDLDPYError();
    return;
  }
  SDL_LockSurface(gScreen);
  const size_t rowBytes = static_cast<size_t>(image->width) * kPixelBytes;
  auto* to = static_cast<uint8_t*>(gScreen->pixels);
  const uint32_t* from = image->pixels;
  for (int32_t y = 0; y < image->height; ++y) {
    std::memcpy(to, from, rowBytes);
    to += gScreen->pitch;
    from += image->width;
  }
  SDL_UnlockSurface(gScreen);
  present();
}
