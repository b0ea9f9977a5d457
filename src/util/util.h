// util — text measures, whole-file reading and writing, checked allocation.
//
// Texts are zero-terminated byte strings whose lines are separated by line
// feeds (byte 10) only. Files are opened untranslated ("rb", "wb"), so every
// byte passes unchanged. No operation here reports errors; failures give the
// neutral results stated below.
//
// MEMAlloc is the one place where the modules turn a count of elements into
// bytes: it refuses negative counts and products beyond the address range,
// so no caller ever allocates less than it is about to use.
#pragma once

#include <cstddef>  // size_t
#include <cstdint>  // int32_t, int64_t

// Number of bytes before the terminating zero (INT32_MAX for longer texts).
int32_t STRLength(const char* text);

// Number of lines: the number of line feeds plus one.
int32_t STRLineCount(const char* text);

// Length of the longest line in bytes, line feeds not counted.
int32_t STRLongestLine(const char* text);

// Size of the named file in bytes; -1 when it cannot be opened or measured,
// or when it holds 2 GiB or more.
int32_t FILSize(const char* fileName);

// Whole file in a new zero-filled buffer of size + 1 bytes (the last one
// zero), owned by the caller, who releases it with free(). Null when the file
// cannot be opened or measured, or when the buffer cannot be allocated.
char* FILRead(const char* fileName);

// Makes the named file hold exactly the bytes of the text (its terminating
// zero is not written). Writes nothing when the file cannot be opened.
void FILWrite(const char* text, const char* fileName);

// Zero-filled array of count elements of size bytes each, released with
// free(). Null when count is negative, when count × size does not fit in
// size_t, or when memory runs out. An array of zero elements is a valid,
// non-null pointer to no usable bytes.
void* MEMAlloc(int64_t count, size_t size);

// Test hook: lets the next `successes` calls of MEMAlloc succeed and makes
// every later call fail as if memory had run out; a negative value turns
// the injected failures off again (the default).
void MEMFailAfter(int32_t successes);
