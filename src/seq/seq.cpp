// seq — table cursor over a borrowed table of fixed-size elements.
// No switches; depends on util (allocation).
#include "seq/seq.h"

#include <cstddef>  // ptrdiff_t
#include <cstdint>
#include <cstdlib>  // free

#include "util/util.h"

namespace {

constexpr int32_t kDefaultSize = 4;   // bytes per element of a new cursor
constexpr int32_t kDefaultCount = 1;  // elements of a new cursor
constexpr int32_t kDefaultStep = 1;   // step of a new cursor

// The table of a cursor that has not been given one: two zero 4-byte
// elements, shared read-only by every such cursor.
constexpr int32_t kDefaultTable[2] = {0, 0};

}  // namespace

// Allocates a cursor over the shared zero table.
SEQ* SEQNew() {
  SEQ* cursor = static_cast<SEQ*>(MEMAlloc(1, sizeof(SEQ)));
  if (cursor == nullptr) return nullptr;
  cursor->size = kDefaultSize;
  cursor->count = kDefaultCount;
  cursor->table = kDefaultTable;
  cursor->index = 0;
  cursor->step = kDefaultStep;
  return cursor;
}

// Releases the record; the table is not the cursor's.
void SEQFree(SEQ* cursor) { std::free(cursor); }

// Stores the table and its shape and restarts at element 0.
void SEQSet(SEQ* cursor, const void* table, int32_t size, int32_t count,
            int32_t step) {
  cursor->table = table;
  cursor->size = size;
  cursor->count = count;
  cursor->step = step;
  cursor->index = 0;
}

// index ← (index + step) floored modulo count, computed in 64 bits so that
// no sum overflows; the same result as wrapping by repeated subtraction or
// addition of count.
void SEQStep(SEQ* cursor) {
  if (cursor->count < 1) {
    cursor->index = 0;
    return;
  }
  int64_t next = (int64_t{cursor->index} + cursor->step) % cursor->count;
  if (next < 0) next += cursor->count;
  cursor->index = static_cast<int32_t>(next);
}

// Byte address of the current element.
const void* SEQGet(const SEQ* cursor) {
  const ptrdiff_t offset = static_cast<ptrdiff_t>(cursor->index) * cursor->size;
  return static_cast<const unsigned char*>(cursor->table) + offset;
}
