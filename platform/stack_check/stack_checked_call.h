// Calls an outside entry that takes two texts and returns a 32-bit integer,
// and tells whether the stack pointer came back exactly where it was: an
// entry built with another calling convention, or another argument count,
// removes the wrong number of bytes on return.
#pragma once

#include <cstdint>

extern "C" {

// Returns 1 when the stack was balanced after the call, 0 when it was not;
// the entry's result is stored in *result either way.
int StackCheckedCall2(void* entry, const char* first, const char* second, int32_t* result);

}
