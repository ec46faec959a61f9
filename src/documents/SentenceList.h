#pragma once

// The sentence list of the problem summary page ("L"): ready-made sentences taken from the
// evolution of the current problem or from the admission record, tapped to be inserted into the problem's redaction
// (field 199). The rows and the insertion rule, without widgets; the page refuses the insertion
// on a read-only or not yet begun record before it asks for it.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "documents/SummaryInputs.h"

namespace pondrel {

inline constexpr std::u16string_view kEvolutionRow =
    u"<<<<<<<<<   Evolution   >>>>>>>>>   (Click)";
inline constexpr std::u16string_view kAdmissionRow =
    u"<<<<<<<<<   Admission   >>>>>>>>>  (Click)";

// One day of the day list with its row text as the list shows it.
struct DayListRow {
    DayNumber day = 0;
    std::u16string text;
};

// The "|"-separated evolution text of the current problem: its entries day by day, its title
// and differential diagnosis, what runs today.
std::u16string EvolutionText(const PatientRecord& record, int problem,
                             const std::vector<DayListRow>& days, const SummaryLists& running,
                             const Labels& labels);
// The "|"-separated admission text of the record: page by page of the form (pages 0 to 18, the
// fields the entry summary leaves out left out here too), each page that has content under a
// heading row, then its fields' lines as rows. The vital signs are "caption=value unit" rows,
// the blood pressures systolic "/" diastolic, followed by the BMI.
std::u16string AdmissionText(const PatientRecord& record, const FormArrangement& arrangement,
                             const Labels& labels);
// The rows of the list: the switch row, a blank row, then one row per part of `content`.
std::vector<std::u16string> SentenceRows(std::u16string_view content, bool admission);

// A field's text and selection after a sentence was inserted.
struct SentenceInsertion {
    std::u16string text;
    size_t caret = 0;
};
// Inserts the tapped row into `text` over the selection [start, end); none when the row gives
// no text.
std::optional<SentenceInsertion> InsertSentence(std::u16string_view text, size_t start,
                                                size_t end, std::u16string_view row);

}  // namespace pondrel
