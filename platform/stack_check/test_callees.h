// Entries for testing the stack check: one that returns as it should, and
// one that removes 8 bytes too many from the stack on return.
#pragma once

#include <cstdint>

extern "C" {
int32_t BalancedCallee(const char* first, const char* second);
int32_t UnbalancedCallee(const char* first, const char* second);
}
