#include "records/SubstringIndex.h"

#include <algorithm>

namespace pondrel {

namespace {

constexpr uint64_t kEmptyKey = ~uint64_t{0};

uint64_t KeyOf(int state, char16_t c) {
    return (static_cast<uint64_t>(state) << 16) | c;
}

uint64_t Mix(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return x;
}

}  // namespace

SubstringIndex::SubstringIndex(char16_t separator) : m_separator(separator) {
    m_states.push_back({-1, 0, 0, -1});
    m_keys.assign(64, kEmptyKey);
    m_slotEdges.assign(64, -1);
}

size_t SubstringIndex::Slot(uint64_t key) const {
    const size_t mask = m_keys.size() - 1;
    size_t slot = Mix(key) & mask;
    while (m_keys[slot] != kEmptyKey && m_keys[slot] != key) slot = (slot + 1) & mask;
    return slot;
}

void SubstringIndex::Grow() {
    std::vector<uint64_t> keys(m_keys.size() * 2, kEmptyKey);
    std::vector<int> slotEdges(keys.size(), -1);
    keys.swap(m_keys);
    slotEdges.swap(m_slotEdges);
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == kEmptyKey) continue;
        size_t slot = Slot(keys[i]);
        m_keys[slot] = keys[i];
        m_slotEdges[slot] = slotEdges[i];
    }
}

int SubstringIndex::Target(int state, char16_t c) const {
    size_t slot = Slot(KeyOf(state, c));
    return m_keys[slot] == kEmptyKey ? -1 : m_edges[static_cast<size_t>(m_slotEdges[slot])].target;
}

void SubstringIndex::SetTarget(int state, char16_t c, int target) {
    const uint64_t key = KeyOf(state, c);
    size_t slot = Slot(key);
    if (m_keys[slot] != kEmptyKey) {
        m_edges[static_cast<size_t>(m_slotEdges[slot])].target = target;
        return;
    }
    if (2 * (m_edges.size() + 1) > m_keys.size()) {
        Grow();
        slot = Slot(key);
    }
    State& from = m_states[static_cast<size_t>(state)];
    m_edges.push_back({c, target, from.firstEdge});
    from.firstEdge = static_cast<int>(m_edges.size() - 1);
    m_keys[slot] = key;
    m_slotEdges[slot] = from.firstEdge;
}

void SubstringIndex::Extend(char16_t c) {
    auto at = [this](int state) -> State& { return m_states[static_cast<size_t>(state)]; };
    const int cur = static_cast<int>(m_states.size());
    m_states.push_back({-1, at(m_last).length + 1, m_position, -1});
    int p = m_last;
    while (p != -1 && Target(p, c) < 0) {
        SetTarget(p, c, cur);
        p = at(p).link;
    }
    if (p == -1) {
        at(cur).link = 0;
    } else {
        const int q = Target(p, c);
        if (at(p).length + 1 == at(q).length) {
            at(cur).link = q;
        } else {
            const int clone = static_cast<int>(m_states.size());
            m_states.push_back({at(q).link, at(p).length + 1, at(q).firstEnd, -1});
            for (int e = at(q).firstEdge; e >= 0; e = m_edges[static_cast<size_t>(e)].next) {
                const Edge edge = m_edges[static_cast<size_t>(e)];
                SetTarget(clone, edge.c, edge.target);
            }
            while (p != -1 && Target(p, c) == q) {
                SetTarget(p, c, clone);
                p = at(p).link;
            }
            at(q).link = clone;
            at(cur).link = clone;
        }
    }
    m_last = cur;
    ++m_position;
}

int SubstringIndex::Add(std::u16string_view text) {
    if (text.find(m_separator) != std::u16string_view::npos) return -1;
    if (!m_starts.empty()) Extend(m_separator);
    m_starts.push_back(m_position);
    for (char16_t c : text) Extend(c);
    return Count() - 1;
}

int SubstringIndex::FirstHolding(std::u16string_view text) const {
    if (m_starts.empty() || text.find(m_separator) != std::u16string_view::npos) return -1;
    if (text.empty()) return 0;
    int state = 0;
    for (char16_t c : text) {
        state = Target(state, c);
        if (state < 0) return -1;
    }
    const int start =
        m_states[static_cast<size_t>(state)].firstEnd - static_cast<int>(text.size()) + 1;
    auto after = std::upper_bound(m_starts.begin(), m_starts.end(), start);
    return static_cast<int>(after - m_starts.begin()) - 1;
}

}  // namespace pondrel
