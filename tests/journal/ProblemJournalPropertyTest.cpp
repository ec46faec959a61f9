// Random sequences of journal writes checked against a plain model of what they mean.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>

#include "TestPlatform.h"
#include "journal/ProblemJournal.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

struct ModelHeader {
    std::u16string title, dd, state = u"A", redaction;
};

// The meaning of the journal: headers by number and sections by (day, problem).
class Model {
public:
    int Count() const {
        int p = 0;
        while (p < kMaxProblems && !Title(p).empty()) ++p;
        return p;
    }
    std::u16string Title(int p) const {
        auto it = headers.find(p);
        return it == headers.end() ? u"" : it->second.title;
    }

    void SetEntry(DayNumber day, int p, const Sections& raw) {
        if (p < 0 || p >= kMaxProblems) return;
        Sections s;
        bool empty = true;
        for (size_t i = 0; i < s.size(); ++i) {
            s[i] = ProblemJournal::CleanSection(raw[i]);
            empty = empty && s[i].empty();
        }
        if (empty) {
            entries.erase({day, p});
            return;
        }
        if (Title(p).empty()) {
            if (!headers.count(p) && p > Count()) return;
            headers[p].title = ProblemJournal::DefaultTitle(p);
        }
        entries[{day, p}] = s;
    }

    void SetHeader(int p, std::u16string_view t, std::u16string_view d, std::u16string_view r) {
        if (p < 0 || p >= kMaxProblems) return;
        ModelHeader h;
        h.title = ProblemJournal::CleanHeaderField(t);
        h.dd = ProblemJournal::CleanHeaderField(d);
        h.redaction = ProblemJournal::CleanHeaderField(r);
        bool stored = headers.count(p) > 0;
        if (stored) h.state = headers[p].state;
        if (h.title.empty()) {
            if (!Title(p + 1).empty()) {
                h.title = ProblemJournal::DefaultTitle(p);
            } else if (!Title(p).empty()) {
                h.title = Title(p);
            } else if (!h.dd.empty() || !h.redaction.empty()) {
                h.title = ProblemJournal::DefaultTitle(p);
            } else {
                return;
            }
        }
        if (!stored && p > Count()) return;
        headers[p] = h;
    }

    void SetState(int p, char16_t state) {
        if (!Title(p).empty()) headers[p].state = std::u16string(1, state);
    }

    std::map<int, ModelHeader> headers;
    std::map<std::pair<DayNumber, int>, Sections> entries;
};

const std::array<DayNumber, 12> kDays = {-400, -1,   0,    9,    10,   99,
                                         100,  2263, 2264, 2265, 2270, 22630};

class Generator {
public:
    explicit Generator(unsigned seed) : m_random(seed) {}
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    std::u16string Text() {
        static const std::u16string kAlphabet = u"ab #§|¦¢¬-\r\n.éZ0123";
        int length = Int(0, 3) == 0 ? 0 : Int(0, 10);
        std::u16string out;
        for (int i = 0; i < length; ++i) {
            out += kAlphabet[static_cast<size_t>(Int(0, static_cast<int>(kAlphabet.size()) - 1))];
        }
        return out;
    }
    Sections SixTexts() {
        Sections s;
        bool blank = Int(0, 4) == 0;
        for (auto& t : s) t = blank ? std::u16string() : Text();
        return s;
    }
    DayNumber Day() { return kDays[static_cast<size_t>(Int(0, 11))]; }

private:
    std::mt19937 m_random;
};

// The first difference between the journal and the model, or "" when they agree.
std::string Difference(const ProblemJournal& journal, const Model& model) {
    Error error;
    if (!journal.Reader().CheckStructure(&error)) return error.message;
    JournalReader reader = journal.Reader();
    if (reader.ProblemCount() != model.Count()) return "problem count";
    for (int p = 0; p <= model.Count() + 1 && p < kMaxProblems; ++p) {
        auto it = model.headers.find(p);
        ModelHeader expected = it == model.headers.end() ? ModelHeader{} : it->second;
        auto header = reader.GetProblemHeader(p).value_or(ProblemHeader{{}, {}, u"A", {}});
        if (header.title != expected.title || header.differentialDiagnosis != expected.dd ||
            header.state != expected.state || header.redaction != expected.redaction) {
            return "header " + std::to_string(p);
        }
    }
    std::vector<DayNumber> days;
    for (const auto& [key, sections] : model.entries) {
        if (days.empty() || days.back() != key.first) days.push_back(key.first);
    }
    if (reader.EntryDays() != days) return "entry days";
    for (DayNumber day : kDays) {
        bool any = false;
        for (int p = 0; p <= model.Count() + 1; ++p) {
            auto it = model.entries.find({day, p});
            any = any || it != model.entries.end();
            if (reader.GetEntry(day, p) != (it == model.entries.end() ? Sections{} : it->second)) {
                return "entry of day " + std::to_string(day) + " problem " + std::to_string(p);
            }
        }
        if (reader.DayHasEntries(day) != any) return "day has entries " + std::to_string(day);
    }
    return {};
}

TEST(ProblemJournalPropertyTest, RandomWritesReadBackAsTheModel) {
    for (unsigned seed : {1u, 2u, 3u, 5u, 8u, 13u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Generator g(seed);
        ProblemJournal journal;
        Model model;
        for (int step = 0; step < 250; ++step) {
            int count = model.Count();
            int p = g.Int(0, 19) == 0 ? g.Int(-1, 101) : g.Int(0, std::min(count + 1, 12));
            switch (g.Int(0, 9)) {
                case 0:
                case 1:
                case 2:
                case 3: {
                    DayNumber day = g.Day();
                    Sections s = g.SixTexts();
                    journal.SetEntry(day, p, s);
                    model.SetEntry(day, p, s);
                    break;
                }
                case 4:
                case 5: {
                    DayNumber day = g.Day();
                    journal.DeleteEntry(day, p);
                    model.entries.erase({day, p});
                    break;
                }
                case 6: {
                    char16_t state = u"AIC"[g.Int(0, 2)];
                    journal.SetProblemState(p, state);
                    model.SetState(p, state);
                    break;
                }
                default: {
                    std::u16string t = g.Text(), d = g.Text(), r = g.Text();
                    journal.SetProblemHeader(p, t, d, r);
                    model.SetHeader(p, t, d, r);
                    break;
                }
            }
            std::string difference = Difference(journal, model);
            ASSERT_EQ(difference, "") << "step " << step << ": " << test::U8(journal.Text());
        }
    }
}

}  // namespace
}  // namespace pondrel
