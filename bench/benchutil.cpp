#include "benchutil.h"

#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Bench {

double medianMs(const std::function<void()> &work, const std::function<void()> &prepare, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char *scenario, qsizetype n, double ms, double baselineMs, const QString &extra)
{
    const double ratio = baselineMs > 0 ? ms / baselineMs : 0.0;
    std::printf("%s n=%lld ms=%.2f baseline_ms=%.2f ratio=%.2f%s%s\n", scenario,
                static_cast<long long>(n), ms, baselineMs, ratio, extra.isEmpty() ? "" : " ",
                qPrintable(extra));
    std::fflush(stdout);
}

QString makeTempFolder(QTemporaryDir &dir)
{
    if (!dir.isValid())
        qFatal("cannot make a temporary folder for the benchmark");
    return dir.path();
}

sqlite3 *openPlainSqlite(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK)
        qFatal("sqlite3_open_v2 failed");
    return db;
}

} // namespace Bench
