// sdldpy — the display: the one SDL 1.2 video surface and the showing of
// images on it.
//
// There is at most one display; operations recognise it by comparing the
// handle they are given with SDLDPYCurrent(). The video mode flags are a
// build setting: each program defines SDLDPYVideoFlags (windowed or full
// screen, see below). The window and icon caption is "KOVA4018".
//
// Error switch: kSDLDPYErrorReports (sdldpy.cpp), off. When on, every failed
// test prints "SDLDPY error\n"; either way the operation then returns
// without other effect (null or false where a value is returned).
// Depends on img and SDL 1.2.
#pragma once

#include <cstdint>  // uint32_t

#include "img/img.h"

struct SDLDPY {
  int width;   // screen width as requested by the last successful mode
  int height;  // screen height likewise
  int bpp;     // bits per pixel of the screen surface, as SDL reports them
};

// Video flags of a windowed build: SDL_ANYFORMAT | SDL_HWSURFACE.
constexpr uint32_t kSDLDPYFlagsWindowed = 0x10000001u;
// Video flags of a full-screen build: SDL_FULLSCREEN | SDL_ANYFORMAT |
// SDL_HWSURFACE.
constexpr uint32_t kSDLDPYFlagsFullScreen = 0x90000001u;

// The build's video flags word; defined once by every program that links the
// display (one of the two constants above).
extern const uint32_t SDLDPYVideoFlags;

// The one display, or null when none exists.
SDLDPY* SDLDPYCurrent();

// Creates the display and sets a first 256 × 256 mode (returning the display
// whether or not the mode was granted). A display that exists already is
// returned after a report. Null after a report when memory runs out.
SDLDPY* SDLDPYNew();

// Releases the screen surface and the display and sets the caller's handle
// to null; a null address or a handle that is not the display: report. A
// later SDLDPYNew creates a fresh display.
void SDLDPYFree(SDLDPY** display);

// Constant empty text for the display; null after a report otherwise.
const char* SDLDPYToASCII(const SDLDPY* display);

// Always null; reports for a null text or when a display exists.
SDLDPY* SDLDPYFromASCII(const char* text);

// True only when both handles are the display; reports and gives false in
// every other case.
bool SDLDPYEqual(const SDLDPY* a, const SDLDPY* b);

// The display itself when given the display; null after a report otherwise.
SDLDPY* SDLDPYCopy(SDLDPY* display);

// Sets a video mode of width × height at the desktop's depth with the
// build's flags and records it in the display. Null handle, negative size or
// no display: report, no SDL call. A refused mode: report, no screen
// surface, the recorded size kept.
void SDLDPYSetMode(SDLDPY* display, int width, int height);

// Shows the image at the screen's top-left corner through SDL's format
// conversion and presents the screen; an image larger than the screen shows
// its top-left part. Report and nothing else for a foreign handle, a missing
// image or pixel array, no screen surface, or a surface SDL cannot make.
void SDLDPYShowImage(SDLDPY* display, const IMG* image);

// Shows an image of exactly the screen's size by lending its pixels to the
// screen surface while presenting. Report and nothing else for a foreign
// handle, a missing image or pixel array, another size, no screen surface,
// or a screen that is not 32 bits deep with rows width × 4 bytes apart.
void SDLDPYShowPixels(SDLDPY* display, const IMG* image);

// Copies an image of exactly the screen's size into the screen's pixel
// memory, row by row at the screen's own row pitch, and presents the screen.
// Report and nothing else for a foreign handle, a missing image or pixel
// array, another size, no screen surface, or a screen that is not 32 bits
// deep; never writes outside the screen's pixel memory.
void SDLDPYCopyImage(SDLDPY* display, const IMG* image);

// The module's error report: "SDLDPY error\n" when the switch is on.
void SDLDPYError();
