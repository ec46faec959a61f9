#pragma once

// The parts several HTML summaries share: section lines, the patient heading, the age lines,
// the quick notes, the treatment and action blocks, the to-do block and the problem chunks of
// one day. Every record text passes through HtmlEscape before it is placed in markup.

#include <array>
#include <string>
#include <string_view>

#include "documents/SummaryInputs.h"
#include "journal/JournalFormat.h"

namespace pondrel {

class HtmlSink;

// User-interface labels the summaries use (index into the labels file's plain-text section).
namespace summary_label {
inline constexpr int kProblems = 22;
inline constexpr int kToDo = 23;
inline constexpr int kAdmissionExams = 26;
inline constexpr int kExams = 28;
inline constexpr int kDifferentialDiagnosis = 29;
inline constexpr int kTreatments = 32;
inline constexpr int kActions = 33;
inline constexpr int kDone = 123;
inline constexpr int kProblemLetter = 125;
inline constexpr int kSolved = 128;
inline constexpr int kGeneralInformation = 146;
inline constexpr int kRoom = 147;
inline constexpr int kAge = 157;
inline constexpr int kHeadDoctor = 164;
inline constexpr int kDoctor = 165;
inline constexpr int kUrgent = 173;
inline constexpr int kPending = 174;
inline constexpr int kClosed = 177;
inline constexpr int kSynthesis = 183;
inline constexpr int kQuickNotes = 191;
}  // namespace summary_label

// Record fields the summaries read.
namespace summary_field {
inline constexpr int kLastName = 2;
inline constexpr int kFirstName = 3;
inline constexpr int kBirthDay = 4;
inline constexpr int kBirthMonth = 5;
inline constexpr int kBirthYear = 6;
inline constexpr int kHeadDoctor = 60;
inline constexpr int kDifferentialDiagnosis = 86;
inline constexpr int kFirstSection = 88;  // Anamnesia; the six sections are 88 to 93
inline constexpr int kRoom = 94;
inline constexpr int kToDo = 98;
inline constexpr int kQuickNotes = 198;
inline constexpr int kGestation = 203;
}  // namespace summary_field

// Stored section numbers in the order summaries list them: Other before Medicine.
inline constexpr std::array<int, kSectionCount> kSummarySectionOrder = {0, 1, 2, 4, 3, 5};

// The fields the admission record's summaries leave out of the form pages: the name and birth
// date (in the heading), the age, the problem fields, the room, the tasks and the free and
// identity fields.
bool LeftOutOfAdmissionPages(int field);

// A label or caption of the labels file, escaped.
std::u16string LabelText(const SummaryContext& context, int index);
std::u16string CaptionText(const SummaryContext& context, int field);

// The section text on one line: "\r\n-" and "\r\n" become ", ", a leading "-" is dropped.
std::u16string SectionOnOneLine(std::u16string_view text);
// "<LI><B>" + label + " : </B>" + the escaped text on one line + "."; nothing for an empty text.
void AppendSectionLine(std::u16string& out, std::u16string_view label, std::u16string_view text);

// The opening of a full-width one-cell bar in `color`, up to "<P ALIGN=...>", and its end.
std::u16string BarStart(std::u16string_view color, std::u16string_view cellPadding = u"0",
                        std::u16string_view align = u"center");
inline constexpr std::u16string_view kBarEnd = u"</P></TD><TR></TABLE>";

// The name line: title word (when the last name is given), last name, first name, birth date.
std::u16string PatientNameText(const PatientRecord& record, const SummaryContext& context);

// The room and head doctor lines, each in `infoFont`. True when one was written.
bool AppendRoomAndDoctor(std::u16string& out, const PatientRecord& record,
                         const SummaryContext& context, std::u16string_view infoFont);

// The patient heading: the name bar in `nameFont`, then the room and head doctor lines. True
// when a room or head doctor line was written.
bool AppendPatientHeading(std::u16string& out, const PatientRecord& record,
                          const SummaryContext& context, std::u16string_view nameFont,
                          std::u16string_view infoFont);

// The age line and, when the form shows one, the time-since-event line.
void AppendAgeLines(std::u16string& out, const OpenPatient& patient, const SummaryContext& context,
                    bool afterRoomOrDoctor, std::u16string_view infoFont);

// The quick notes block (field 198); nothing when the notes hold no item.
enum class QuickNotesStyle { Page, Evolution };
void AppendQuickNotes(std::u16string& out, const PatientRecord& record,
                      const SummaryContext& context, QuickNotesStyle style);

// A treatment or action block; nothing when the list has no rows.
enum class ListStyle { Day, AllPatients, Problem, Evolution };
enum class ListKind { Treatments, Actions };
void AppendListBlock(std::u16string& out, const std::vector<TreatmentListRow>& rows, ListKind kind,
                     ListStyle style, const SummaryContext& context);

// The to-do text (field 98) with its marks made readable: done, urgent and pending labels, one
// task per "\r\n"-separated line.
std::u16string RenderTasks(std::u16string_view todo, const SummaryContext& context);
// The same as plain lines for documents: " (Urgent !)", " (To do)" and " (Done)" marks.
std::u16string PlainTasks(std::u16string_view todo, const Labels& labels);
// The to-do block of the day and all-patients summaries; nothing for an empty to-do field.
void AppendToDoBlock(std::u16string& out, const PatientRecord& record,
                     const SummaryContext& context);

// One chunk per problem of the journal on `day` (closed problems left out), for the day and
// all-patients summaries. Returns the number of problems the journal has.
int AppendProblemChunks(HtmlSink& sink, std::u16string_view journal, DayNumber day,
                        const SummaryContext& context);

// The separator, treatment, action and to-do chunks that end the day of one patient.
void AppendDayLists(HtmlSink& sink, const PatientRecord& record, const SummaryLists& lists,
                    std::u16string_view separator, ListStyle style, const SummaryContext& context);

}  // namespace pondrel
