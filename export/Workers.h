#pragma once
// Worker threads, one a core, that the picture writers share: the bands drawn ahead and
// the pieces being deflated queue here in the order they are asked for, bands first,
// since everything after waits for them. A job never waits for another job; only the
// thread that asked for it does.
#include <chrono>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <type_traits>

namespace qm {

// How many workers there are (at least one).
unsigned WorkerCount();

enum class TJobKind { Feeds, Other };

// Queues `job` for the next free worker; jobs that feed others go before the rest.
void PostToWorkers(std::function<void()> job, TJobKind kind = TJobKind::Other);

// Runs fn() on a worker; its result or exception arrives through the future.
template <class Fn> auto RunOnWorker(Fn fn, TJobKind kind = TJobKind::Other) -> std::future<std::invoke_result_t<Fn>> {
    auto task = std::make_shared<std::packaged_task<std::invoke_result_t<Fn>()>>(std::move(fn));
    auto result = task->get_future();
    PostToWorkers([task] { (*task)(); }, kind);
    return result;
}

// Jobs in the order they are used. Whatever is still queued or running when this goes
// (a cancel, a throw) is waited for, so no job outlives what it reads.
template <class T> class TJobQueue {
public:
    explicit TJobQueue(TJobKind kind = TJobKind::Other) : kind_(kind) {}
    TJobQueue(const TJobQueue&) = delete;
    TJobQueue& operator=(const TJobQueue&) = delete;
    ~TJobQueue() {
        for (auto& f : jobs_)
            if (f.valid()) f.wait();
    }

    template <class Fn> void Push(Fn fn) { jobs_.push_back(RunOnWorker(std::move(fn), kind_)); }
    size_t Size() const { return jobs_.size(); }
    bool Empty() const { return jobs_.empty(); }
    bool FrontReady() const { return jobs_.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready; }
    T Pop() {
        std::future<T> f = std::move(jobs_.front());
        jobs_.pop_front();
        return f.get();
    }

private:
    const TJobKind kind_;
    std::deque<std::future<T>> jobs_;
};

} // namespace qm
