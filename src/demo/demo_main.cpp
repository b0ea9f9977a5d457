// The program's entry: SDL up, the demo's start-up, the frame loop until a
// quit key, teardown, SDL down. Linked into both programs, which differ
// only in the two build settings they define (demo_windowed.cpp,
// demo_fullscreen.cpp). Depends on the driver and SDL 1.2.
#include <SDL/SDL.h>

#include <cstdio>  // fprintf

#include "demo/demo.h"

namespace {

// Where SDL renames main to SDL_main, its own entry code initialises SDL
// before calling it and shuts SDL down at exit; elsewhere main does both.
#if defined(main)
constexpr bool kMainStartsSDL = false;
#else
constexpr bool kMainStartsSDL = true;
#endif

constexpr int kExitNoScreen = 1;  // status when the demo cannot be shown

}  // namespace

// Runs the demo; the arguments are not used. 0 after a quit key.
int main(int argc, char* argv[]) {
  static_cast<void>(argc);
  static_cast<void>(argv);
  if (kMainStartsSDL) SDL_Init(SDL_INIT_NOPARACHUTE);
  DEMOInit();
  int status = 0;
  if (DEMOReady()) {
    DEMOPlay();
  } else {
    // Without a screen no key can ever arrive: say why and stop.
    std::fprintf(stderr, "asciidemo: cannot open the %dx%d screen: %s\n",
                 kDEMOScreenWidth, kDEMOScreenHeight, SDL_GetError());
    status = kExitNoScreen;
  }
  DEMODone();
  if (kMainStartsSDL) SDL_Quit();
  return status;
}
