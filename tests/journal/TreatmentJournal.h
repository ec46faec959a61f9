#pragma once

#include <string>

#include "journal/JournalFormat.h"
#include "journal/ProblemJournal.h"
#include "records/DayNumber.h"

namespace pondrel::test {

inline constexpr DayNumber k12Mar06 = 2262;
inline constexpr DayNumber k13Mar06 = 2263;  // a Monday
inline constexpr DayNumber k14Mar06 = 2264;
inline constexpr DayNumber k15Mar06 = 2265;
inline constexpr DayNumber k16Mar06 = 2266;

// A journal written through the journal's own writer: problems 1 to `problems` exist, and
// Medicine / Attitude texts are set per day and problem (0-based).
class TreatmentJournal {
public:
    explicit TreatmentJournal(int problems = 3) {
        for (int p = 0; p < problems; ++p) {
            m_journal.SetProblemHeader(p, u"Problem " + std::u16string(1, u'A' + p), u"", u"");
        }
    }
    TreatmentJournal& Medicine(DayNumber day, int problem, std::u16string text) {
        return Set(day, problem, Section::Medicine, std::move(text));
    }
    TreatmentJournal& Attitude(DayNumber day, int problem, std::u16string text) {
        return Set(day, problem, Section::Attitude, std::move(text));
    }
    TreatmentJournal& Set(DayNumber day, int problem, Section section, std::u16string text) {
        Sections sections = m_journal.GetEntry(day, problem);
        sections[static_cast<size_t>(section)] = std::move(text);
        m_journal.SetEntry(day, problem, sections);
        return *this;
    }
    const std::u16string& Text() const { return m_journal.Text(); }
    ProblemJournal& Journal() { return m_journal; }

private:
    ProblemJournal m_journal;
};

}  // namespace pondrel::test
