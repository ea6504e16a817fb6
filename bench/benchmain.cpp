// tracklodge-bench: times the program's own work on generated data against the plainest
// baseline doing the same work. Usage: tracklodge-bench [SCENARIO...] (all when none is named).

#include "scenarios.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // One scenario a line, in name order.
    // clang-format off
    const std::map<QString, std::function<void()>> scenarios = {
        {QStringLiteral("cold"), Bench::runCold}, // page cache dropped before each run
        {QStringLiteral("duplicates"), Bench::runDuplicates},
        {QStringLiteral("import"), Bench::runImport},
        {QStringLiteral("import-trace"), Bench::runImportTrace}, // for strace, not timed
        {QStringLiteral("load"), Bench::runLoad},
        {QStringLiteral("media"), Bench::runMedia},
        {QStringLiteral("memory"), Bench::runMemory}, // resident bytes per loaded record
        {QStringLiteral("open"), Bench::runOpen}, // integrity check at open
        {QStringLiteral("save"), Bench::runSave},
        {QStringLiteral("search"), Bench::runSearch},
        {QStringLiteral("sort"), Bench::runSort},
        {QStringLiteral("startup"), Bench::runStartup}, // load, file check, tag completion
        {QStringLiteral("startup-trace"), Bench::runStartupTrace}, // for strace, not timed
        {QStringLiteral("tags"), Bench::runTags},
    };
    // clang-format on
    QStringList wanted = app.arguments().mid(1);
    if (wanted.isEmpty()) {
        for (const auto &entry : scenarios)
            wanted << entry.first;
    }
    for (const QString &name : wanted) {
        const auto it = scenarios.find(name);
        if (it == scenarios.end()) {
            std::fprintf(stderr, "unknown scenario: %s\n", qPrintable(name));
            return 2;
        }
        it->second();
    }
    return 0;
}
