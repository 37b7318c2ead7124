#include "settings/crt_random.h"

#include <gtest/gtest.h>

#include <vector>

namespace zz {
namespace {

// Hands out given numbers, so that the index rule can be checked at its edges.
struct FixedSource : IRandomSource {
    std::vector<int> numbers{0, 32767, 328};
    size_t drawn = 0;
    int Next() override { return numbers.at(drawn++); }
};

TEST(CrtRandomTest, GivesTheCRuntimeSequenceAndScalesItIntoTheCount) {
    CrtRandom random(0xFFFFFFFFu);  // the state wraps at 32 bits, with no overflow into UB
    EXPECT_EQ(std::vector<int>({random.Next(), random.Next(), random.Next()}),
              (std::vector<int>{35, 29739, 3374}));
    FixedSource source;
    EXPECT_EQ(RandomIndex(source, 100), 0);
    EXPECT_EQ(RandomIndex(source, 100), 99);
    EXPECT_EQ(RandomIndex(source, 100), 1);
    EXPECT_EQ(RandomIndex(source, 0), -1);  // no count, no draw: left for the next real choice
    EXPECT_EQ(source.drawn, 3u);
}

}  // namespace
}  // namespace zz
