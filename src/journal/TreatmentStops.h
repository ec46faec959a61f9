#pragma once

// The three stop buttons of the problem panel ('s' beside Medicine, Attitude and Examinations):
// each opens the stop list of its kind (the running treatments, or the running actions for
// Attitude and Examinations); choosing a row writes the stop line into the current problem's
// section on the current day, after two checks that refuse a stop the journal would misread.
// Each row stays tied to the treatment it lists, whatever its text holds.

#include <string>
#include <string_view>
#include <vector>

#include "journal/EditorRefresh.h"
#include "journal/TreatmentLines.h"
#include "records/DayNumber.h"

namespace pondrel {

class ProblemPanelModel;
class TreatmentTables;
class UserMessages;
struct JournalWords;

enum class StopButton { Medicine, Attitude, Examinations };

// The section whose caption holds the button.
constexpr Section SectionOf(StopButton button) {
    return button == StopButton::Medicine   ? Section::Medicine
           : button == StopButton::Attitude ? Section::Attitude
                                            : Section::Examinations;
}
inline constexpr StopButton kStopButtons[] = {StopButton::Medicine, StopButton::Attitude,
                                              StopButton::Examinations};

class TreatmentStops {
public:
    struct Row {
        std::u16string text;  // text + "   <" + status + ">"
        std::u16string name;  // the treatment's text: what the stop line names
        DayNumber startDay = 0;
    };
    struct Result {
        bool stopped = false;  // false when refused (a message box was shown) or read only
        EditorRefresh refresh;
        // The section that gets the focus and the caret position in it (after the stop text,
        // or after "=" in Examinations).
        Section focus = Section::Medicine;
        size_t caret = 0;
    };

    // All references must outlive the object.
    TreatmentStops(ProblemPanelModel& panel, TreatmentTables& tables, UserMessages& messages,
                   const JournalWords& words);

    static TreatmentKind KindOf(StopButton button) {
        return button == StopButton::Medicine ? TreatmentKind::Treatments : TreatmentKind::Actions;
    }

    // A button is enabled while the running list of its kind is not empty.
    bool IsEnabled(StopButton button);
    // Commits the panel, then one row per running treatment (or action) not stopping on the
    // last day. An empty list is not shown.
    std::vector<Row> Rows(StopButton button, EditorRefresh* refresh = nullptr);
    // Writes the stop of `row`, or refuses it with "Stop before starting day" or
    // "Stop conflict", or with the notice "Already stopped on this day" when the section of the
    // day shown holds its stop line already, and leaves every section unchanged. A treatment
    // stopped on the day shown is not among the rows.
    Result Choose(StopButton button, const Row& row);

private:
    // The stop line of a treatment: its text + " (" + the stop word + ")".
    std::u16string StopText(std::u16string_view name) const;

    ProblemPanelModel& m_panel;
    TreatmentTables& m_tables;
    UserMessages& m_messages;
    const JournalWords& m_words;
};

}  // namespace pondrel
