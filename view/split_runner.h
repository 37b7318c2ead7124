#pragma once
// Runs the parts of one job on the calling thread and a helper thread together: the scaling
// that every animation tick waits for, on two cores. The caller takes parts as well and never
// waits for the helper to start, so a busy machine costs no more than one thread would.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zz {

class SplitRunner {
public:
    // job(part, lane): lane 0 is the calling thread, 1 the helper; each lane runs one part at
    // a time, so per-lane memory needs no lock.
    using Job = std::function<void(int part, int lane)>;

    SplitRunner();
    ~SplitRunner();
    SplitRunner(const SplitRunner&) = delete;
    SplitRunner& operator=(const SplitRunner&) = delete;

    // Runs parts 0 .. count - 1, each once; returns once all have run.
    void Run(int count, const Job& job);

private:
    void Help();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const Job* m_job = nullptr;  // offered to the helper until it takes it or the caller is done
    int m_count = 0;
    bool m_taken = false;
    bool m_helping = false;
    bool m_stopping = false;
    std::atomic<int> m_next{0};
    std::thread m_thread;  // last: starts once the members above exist
};

}  // namespace zz
