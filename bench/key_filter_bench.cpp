// Cost of the keyboard guard's key decision: every key press of the desktop waits for it.

#include <chrono>
#include <cstdint>
#include <cstdio>

#include "hook/key_filter.h"

int main() {
    constexpr int kRounds = 2000;
    constexpr std::uint32_t kKeys = 256;
    constexpr long long kDecisions = static_cast<long long>(kRounds) * kKeys * 4;

    // Volatile inputs keep the compiler from folding the loop away.
    volatile std::uint32_t keyOffset = 0;
    std::uint64_t swallowed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (std::uint32_t vk = 0; vk < kKeys; ++vk) {
            const std::uint32_t key = vk + keyOffset;
            swallowed += zz::ShouldSwallowKey(key, false, false);
            swallowed += zz::ShouldSwallowKey(key, true, false);
            swallowed += zz::ShouldSwallowKey(key, false, true);
            swallowed += zz::ShouldSwallowKey(key, true, true);
        }
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double ns = std::chrono::duration<double, std::nano>(elapsed).count();

    std::printf("key_filter: %lld decisions, %.2f ns per decision (%llu swallowed)\n", kDecisions,
                ns / static_cast<double>(kDecisions), static_cast<unsigned long long>(swallowed));
    return 0;
}
