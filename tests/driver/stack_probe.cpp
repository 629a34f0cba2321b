// Runs the stack-checked call that the program uses for the skin engine's
// entry against a right and a deliberately wrong entry, under Wine, and
// prints what the check said: {"balanced":1,"unbalanced":0,"results":[7,7]}.
#include <cstdio>

#include "platform/stack_check/stack_checked_call.h"
#include "platform/stack_check/test_callees.h"

int main() {
  int32_t right = 0, wrong = 0;
  const int balanced = StackCheckedCall2(reinterpret_cast<void*>(&BalancedCallee), "1.she", "", &right);
  const int unbalanced = StackCheckedCall2(reinterpret_cast<void*>(&UnbalancedCallee), "1.she", "", &wrong);
  std::printf("{\"balanced\":%d,\"unbalanced\":%d,\"results\":[%d,%d]}\n", balanced, unbalanced, right, wrong);
  return 0;
}
