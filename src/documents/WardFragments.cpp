#include "documents/WardFragments.h"

#include "platform/Text.h"

namespace pondrel::ward_fragment {
namespace {

// The revision identifier of a fragment: the models differ in nothing else.
std::u16string Rsid(Version version) {
    return version == Version::FirstRow ? u"5515479" : u"6454125";
}

std::u16string Pairs(const std::u16string& rsid) {
    std::u16string text;
    for (int k = 1; k <= 7; ++k) {
        const std::u16string n = ToText(k);
        text += u"}{\u00ACi\u00ACfs16\u00ACul\u00ACinsrsid" + rsid + u" UU" + n + u"UU}{\u00ACfs16" +
                u"\u00ACinsrsid" + rsid + u" TT" + n + u"TT";
    }
    return text;
}

}  // namespace

std::u16string FirstProblemHead(Version version) {
    const std::u16string rsid = Rsid(version);
    // The first-row version starts the cell; the follow-on version repeats the paragraph
    // properties of a row added to the table.
    const std::u16string properties =
        version == Version::FirstRow
            ? u"}\u00ACpard\u00ACplain \u00ACql \u00ACli0\u00ACri0\u00ACwidctlpar\u00ACintbl"
              u"\u00ACaspalpha\u00ACaspnum\u00ACfaauto\u00ACadjustright\u00ACrin0\u00AClin0"
              u"\u00ACpararsid5515479 "
            : u"}\u00ACpard\u00ACplain \u00ACql \u00ACli0\u00ACri0\u00ACkeep\u00ACwidctlpar"
              u"\u00ACintbl\u00ACtx5760\u00ACaspalpha\u00ACaspnum\u00ACfaauto\u00ACadjustright"
              u"\u00ACrin0\u00AClin0\u00ACpararsid8134773\u00ACyts16 ";
    return properties + u"{\u00ACb\u00ACfs16\u00ACinsrsid" + rsid + u" YY1YY";
}

std::u16string FirstProblemBlock(Version version) {
    const std::u16string rsid = Rsid(version);
    return FirstProblemHead(version) +
           u"\u00ACpar }\u00ACpard \u00ACql \u00ACli181\u00ACri0\u00ACwidctlpar\u00ACintbl"
           u"\u00ACaspalpha\u00ACaspnum\u00ACfaauto\u00ACadjustright\u00ACrin0\u00AClin181 "
           u"{\u00ACfs16\u00ACinsrsid" +
           rsid + u" " + Pairs(rsid);
}

std::u16string FurtherProblemBlock() {
    const std::u16string rsid = u"14290810";
    return u"\u00ACpar }\u00ACpard \u00ACql \u00ACli0\u00ACri0\u00ACsb120\u00ACwidctlpar"
           u"\u00ACintbl\u00ACaspalpha\u00ACaspnum\u00ACfaauto\u00ACadjustright\u00ACrin0"
           u"\u00AClin0 {\u00ACb\u00ACfs16\u00ACinsrsid" +
           rsid +
           u" YY1YY\u00ACpar }\u00ACpard \u00ACql \u00ACli181\u00ACri0\u00ACwidctlpar\u00ACintbl"
           u"\u00ACaspalpha\u00ACaspnum\u00ACfaauto\u00ACadjustright\u00ACrin0\u00AClin181 "
           u"{\u00ACfs16\u00ACinsrsid" +
           rsid + u" " + Pairs(rsid);
}

std::u16string ParagraphBlock(int k, Version version) {
    const std::u16string rsid = Rsid(version);
    const std::u16string n = ToText(k);
    const std::u16string pararsid = version == Version::FirstRow ? u"5515479" : u"8134773";
    return u"\u00ACpar }\u00ACpard \u00ACql \u00ACfi-181\u00ACli181\u00ACri0\u00ACsb120"
           u"\u00ACkeep\u00ACwidctlpar\u00ACintbl\u00ACtx5760\u00ACaspalpha\u00ACaspnum"
           u"\u00ACfaauto\u00ACadjustright\u00ACrin0\u00AClin181\u00ACpararsid" +
           pararsid + u"\u00ACyts16 {\u00ACb\u00ACfs16\u00ACul\u00ACinsrsid" + rsid + u" YY" + n +
           u"YY}{\u00ACfs16\u00ACinsrsid" + rsid + u" SS" + n + u"SS";
}

std::u16string ListLine(int k, Version version) {
    const std::u16string rsid = Rsid(version);
    return u"\u00ACpar }\u00ACpard \u00ACql \u00ACfi-195\u00ACli376\u00ACri0\u00ACwidctlpar"
           u"\u00ACintbl\u00ACaspalpha\u00ACaspnum\u00ACfaauto\u00ACadjustright\u00ACrin0"
           u"\u00AClin376 {\u00ACfs16\u00ACinsrsid" +
           rsid + u" SS" + ToText(k) + u"SS";
}

}  // namespace pondrel::ward_fragment
