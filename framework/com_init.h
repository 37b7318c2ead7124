#pragma once
// COM on the calling thread for as long as the token lives.

#include <windows.h>

namespace zz {

class ComInitialization {
public:
    enum class Kind {
        kApartment,      // single-threaded apartment: windows and automation
        kMultithreaded,  // worker threads
        kOle,            // an apartment with OLE's clipboard and drag and drop
    };

    explicit ComInitialization(Kind kind);
    // Balances only an initialisation that succeeded (S_FALSE, already initialised, included).
    ~ComInitialization();
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

    // False when this thread cannot use COM, for example after another apartment model was chosen.
    [[nodiscard]] bool Started() const { return SUCCEEDED(m_result); }
    HRESULT Result() const { return m_result; }

private:
    Kind m_kind;
    HRESULT m_result;
};

}  // namespace zz
