#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pondrel {

// Texts added one after the other, numbered 0, 1, 2..., and for any text the first of them that
// holds it. Finding a text costs its own length, whatever the length of the texts added (a suffix
// automaton over the texts, each closed by a separator none of them holds), so a file crafted
// with long or many texts cannot make a search repeat its work.
class SubstringIndex {
public:
    explicit SubstringIndex(char16_t separator);

    // Adds the next text and returns its number; -1 (nothing added) when it holds the separator.
    int Add(std::u16string_view text);
    // The number of the first text added that holds `text`, or -1. An empty text is held by
    // every text.
    int FirstHolding(std::u16string_view text) const;
    int Count() const { return static_cast<int>(m_starts.size()); }

private:
    struct State {
        int link;      // the state of the longest suffix in another class
        int length;    // the longest text of the class
        int firstEnd;  // where the first occurrence of the class's texts ends (inclusive)
        int firstEdge;
    };
    struct Edge {
        char16_t c;
        int target;
        int next;  // the state's next edge
    };

    void Extend(char16_t c);
    int Target(int state, char16_t c) const;
    void SetTarget(int state, char16_t c, int target);
    size_t Slot(uint64_t key) const;
    void Grow();

    char16_t m_separator;
    std::vector<State> m_states;
    std::vector<Edge> m_edges;
    // Open addressing: edge of (state, character), keyed state << 16 | character.
    std::vector<uint64_t> m_keys;
    std::vector<int> m_slotEdges;
    int m_last = 0;
    int m_position = 0;  // characters added, separators included
    std::vector<int> m_starts;
};

}  // namespace pondrel
