#pragma once

// The RTF fragments of the big summary rows that the program repeats, removes or replaces, in
// the text of the model files (the marker "¬" stands for the backslash). Each stands character
// for character in the factory models: the first-row version in "Summary All Patients.pdt", the
// follow-on version in "AddTable1.pdt" and "AddTable2.pdt". A fragment closes the group its
// predecessor left open and leaves one group open, so any number of copies keeps the braces
// balanced.

#include <string>
#include <string_view>

namespace pondrel::ward_fragment {

enum class Version { FirstRow, FollowOn };

// "YY1YY" in bold, then the seven label/text pairs of the problem's sections.
std::u16string FirstProblemBlock(Version version);
// The head of the first problem block: up to and including "YY1YY".
std::u16string FirstProblemHead(Version version);
// A problem after the first: a new paragraph with 6 points of space before it.
std::u16string FurtherProblemBlock();
// Closes the bold title and writes the span ("XXStartXX") in plain type.
inline constexpr std::u16string_view kSpanRun =
    u"}{\u00ACfs16\u00ACinsrsid14290810 XXStartXX}{\u00ACr\u00ACfs16\u00ACinsrsid14290810"
    u"\u00ACcharrsid14290810 ";
// Paragraph blocks 2 to 5: "YYkYY" bold underlined, then "SSkSS".
std::u16string ParagraphBlock(int k, Version version);
// Treatment (6), action (7) and to-do (8) lines: "SSkSS" in a hanging-indented paragraph.
std::u16string ListLine(int k, Version version);
// Appended once after the last row; ends the document.
inline constexpr std::u16string_view kClosing =
    u"\u00ACpar }\u00ACpard \u00ACql \u00ACli0\u00ACri0\u00ACwidctlpar\u00ACaspalpha\u00ACaspnum"
    u"\u00ACfaauto\u00ACadjustright\u00ACrin0\u00AClin0\u00ACitap0\u00ACpararsid11471829 "
    u"{\u00ACfs2\u00ACinsrsid6952940\u00ACcharrsid5515479 \u00ACpar }}";

}  // namespace pondrel::ward_fragment
