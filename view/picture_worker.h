#pragma once
// Threads of their own for decoding pictures, so that the window answers keys however long the
// folders take. Urgent jobs (the picture just chosen) start before the others, each kind in the
// order posted; with more than one thread, jobs run side by side.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zz {

class PictureWorker {
public:
    using Job = std::function<void()>;

    // threadStart and threadEnd run on each thread around all its jobs (the platform's
    // per-thread set-up, say).
    explicit PictureWorker(int threads = 1, Job threadStart = {}, Job threadEnd = {});
    // Drops the queued jobs and waits for the running ones.
    ~PictureWorker();
    PictureWorker(const PictureWorker&) = delete;
    PictureWorker& operator=(const PictureWorker&) = delete;

    int Threads() const { return static_cast<int>(m_threads.size()); }
    void Post(Job job, bool urgent = false);
    // Called by a long job between its steps: runs the urgent jobs queued now.
    void RunUrgent();
    // Drops every queued job; the running ones go on.
    void DropQueued();

private:
    void Run(const Job& threadStart, const Job& threadEnd);
    bool TakeUrgent(Job& job);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_urgent;
    std::deque<Job> m_normal;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace zz
