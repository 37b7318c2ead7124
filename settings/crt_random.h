#pragma once
// Random numbers for the play surface: the classic C runtime sequence, so that one seed gives
// the same pictures and sounds on every platform and compiler.

#include <cstdint>

namespace zz {

inline constexpr int kRandomMax = 32767;

class IRandomSource {
public:
    virtual ~IRandomSource() = default;

    // Next number of the sequence, 0 to kRandomMax.
    virtual int Next() = 0;
};

class CrtRandom final : public IRandomSource {
public:
    explicit CrtRandom(std::uint32_t seed) : m_nState(seed) {}

    int Next() override;

private:
    std::uint32_t m_nState;
};

// An index below n drawn from one number of the source, or -1 when n is not positive.
int RandomIndex(IRandomSource& random, int n);

}  // namespace zz
