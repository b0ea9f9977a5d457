// sdlkbd — the keyboard: turns SDL 1.2's event queue into the code of the
// last key pressed.
//
// Switch: kSDLKBDTrace turns the entry, exit and error trace on or off
// (off). Depends on sdldpy (whether a display exists), util (allocation)
// and SDL 1.2.
#include "sdlkbd/sdlkbd.h"

#include <SDL/SDL.h>

#include <cstdint>
#include <cstdio>   // printf
#include <cstdlib>  // free

#include "sdldpy/sdldpy.h"
#include "util/util.h"

namespace {

// Whether the operations print their trace lines: off. A test build turns
// it on with -DASCIIDEMO_SDLKBD_TRACE=1 to see every line.
#ifndef ASCIIDEMO_SDLKBD_TRACE
#define ASCIIDEMO_SDLKBD_TRACE 0
#endif
constexpr bool kSDLKBDTrace = ASCIIDEMO_SDLKBD_TRACE != 0;

constexpr int kBufferBytes = 8;     // size of the key buffer
constexpr int kKeyByte = 0;         // index of the key byte in the buffer
constexpr int32_t kLowByte = 0xFF;  // the part of a key symbol that is kept

const char* const kErrNoSDL = "ERR SDL not init'ed\n";
const char* const kErrVoid = "ERR void parameter\n";
const char* const kErrNoDisplay = "ERR no display\n";

// ---- Module state -------------------------------------------------------

SDLKBD* gKeyboard = nullptr;  // the one keyboard, or null

// Prints one fixed trace line when the trace is on.
void trace(const char* line) {
  if (kSDLKBDTrace) std::printf("%s", line);
}

// Prints the two trace lines of a key-down when the trace is on.
void traceKey(SDLKey symbol, char code) {
  if (kSDLKBDTrace) {
    std::printf("keyName=%s\n", SDL_GetKeyName(symbol));
    std::printf("keySym=%c\n", code);
  }
}

}  // namespace

// ---- Record -------------------------------------------------------------

// Creates the keyboard once a display exists; later calls return it.
SDLKBD* SDLKBDNew() {
  trace("SDLKBDNew_\n");
  if (SDLDPYCurrent() == nullptr) {
    trace(kErrNoSDL);
    trace("_SDLKBDNew\n");
    return nullptr;
  }
  if (gKeyboard == nullptr) {
    SDLKBD* keyboard = static_cast<SDLKBD*>(MEMAlloc(1, sizeof(SDLKBD)));
    char* buffer = static_cast<char*>(MEMAlloc(kBufferBytes, 1));
    if (keyboard == nullptr || buffer == nullptr) {
      std::free(buffer);
      std::free(keyboard);
      trace("_SDLKBDNew\n");
      return nullptr;
    }
    keyboard->buffer = buffer;
    gKeyboard = keyboard;
  }
  trace("_SDLKBDNew\n");
  return gKeyboard;
}

// Frees the buffer and the record and clears the caller's handle.
void SDLKBDFree(SDLKBD** keyboard) {
  trace("SDLKBDFree_\n");
  if (keyboard == nullptr || *keyboard == nullptr || *keyboard != gKeyboard) {
    trace(kErrVoid);
    trace("_SDLKBDFree\n");
    return;
  }
  std::free(gKeyboard->buffer);
  std::free(gKeyboard);
  gKeyboard = nullptr;
  *keyboard = nullptr;
  trace("_SDLKBDFree\n");
}

// ---- Placeholders of the value operations --------------------------------

// An empty text for any keyboard.
const char* SDLKBDToASCII(const SDLKBD* keyboard) {
  trace("SDLKBDToASCII_\n");
  if (keyboard == nullptr) {
    trace(kErrVoid);
    trace("_SDLKBDToASCII\n");
    return nullptr;
  }
  trace("_SDLKBDToASCII\n");
  return "";
}

// No keyboard is ever made from a text.
SDLKBD* SDLKBDFromASCII(const char* text) {
  trace("SDLKBDFromASCII_\n");
  if (text == nullptr) trace(kErrVoid);
  trace("_SDLKBDFromASCII\n");
  return nullptr;
}

// 1 for the same non-null keyboard twice.
int SDLKBDEqual(const SDLKBD* a, const SDLKBD* b) {
  trace("SDLKBDEqual_\n");
  if (a == nullptr || b == nullptr) {
    trace(kErrVoid);
    trace("_SDLKBDEqual\n");
    return 0;
  }
  trace("_SDLKBDEqual\n");
  return a == b ? 1 : 0;
}

// The keyboard is not copied.
SDLKBD* SDLKBDCopy(const SDLKBD* keyboard) {
  trace("SDLKBDCopy_\n");
  if (keyboard == nullptr) trace(kErrVoid);
  trace("_SDLKBDCopy\n");
  return nullptr;
}

// ---- Polling ------------------------------------------------------------

// Empties SDL's event queue; the key byte ends up holding the low byte of
// the last key-down's symbol, or 0 when a key-up came after it.
void SDLKBDGetKey(SDLKBD* keyboard) {
  trace("SDLKBDGetKey_\n");
  if (SDLDPYCurrent() == nullptr) {
    trace(kErrNoDisplay);
    trace("_SDLKBDGetKey\n");
    return;
  }
  if (keyboard == nullptr) {
    trace(kErrVoid);
    trace("_SDLKBDGetKey\n");
    return;
  }
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_KEYDOWN) {
      const char code = static_cast<char>(
          static_cast<uint8_t>(event.key.keysym.sym & kLowByte));
      keyboard->buffer[kKeyByte] = code;
      traceKey(event.key.keysym.sym, code);
    } else if (event.type == SDL_KEYUP) {
      keyboard->buffer[kKeyByte] = 0;
    }
  }
  trace("_SDLKBDGetKey\n");
}
