// Tests of the table cursor.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>

#include "seq/seq.h"

namespace {

// Reads the current element as a 4-byte value.
int32_t Current(const SEQ* cursor) {
  return *static_cast<const int32_t*>(SEQGet(cursor));
}

TEST(SeqTest, NewCursorStandsOnAZeroElement) {
  SEQ* cursor = SEQNew();
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->size, 4);
  EXPECT_EQ(cursor->count, 1);
  EXPECT_EQ(cursor->index, 0);
  EXPECT_EQ(cursor->step, 1);
  EXPECT_EQ(Current(cursor), 0);
  SEQStep(cursor);
  EXPECT_EQ(cursor->index, 0);
  EXPECT_EQ(Current(cursor), 0);
  SEQFree(cursor);
}

struct StepCase {
  const char* description;
  int32_t count;
  int32_t index;
  int32_t step;
  int32_t expected;
};

const StepCase kStepCases[] = {
    {"past the end", 5, 4, 1, 0},
    {"before the start", 5, 0, -1, 4},
    {"several laps forward", 5, 2, 13, 0},
    {"several laps backward", 5, 0, -12, 3},
    {"zero step keeps the index", 5, 3, 0, 3},
    {"zero step brings index back in range", 5, 17, 0, 2},
    {"zero step from a negative index", 5, -1, 0, 4},
    {"largest step", 7, 6, INT_MAX, 0},
    {"smallest step", 7, 0, INT_MIN, 5},
    {"largest index and step", INT_MAX, INT_MAX - 1, INT_MAX, INT_MAX - 1},
    {"smallest index and step", 3, INT_MIN, INT_MIN, 2},
    {"count of one", 1, 0, 12345, 0},
};

TEST(SeqTest, StepGivesTheFlooredRemainder) {
  int32_t table[1] = {0};
  for (const StepCase& c : kStepCases) {
    SCOPED_TRACE(c.description);
    SEQ* cursor = SEQNew();
    SEQSet(cursor, table, 4, c.count, c.step);
    cursor->index = c.index;
    SEQStep(cursor);
    EXPECT_EQ(cursor->index, c.expected);
    SEQFree(cursor);
  }
}

// The wrap as a loop of whole laps, one pass per lap.
int32_t WrapByLaps(int32_t index, int32_t step, int32_t count) {
  int32_t next = index + step;
  while (next >= count) next -= count;
  while (next < 0) next += count;
  return next;
}

TEST(SeqTest, StepMatchesWrappingByLaps) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> counts(1, 40);
  std::uniform_int_distribution<int32_t> values(-2000, 2000);
  int32_t table[1] = {0};
  SEQ* cursor = SEQNew();
  for (int i = 0; i < 20000; ++i) {
    const int32_t count = counts(random);
    const int32_t index = values(random);
    const int32_t step = values(random);
    SEQSet(cursor, table, 4, count, step);
    cursor->index = index;
    SEQStep(cursor);
    ASSERT_EQ(cursor->index, WrapByLaps(index, step, count))
        << "index " << index << " step " << step << " count " << count;
  }
  SEQFree(cursor);
}

TEST(SeqTest, StepOverFullRangeLandsInRangeAndCongruent) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> any(INT_MIN, INT_MAX);
  std::uniform_int_distribution<int32_t> counts(1, INT_MAX);
  int32_t table[1] = {0};
  SEQ* cursor = SEQNew();
  for (int i = 0; i < 20000; ++i) {
    const int32_t count = counts(random);
    const int32_t index = any(random);
    const int32_t step = any(random);
    SEQSet(cursor, table, 4, count, step);
    cursor->index = index;
    SEQStep(cursor);
    ASSERT_GE(cursor->index, 0);
    ASSERT_LT(cursor->index, count);
    const int64_t moved = int64_t{index} + step - cursor->index;
    ASSERT_EQ(moved % count, 0)
        << "index " << index << " step " << step << " count " << count;
  }
  SEQFree(cursor);
}

TEST(SeqTest, SetRestartsAtTheFirstElement) {
  const int32_t table[] = {10, 20, 30};
  SEQ* cursor = SEQNew();
  SEQSet(cursor, table, 4, 3, 1);
  EXPECT_EQ(Current(cursor), 10);
  SEQStep(cursor);
  SEQStep(cursor);
  EXPECT_EQ(Current(cursor), 30);
  SEQStep(cursor);
  EXPECT_EQ(Current(cursor), 10);
  SEQStep(cursor);
  SEQSet(cursor, table, 4, 3, 2);
  EXPECT_EQ(cursor->index, 0);
  EXPECT_EQ(Current(cursor), 10);
  SEQFree(cursor);
}

TEST(SeqTest, ByteElementsWalkATextCyclically) {
  const char text[] = "abc";
  SEQ* cursor = SEQNew();
  SEQSet(cursor, text, 1, 3, -1);
  std::string walked;
  for (int i = 0; i < 4; ++i) {
    walked += *static_cast<const char*>(SEQGet(cursor));
    SEQStep(cursor);
  }
  EXPECT_EQ(walked, "acba");
  SEQFree(cursor);
}

TEST(SeqTest, CountBelowOneStaysOnTheFirstElement) {
  int32_t table[1] = {0};
  SEQ* cursor = SEQNew();
  SEQSet(cursor, table, 4, 0, 5);
  SEQStep(cursor);
  EXPECT_EQ(cursor->index, 0);
  SEQFree(cursor);
}

}  // namespace
