// seq — table cursor: a cycling position over a borrowed table of
// fixed-size elements.
//
// The cursor hands out the address of its current element; the caller reads
// it with the width it knows. Stepping wraps around at both ends, so any
// step (zero, negative, several laps) lands on the floored remainder.
// No operation tests its arguments or reports anything: a null cursor or a
// null table lie outside the cursor's domain.
#pragma once

#include <cstdint>  // int32_t

struct SEQ {
  int32_t size;       // bytes per element
  int32_t count;      // number of elements, the wrap bound; at least 1
  int32_t index;      // current element, 0 .. count-1 after every SEQStep
  int32_t step;       // elements moved per SEQStep; any value
  const void* table;  // first element of the walked table (borrowed)
};

// New cursor: size 4, count 1, index 0, step 1, over a shared table of two
// zero 4-byte elements. Null when memory runs out.
SEQ* SEQNew();

// Releases the cursor record only; the table stays its owner's.
void SEQFree(SEQ* cursor);

// Attaches a table (borrowed: it must outlive the cursor) and restarts the
// walk at element 0.
void SEQSet(SEQ* cursor, const void* table, int32_t size, int32_t count,
            int32_t step);

// Moves index by step and wraps it into 0 .. count-1 (floored remainder) in
// constant time; a count below 1 sets index to 0.
void SEQStep(SEQ* cursor);

// Address of the current element: table + index × size, unchecked.
const void* SEQGet(const SEQ* cursor);
