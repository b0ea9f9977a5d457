// demo — the driver of the demo: start-up, the frame loop, key handling and
// shutdown, and the choreography data it plays back.
//
// All state is program-wide and open (DEMOGlobals), so that tests can
// compose and check frames without a screen: one frame is DEMOCompose (the
// canvas), DEMOAdvance (all motion) and DEMOFrame (render, show, keys).
// Each program defines the two build settings: SDLDPYVideoFlags (sdldpy.h)
// and DEMOScrollText below. No switches. Depends on every module.
#pragma once

#include <cstdint>  // int32_t

#include "checker/checker.h"
#include "font/font.h"
#include "img/img.h"
#include "scr/scr.h"
#include "scroll/scroll.h"
#include "sdldpy/sdldpy.h"
#include "sdlkbd/sdlkbd.h"

// ---- Choreography data (demo_data.cpp) -----------------------------------

constexpr int32_t kDEMOScreenWidth = 640;   // video mode width in pixels
constexpr int32_t kDEMOScreenHeight = 480;  // video mode height in pixels
constexpr int32_t kDEMOLayerCount = 3;      // checkerboard layers

// A motion table: values in canvas cells, walked cyclically.
struct DEMOTable {
  const int32_t* values;  // the table (static data)
  int32_t count;          // number of values, at least 1
};

// What one checkerboard layer plays back.
struct DEMOLayerData {
  DEMOTable xOffset;     // horizontal offsets
  DEMOTable yOffset;     // vertical offsets
  DEMOTable squareSize;  // square sides
  char fill;             // character the squares are drawn with
};

// The framed KOVA logo: 7 rows of 21 characters joined by line feeds.
extern const char kDEMOLogo[];
constexpr int32_t kDEMOLogoWidth = 21;  // logo columns
constexpr int32_t kDEMOLogoHeight = 7;  // logo rows

// Column and row offsets of the logo's closed path, 58 entries each.
extern const DEMOTable kDEMOLogoX;
extern const DEMOTable kDEMOLogoY;

// The three layers in drawing order: ':', '-' and ')'.
extern const DEMOLayerData kDEMOLayers[kDEMOLayerCount];

// The scroll texts of the two programs: one line of printable ASCII, 40
// spaces in front, 25 (windowed) or 40 (full screen) spaces at the end.
extern const char kDEMOScrollTextWindowed[];
extern const char kDEMOScrollTextFullScreen[];

// The build's scroll text; defined once by every program that links the
// driver (one of the two texts above).
extern const char* const DEMOScrollText;

// ---- Program-wide state ---------------------------------------------------

// Values of the quit code.
constexpr signed char kDEMOKeepRunning = 0;  // stay in the frame loop
constexpr signed char kDEMOQuit = 1;         // end the program
constexpr signed char kDEMOReenter = 2;      // leave the loop and enter again

// Everything the driver holds. Handles are created by DEMOInit and never
// replaced; the canvas, the scroller and the layers live until the process
// ends.
struct DEMOState {
  SDLDPY* display;                   // the video surface
  SDLKBD* keyboard;                  // key polling; buffer[0] is the key byte
  IMG* frame;                        // picture shown each frame, display-sized
  FONT* font;                        // 8 × 8 bitmap font (owns its sheet)
  SCR* canvas;                       // 80 × 60 cells every effect draws into
  SCROLL* scroller;                  // block-letter scroller on row 45
  CHECKER* layers[kDEMOLayerCount];  // checkerboards in drawing order
  int32_t logoXIndex;                // entry of kDEMOLogoX in use, 0 .. 57
  int32_t logoYIndex;                // entry of kDEMOLogoY in use, 0 .. 57
  signed char quitCode;              // kDEMOKeepRunning, kDEMOQuit or
                                     // kDEMOReenter
  signed char toggle1;               // flipped by key '1'; starts at 1
  signed char toggle2;               // flipped by key '2'; starts at 1
  signed char counter3;              // counted up by key '3' (8-bit wrap);
                                     // starts at 7
  int32_t frameCounter;              // calls of DEMOFramesPerSecond
};

// The driver's state, readable and writable by tests.
DEMOState* DEMOGlobals();

// ---- Driver ---------------------------------------------------------------

// Creates every object in order: display, keyboard, the 640 × 480 mode, the
// frame image, the font (sheet from "font8x8.ppm" in the working directory;
// "IMG error\n" and an all-black picture when it cannot be read), canvas,
// scroller, layers. Objects that cannot be created stay null.
void DEMOInit();

// True when start-up produced a running demo: the 640 × 480 mode was set
// and every object exists (a missing font sheet still counts as running).
bool DEMOReady();

// Runs frames until a key sets the quit code; returns after that frame.
void DEMORun();

// Runs DEMORun again after each Space until a quit key (Escape, 'q', 'Q').
void DEMOPlay();

// Releases the frame image, the font with its sheet, the keyboard and the
// display, in that order; their handles become null.
void DEMODone();

// Renders the canvas into the frame image, shows it, polls the keyboard and
// acts on the key byte, which it then clears.
void DEMOFrame();

// Draws every canvas cell, row by row, through the font at an 8-pixel
// pitch into the image (the cell value passed as stored).
void DEMORenderCanvas(IMG* image, const SCR* canvas, const FONT* font);

// Acts on a key code: Escape, 'q', 'Q' quit; Space re-enters the loop;
// '1', '2' flip toggles; '3' counts; every other code does nothing.
void DEMOKey(signed char key);

// Counts a call and returns calls per started second since SDL started.
int DEMOFramesPerSecond();

// Logo base column and row for the canvas: its centre less half the logo.
int32_t DEMOLogoBaseColumn(const SCR* canvas);
int32_t DEMOLogoBaseRow(const SCR* canvas);

// Composes one frame on the canvas: spaces, the three layers, the logo at
// base plus the current path offsets, the scroller.
void DEMOCompose(int32_t baseColumn, int32_t baseRow);

// Advances all motion by one frame: logo path indices, scroller, layers.
void DEMOAdvance();
