// Build settings of the full-screen program: the whole screen and the
// full-screen scroll text.
#include <cstdint>

#include "demo/demo.h"
#include "sdldpy/sdldpy.h"

// SDL_FULLSCREEN | SDL_ANYFORMAT | SDL_HWSURFACE.
const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsFullScreen;

// The text whose hint tells how to return to the desktop.
const char* const DEMOScrollText = kDEMOScrollTextFullScreen;
