#include "platform/stack_check/stack_checked_call.h"

#include <gtest/gtest.h>

#include "platform/stack_check/test_callees.h"

namespace {

TEST(StackCheck, BalancedEntryPasses) {
  int32_t result = 0;
  EXPECT_EQ(StackCheckedCall2(reinterpret_cast<void*>(&BalancedCallee), "a", "", &result), 1);
  EXPECT_EQ(result, 7);
}

TEST(StackCheck, EntryThatRemovesEightBytesTooManyIsCaughtAndTheStackRepaired) {
  int32_t result = 0;
  volatile int32_t guard = 0x5A5A5A5A;  // a local the repair must leave intact
  EXPECT_EQ(StackCheckedCall2(reinterpret_cast<void*>(&UnbalancedCallee), "a", "", &result), 0);
  EXPECT_EQ(result, 7);
  EXPECT_EQ(guard, 0x5A5A5A5A);
  // The caller goes on working normally after the repair.
  EXPECT_EQ(StackCheckedCall2(reinterpret_cast<void*>(&BalancedCallee), "a", "", &result), 1);
}

}  // namespace
