// The open connections and what each is doing: the cap on how many are open, which one makes room for a
// newcomer, and each phase's deadline, so a client that trickles or stalls cannot hold a connection for good.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace nimbo::service {

struct ConnectionLimits {
    size_t maxConnections = 4096;
    int64_t idleMs = 30000;     // waiting for a request's first byte
    int64_t requestMs = 10000;  // from a request's first byte until it is whole, however it trickles
    int64_t writeMs = 10000;    // an answer must leave within this time of being queued
};

// Idle: before a request's first byte; Reading: a request arriving; Answering: a whole request waiting for
// its answer (bounded by the service, not here); Writing: an answer being sent.
enum class Phase { Idle, Reading, Answering, Writing };

// How many connections may be open at once: `requested`, or by default half the descriptor limit and at most
// 4096; never so many that the listener, the log, the places file and the upstream calls lack a descriptor.
size_t ConnectionCap(size_t requested, uint64_t descriptorLimit);

class ConnectionTable {
public:
    using Id = uint64_t;

    explicit ConnectionTable(ConnectionLimits limits) : m_limits(limits) {}

    struct Admission {
        std::optional<Id> admitted;  // the new connection's id, Idle
        std::optional<Id> shed;      // closed to make room for it
    };
    // A connection arrives. Past the cap it takes the place of the connection that has waited longest while
    // idle or sending its request; when every open connection is being answered, it is refused.
    Admission Open(int64_t nowMs);

    // `id` starts `phase` at `nowMs`. Reading is entered only from Idle: the deadline counts from the first byte.
    void Enter(Id id, Phase phase, int64_t nowMs);
    void Close(Id id);

    // The connections whose phase outlived its deadline at `nowMs`, with that phase; they stay until closed.
    std::vector<std::pair<Id, Phase>> Expired(int64_t nowMs) const;
    std::optional<int64_t> NextDeadline() const;

    std::optional<Phase> PhaseOf(Id id) const;
    size_t size() const { return m_entries.size(); }
    size_t cap() const { return m_limits.maxConnections; }

private:
    struct Entry {
        Phase phase = Phase::Idle;
        int64_t since = 0;
        std::optional<int64_t> deadline;
    };

    static bool Sheddable(Phase phase) { return phase == Phase::Idle || phase == Phase::Reading; }
    void Forget(Id id, const Entry& entry);
    void Remember(Id id, const Entry& entry);

    ConnectionLimits m_limits;
    Id m_nextId = 1;
    std::unordered_map<Id, Entry> m_entries;
    std::set<std::pair<int64_t, Id>> m_deadlines;  // (deadline, id)
    std::set<std::pair<int64_t, Id>> m_sheddable;  // (since, id) of Idle and Reading connections
};

}  // namespace nimbo::service
