#include "settings/crt_random.h"

namespace zz {

int CrtRandom::Next() {
    // Unsigned arithmetic wraps modulo 2^32, as the C runtime's state does.
    m_nState = m_nState * 214013u + 2531011u;
    return static_cast<int>((m_nState >> 16) & 0x7FFFu);
}

int RandomIndex(IRandomSource& random, int n) {
    if (n <= 0) {
        return -1;
    }
    // 64 bits so that a large n cannot overflow the product.
    return static_cast<int>(static_cast<std::int64_t>(random.Next()) * n / (kRandomMax + 1));
}

}  // namespace zz
