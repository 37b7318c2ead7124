#include "settings/crt_random.h"

#include <gtest/gtest.h>

#include <vector>

namespace zz {
namespace {

// The state wraps at 32 bits, with no overflow into UB; no count, no draw: the sequence is left
// for the next real choice.
TEST(CrtRandomTest, GivesTheCRuntimeSequenceAndDrawsNothingForNoCount) {
    CrtRandom random(0xFFFFFFFFu);
    EXPECT_EQ(RandomIndex(random, 0), -1);
    EXPECT_EQ(std::vector<int>({random.Next(), random.Next(), random.Next()}),
              (std::vector<int>{35, 29739, 3374}));
}

}  // namespace
}  // namespace zz
