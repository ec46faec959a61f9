#pragma once

// The problem journal of one patient: problem headers and day blocks of problem entries in one
// text (JournalFormat.h, docs/problem-journal.md). The writers keep the text well formed
// whatever the texts they are given: the separators a text must not hold are removed before it
// is stored, so a hostile title or section can never reach into another problem or day.

#include <optional>
#include <string>
#include <string_view>

#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"
#include "records/DayNumber.h"

namespace pondrel {

class ProblemJournal {
public:
    // What SetEntry did.
    struct EntryWrite {
        bool changed = false;          // the text changed
        bool refused = false;          // bad problem number, or a problem that cannot exist yet
        bool titleCreated = false;     // the problem had no title and received the default one
        bool dayBlockCreated = false;  // the day had no entries before
        bool entryDeleted = false;     // all six sections were empty and an entry was removed
    };
    enum class HeaderWrite { Written, Unchanged, Refused };

    ProblemJournal() = default;
    explicit ProblemJournal(std::u16string text) : m_text(std::move(text)) {}

    const std::u16string& Text() const { return m_text; }
    void SetText(std::u16string text) { m_text = std::move(text); }
    // A reader over the current text; valid until the journal next changes.
    JournalReader Reader() const { return JournalReader(m_text); }

    std::u16string GetProblemTitle(int problem) const { return Reader().GetProblemTitle(problem); }
    std::u16string GetDifferentialDiagnosis(int problem) const {
        return Reader().GetDifferentialDiagnosis(problem);
    }
    std::u16string GetProblemState(int problem) const { return Reader().GetProblemState(problem); }
    std::u16string GetProblemRedaction(int problem) const {
        return Reader().GetProblemRedaction(problem);
    }
    Sections GetEntry(DayNumber day, int problem) const { return Reader().GetEntry(day, problem); }
    std::u16string GetSection(DayNumber day, int problem, int section) const {
        return Reader().GetSection(day, problem, section);
    }
    bool DayHasEntries(DayNumber day) const { return Reader().DayHasEntries(day); }
    int ProblemCount() const { return Reader().ProblemCount(); }

    // Stores the six sections of the problem on that day. All six empty deletes the entry. A
    // problem without title gets "Problem n°" + (problem + 1) first; a problem number beyond
    // the first free one is refused (it would leave a gap no count could reach), and so is a
    // day outside kFirstJournalDay..kLastJournalDay.
    EntryWrite SetEntry(DayNumber day, int problem, const Sections& sections);
    // Removes the problem's entry of that day, and the day block when it becomes empty.
    // True when the text changed.
    bool DeleteEntry(DayNumber day, int problem);
    // Writes the header of the problem with the given title, differential diagnosis and
    // redaction and its stored state. An empty title is replaced by "Problem n°" + (problem + 1)
    // when the next problem has a title (a problem in the middle keeps a title), keeps the stored
    // title of the last problem, and creates the default title for a free slot only when a
    // differential diagnosis or redaction was typed there; otherwise nothing changes.
    HeaderWrite SetProblemHeader(int problem, std::u16string_view title,
                                 std::u16string_view differentialDiagnosis,
                                 std::u16string_view redaction);
    // Changes the state code ("A", "I" or "C") of an existing problem.
    bool SetProblemState(int problem, char16_t state);

    // A section text as stored: "#", "§", "|" and the file separators "¢" and "¬" removed
    // (records/ReservedCharacters.h holds the one cleaning of each kind).
    static std::u16string CleanSection(std::u16string_view text) {
        return pondrel::CleanSection(text);
    }
    // A header sub-field as stored: "¦" removed as well, and trailing blanks.
    static std::u16string CleanHeaderField(std::u16string_view text) {
        return pondrel::CleanHeaderField(text);
    }
    // "Problem n°" + (problem + 1).
    static std::u16string DefaultTitle(int problem);

private:
    HeaderWrite WriteHeader(int problem, const ProblemHeader& header);
    // Position at which the block of `day` is inserted: before the first greater block.
    size_t NewBlockPosition(DayNumber day) const;

    std::u16string m_text;
};

}  // namespace pondrel
