// Work on the files of a run spread over threads, its results taken in the
// files' order: a worker takes the next file as soon as it is free, and at
// most `ahead` results wait for the taker, so that memory holds a few
// files' trees, not the list's. With no threads the work is done by the
// taker itself, file after file, as a plain loop would.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace ftvb::finish {

// How many threads a run's work is given: the machine's cores, at most 4,
// none when it has one.
inline std::size_t workThreads(std::size_t asked) {
    if (asked != 0) return asked == 1 ? 0 : asked;
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores <= 1) return 0;
    return cores < 4 ? cores : 4;
}

template <class Result>
class OrderedWork {
public:
    // work(i, worker): file i's result, worker from 0 to threads - 1 (0
    // when the taker does the work).
    using Work = std::function<Result(std::size_t, std::size_t)>;

    OrderedWork(std::size_t count, std::size_t threads, std::size_t ahead, Work work)
        : count_(count), ahead_(ahead < 1 ? 1 : ahead), work_(std::move(work)), slots_(ahead_) {
        if (threads > count) threads = count;
        workers_.reserve(threads);
        for (std::size_t w = 0; w < threads; ++w) workers_.emplace_back([this, w] { serve(w); });
    }
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;
    ~OrderedWork() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            ending_ = true;
        }
        ready_.notify_all();
        room_.notify_all();
        for (std::thread& t : workers_) t.join();
    }

    // The next file's result, in order; `waiting` is called now and then
    // while it is not ready yet (a window lets its events in), and when it
    // answers true the work ends and so does this, with false. An exception
    // of the work comes out here, at its file's turn.
    bool next(Result& out, const std::function<bool()>& waiting) {
        if (taken_ >= count_) return false;
        if (workers_.empty()) {
            out = work_(taken_++, 0);
            return true;
        }
        const std::size_t slot = taken_ % ahead_;
        std::unique_lock<std::mutex> lock(mutex_);
        while (!slots_[slot].done) {
            if (ready_.wait_for(lock, std::chrono::milliseconds(20)) == std::cv_status::timeout && waiting) {
                lock.unlock();
                const bool stop = waiting();
                lock.lock();
                if (stop) {
                    ending_ = true;
                    room_.notify_all();
                    return false;
                }
            }
        }
        Slot got = std::move(slots_[slot]);
        slots_[slot] = Slot{};
        ++taken_;
        lock.unlock();
        room_.notify_all();
        if (got.failure) std::rethrow_exception(got.failure);
        out = std::move(*got.result);
        return true;
    }

private:
    struct Slot {
        bool done = false;
        std::optional<Result> result;
        std::exception_ptr failure;
    };

    void serve(std::size_t worker) {
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                room_.wait(lock, [this] { return ending_ || handedOut_ >= count_ || handedOut_ < taken_ + ahead_; });
                if (ending_ || handedOut_ >= count_) return;
                i = handedOut_++;
            }
            Slot s;
            try {
                s.result.emplace(work_(i, worker));
            } catch (...) {
                s.failure = std::current_exception();
            }
            s.done = true;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                slots_[i % ahead_] = std::move(s);
            }
            ready_.notify_all();
        }
    }

    const std::size_t count_;
    const std::size_t ahead_;
    Work work_;
    std::mutex mutex_;
    std::condition_variable ready_;  // a slot was filled
    std::condition_variable room_;   // a slot was taken, or the work ends
    std::vector<Slot> slots_;
    std::size_t handedOut_ = 0;  // under mutex_
    std::size_t taken_ = 0;      // written by the taker under mutex_ when there are workers
    bool ending_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace ftvb::finish
