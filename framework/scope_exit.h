#pragma once
// Runs a function when the scope ends, on every way out, unless the work was done another way.

#include <utility>

namespace zz {

template <typename Function>
class ScopeExit {
public:
    explicit ScopeExit(Function function) : m_function(std::move(function)) {}
    ~ScopeExit() {
        if (m_bArmed) {
            m_function();
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    void Dismiss() { m_bArmed = false; }

private:
    Function m_function;
    bool m_bArmed = true;
};

}  // namespace zz
