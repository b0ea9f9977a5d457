// sdlkbd — the keyboard: turns SDL 1.2's event queue into the code of the
// last key pressed.
//
// Byte 0 of the buffer is the key byte: the low byte of the last key-down
// event's key symbol, 0 after a key-up or when no key was pressed. The
// caller reads and clears it directly. Works only while a display exists.
//
// Trace switch: kSDLKBDTrace (sdlkbd.cpp), off. When on, every operation
// prints its entry line ("SDLKBDNew_\n"), error line ("ERR ...\n") and exit
// line ("_SDLKBDNew\n"); SDLKBDGetKey adds "keyName=%s\n" and "keySym=%c\n"
// per key-down. Depends on sdldpy and SDL 1.2.
#pragma once

struct SDLKBD {
  char* buffer;  // 8 zero-filled bytes (owned); byte 0 is the key byte
};

// The keyboard (created on the first call, the same one afterwards); null
// when no display exists or memory runs out.
SDLKBD* SDLKBDNew();

// Releases the keyboard and sets the caller's handle to null; a null address
// or handle, or a handle that is not the keyboard (a copy of one already
// released), does nothing. A later SDLKBDNew creates a fresh keyboard.
void SDLKBDFree(SDLKBD** keyboard);

// Constant empty text for any keyboard; null for null.
const char* SDLKBDToASCII(const SDLKBD* keyboard);

// Always null.
SDLKBD* SDLKBDFromASCII(const char* text);

// 1 when both are non-null and the same keyboard, else 0.
int SDLKBDEqual(const SDLKBD* a, const SDLKBD* b);

// Always null.
SDLKBD* SDLKBDCopy(const SDLKBD* keyboard);

// Drains SDL's event queue: a key-down stores the low byte of its key symbol
// in the key byte, a key-up stores 0, every other event (window close
// included) is discarded. Without a display or with a null keyboard nothing
// is polled.
void SDLKBDGetKey(SDLKBD* keyboard);
