#pragma once

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <type_traits>
#include <vector>

/// Runs `check(i)` for every i in [0, count) on a few threads at once and gives the results in
/// index order. The start-up looks at every file of the catalogue; on a cold cache each look
/// waits on the disk, and several looks at once keep the disk busy. `check` must be safe to call
/// from several threads at once; what it finds is handled afterwards, in order, by the caller.
template <typename Result, typename Check>
std::vector<Result> checkEach(qsizetype count, const Check &check)
{
    // A vector<bool> packs its elements into shared words, which the threads would race on.
    static_assert(!std::is_same_v<Result, bool>);
    constexpr qsizetype kChunk = 256;
    constexpr qsizetype kThreads = 4;
    std::vector<Result> results(static_cast<size_t>(std::max<qsizetype>(count, 0)));
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (;;) {
            const qsizetype first = next.fetch_add(kChunk);
            if (first >= count)
                return;
            const qsizetype last = std::min(count, first + kChunk);
            for (qsizetype i = first; i < last; ++i)
                results[static_cast<size_t>(i)] = check(i);
        }
    };
    const qsizetype helpers = std::min(kThreads - 1, (count - 1) / kChunk);
    std::vector<std::thread> threads;
    for (qsizetype t = 0; t < helpers; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error &) {
            break; // no thread to be had: the ones there (and this one) do the work
        }
    }
    work();
    for (std::thread &thread : threads)
        thread.join();
    return results;
}
