// demo driver — start-up, the frame loop, key handling and shutdown.
//
// One frame: the canvas is cleared and composed (layers, logo, scroller),
// all motion advances, then the canvas is rendered through the 8 × 8 font
// into the frame image, shown, and the keyboard is polled. There is no
// timing: every motion moves one table step per frame. No switches.
// Depends on every module and SDL 1.2 (milliseconds).
#include "demo/demo.h"

#include <SDL/SDL.h>

#include <cstdint>

#include "seq/seq.h"
#include "util/util.h"

namespace {

constexpr int32_t kGlyphSize = 8;  // font glyph width and height in pixels
constexpr int32_t kCellPitch = 8;  // pixels from one rendered cell to the next
constexpr const char* kFontSheetFile = "font8x8.ppm";  // in the working dir
constexpr char kClearCell = ' ';            // what the canvas is cleared to
constexpr int32_t kTableElementBytes = 4;   // motion table values
constexpr int32_t kTextElementBytes = 1;    // scroll text characters
constexpr int32_t kCursorStep = 1;          // every cursor moves one per frame
constexpr int32_t kScrollRowNumerator = 3;  // scroller at 3/4 of the rows
constexpr int32_t kScrollRowDenominator = 4;
constexpr int32_t kMillisecondsPerSecond = 1000;
constexpr signed char kQuitBit = 1;  // quit code bit that ends the program

// Key codes DEMOKey acts on.
constexpr signed char kKeyEscape = 27;
constexpr signed char kKeySpace = 32;
constexpr signed char kKeyOne = '1';
constexpr signed char kKeyTwo = '2';
constexpr signed char kKeyThree = '3';
constexpr signed char kKeyLowerQ = 'q';
constexpr signed char kKeyUpperQ = 'Q';

// ---- Program state -----------------------------------------------------

DEMOState gState = {
    nullptr,                      // display
    nullptr,                      // keyboard
    nullptr,                      // frame
    nullptr,                      // font
    nullptr,                      // canvas
    nullptr,                      // scroller
    {nullptr, nullptr, nullptr},  // layers
    0,                            // logoXIndex
    0,                            // logoYIndex
    kDEMOKeepRunning,             // quitCode
    1,                            // toggle1
    1,                            // toggle2
    7,                            // counter3
    0,                            // frameCounter
};

// Gives the cursor field a new cursor over the table and releases the one it
// replaces (nothing else refers to it). A cursor that cannot be made leaves
// the field as it was.
void replaceCursor(SEQ** field, const void* table, int32_t size,
                   int32_t count) {
  SEQ* cursor = SEQNew();
  if (cursor == nullptr) return;
  SEQSet(cursor, table, size, count, kCursorStep);
  SEQFree(*field);
  *field = cursor;
}

// The next index of a path table: one further, 0 past its end.
int32_t nextPathIndex(int32_t index, const DEMOTable& table) {
  ++index;
  return index >= table.count ? 0 : index;
}

}  // namespace

// ---- State -------------------------------------------------------------

// The one state record.
DEMOState* DEMOGlobals() { return &gState; }

// ---- Start-up and shutdown ---------------------------------------------

// Creates the display, the keyboard, the mode, the frame image, the font,
// the canvas, the scroller and the layers, in that order.
void DEMOInit() {
  gState.display = SDLDPYNew();
  gState.keyboard = SDLKBDNew();
  SDLDPYSetMode(gState.display, kDEMOScreenWidth, kDEMOScreenHeight);

  gState.frame = IMGNew();
  if (gState.frame != nullptr && gState.display != nullptr) {
    IMGResize(gState.frame, gState.display->width, gState.display->height);
  }

  gState.font = FONTNew();
  IMG* sheet = IMGLoadPNM(kFontSheetFile);
  if (gState.font != nullptr) {
    gState.font->glyphWidth = kGlyphSize;
    gState.font->glyphHeight = kGlyphSize;
    gState.font->sheet = sheet;
  } else if (sheet != nullptr) {
    IMGFree(&sheet);
  }

  gState.canvas = SCRNew();
  if (gState.canvas != nullptr) {
    SCRResize(gState.canvas, kDEMOScreenWidth / kGlyphSize,
              kDEMOScreenHeight / kGlyphSize);
  }

  gState.scroller = SCROLLNew();
  if (gState.scroller != nullptr) {
    gState.scroller->y =
        gState.canvas->h * kScrollRowNumerator / kScrollRowDenominator;
    replaceCursor(&gState.scroller->text, DEMOScrollText, kTextElementBytes,
                  STRLength(DEMOScrollText));
  }

  for (int32_t i = 0; i < kDEMOLayerCount; ++i) {
    CHECKER* layer = CHECKERNew();
    gState.layers[i] = layer;
    if (layer == nullptr) continue;
    const DEMOLayerData& data = kDEMOLayers[i];
    replaceCursor(&layer->xOffset, data.xOffset.values, kTableElementBytes,
                  data.xOffset.count);
    replaceCursor(&layer->yOffset, data.yOffset.values, kTableElementBytes,
                  data.yOffset.count);
    replaceCursor(&layer->squareSize, data.squareSize.values,
                  kTableElementBytes, data.squareSize.count);
  }
  // The fill characters go in once all three layers exist.
  for (int32_t i = 0; i < kDEMOLayerCount; ++i) {
    if (gState.layers[i] != nullptr)
      gState.layers[i]->fill = kDEMOLayers[i].fill;
  }
}

// The mode is 640 × 480 and every object exists.
bool DEMOReady() {
  if (gState.display == nullptr || gState.keyboard == nullptr ||
      gState.frame == nullptr || gState.frame->pixels == nullptr ||
      gState.font == nullptr || gState.canvas == nullptr ||
      gState.canvas->cells == nullptr || gState.scroller == nullptr) {
    return false;
  }
  for (const CHECKER* layer : gState.layers) {
    if (layer == nullptr) return false;
  }
  return gState.display->width == kDEMOScreenWidth &&
         gState.display->height == kDEMOScreenHeight &&
         SDL_GetVideoSurface() != nullptr;
}

// Releases the display-side objects, last of all the display.
void DEMODone() {
  // IMGFree reports a null handle; a frame image that was never made is
  // simply not there to release.
  if (gState.frame != nullptr) IMGFree(&gState.frame);
  FONTFree(&gState.font);
  SDLKBDFree(&gState.keyboard);
  SDLDPYFree(&gState.display);
}

// ---- Frame loop --------------------------------------------------------

// Centre column less half the logo's width.
int32_t DEMOLogoBaseColumn(const SCR* canvas) {
  return canvas->w / 2 - kDEMOLogoWidth / 2;
}

// Centre row less half the logo's height.
int32_t DEMOLogoBaseRow(const SCR* canvas) {
  return canvas->h / 2 - kDEMOLogoHeight / 2;
}

// Spaces, layers 1 to 3, the opaque logo, then the scroller on top.
void DEMOCompose(int32_t baseColumn, int32_t baseRow) {
  SCRFill(gState.canvas, kClearCell);
  for (CHECKER* layer : gState.layers) CHECKERDraw(layer);
  SCRDrawString(gState.canvas,
                baseColumn + kDEMOLogoX.values[gState.logoXIndex],
                baseRow + kDEMOLogoY.values[gState.logoYIndex], kDEMOLogo);
  SCROLLDraw(gState.scroller);
}

// Logo indices (each wrapping at its own table's length), scroller, layers.
void DEMOAdvance() {
  gState.logoXIndex = nextPathIndex(gState.logoXIndex, kDEMOLogoX);
  gState.logoYIndex = nextPathIndex(gState.logoYIndex, kDEMOLogoY);
  SCROLLStep(gState.scroller);
  for (CHECKER* layer : gState.layers) CHECKERStep(layer);
}

// Composes, advances and shows frames until the quit code is set.
void DEMORun() {
  const int32_t baseColumn = DEMOLogoBaseColumn(gState.canvas);
  const int32_t baseRow = DEMOLogoBaseRow(gState.canvas);
  do {
    DEMOCompose(baseColumn, baseRow);
    DEMOAdvance();
    DEMOFrame();
  } while (gState.quitCode == kDEMOKeepRunning);
}

// Re-enters the frame loop after Space, until a quit key.
void DEMOPlay() {
  for (;;) {
    DEMORun();
    if ((gState.quitCode & kQuitBit) != 0) return;
    gState.quitCode = kDEMOKeepRunning;
  }
}

// Clear, render, show, poll, act on the key byte and clear it.
void DEMOFrame() {
  IMGClear(gState.frame);
  DEMORenderCanvas(gState.frame, gState.canvas, gState.font);
  SDLDPYShowImage(gState.display, gState.frame);
  SDLKBDGetKey(gState.keyboard);
  if (gState.keyboard == nullptr) return;
  DEMOKey(static_cast<signed char>(gState.keyboard->buffer[0]));
  gState.keyboard->buffer[0] = 0;
}

// Every cell through the font, rows top to bottom, columns left to right.
void DEMORenderCanvas(IMG* image, const SCR* canvas, const FONT* font) {
  for (int32_t r = 0; r < canvas->h; ++r) {
    const int32_t* row = canvas->cells + int64_t{r} * canvas->w;
    for (int32_t c = 0; c < canvas->w; ++c) {
      FONTDrawChar(font, row[c], kCellPitch * c, kCellPitch * r, image);
    }
  }
}

// ---- Keys --------------------------------------------------------------

// The first matching key applies; any other code does nothing.
void DEMOKey(signed char key) {
  switch (key) {
    case kKeyLowerQ:
    case kKeyUpperQ:
    case kKeyEscape:
      gState.quitCode = kDEMOQuit;
      break;
    case kKeySpace:
      gState.quitCode = kDEMOReenter;
      break;
    case kKeyOne:
      gState.toggle1 ^= 1;
      break;
    case kKeyTwo:
      gState.toggle2 ^= 1;
      break;
    case kKeyThree:
      // 127 + 1 gives -128: the count is an 8-bit two's-complement value.
      gState.counter3 =
          static_cast<signed char>(static_cast<uint8_t>(gState.counter3) + 1);
      break;
    default:
      break;
  }
}

// ---- Frame rate --------------------------------------------------------

// Calls so far divided by the seconds started since SDL came up.
int DEMOFramesPerSecond() {
  // The count wraps at 32 bits instead of overflowing.
  gState.frameCounter =
      static_cast<int32_t>(static_cast<uint32_t>(gState.frameCounter) + 1u);
  const uint32_t seconds = SDL_GetTicks() / kMillisecondsPerSecond;
  return gState.frameCounter / static_cast<int32_t>(seconds + 1);
}
