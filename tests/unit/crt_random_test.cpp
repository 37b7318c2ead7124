#include "settings/crt_random.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zz {
namespace {

std::vector<int> Draw(CrtRandom& random, int n) {
    std::vector<int> numbers;
    for (int i = 0; i < n; ++i) {
        numbers.push_back(random.Next());
    }
    return numbers;
}

// Hands out given numbers, so that the index rule can be checked at its edges.
class FixedSource : public IRandomSource {
public:
    explicit FixedSource(std::vector<int> numbers) : m_numbers(std::move(numbers)) {}
    int Next() override { return m_numbers.at(m_nNext++); }
    size_t Drawn() const { return m_nNext; }

private:
    std::vector<int> m_numbers;
    size_t m_nNext = 0;
};

TEST(CrtRandomTest, GivesTheCRuntimeSequence) {
    CrtRandom one(1);
    EXPECT_EQ(Draw(one, 10),
              (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));

    CrtRandom zero(0);
    EXPECT_EQ(Draw(zero, 5), (std::vector<int>{38, 7719, 21238, 2437, 8855}));

    // The state wraps at 32 bits: a seed with the top bit set must not overflow into UB.
    CrtRandom top(0xFFFFFFFFu);
    EXPECT_EQ(Draw(top, 5), (std::vector<int>{35, 29739, 3374, 11141, 31308}));
}

TEST(CrtRandomTest, RandomIndexScalesIntoTheCount) {
    FixedSource source({0, 32767, 16384, 327, 328, 32767});
    EXPECT_EQ(RandomIndex(source, 100), 0);
    EXPECT_EQ(RandomIndex(source, 100), 99);
    EXPECT_EQ(RandomIndex(source, 3), 1);
    EXPECT_EQ(RandomIndex(source, 100), 0);
    EXPECT_EQ(RandomIndex(source, 100), 1);
    EXPECT_EQ(RandomIndex(source, 1000000), 999969);  // no overflow for large counts

    // No count, no draw: the sequence is left for the next real choice.
    EXPECT_EQ(RandomIndex(source, 0), -1);
    EXPECT_EQ(RandomIndex(source, -5), -1);
    EXPECT_EQ(source.Drawn(), 6u);
}

}  // namespace
}  // namespace zz
