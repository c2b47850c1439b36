// Batches of independent items (stage lines, deal numbers) worked on by
// several threads, with the results handed on in the order of the items:
// the output of a batch is the same whatever the number of threads, and a
// result goes out as soon as it and every result before it are done.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tessarin::tool {

// The number of threads a batch uses by default: one per core.
inline int defaultJobs() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

// Runs the batch on `jobs` worker threads (at least one):
// - `next(item)` gives the next item, or false when there are no more. It is
//   called on a thread of its own, so a slow source (a terminal) never holds
//   back results already done; it must not block once `stop` is set.
// - `work(item, stop)` makes an item's result, on a worker thread; `stop`
//   is set when the results are no longer wanted, and work may then end
//   early (its result is dropped).
// - `emit(result)` is called on the calling thread for each result in the
//   order of the items; returning false ends the batch: nothing more is
//   emitted, items not yet started are not worked on.
// At most a few items per thread are read ahead of the oldest result not
// yet emitted, so a batch never holds much more than its threads work on.
template <class Item, class Result>
void runBatch(int jobs, const std::function<bool(Item&)>& next,
              const std::function<Result(const Item&, const std::atomic<bool>& stop)>& work,
              const std::function<bool(Result&)>& emit) {
    jobs = std::max(jobs, 1);
    const int64_t window = 4 * static_cast<int64_t>(jobs);
    std::mutex m;
    std::condition_variable changed;
    std::deque<std::pair<int64_t, Item>> waiting;  // read, not yet taken by a worker
    std::map<int64_t, Result> done;                 // worked on, not yet emitted
    int64_t read = 0;                               // items read so far
    int64_t emitted = 0;                            // results emitted so far
    bool inputEnded = false;
    std::atomic<bool> stop{false};

    std::thread reader([&] {
        for (;;) {
            {
                std::unique_lock lock(m);
                changed.wait(lock, [&] { return stop || read - emitted < window; });
                if (stop) return;
            }
            Item item;
            const bool more = next(item);
            std::lock_guard lock(m);
            if (!more) {
                inputEnded = true;
                changed.notify_all();
                return;
            }
            waiting.emplace_back(read++, std::move(item));
            changed.notify_all();
        }
    });
    std::vector<std::thread> workers;
    for (int i = 0; i < jobs; ++i) {
        workers.emplace_back([&] {
            for (;;) {
                std::optional<std::pair<int64_t, Item>> mine;
                {
                    std::unique_lock lock(m);
                    changed.wait(lock, [&] { return stop || !waiting.empty() || inputEnded; });
                    if (stop || waiting.empty()) return;
                    mine.emplace(std::move(waiting.front()));
                    waiting.pop_front();
                }
                Result r = work(mine->second, stop);
                std::lock_guard lock(m);
                done.emplace(mine->first, std::move(r));
                changed.notify_all();
            }
        });
    }
    for (;;) {
        std::optional<Result> r;
        {
            std::unique_lock lock(m);
            changed.wait(lock, [&] { return done.count(emitted) != 0 || (inputEnded && emitted == read); });
            const auto it = done.find(emitted);
            if (it == done.end()) break;  // every item emitted
            r.emplace(std::move(it->second));
            done.erase(it);
        }
        const bool more = emit(*r);
        std::lock_guard lock(m);
        ++emitted;
        if (!more) stop = true;
        changed.notify_all();
        if (!more) break;
    }
    reader.join();
    for (std::thread& w : workers) w.join();
}

}  // namespace tessarin::tool
