// Tests of the text measures, whole-file operations and checked allocation.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "temp_path.h"
#include "util/util.h"

namespace {

struct TextCase {
  const char* description;
  const char* text;
  int32_t length;
  int32_t lines;
  int32_t longest;
};

const TextCase kTextCases[] = {
    {"empty text", "", 0, 1, 0},
    {"default scroll text", "A scroll's default text. ", 25, 1, 25},
    {"three bytes", "abc", 3, 1, 3},
    {"three bytes and a line feed", "abc\n", 4, 2, 3},
    {"lines of 2 and 4", "ab\ncdef", 7, 2, 4},
    {"longest line first", "abcd\nef\n", 8, 3, 4},
    {"lone line feed", "\n", 1, 2, 0},
    {"line feeds only", "\n\n\n", 3, 4, 0},
    {"carriage return is an ordinary byte", "a\r\nb", 4, 2, 2},
};

TEST(UtilTest, TextMeasures) {
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(STRLength(c.text), c.length);
    EXPECT_EQ(STRLineCount(c.text), c.lines);
    EXPECT_EQ(STRLongestLine(c.text), c.longest);
  }
}

// A file name in the test's temporary directory, removed afterwards.
class FileTest : public testing::Test {
 protected:
  void TearDown() override { std::remove(path_.c_str()); }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_ = TempPath("file");
};

TEST_F(FileTest, EmptyFile) {
  FILWrite("", path());
  EXPECT_EQ(FILSize(path()), 0);
  char* buffer = FILRead(path());
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer[0], '\0');
  std::free(buffer);
}

TEST_F(FileTest, WriteThenReadGivesEveryByte) {
  const std::string text = "line one\r\nline two\r\n\x01\x7f\xe9 end";
  FILWrite(text.c_str(), path());
  EXPECT_EQ(FILSize(path()), static_cast<int32_t>(text.size()));
  char* buffer = FILRead(path());
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(std::string(buffer), text);
  std::free(buffer);
}

TEST_F(FileTest, WriteReplacesLongerContents) {
  FILWrite("a much longer text than the next one", path());
  FILWrite("", path());
  EXPECT_EQ(FILSize(path()), 0);
}

TEST_F(FileTest, ReadKeepsZeroBytesAndEndsWithZero) {
  FILE* file = std::fopen(path(), "wb");
  ASSERT_NE(file, nullptr);
  const char bytes[] = {'a', '\0', 'b'};
  std::fwrite(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  char* buffer = FILRead(path());
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(std::string(buffer, 4), std::string("a\0b\0", 4));
  std::free(buffer);
}

TEST_F(FileTest, UnopenableFilesGiveNeutralResults) {
  const std::string missing = TempPath("no/such/dir/file");
  EXPECT_EQ(FILSize(missing.c_str()), -1);
  EXPECT_EQ(FILRead(missing.c_str()), nullptr);
  FILWrite("text", missing.c_str());
  EXPECT_EQ(FILSize(missing.c_str()), -1);
}

TEST_F(FileTest, ReadFailsWhenBufferCannotBeAllocated) {
  FILWrite("abc", path());
  MEMFailAfter(0);
  char* buffer = FILRead(path());
  MEMFailAfter(-1);
  EXPECT_EQ(buffer, nullptr);
}

TEST(MemAllocTest, RefusesImpossibleCounts) {
  EXPECT_EQ(MEMAlloc(-1, 4), nullptr);
  EXPECT_EQ(MEMAlloc(INT64_MAX, 4), nullptr);
  EXPECT_EQ(MEMAlloc(int64_t{1} << 62, 4), nullptr);
}

TEST(MemAllocTest, ZeroElementsAndZeroFill) {
  void* none = MEMAlloc(0, 4);
  EXPECT_NE(none, nullptr);
  std::free(none);
  auto* values = static_cast<int32_t*>(MEMAlloc(100, sizeof(int32_t)));
  ASSERT_NE(values, nullptr);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(values[i], 0);
  std::free(values);
}

TEST(MemAllocTest, InjectedFailuresStartAfterTheGrantedCalls) {
  MEMFailAfter(1);
  void* first = MEMAlloc(1, 1);
  void* second = MEMAlloc(1, 1);
  MEMFailAfter(-1);
  void* third = MEMAlloc(1, 1);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(third, nullptr);
  std::free(first);
  std::free(third);
}

}  // namespace
