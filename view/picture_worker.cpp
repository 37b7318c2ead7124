#include "view/picture_worker.h"

#include <algorithm>
#include <utility>

namespace zz {

PictureWorker::PictureWorker(int threads, Job threadStart, Job threadEnd) {
    for (int i = 0; i < std::max(threads, 1); ++i) {
        m_threads.emplace_back([this, threadStart, threadEnd] { Run(threadStart, threadEnd); });
    }
}

PictureWorker::~PictureWorker() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        // A running job would still take these between its steps; no thread takes the others.
        m_urgent.clear();
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
}

void PictureWorker::Post(Job job, bool urgent) {
    {
        const std::lock_guard lock(m_mutex);
        (urgent ? m_urgent : m_normal).push_back(std::move(job));
    }
    m_wake.notify_all();
}

void PictureWorker::DropQueued() {
    const std::lock_guard lock(m_mutex);
    m_urgent.clear();
    m_normal.clear();
}

bool PictureWorker::TakeUrgent(Job& job) {
    const std::lock_guard lock(m_mutex);
    if (m_urgent.empty()) {
        return false;
    }
    job = std::move(m_urgent.front());
    m_urgent.pop_front();
    return true;
}

void PictureWorker::RunUrgent() {
    Job job;
    while (TakeUrgent(job)) {
        job();
    }
}

void PictureWorker::Run(const Job& threadStart, const Job& threadEnd) {
    if (threadStart) {
        threadStart();
    }
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stopping || !m_urgent.empty() || !m_normal.empty(); });
            if (m_stopping) {
                break;
            }
            std::deque<Job>& queue = m_urgent.empty() ? m_normal : m_urgent;
            job = std::move(queue.front());
            queue.pop_front();
        }
        job();
    }
    if (threadEnd) {
        threadEnd();
    }
}

}  // namespace zz
