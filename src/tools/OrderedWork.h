#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kp::tools {

// Makes items 0..count-1 on a few threads while the caller takes them, in order: make(i) runs
// on any of the threads, at most `ahead` items beyond the last one taken, so what waits to be
// taken stays bounded. make must not throw. Stops the threads (after the item each is making)
// when destroyed; make can watch stopping() to end a long item early.
template <typename T> class OrderedWork {
public:
    OrderedWork(size_t count, size_t ahead, std::function<T(size_t)> make)
        : make_(std::move(make)), items_(count), ahead_(std::max<size_t>(ahead, 1)) {
        const size_t cores = std::max(1u, std::thread::hardware_concurrency());
        const size_t threads = std::min({cores, count, size_t{4}});
        for (size_t t = 0; t < threads; ++t)
            threads_.emplace_back([this] { work(); });
    }
    ~OrderedWork() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    const std::atomic<bool>& stopping() const { return stop_; }

    // Item i once it is made; each item is taken once, in order.
    T take(size_t i) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return items_[i].has_value(); });
        T item = std::move(*items_[i]);
        taken_ = i + 1;
        lock.unlock();
        changed_.notify_all();
        return item;
    }

private:
    void work() {
        for (;;) {
            size_t i = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] {
                    return stop_ || next_ < std::min(items_.size(), taken_ + ahead_);
                });
                if (stop_)
                    return;
                i = next_++;
            }
            T item = make_(i);
            {
                const std::lock_guard lock(mutex_);
                items_[i] = std::move(item);
            }
            changed_.notify_all();
        }
    }

    const std::function<T(size_t)> make_;
    std::vector<std::optional<T>> items_;
    const size_t ahead_;
    size_t next_ = 0;
    size_t taken_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread> threads_;
};

} // namespace kp::tools
