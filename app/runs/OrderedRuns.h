#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace quarmel {

// Runs `count` tasks on `jobs` worker threads and hands their results back in task order.
// make(i) builds task i on the calling thread (where whatever the task copies is copied),
// run(task) runs on a worker, emit(result) runs on the calling thread, strictly in order 0, 1,
// ... At most `window` tasks are made and not yet emitted, so memory stays bounded however many
// tasks there are: a slow task holds the later ones back instead of letting results pile up.
template <class Task, class Result, class Make, class Run, class Emit>
void RunOrdered(std::size_t count, int jobs, std::size_t window, Make make, Run run, Emit emit) {
    if (count == 0) return;
    if (jobs < 1) jobs = 1;
    if (window < static_cast<std::size_t>(jobs)) window = jobs;

    std::mutex mutex;
    std::condition_variable work;  // a task was queued, or the end came
    std::condition_variable done;  // a result is ready
    std::deque<std::pair<std::size_t, Task>> queue;
    std::vector<std::optional<Result>> slots(window);  // result i in slot i % window
    bool finished = false;

    std::vector<std::thread> workers;
    for (int j = 0; j < jobs; ++j) {
        workers.emplace_back([&] {
            for (;;) {
                std::unique_lock<std::mutex> lock(mutex);
                work.wait(lock, [&] { return finished || !queue.empty(); });
                if (queue.empty()) return;
                std::pair<std::size_t, Task> item = std::move(queue.front());
                queue.pop_front();
                lock.unlock();
                Result result = run(item.second);
                lock.lock();
                slots[item.first % window].emplace(std::move(result));
                done.notify_one();
            }
        });
    }

    std::size_t made = 0;
    for (std::size_t emitted = 0; emitted < count; ++emitted) {
        for (; made < count && made < emitted + window; ++made) {
            Task task = make(made);
            {
                std::lock_guard<std::mutex> lock(mutex);
                queue.emplace_back(made, std::move(task));
            }
            work.notify_one();
        }
        std::optional<Result> result;
        {
            std::unique_lock<std::mutex> lock(mutex);
            std::optional<Result>& slot = slots[emitted % window];
            done.wait(lock, [&] { return slot.has_value(); });
            result.swap(slot);
        }
        emit(std::move(*result));
    }

    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    work.notify_all();
    for (std::thread& w : workers) w.join();
}

}  // namespace quarmel
