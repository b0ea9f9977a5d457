// util — text measures, whole-file reading and writing, checked allocation.
// No switches; depends on the C standard library only.
#include "util/util.h"

#include <cstdint>
#include <cstdio>   // FILE, fopen, fseek, ftell, fread, fwrite
#include <cstdlib>  // calloc
#include <cstring>  // strlen

namespace {

constexpr char kLineFeed = '\n';

// Allocations MEMAlloc may still grant before injected failures begin;
// negative: no injected failures.
int32_t gAllocationsBeforeFailure = -1;

// Bytes of the zero-sized arrays MEMAlloc hands out, so that they are never
// null.
constexpr size_t kMinimumAllocation = 1;

// Size of an open stream found by seeking to its end; -1 when it cannot be
// measured or does not fit in 32 bits.
int32_t streamSize(FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long end = std::ftell(file);
  if (end < 0 || end > INT32_MAX) return -1;
  return static_cast<int32_t>(end);
}

}  // namespace

// ---- Texts --------------------------------------------------------------

// Counts the bytes before the terminating zero.
int32_t STRLength(const char* text) {
  const size_t length = std::strlen(text);
  return length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
}

// Counts the line feeds and adds one.
int32_t STRLineCount(const char* text) {
  int32_t lines = 1;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == kLineFeed && lines < INT32_MAX) ++lines;
  }
  return lines;
}

// Longest run of bytes between line feeds (or the text's ends).
int32_t STRLongestLine(const char* text) {
  int32_t longest = 0;
  int32_t current = 0;
  for (const char* p = text;; ++p) {
    if (*p == kLineFeed || *p == '\0') {
      if (current > longest) longest = current;
      if (*p == '\0') return longest;
      current = 0;
    } else if (current < INT32_MAX) {
      ++current;
    }
  }
}

// ---- Files --------------------------------------------------------------

// Opens the file, seeks to its end and takes the position as the size.
int32_t FILSize(const char* fileName) {
  FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) return -1;
  const int32_t size = streamSize(file);
  std::fclose(file);
  return size;
}

// Reads the whole file into a buffer one byte longer than the file.
char* FILRead(const char* fileName) {
  const int32_t size = FILSize(fileName);
  if (size < 0) return nullptr;
  char* buffer = static_cast<char*>(MEMAlloc(int64_t{size} + 1, 1));
  if (buffer == nullptr) return nullptr;
  FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) {
    std::free(buffer);
    return nullptr;
  }
  std::fread(buffer, 1, static_cast<size_t>(size), file);
  std::fclose(file);
  return buffer;
}

// Replaces the file's contents with the text's bytes.
void FILWrite(const char* text, const char* fileName) {
  const int32_t length = STRLength(text);
  FILE* file = std::fopen(fileName, "wb");
  if (file == nullptr) return;
  std::fwrite(text, 1, static_cast<size_t>(length), file);
  std::fclose(file);
}

// ---- Memory -------------------------------------------------------------

// calloc with the count and product checked first.
void* MEMAlloc(int64_t count, size_t size) {
  if (count < 0) return nullptr;
  if (size != 0 && static_cast<uint64_t>(count) > SIZE_MAX / size) {
    return nullptr;
  }
  if (gAllocationsBeforeFailure == 0) return nullptr;
  if (gAllocationsBeforeFailure > 0) --gAllocationsBeforeFailure;
  const size_t bytes = static_cast<size_t>(count) * size;
  return std::calloc(bytes == 0 ? kMinimumAllocation : bytes, 1);
}

// Arms or disarms the injected allocation failures.
void MEMFailAfter(int32_t successes) { gAllocationsBeforeFailure = successes; }
