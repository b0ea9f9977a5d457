// Tests of the keyboard under SDL's dummy video driver, with key events
// pushed into SDL's queue.
//
// Built twice: as sdlkbd_test with the module's trace off, as in the
// programs, and as sdlkbd_trace_test with the module compiled in with
// ASCIIDEMO_SDLKBD_TRACE=1, where every call must print exactly its lines.
#include "sdlkbd/sdlkbd.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "capture.h"
#include "sdldpy/sdldpy.h"
#include "util/util.h"

#ifndef ASCIIDEMO_SDLKBD_TRACE
#define ASCIIDEMO_SDLKBD_TRACE 0
#endif

const uint32_t SDLDPYVideoFlags = kSDLDPYFlagsWindowed;

namespace {

// The trace lines expected of a call in this build: all of them with the
// trace on, none with it off.
std::string Trace(std::initializer_list<const char*> lines) {
  std::string text;
  if (ASCIIDEMO_SDLKBD_TRACE) {
    for (const char* line : lines) text += line;
  }
  return text;
}

// Each test starts with a display and no keyboard, and ends with neither
// and SDL shut down.
class SdlkbdTest : public testing::Test {
 protected:
  void SetUp() override { display_ = SDLDPYNew(); }

  void TearDown() override {
    if (keyboard_ != nullptr) SDLKBDFree(&keyboard_);
    if (SDLDPYCurrent() != nullptr) SDLDPYFree(&display_);
    SDL_Quit();
  }

  // Creates the keyboard (silently, whatever the trace).
  void MakeKeyboard() {
    CapturedStdout([&] { keyboard_ = SDLKBDNew(); });
    ASSERT_NE(keyboard_, nullptr);
  }

  // The key byte.
  signed char Key() const {
    return static_cast<signed char>(keyboard_->buffer[0]);
  }

  SDLDPY* display_ = nullptr;
  SDLKBD* keyboard_ = nullptr;
};

// Pushes a key press (down true) or release of the key symbol.
void PushKey(SDLKey symbol, bool down) {
  SDL_Event event = {};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = symbol;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}

// Pushes an event of a type that carries no key.
void PushOther(uint8_t type) {
  SDL_Event event = {};
  event.type = type;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}

// Number of events waiting in SDL's queue.
int Pending() {
  SDL_Event events[16];
  return SDL_PeepEvents(events, 16, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

TEST_F(SdlkbdTest, NewNeedsADisplayAndIsMadeOnce) {
  SDLDPYFree(&display_);
  SDLKBD* keyboard = nullptr;
  EXPECT_EQ(CapturedStdout([&] { keyboard = SDLKBDNew(); }),
            Trace({"SDLKBDNew_\n", "ERR SDL not init'ed\n", "_SDLKBDNew\n"}));
  EXPECT_EQ(keyboard, nullptr);
  display_ = SDLDPYNew();
  EXPECT_EQ(CapturedStdout([&] { keyboard_ = SDLKBDNew(); }),
            Trace({"SDLKBDNew_\n", "_SDLKBDNew\n"}));
  ASSERT_NE(keyboard_, nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(keyboard_->buffer[i], 0);
  EXPECT_EQ(CapturedStdout([&] { EXPECT_EQ(SDLKBDNew(), keyboard_); }),
            Trace({"SDLKBDNew_\n", "_SDLKBDNew\n"}));
}

struct DrainCase {
  const char* description;
  std::vector<std::pair<SDLKey, bool>> events;  // symbol, pressed
  signed char before;                           // key byte before the drain
  signed char after;                            // key byte after it
};

const DrainCase kDrainCases[] = {
    {"escape held", {{SDLK_ESCAPE, true}}, 0, 27},
    {"a quick tap between two drains is lost",
     {{SDLK_q, true}, {SDLK_q, false}},
     0,
     0},
    {"shift, then q, both held: lower-case q",
     {{SDLK_LSHIFT, true}, {SDLK_q, true}},
     0,
     113},
    {"two presses leave the second", {{SDLK_1, true}, {SDLK_2, true}}, 0, 50},
    {"a release of another key clears the byte",
     {{SDLK_q, true}, {SDLK_LSHIFT, false}},
     0,
     0},
    {"F2 arrives as escape", {{SDLK_F2, true}}, 0, 27},
    {"F7 arrives as space", {{SDLK_F7, true}}, 0, 32},
    {"right ctrl arrives as '1'", {{SDLK_RCTRL, true}}, 0, 49},
    {"left ctrl arrives as '2'", {{SDLK_LCTRL, true}}, 0, 50},
    {"right alt arrives as '3'", {{SDLK_RALT, true}}, 0, 51},
    {"keypad 0 arrives as no key", {{SDLK_KP0, true}}, 9, 0},
    {"no events keep the byte", {}, 55, 55},
};

TEST_F(SdlkbdTest, GetKeyLeavesTheLastKeyEvent) {
  MakeKeyboard();
  for (const DrainCase& c : kDrainCases) {
    SCOPED_TRACE(c.description);
    keyboard_->buffer[0] = c.before;
    for (const auto& [symbol, down] : c.events) PushKey(symbol, down);
    CapturedStdout([&] { SDLKBDGetKey(keyboard_); });
    EXPECT_EQ(Key(), c.after);
    EXPECT_EQ(Pending(), 0);
  }
}

TEST_F(SdlkbdTest, OtherEventsAreDiscarded) {
  MakeKeyboard();
  keyboard_->buffer[0] = 55;
  PushOther(SDL_QUIT);  // the window's close request
  PushOther(SDL_MOUSEBUTTONDOWN);
  PushOther(SDL_ACTIVEEVENT);
  EXPECT_EQ(CapturedStdout([&] { SDLKBDGetKey(keyboard_); }),
            Trace({"SDLKBDGetKey_\n", "_SDLKBDGetKey\n"}));
  EXPECT_EQ(Key(), 55);
  EXPECT_EQ(Pending(), 0);
}

TEST_F(SdlkbdTest, HeldKeyIsSeenOnceWhenTheCallerClearsTheByte) {
  MakeKeyboard();
  PushKey(SDLK_ESCAPE, true);
  SDLKBDGetKey(keyboard_);
  EXPECT_EQ(Key(), 27);
  keyboard_->buffer[0] = 0;
  SDLKBDGetKey(keyboard_);  // still held: no new event
  EXPECT_EQ(Key(), 0);
}

TEST_F(SdlkbdTest, KeyDownTracesItsNameAndCode) {
  MakeKeyboard();
  PushKey(SDLK_q, true);
  PushKey(SDLK_q, false);
  EXPECT_EQ(CapturedStdout([&] { SDLKBDGetKey(keyboard_); }),
            Trace({"SDLKBDGetKey_\n", "keyName=q\n", "keySym=q\n",
                   "_SDLKBDGetKey\n"}));
}

TEST_F(SdlkbdTest, NothingIsPolledWithoutAKeyboardOrADisplay) {
  MakeKeyboard();
  PushKey(SDLK_ESCAPE, true);
  EXPECT_EQ(
      CapturedStdout([] { SDLKBDGetKey(nullptr); }),
      Trace({"SDLKBDGetKey_\n", "ERR void parameter\n", "_SDLKBDGetKey\n"}));
  EXPECT_EQ(Pending(), 1);
  SDLDPYFree(&display_);
  EXPECT_EQ(CapturedStdout([&] { SDLKBDGetKey(keyboard_); }),
            Trace({"SDLKBDGetKey_\n", "ERR no display\n", "_SDLKBDGetKey\n"}));
  EXPECT_EQ(Pending(), 1);
  EXPECT_EQ(Key(), 0);
  display_ = SDLDPYNew();
  SDLKBDGetKey(keyboard_);
  EXPECT_EQ(Key(), 27);
}

TEST_F(SdlkbdTest, PlaceholderOperations) {
  MakeKeyboard();
  SDLKBD other = {};
  const std::string error = "ERR void parameter\n";
  struct Case {
    const char* description;
    std::function<void()> call;
    std::string printed;
  };
  const Case cases[] = {
      {"to text", [&] { EXPECT_STREQ(SDLKBDToASCII(keyboard_), ""); },
       Trace({"SDLKBDToASCII_\n", "_SDLKBDToASCII\n"})},
      {"to text of null", [] { EXPECT_EQ(SDLKBDToASCII(nullptr), nullptr); },
       Trace({"SDLKBDToASCII_\n", error.c_str(), "_SDLKBDToASCII\n"})},
      {"from text", [] { EXPECT_EQ(SDLKBDFromASCII("x"), nullptr); },
       Trace({"SDLKBDFromASCII_\n", "_SDLKBDFromASCII\n"})},
      {"from null", [] { EXPECT_EQ(SDLKBDFromASCII(nullptr), nullptr); },
       Trace({"SDLKBDFromASCII_\n", error.c_str(), "_SDLKBDFromASCII\n"})},
      {"equal to itself",
       [&] { EXPECT_EQ(SDLKBDEqual(keyboard_, keyboard_), 1); },
       Trace({"SDLKBDEqual_\n", "_SDLKBDEqual\n"})},
      {"unequal records are no error",
       [&] { EXPECT_EQ(SDLKBDEqual(keyboard_, &other), 0); },
       Trace({"SDLKBDEqual_\n", "_SDLKBDEqual\n"})},
      {"equal with null",
       [&] { EXPECT_EQ(SDLKBDEqual(keyboard_, nullptr), 0); },
       Trace({"SDLKBDEqual_\n", error.c_str(), "_SDLKBDEqual\n"})},
      {"copy", [&] { EXPECT_EQ(SDLKBDCopy(keyboard_), nullptr); },
       Trace({"SDLKBDCopy_\n", "_SDLKBDCopy\n"})},
      {"copy of null", [] { EXPECT_EQ(SDLKBDCopy(nullptr), nullptr); },
       Trace({"SDLKBDCopy_\n", error.c_str(), "_SDLKBDCopy\n"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(CapturedStdout(c.call), c.printed);
  }
}

TEST_F(SdlkbdTest, FreeClearsTheHandleAndANewKeyboardIsFresh) {
  MakeKeyboard();
  SDLKBD* copy = keyboard_;
  EXPECT_EQ(CapturedStdout([&] { SDLKBDFree(&keyboard_); }),
            Trace({"SDLKBDFree_\n", "_SDLKBDFree\n"}));
  EXPECT_EQ(keyboard_, nullptr);
  const std::string refused =
      Trace({"SDLKBDFree_\n", "ERR void parameter\n", "_SDLKBDFree\n"});
  EXPECT_EQ(CapturedStdout([&] { SDLKBDFree(&keyboard_); }), refused);
  EXPECT_EQ(CapturedStdout([] { SDLKBDFree(nullptr); }), refused);
  // A copy of the released handle is no longer the keyboard: not freed
  // twice.
  EXPECT_EQ(CapturedStdout([&] { SDLKBDFree(&copy); }), refused);
  MakeKeyboard();
  EXPECT_EQ(Key(), 0);
}

TEST_F(SdlkbdTest, NewWithoutMemoryGivesNull) {
  for (int32_t successes : {0, 1}) {
    SCOPED_TRACE(successes);
    SDLKBD* keyboard = nullptr;
    CapturedStdout([&] {
      MEMFailAfter(successes);
      keyboard = SDLKBDNew();
      MEMFailAfter(-1);
    });
    EXPECT_EQ(keyboard, nullptr);
  }
  MakeKeyboard();
}

}  // namespace
