#pragma once

// The problem manager without its dialogue: the problems of one journal with their state and
// number, moved up or down, set active, solved or closed, deleted with all their entries, or
// merged two into one. The journal is read once into its pieces (the problem headers of the
// head and, day block by day block, the problem entries); every command renumbers and removes
// pieces, never searches and replaces numbers through the text, so no command can reach into a
// text it was not meant for. What the commands do not touch is written back as it was read,
// including pieces of a damaged journal the reader passes over.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalFormat.h"

namespace pondrel {

class ProblemManager {
public:
    enum class Outcome {
        Done,
        NoSuchProblem,  // the number is not one of the problems listed
        AtTop,          // moving the first problem up
        AtBottom,       // moving the last problem down (or the only one)
        SameProblem,    // merging a problem with itself
        BadState,       // a state code other than "A", "I" and "C"
        TooBig,         // the journal would pass the length limit
    };

    // Reads `journal` into its pieces; any text is accepted.
    explicit ProblemManager(std::u16string_view journal);

    // The number of problems listed: headers 0, 1, 2... as long as each has a title (at most
    // 100), as the journal's problem count.
    int Count() const { return m_count; }
    std::u16string Title(int problem) const;
    // "A", "I" or "C" as stored; "A" when the code is missing.
    char16_t State(int problem) const;

    // Exchanges the problem with the one above (Up) or below (Down): each keeps its header and
    // its entries, only their numbers change.
    Outcome MoveUp(int problem);
    Outcome MoveDown(int problem);
    // Gives the problem the state code "A", "I" or "C"; title, differential diagnosis and
    // redaction are kept.
    Outcome SetState(int problem, char16_t state);
    // Removes the problem's header and every entry of it; the later problems move up one
    // number each, and days left without entries go.
    Outcome Delete(int problem);
    // Joins two problems into the one with the smaller number, a: a keeps its title and state;
    // the differential diagnosis and the redaction of the other, b, are appended to a's (a line
    // break between). On a day where both have an entry, section by section the text of b
    // follows the text of a after a line break (without it when either is empty); an entry of
    // b alone is kept under a's number. Then b goes as in Delete. Refused with TooBig when the
    // journal would grow beyond the length limit.
    Outcome Merge(int first, int second);

    // The longest journal a command may leave (merges only make it longer); 0 for no limit.
    void SetLengthLimit(size_t length) { m_lengthLimit = length; }
    // The length Text() would have now.
    size_t Length() const;
    // The journal as the commands left it.
    std::u16string Text() const;
    // Some command changed the journal.
    bool Changed() const { return m_changed; }

private:
    // A piece that opens with "§": a header or an entry. `number` is its problem number when
    // "§" is followed by one or two digits and "|" (the only form a lookup finds); `body` is
    // what follows that "|". Any other piece keeps its whole text after "§" in `body` with
    // number -1.
    struct Piece {
        int number = -1;
        std::u16string body;
    };
    // A day block: "#" and whatever stands before its first "§", then its pieces. A leftover
    // marker without "§" has no pieces and `marked` false.
    struct Block {
        std::u16string opening;
        bool marked = false;
        std::vector<Piece> pieces;
    };

    void Recount();
    // Gives every piece numbered below the count the number `map[number]`; -1 removes it.
    // The pieces of each block and of the head are then put in number order again.
    void Renumber(const std::vector<int>& map);
    static void SortPieces(std::vector<Piece>& pieces);
    const Piece* Header(int problem) const;
    Piece* Header(int problem);
    bool Listed(int problem) const { return problem >= 0 && problem < m_count; }

    std::u16string m_headPrefix;  // anything before the first "§" of the head
    std::vector<Piece> m_headers;
    std::vector<Block> m_blocks;
    int m_count = 0;
    size_t m_lengthLimit = 0;
    bool m_changed = false;
};

struct PatientRecord;

// The longest journal `record` may hold while its file stays below the length the program
// writes without the too-big warning (never below the journal it holds now, so that a command
// making it shorter is never refused).
size_t JournalLengthLimit(const PatientRecord& record);

}  // namespace pondrel
