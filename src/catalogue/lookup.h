#pragma once

#include <QtGlobal>

#include <optional>
#include <utility>

/// The answer of a look-up in the catalogue, which can find nothing without failing: the value
/// found, no value (the catalogue holds none), or a failure (the reason is then in the store's
/// lastError()).
template <typename T> class Lookup
{
public:
    enum class Status { Found, NotFound, Failed };

    /// The look-up found `value`.
    static Lookup found(T value) { return Lookup(std::move(value)); }
    /// The catalogue holds no such value.
    static Lookup notFound() { return Lookup(Status::NotFound); }
    /// The catalogue could not be asked.
    static Lookup failed() { return Lookup(Status::Failed); }

    Status status() const { return m_status; }
    bool isFound() const { return m_status == Status::Found; }
    bool isNotFound() const { return m_status == Status::NotFound; }
    bool isFailed() const { return m_status == Status::Failed; }

    /// The value found; only to be asked when isFound().
    const T &value() const
    {
        Q_ASSERT(isFound());
        return *m_value;
    }
    const T &operator*() const { return value(); }
    const T *operator->() const { return &value(); }
    /// The value found, nullopt when there is none or the look-up failed.
    const std::optional<T> &asOptional() const { return m_value; }

    friend bool operator==(const Lookup &, const Lookup &) = default;

private:
    explicit Lookup(T value)
        : m_status(Status::Found)
        , m_value(std::move(value))
    {}
    explicit Lookup(Status status)
        : m_status(status)
    {}

    Status m_status;
    std::optional<T> m_value;
};
