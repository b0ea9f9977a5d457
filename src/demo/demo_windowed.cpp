// Build settings of the windowed program: a window with the caption
// "KOVA4018" and the windowed scroll text.
#include <cstdint>

#include "demo/demo.h"
#include "sdldpy/sdldpy.h"

// SDL_ANYFORMAT | SDL_HWSURFACE: a window at the desktop's depth.
const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsWindowed;

// The text that tells how to leave with "Press [ESC] to exit."
const char* const DEMOScrollText = kDEMOScrollTextWindowed;
