#include "export/Workers.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace qm {

namespace {

class TWorkerPool {
public:
    explicit TWorkerPool(unsigned n) {
        for (unsigned i = 0; i < n; ++i) threads_.emplace_back([this] { Run(); });
    }
    ~TWorkerPool() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (auto& t : threads_) t.join();
    }
    unsigned Count() const { return unsigned(threads_.size()); }
    void Post(std::function<void()> job, TJobKind kind) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            (kind == TJobKind::Feeds ? feeding_ : jobs_).push_back(std::move(job));
        }
        wake_.notify_one();
    }

private:
    void Run() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !feeding_.empty() || !jobs_.empty(); });
                auto& from = !feeding_.empty() ? feeding_ : jobs_;
                if (from.empty()) return;
                job = std::move(from.front());
                from.pop_front();
            }
            job();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> feeding_, jobs_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

TWorkerPool& Pool() {
    static TWorkerPool pool(std::max(1u, std::thread::hardware_concurrency()));
    return pool;
}

} // namespace

unsigned WorkerCount() { return Pool().Count(); }

void PostToWorkers(std::function<void()> job, TJobKind kind) { Pool().Post(std::move(job), kind); }

} // namespace qm
