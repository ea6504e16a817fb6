#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

/// The six counts of the records the grid shows: all of them and those in five of the states.
class CollectionCounters : public QObject
{
    Q_OBJECT

public:
    enum class Counter { Found, WithTag, WithoutTag, Corrupt, ReadOnly, CdRom };

    explicit CollectionCounters(QObject *parent = nullptr);

    /// Sets every count to 0.
    void reset();
    /// Counts one more record in the given state word (ContaMP3): "MP3 Presenti:" always, and
    /// the counter of the state when it is one of the five counted states (exact comparison).
    void count(const QString &stateWord);
    /// Sets the counts to those of `n` records whose state words `stateAt(0)` to
    /// `stateAt(n - 1)` gives, with one notice of the change.
    void recount(qsizetype n, const std::function<QString(qsizetype)> &stateAt);
    /// Counts one record less in the given state word, the reverse of count(); no count goes
    /// below 0.
    void uncount(const QString &stateWord);
    /// Adds `delta` (which may be negative) to one count; no count goes below 0.
    void add(Counter counter, int delta);
    /// One count.
    int value(Counter counter) const;

signals:
    /// Emitted after every change of any count.
    void changed();

private:
    void tally(const QString &stateWord);
    static std::optional<Counter> counterOfState(const QString &stateWord);
    int m_values[6] = {};
};
