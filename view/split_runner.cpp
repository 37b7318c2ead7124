#include "view/split_runner.h"

namespace zz {

SplitRunner::SplitRunner() : m_thread([this] { Help(); }) {}

SplitRunner::~SplitRunner() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void SplitRunner::Run(int count, const Job& job) {
    {
        const std::lock_guard lock(m_mutex);
        m_job = &job;
        m_count = count;
        m_taken = false;
        m_next = 0;
    }
    m_wake.notify_all();
    for (int part = m_next++; part < count; part = m_next++) {
        job(part, 0);
    }
    std::unique_lock lock(m_mutex);
    // A helper that never came finds nothing offered; one that came finishes its part first.
    m_done.wait(lock, [&] { return !m_helping; });
    m_job = nullptr;
}

void SplitRunner::Help() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stopping || (m_job != nullptr && !m_taken); });
        if (m_stopping) {
            return;
        }
        m_taken = true;
        m_helping = true;
        const Job& job = *m_job;
        const int count = m_count;
        lock.unlock();
        for (int part = m_next++; part < count; part = m_next++) {
            job(part, 1);
        }
        lock.lock();
        m_helping = false;
        m_done.notify_all();
    }
}

}  // namespace zz
