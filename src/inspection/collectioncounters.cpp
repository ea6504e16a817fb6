#include "collectioncounters.h"

#include "statewords.h"

#include <algorithm>
#include <optional>

CollectionCounters::CollectionCounters(QObject *parent)
    : QObject(parent)
{}

void CollectionCounters::reset()
{
    std::fill(std::begin(m_values), std::end(m_values), 0);
    emit changed();
}

std::optional<CollectionCounters::Counter>
CollectionCounters::counterOfState(const QString &stateWord)
{
    if (stateWord == QLatin1String(StateWords::kCdRom))
        return Counter::CdRom;
    if (stateWord == QLatin1String(StateWords::kReadOnly))
        return Counter::ReadOnly;
    if (stateWord == QLatin1String(StateWords::kCorrupt))
        return Counter::Corrupt;
    if (stateWord == QLatin1String(StateWords::kOk))
        return Counter::WithTag;
    if (stateWord == QLatin1String(StateWords::kNoTag))
        return Counter::WithoutTag;
    return std::nullopt;
}

void CollectionCounters::tally(const QString &stateWord)
{
    if (const auto counter = counterOfState(stateWord))
        ++m_values[static_cast<int>(*counter)];
    ++m_values[static_cast<int>(Counter::Found)];
}

void CollectionCounters::count(const QString &stateWord)
{
    tally(stateWord);
    emit changed();
}

void CollectionCounters::recount(qsizetype n, const std::function<QString(qsizetype)> &stateAt)
{
    std::fill(std::begin(m_values), std::end(m_values), 0);
    for (qsizetype i = 0; i < n; ++i)
        tally(stateAt(i));
    emit changed();
}

void CollectionCounters::uncount(const QString &stateWord)
{
    if (const auto counter = counterOfState(stateWord))
        add(*counter, -1);
    add(Counter::Found, -1);
}

void CollectionCounters::add(Counter counter, int delta)
{
    int &v = m_values[static_cast<int>(counter)];
    v = std::max(0, v + delta);
    emit changed();
}

int CollectionCounters::value(Counter counter) const
{
    return m_values[static_cast<int>(counter)];
}
