#pragma once

// Text helpers of the HTML summaries: escaping, the repeated clean-up replacements, trimming by
// character sets, and the date and day texts every summary shows.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "records/DayNumber.h"

namespace pondrel {

struct JournalWords;

// A record text made safe to place between tags: "&", "<", ">" and '"' become character
// references, so whatever the doctor typed is shown as typed and never read as markup.
std::u16string HtmlEscape(std::u16string_view text);
// Appends the escaped text to `out`.
void AppendEscaped(std::u16string& out, std::u16string_view text);

// One replacement rule of a clean-up: every `from` becomes `to` (`to` is shorter).
using Rewrite = std::pair<std::u16string_view, std::u16string_view>;

// The rewrites below never touch the dots between two digits ("0.5..1 mg", "135..145"): they
// belong to numbers, not to punctuation.
//
// Applies the rules until none of them matches anywhere: rounds of whole-text replacements, one
// rule after the other. The few rounds an ordinary text needs are done as such; a text that
// needs more (a run of thousands of blanks) is finished in one pass over its characters, so no
// text costs more than a few times its length. Only shortening rules are applied.
std::u16string RewriteUntilStable(std::u16string_view text, std::span<const Rewrite> rules);
std::u16string RewriteUntilStable(std::u16string_view text, std::initializer_list<Rewrite> rules);
// Each rule in turn until it no longer matches, then the next rule; one pass per rule.
std::u16string RewriteEachUntilStable(std::u16string_view text, std::span<const Rewrite> rules);
std::u16string RewriteEachUntilStable(std::u16string_view text,
                                      std::initializer_list<Rewrite> rules);

// The clean-ups the summaries apply until nothing is left to replace.
// Each chunk of the entry summary.
inline constexpr Rewrite kEntryTidyRules[] = {{u"</TABLE><BR ", u"</TABLE"},
                                              {u"<BR ><BR >", u"<BR >"},
                                              {u"<BR><BR><BR><BR>", u"<BR><BR>"},
                                              {u"<BR ><BR><BR>", u"<BR><BR>"},
                                              {u"::", u":"},
                                              {u": :", u":"},
                                              {u"..", u"."},
                                              {u" .", u"."},
                                              {u".,", u","},
                                              {u",.", u"."}};
// The text of the tasks summary.
inline constexpr Rewrite kTasksCleanupRules[] = {
    {u" .", u"."}, {u".,", u","}, {u"..", u"."}, {u",.", u"."}};

// The punctuation clean-up of a summary block: "?." -> "?", "!." -> "!", " ," -> ",",
// " ." -> ".", ",." -> ".", ".." -> ".", each until none is left, in that order.
std::u16string PunctuationCleanup(std::u16string_view text);

// Removes the characters of `set` from the start / end of the text.
std::u16string TrimLeftOf(std::u16string_view text, std::u16string_view set);
std::u16string TrimRightOf(std::u16string_view text, std::u16string_view set);
// The first `count` characters, a surrogate pair never cut in half.
std::u16string CutTo(std::u16string_view text, size_t count);

// The heading of a day: for a hospitalisation from its admission day on, "D" + the day of stay
// + " - ", then "Monday 15 March 2006".
std::u16string DayHeading(DayNumber day, bool hospitalisation, DayNumber admissionDay,
                          const JournalWords& words);

// A page caption from the current-day caption: " - " becomes " ", trailing blanks removed,
// at most `length` characters.
std::u16string DayCaption(std::u16string_view dayCaption, size_t length);

// The part of an age text after "=", blanks trimmed; empty when the text has no "=".
std::u16string AgeAfterEquals(std::u16string_view age);

}  // namespace pondrel
