#include "documents/TemplateFiller.h"

#include <array>

#include "documents/CodeReplacer.h"
#include "documents/RtfFormat.h"
#include "documents/RtfSyntax.h"
#include "documents/SummaryText.h"
#include "documents/TemplateCode.h"
#include "documents/TemplateData.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr size_t npos = std::string_view::npos;

// Follows the groups of RTF text fed piece by piece: escaped braces are not groups, and the
// data of \binN is skipped.
class GroupScanner {
public:
    void Feed(std::string_view bytes) {
        for (char c : bytes) Step(c);
    }
    int Depth() const { return m_depth; }
    // The lowest depth reached (negative when a "}" closed more than was opened).
    int Lowest() const { return m_lowest; }

private:
    enum class State { Text, Backslash, Word, Number, Binary };

    void Step(char c) {
        switch (m_state) {
            case State::Binary:
                if (--m_binary <= 0) m_state = State::Text;
                return;
            case State::Backslash:
                if (IsRtfLetter(c)) {
                    m_word.assign(1, c);
                    m_state = State::Word;
                } else {
                    m_state = State::Text;  // "\{", "\}", "\\", "\'": nothing of a group
                }
                return;
            case State::Word:
                if (IsRtfLetter(c)) {
                    if (m_word.size() < 8) m_word += c;
                    return;
                }
                m_number = 0;
                if (IsRtfDigit(c) || c == '-') {
                    if (IsRtfDigit(c)) m_number = c - '0';
                    m_state = State::Number;
                    return;
                }
                EndWord(c);
                return;
            case State::Number:
                if (IsRtfDigit(c)) {
                    if (m_number < 100'000'000) m_number = m_number * 10 + (c - '0');
                    return;
                }
                EndWord(c);
                return;
            case State::Text:
                Text(c);
                return;
        }
    }

    void EndWord(char c) {
        const bool binary = m_word == "bin" && m_number > 0;
        if (binary && c == ' ') {
            m_binary = m_number;
            m_state = State::Binary;
            return;
        }
        m_state = State::Text;
        if (c != ' ') {
            if (binary) {
                // The data starts at once when no blank delimits the word.
                m_binary = m_number;
                m_state = State::Binary;
                Step(c);
                return;
            }
            Text(c);
        }
    }

    void Text(char c) {
        if (c == '\\') {
            m_state = State::Backslash;
        } else if (c == '{') {
            ++m_depth;
        } else if (c == '}') {
            --m_depth;
            if (m_depth < m_lowest) m_lowest = m_depth;
        }
    }

    State m_state = State::Text;
    std::string m_word;
    long m_number = 0;
    long m_binary = 0;
    int m_depth = 0;
    int m_lowest = 0;
};

bool IsUnescapedBackslash(std::string_view text, size_t at) {
    size_t slashes = 0;
    for (size_t k = at; k > 0 && text[k - 1] == '\\'; --k) ++slashes;
    return slashes % 2 == 0;
}

// "\'a2" (either case of the hex digits) at `at`, not preceded by an escaping backslash.
bool IsEscape(std::string_view text, size_t at, char high, char low) {
    return at + 4 <= text.size() && text[at] == '\\' && text[at + 1] == '\'' &&
           (text[at + 2] | 0x20) == high && (text[at + 3] | 0x20) == low &&
           IsUnescapedBackslash(text, at);
}

size_t FindEscape(std::string_view text, size_t from, char high, char low) {
    for (size_t at = text.find("\\'", from); at != npos; at = text.find("\\'", at + 1)) {
        if (IsEscape(text, at, high, low)) return at;
    }
    return npos;
}

// Word processors may write the cent sign as "\u162" followed by its fallback "\'a2": the code
// then starts at the "\u162".
size_t CodeStartWithUnicode(std::string_view text, size_t escape) {
    for (std::string_view prefix : {std::string_view("\\u162 "), std::string_view("\\u162")}) {
        if (escape >= prefix.size() &&
            text.substr(escape - prefix.size(), prefix.size()) == prefix &&
            IsUnescapedBackslash(text, escape - prefix.size())) {
            return escape - prefix.size();
        }
    }
    return escape;
}

void AppendBytes(std::u16string& out, std::string_view bytes) {
    for (char c : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(c));
}

// Gives back the delimiting blank of a control word ending in `ending` ("\\cf1", "\\fs55") that the
// punctuation rules turned into `punctuation`. Text that merely ends the same way ("Room 55.")
// is left alone.
void RepairControlWords(std::u16string& text, std::u16string_view ending, char16_t punctuation) {
    for (size_t at = text.find(ending); at != std::u16string::npos;
         at = text.find(ending, at + 1)) {
        const size_t after = at + ending.size();
        if (after >= text.size() || text[after] != punctuation) continue;
        size_t k = after;
        while (k > 0 && text[k - 1] >= u'0' && text[k - 1] <= u'9') --k;
        while (k > 0 && text[k - 1] >= u'a' && text[k - 1] <= u'z') --k;
        if (k == 0 || k > at || text[k - 1] != u'\\') continue;
        text[after] = u' ';
    }
}

}  // namespace

bool IsRtf(std::string_view bytes) {
    return !bytes.empty() && bytes.front() == '{';
}

bool GroupsBalanced(std::string_view rtf) {
    GroupScanner scanner;
    scanner.Feed(rtf);
    return scanner.Lowest() >= 0 && scanner.Depth() == 0;
}

void CleanUpDocument(std::u16string& text) {
    struct Step {
        std::u16string_view from;
        std::u16string_view to;
        bool controlWord;  // `from` is a control word ending and its punctuation mark
    };
    static constexpr std::array<Step, 21> kSteps = {{
        {u" ,", u",", false},
        {u" .", u".", false},
        {u", /", u",", false},
        {u",,", u",", false},
        {u".,", u".", false},
        {u",.", u".", false},
        {u",:", u",", false},
        {u"/.", u".", false},
        {u"/,", u",", false},
        {u":.", u":", false},
        {u"::", u":", false},
        {u"..", u".", false},
        {u",  ", u",", false},
        {u"cf1.", {}, true},
        {u"55.", {}, true},
        {u"55,", {}, true},
        {u", \r", u"\r", false},
        {u"\r,", u"\r", false},
        {u"charrsid6104608.", {}, true},
        {u"charrsid6104608,", {}, true},
        {u"   ", u"  ", false},
    }};
    for (const Step& step : kSteps) {
        if (step.controlWord) {
            RepairControlWords(text, step.from.substr(0, step.from.size() - 1), step.from.back());
        } else {
            text = RewriteEachUntilStable(text, {{step.from, step.to}});
        }
    }
    for (char16_t& c : text) {
        if (c == kKeptBlank) c = u' ';
    }
}

TemplateFill FillTemplateBytes(std::string_view input, const TemplateData& data) {
    TemplateFill fill;
    if (IsRtf(input) && !GroupsBalanced(input)) {
        fill.failure = TemplateFailure::Damaged;
        return fill;
    }
    const CodeReplacer replacer(data);
    std::u16string out;
    out.reserve(input.size() + input.size() / 4);
    GroupScanner groups;
    size_t copied = 0;  // input before this position is in `out`
    size_t search = 0;
    size_t nextHash = 0;
    size_t nextEscapedHash = 0;
    bool hashKnown = false;
    while (true) {
        const size_t escape = FindEscape(input, search, 'a', '2');
        if (escape == npos) break;
        const size_t textBegin = escape + kCodeStart.size();
        if (!hashKnown || nextHash < textBegin) nextHash = input.find('#', textBegin);
        if (!hashKnown || nextEscapedHash < textBegin) {
            nextEscapedHash = FindEscape(input, textBegin, '2', '3');
        }
        hashKnown = true;
        const size_t mark = std::min(nextHash, nextEscapedHash);
        if (mark == npos) {
            // No code can end after this point: the rest is copied as it stands.
            fill.unfinishedCode = true;
            break;
        }
        const size_t codeEnd = mark == nextHash ? mark + 1 : mark + kEscapedHash.size();
        const size_t codeStart = CodeStartWithUnicode(input, escape);
        search = escape + 1;
        if (codeEnd - codeStart > kMaxCodeBytes) continue;
        const std::string_view rawText = input.substr(textBegin, mark - textBegin);
        const std::u16string codeText = NormaliseCodeText(rawText);
        std::optional<TemplateCode> code = ParseCode(codeText);
        if (!code) {
            // A code text of nothing but formatting stays empty from any later cent sign before
            // the same end mark too: those are not codes either (a template made of cent signs
            // costs one pass). Ignorable groups may hide a code, so they are read again.
            if (codeText.empty() && rawText.find("{\\*") == std::string_view::npos) search = mark;
            continue;
        }

        const std::string_view before = input.substr(copied, codeStart - copied);
        AppendBytes(out, before);
        groups.Feed(before);
        // The braces the word processor broke the code with.
        GroupScanner inside;
        inside.Feed(input.substr(codeStart, codeEnd - codeStart));
        const int closes = -inside.Lowest();
        const int opens = inside.Depth() + closes;

        const RtfMarkup markup = replacer.Replace(*code);
        const bool ownGroup = markup.BreaksGroups() && groups.Depth() <= 1;
        if (ownGroup) out += u'{';
        out += markup.Escaped();
        if (ownGroup) out += u'}';
        out.append(static_cast<size_t>(closes), u'}');
        out.append(static_cast<size_t>(opens), u'{');
        groups.Feed(std::string(static_cast<size_t>(closes), '}'));
        groups.Feed(std::string(static_cast<size_t>(opens), '{'));
        ++fill.codes;
        copied = codeEnd;
        search = codeEnd;
        if (out.size() >= 2 * kTemplateResultLimit) {
            // Far past the limit: no clean-up can bring it back.
            fill.failure = TemplateFailure::ResultTooBig;
            return fill;
        }
    }
    AppendBytes(out, input.substr(copied));
    CleanUpDocument(out);
    if (out.size() >= kTemplateResultLimit) {
        fill.failure = TemplateFailure::ResultTooBig;
        return fill;
    }
    fill.bytes.reserve(out.size());
    for (char16_t c : out) fill.bytes += static_cast<char>(c & 0xFF);
    return fill;
}

TemplateFill FillTemplate(DeviceFileSystem& files, std::u16string_view path, size_t sizeLimit,
                          const TemplateData& data) {
    TemplateFill fill;
    std::string bytes;
    if (!files.ReadFile(path, kTemplateReadBytes, bytes)) {
        fill.failure = TemplateFailure::NotFound;
        return fill;
    }
    if (bytes.size() >= sizeLimit) {
        fill.failure = TemplateFailure::TooBig;
        return fill;
    }
    return FillTemplateBytes(bytes, data);
}

}  // namespace pondrel
