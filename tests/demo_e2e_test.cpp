// End-to-end tests of the two programs on a private X server (Xvfb): the
// real binaries open their window, show the picture (read back from the
// server and decoded cell by cell through the font sheet), and end with
// status 0 when a quit key is held; without the font sheet they report it
// once and show black frames.
#include <gtest/gtest.h>
#include <unistd.h>  // symlink, rmdir, unlink

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "file_bytes.h"
#include "img/img.h"
#include "xvfb.h"

namespace {

using std::chrono::milliseconds;

const std::string kProgramDir = ASCIIDEMO_BINARY_DIR "/src/demo";
const std::string kFontSheet = ASCIIDEMO_SOURCE_DIR "/data/font8x8.ppm";

constexpr int kColumns = 80;    // cells across the picture
constexpr int kRows = 60;       // cells down the picture
constexpr int kCell = 8;        // pixels per cell side
constexpr char kUnknown = '?';  // a cell that matches no glyph exactly

// Limits generous enough for the sanitizer build on a busy machine.
constexpr milliseconds kWindowLimit(30000);
constexpr milliseconds kExitLimit(15000);
constexpr milliseconds kRunning(1500);

// A fresh working directory for one run of a program, removed afterwards
// with everything the test put into it.
class WorkDir {
 public:
  WorkDir() {
    char pattern[] = "/tmp/asciidemo-e2e-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~WorkDir() {
    for (const std::string& file : files_) unlink((path_ + "/" + file).c_str());
    rmdir(path_.c_str());
  }
  // The directory's path.
  const std::string& path() const { return path_; }
  // The path of a file in it that is removed with the directory.
  std::string File(const std::string& name) {
    files_.push_back(name);
    return path_ + "/" + name;
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

// One run of a program: its own X server and working directory.
class DemoRun {
 public:
  DemoRun(const std::string& program, bool withFontSheet) {
    if (withFontSheet) {
      const std::string sheet = work_.File("font8x8.ppm");
      EXPECT_EQ(symlink(kFontSheet.c_str(), sheet.c_str()), 0);
    }
    output_ = work_.File("stdout.txt");
    child_ = std::make_unique<ChildProgram>(
        kProgramDir + "/" + program, work_.path(), server_.display(), output_);
  }

  // Whether the X server came up.
  bool ServerRunning() const { return !server_.display().empty(); }

  // The id of the window titled "KOVA4018", waiting for it; empty when it
  // does not appear.
  std::string Window() {
    const auto end = std::chrono::steady_clock::now() + kWindowLimit;
    while (std::chrono::steady_clock::now() < end && child_->Running()) {
      std::istringstream ids(
          RunOn(server_.display(), "xdotool search --name '^KOVA4018$'"));
      std::string id;
      if (ids >> id) return id;
      std::this_thread::sleep_for(milliseconds(100));
    }
    return "";
  }

  // Holds the key down for a moment, long enough for several frames.
  void HoldKey(const std::string& key) {
    RunOn(server_.display(),
          "xdotool keydown " + key + " && sleep 0.4 && xdotool keyup " + key);
  }

  // The whole screen as the X server shows it (the window fills it), read
  // from the root window, whose colours xwdtopnm converts exactly; null
  // when it cannot be taken.
  IMG* Screenshot() {
    const std::string file = work_.File("shot.ppm");
    RunOn(server_.display(),
          "xwd -silent -root | xwdtopnm | pamdepth 255 > " + file);
    return IMGLoadPNM(file.c_str());
  }

  // The window's size as "WIDTHxHEIGHT".
  std::string WindowSize(const std::string& window) {
    std::istringstream lines(
        RunOn(server_.display(), "xdotool getwindowgeometry " + window));
    for (std::string word; lines >> word;) {
      if (word == "Geometry:" && lines >> word) return word;
    }
    return "";
  }

  ChildProgram& child() { return *child_; }
  // What the program printed on standard output so far.
  std::string Output() const { return ReadBytes(output_); }

 private:
  XvfbServer server_;
  WorkDir work_;
  std::string output_;
  std::unique_ptr<ChildProgram> child_;
};

// Reads a picture back into characters: each 8 × 8 cell must equal the
// glyph cell of one printable character of the font sheet exactly (black
// where the glyph is transparent); cells that match none read as '?'.
std::vector<std::string> DecodeCells(const IMG* picture) {
  IMG* sheet = IMGLoadPNM(kFontSheet.c_str());
  std::map<std::vector<uint32_t>, char> glyphs;
  for (int code = 126; code >= 32; --code) {  // lowest code wins a tie
    const int sx = code * kCell % sheet->width;
    const int sy = code * kCell / sheet->width * kCell;
    std::vector<uint32_t> cell;
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        cell.push_back(IMGGetPixel(sheet, sx + x, sy + y));
      }
    }
    glyphs[cell] = static_cast<char>(code);
  }
  IMGFree(&sheet);
  std::vector<std::string> rows;
  for (int r = 0; r < kRows; ++r) {
    std::string row;
    for (int c = 0; c < kColumns; ++c) {
      std::vector<uint32_t> cell;
      for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
          cell.push_back(IMGGetPixel(picture, c * kCell + x, r * kCell + y) &
                         0x00FFFFFFu);
        }
      }
      const auto found = glyphs.find(cell);
      row += found == glyphs.end() ? kUnknown : found->second;
    }
    rows.push_back(row);
  }
  return rows;
}

const std::vector<std::string> kLogo = {
    "|||||||||||||||||||||", "| K  K OOO V V  AA  |", "| K K  O O V V A  A |",
    "| KK   O O V V AAAA |", "| K K  O O V V A  A |", "| K  K OOO  V  A  A |",
    "|||||||||||||||||||||"};

// Whether the logo stands somewhere in the decoded picture.
bool HasLogo(const std::vector<std::string>& rows) {
  for (size_t r = 0; r + kLogo.size() <= rows.size(); ++r) {
    for (size_t c = rows[r].find(kLogo[0]); c != std::string::npos;
         c = rows[r].find(kLogo[0], c + 1)) {
      bool all = true;
      for (size_t k = 1; k < kLogo.size() && all; ++k) {
        all = rows[r + k].compare(c, kLogo[k].size(), kLogo[k]) == 0;
      }
      if (all) return true;
    }
  }
  return false;
}

// Number of cells holding the character.
int Count(const std::vector<std::string>& rows, char ch) {
  int n = 0;
  for (const std::string& row : rows) {
    for (char cell : row) n += cell == ch;
  }
  return n;
}

// The decoded picture, for failure messages.
std::string Joined(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

TEST(DemoE2eTest, WindowShowsLogoAndLayersAndHeldQEndsIt) {
  DemoRun run("asciidemo", true);
  ASSERT_TRUE(run.ServerRunning());
  const std::string window = run.Window();
  ASSERT_FALSE(window.empty()) << "no window titled KOVA4018";
  EXPECT_EQ(run.WindowSize(window), "640x480");
  std::this_thread::sleep_for(milliseconds(500));
  IMG* shot = run.Screenshot();
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->width, 640);
  EXPECT_EQ(shot->height, 480);
  const std::vector<std::string> cells = DecodeCells(shot);
  IMGFree(&shot);
  EXPECT_EQ(Count(cells, kUnknown), 0) << Joined(cells);
  EXPECT_TRUE(HasLogo(cells)) << Joined(cells);
  for (char fill : {':', '-', ')'}) {
    EXPECT_GT(Count(cells, fill), 0) << fill << "\n" << Joined(cells);
  }
  run.HoldKey("q");
  EXPECT_EQ(run.child().WaitForExit(kExitLimit), 0);
  EXPECT_EQ(run.Output(), "");
}

TEST(DemoE2eTest, HeldEscapeEndsIt) {
  DemoRun run("asciidemo", true);
  ASSERT_TRUE(run.ServerRunning());
  ASSERT_FALSE(run.Window().empty());
  run.HoldKey("Escape");
  EXPECT_EQ(run.child().WaitForExit(kExitLimit), 0);
}

TEST(DemoE2eTest, SpaceAndTheQuietKeysKeepItRunning) {
  DemoRun run("asciidemo", true);
  ASSERT_TRUE(run.ServerRunning());
  ASSERT_FALSE(run.Window().empty());
  for (const char* key : {"space", "1", "2", "3", "a"}) {
    run.HoldKey(key);
  }
  std::this_thread::sleep_for(kRunning);
  EXPECT_TRUE(run.child().Running());
  run.HoldKey("q");
  EXPECT_EQ(run.child().WaitForExit(kExitLimit), 0);
}

TEST(DemoE2eTest, FullScreenProgramRunsToo) {
  DemoRun run("asciidemo-fullscreen", true);
  ASSERT_TRUE(run.ServerRunning());
  ASSERT_FALSE(run.Window().empty());
  std::this_thread::sleep_for(milliseconds(500));
  IMG* shot = run.Screenshot();
  ASSERT_NE(shot, nullptr);
  const std::vector<std::string> cells = DecodeCells(shot);
  IMGFree(&shot);
  EXPECT_TRUE(HasLogo(cells)) << Joined(cells);
  run.HoldKey("q");
  EXPECT_EQ(run.child().WaitForExit(kExitLimit), 0);
}

TEST(DemoE2eTest, WithoutTheFontSheetItReportsOnceAndShowsBlack) {
  DemoRun run("asciidemo", false);
  ASSERT_TRUE(run.ServerRunning());
  ASSERT_FALSE(run.Window().empty());
  std::this_thread::sleep_for(milliseconds(500));
  IMG* shot = run.Screenshot();
  ASSERT_NE(shot, nullptr);
  IMG* black = IMGNew();
  IMGResize(black, shot->width, shot->height);
  for (int64_t i = 0; i < int64_t{shot->width} * shot->height; ++i) {
    shot->pixels[i] &= 0x00FFFFFFu;
  }
  EXPECT_TRUE(IMGEqual(shot, black));
  IMGFree(&shot);
  IMGFree(&black);
  run.HoldKey("q");
  EXPECT_EQ(run.child().WaitForExit(kExitLimit), 0);
  EXPECT_EQ(run.Output(), "IMG error\n");
}

}  // namespace
