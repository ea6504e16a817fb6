#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>

struct sqlite3;

namespace Bench {

/// Runs of each measured piece of work; the median is reported.
inline constexpr int kRuns = 5;

/// Median wall time in milliseconds of `runs` calls of `work`; `prepare` runs before each call,
/// outside the timing.
double medianMs(const std::function<void()> &work, const std::function<void()> &prepare = {},
                int runs = kRuns);

/// Prints one result line: "SCENARIO n=N ms=MEDIAN baseline_ms=MEDIAN ratio=R" and `extra`.
void report(const char *scenario, qsizetype n, double ms, double baselineMs,
            const QString &extra = {});

/// A temporary folder for a scenario's data; aborts the program when none can be made.
QString makeTempFolder(QTemporaryDir &dir);

/// A plain sqlite3 connection to the catalogue at `path`, opened with `flags` (the baselines'
/// way in); aborts the program when it cannot be opened.
sqlite3 *openPlainSqlite(const QString &path, int flags);

} // namespace Bench
