#include "documents/FactoryModels.h"

#include "documents/RtfFormat.h"
#include "documents/WardDocuments.h"
#include "documents/WardFragments.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using ward_fragment::Version;

// The models are written with "\" and turned into the marker when they are stored.
std::u16string M(std::u16string_view rtf) {
    std::u16string text(rtf);
    for (char16_t& c : text) {
        if (c == u'\\') c = kModelBackslash;
    }
    return text;
}

std::u16string DocumentStart(bool landscape) {
    return M(u"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
             u"{\\f1\\froman\\fcharset0 Times New Roman;}{\\f3\\froman\\fcharset2 Symbol;}}"
             u"{\\colortbl;\\red0\\green0\\blue0;\\red90\\green40\\blue140;}") +
           M(landscape ? u"\\landscape\\paperw16838\\paperh11906" : u"\\paperw11906\\paperh16838") +
           M(u"\\margl851\\margr851\\margt851\\margb851 ");
}

std::u16string RowDefinition(std::initializer_list<int> rights) {
    std::u16string text = M(
        u"\\trowd\\trgaph70\\trleft0\\trbrdrt\\brdrs\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 "
        u"\\trbrdrb\\brdrs\\brdrw10 \\trbrdrr\\brdrs\\brdrw10 \\trbrdrh\\brdrs\\brdrw10 "
        u"\\trbrdrv\\brdrs\\brdrw10 ");
    for (int right : rights) {
        text += M(u"\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10 "
                  u"\\clbrdrr\\brdrs\\brdrw10 \\cellx") +
                ToText(right);
    }
    return text + u" ";
}

constexpr std::initializer_list<int> kBigCells = {3000, 10300, 15100};
constexpr std::initializer_list<int> kSmallCells = {1100, 4300, 7300, 12000, 15100};

// One big-summary row: it closes the group the previous row (or the heading) left open and
// leaves one open, which the next row or the closing fragment closes.
std::u16string BigRow(Version v) {
    std::u16string row = u"}" + RowDefinition(kBigCells);
    row += M(u"\\pard\\plain \\intbl {\\b\\fs18 XX2XX\\par }{\\fs16 AA1AA: XX7XX\\par AA2AA: XX8XX"
             u"\\par AA3AA: XX5XX\\par AA4AA: XX9XX\\par AA5AA: XX6XX   AA6AA: XX10XX\\par XX1XX}"
             u"{\\*\\pondrellayout XXTop1XX XXBottom1XX XXTop2XX XXBottom2XX}\\cell ");
    row += M(u"\\pard\\plain \\intbl {\\fs16 ") + ward_fragment::FirstProblemBlock(v);
    for (int k = 2; k <= 5; ++k) row += ward_fragment::ParagraphBlock(k, v);
    row += M(u"}\\cell ");
    row += M(u"\\pard\\plain \\intbl {\\b\\fs16\\ul YY6YY") + ward_fragment::ListLine(6, v);
    row += M(u"\\par }\\pard\\plain \\intbl {\\b\\fs16\\ul YY7YY") + ward_fragment::ListLine(7, v);
    row += M(u"\\par }\\pard\\plain \\intbl {\\b\\fs16\\ul YY8YY") + ward_fragment::ListLine(8, v);
    row += M(u"\\par }\\pard\\plain \\intbl {\\b\\fs16\\ul YY9YY}{\\fs16  SS9aSS SS9bSS}\\cell ");
    row += M(u"\\row \\pard\\plain {\\fs2 ");
    return row;
}

std::u16string BigFirst() {
    std::u16string text = DocumentStart(true);
    text += M(u"\\pard\\plain \\qc {\\b\\fs28 Summary of all patients - XXDateXX\\par }");
    text += RowDefinition(kBigCells);
    text += M(u"\\pard\\plain \\intbl {\\b\\fs18 AA7AA}\\cell "
              u"\\pard\\plain \\intbl {\\b\\fs18 Problems AA8AA:}\\cell "
              u"\\pard\\plain \\intbl {\\b\\fs18 Treatments, actions, tasks, examinations}\\cell "
              u"\\row \\pard\\plain {\\fs2 ");
    return text + BigRow(Version::FirstRow);
}

std::u16string SmallLine() {
    std::u16string line = RowDefinition(kSmallCells);
    line += M(u"\\pard\\plain \\intbl {\\b\\fs18 XX1XX\\par }{\\fs12 XXDateXX}\\cell "
              u"\\pard\\plain \\intbl {\\b\\fs16 XX2XX\\par }{\\fs16 XX7XX  XX8XX\\par XX5XX\\par "
              u"XX9XX}\\cell "
              u"\\pard\\plain \\intbl {\\fs16 YY1YY}\\cell "
              u"\\pard\\plain \\intbl {\\fs16 YY6YY}\\cell "
              u"\\pard\\plain \\intbl {\\fs16 YY8YY SS9aSS}\\cell \\row ");
    return line;
}

std::u16string SmallFirst() {
    std::u16string text = DocumentStart(true);
    text += M(u"\\pard\\plain \\qc {\\b\\fs28 Department - XXDateXX\\par }");
    text += RowDefinition(kSmallCells);
    text += M(u"\\pard\\plain \\intbl {\\b\\fs16 AA1AA}\\cell "
              u"\\pard\\plain \\intbl {\\b\\fs16 AA2AA}\\par {\\fs14 AA6AA, AA7AA, AA8AA, AA9AA}"
              u"\\cell \\pard\\plain \\intbl {\\b\\fs16 AA3AA AA12AA:}\\cell "
              u"\\pard\\plain \\intbl {\\b\\fs16 AA4AA}\\cell "
              u"\\pard\\plain \\intbl {\\b\\fs16 AA11AA, AA5AA}\\cell \\row ");
    return text + SmallLine();
}

std::u16string PrintModel() {
    return M(u"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
             u"{\\f1\\froman\\fcharset0 Times New Roman;}{\\f3\\froman\\fcharset2 Symbol;}}"
             u"{\\colortbl;\\red0\\green0\\blue0;}"
             u"{\\stylesheet{\\ql \\widctlpar\\fs20 \\snext0 Normal;}"
             u"{\\s2\\ql \\keepn\\widctlpar\\outlinelevel1\\b\\fs36 \\sbasedon0 \\snext0 heading 2;}"
             u"{\\s15\\ql \\widctlpar\\fs20 \\sbasedon0 \\snext15 Patient line;}}"
             u"{\\*\\listtable{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc23"
             u"\\leveljc0\\levelfollow0\\levelstartat1{\\leveltext\\'01\\'b7;}{\\levelnumbers;}"
             u"\\f3\\fi-360\\li720}{\\listname ;}\\listid1}}"
             u"{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"
             u"\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134 "
             u"{\\*\\pnseclvl8\\pnlcrm\\pnstart1\\pnindent720\\pnhang");
}

}  // namespace

std::string ModelFileBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text) bytes += static_cast<char>(c & 0xFF);  // the marker is 0xAC
    return bytes;
}

std::vector<std::pair<std::u16string, std::string>> FactoryModels() {
    return {
        {std::u16string(kPrintModel), ModelFileBytes(PrintModel())},
        {std::u16string(kBigSummaryModel), ModelFileBytes(BigFirst())},
        {std::u16string(kBigSummaryOddRowModel), ModelFileBytes(BigRow(Version::FollowOn))},
        {std::u16string(kBigSummaryEvenRowModel), ModelFileBytes(BigRow(Version::FollowOn))},
        {std::u16string(kSmallSummaryModel), ModelFileBytes(SmallFirst())},
        {std::u16string(kSmallSummaryLineModel), ModelFileBytes(SmallLine())},
        {std::u16string(kSmallSummaryEndModel), ModelFileBytes(M(u"\\pard\\plain \\par }"))},
    };
}

}  // namespace pondrel
