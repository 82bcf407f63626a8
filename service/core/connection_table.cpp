// Bookkeeping of connection phases, ordered by deadline and by how long each has waited.
#include "service/core/connection_table.h"

#include <algorithm>

namespace nimbo::service {
namespace {

constexpr uint64_t kReservedDescriptors = 32;
constexpr size_t kDefaultMaxConnections = 4096;

}  // namespace

size_t ConnectionCap(size_t requested, uint64_t descriptorLimit) {
    const uint64_t usable =
        descriptorLimit > 2 * kReservedDescriptors ? descriptorLimit - kReservedDescriptors : descriptorLimit / 2;
    const uint64_t wanted =
        requested != 0 ? requested : std::min<uint64_t>(kDefaultMaxConnections, descriptorLimit / 2);
    return static_cast<size_t>(std::max<uint64_t>(std::min(wanted, usable), 1));
}

void ConnectionTable::Forget(Id id, const Entry& entry) {
    if (entry.deadline) m_deadlines.erase({*entry.deadline, id});
    if (Sheddable(entry.phase)) m_sheddable.erase({entry.since, id});
}

void ConnectionTable::Remember(Id id, const Entry& entry) {
    if (entry.deadline) m_deadlines.emplace(*entry.deadline, id);
    if (Sheddable(entry.phase)) m_sheddable.emplace(entry.since, id);
}

ConnectionTable::Admission ConnectionTable::Open(int64_t nowMs) {
    Admission admission;
    if (m_entries.size() >= m_limits.maxConnections) {
        if (m_sheddable.empty()) return admission;
        admission.shed = m_sheddable.begin()->second;
        Close(*admission.shed);
    }
    const Id id = m_nextId++;
    const Entry entry{Phase::Idle, nowMs, nowMs + m_limits.idleMs};
    m_entries.emplace(id, entry);
    Remember(id, entry);
    admission.admitted = id;
    return admission;
}

void ConnectionTable::Enter(Id id, Phase phase, int64_t nowMs) {
    const auto it = m_entries.find(id);
    if (it == m_entries.end() || (phase == Phase::Reading && it->second.phase != Phase::Idle)) return;
    Forget(id, it->second);
    Entry& entry = it->second;
    entry.phase = phase;
    entry.since = nowMs;
    switch (phase) {
        case Phase::Idle:
            entry.deadline = nowMs + m_limits.idleMs;
            break;
        case Phase::Reading:
            entry.deadline = nowMs + m_limits.requestMs;
            break;
        case Phase::Answering:
            entry.deadline.reset();
            break;
        case Phase::Writing:
            entry.deadline = nowMs + m_limits.writeMs;
            break;
    }
    Remember(id, entry);
}

void ConnectionTable::Close(Id id) {
    const auto it = m_entries.find(id);
    if (it == m_entries.end()) return;
    Forget(id, it->second);
    m_entries.erase(it);
}

std::vector<std::pair<ConnectionTable::Id, Phase>> ConnectionTable::Expired(int64_t nowMs) const {
    std::vector<std::pair<Id, Phase>> expired;
    for (auto it = m_deadlines.begin(); it != m_deadlines.end() && it->first <= nowMs; ++it)
        expired.emplace_back(it->second, m_entries.at(it->second).phase);
    return expired;
}

std::optional<int64_t> ConnectionTable::NextDeadline() const {
    if (m_deadlines.empty()) return std::nullopt;
    return m_deadlines.begin()->first;
}

std::optional<Phase> ConnectionTable::PhaseOf(Id id) const {
    const auto it = m_entries.find(id);
    if (it == m_entries.end()) return std::nullopt;
    return it->second.phase;
}

}  // namespace nimbo::service
