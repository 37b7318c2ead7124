#pragma once
// One thread of its own for decoding pictures, so that the window answers keys however long
// the folders take. Jobs run one at a time: urgent ones (the picture just chosen) before the
// others, each kind in the order posted.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zz {

class PictureWorker {
public:
    using Job = std::function<void()>;

    // threadStart and threadEnd run on the worker thread around all its jobs (the platform's
    // per-thread set-up, say).
    explicit PictureWorker(Job threadStart = {}, Job threadEnd = {});
    // Drops the queued jobs and waits for the running one.
    ~PictureWorker();
    PictureWorker(const PictureWorker&) = delete;
    PictureWorker& operator=(const PictureWorker&) = delete;

    void Post(Job job, bool urgent = false);
    // Called by a long job between its steps: runs the urgent jobs queued now.
    void RunUrgent();
    // Drops every queued job; the running one goes on.
    void DropQueued();

private:
    void Run(const Job& threadStart, const Job& threadEnd);
    bool TakeUrgent(Job& job);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_urgent;
    std::deque<Job> m_normal;
    bool m_stopping = false;
    std::thread m_thread;  // last: starts once the members above exist
};

}  // namespace zz
