#pragma once

// The exam titles list: the ordered titles of the exam table's rows, kept in the preferences
// (item 42) as one text, each title followed by "|". A title is one or more aliases separated
// by "," ("Leu,WBC"); the first alias is the name shown.

#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

inline constexpr int kMaxExamTitles = 50;

// The titles of the stored text: the text before each "|" (a last title without "|" counts
// too), at most kMaxExamTitles.
std::vector<std::u16string> SplitExamTitles(std::u16string_view text);
// Every title followed by "|".
std::u16string JoinExamTitles(const std::vector<std::u16string>& titles);

// The aliases of a title, in order.
std::vector<std::u16string_view> AliasesOf(std::u16string_view title);
// The name a title shows: the text before its first "," when that is at position 1 or later.
std::u16string_view ShownTitle(std::u16string_view title);

// The form under which exam names are compared: folded to lower case, without blanks, and
// without degree signs at the end ("T°" of the admission form and "T" written in a section are
// one exam, the temperature). Every place that decides whether two exam names are one exam
// uses it; the names and titles kept keep their own spelling.
std::u16string ExamNameKey(std::u16string_view name);

// Whether an exam name written in the text belongs to a title's alias: the same key
// (ExamNameKey). A longer name is another analyte ("Creatinine clearance" is not "Creatinine",
// "Proteinuria" not "Protein"); spellings of one exam are joined by aliases.
bool ExamNameMatches(std::u16string_view name, std::u16string_view alias);
// Whether the name matches any alias of the title.
bool ExamNameMatchesTitle(std::u16string_view name, std::u16string_view title);

}  // namespace pondrel
