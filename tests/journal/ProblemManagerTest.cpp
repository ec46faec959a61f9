// The problem manager's commands on written and on damaged journals, and random sequences of
// commands checked against a plain model of what they mean.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "journal/JournalReader.h"
#include "journal/ProblemJournal.h"
#include "journal/ProblemManager.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using Outcome = ProblemManager::Outcome;

// Four problems; entries on 2263 (0, 1, 3), 2264 (1), 2265 (3).
const std::u16string kJournal =
    u"§0|Pneumonia¦Heart failure¦A¦lobar§1|Diabetes¦¦I¦§2|Anaemia¦¦A¦§3|Fall¦¦C¦hip"
    u"#2263§0|cough|crackles|CRP 120|amoxicillin|||§1|||glucose 9|insulin|||§3|pain||||||"
    u"#2264§1||better|||||"
    u"#2265§3||||x-ray||rest|";

TEST(ProblemManagerTest, ReadsProblemsAndWritesTheJournalBackUnchanged) {
    ProblemManager manager(kJournal);
    ASSERT_EQ(manager.Count(), 4);
    EXPECT_EQ(manager.Title(0), u"Pneumonia");
    EXPECT_EQ(manager.State(1), u'I');
    EXPECT_EQ(manager.State(3), u'C');
    EXPECT_EQ(manager.Title(4), u"");
    EXPECT_EQ(manager.Text(), kJournal);
    EXPECT_EQ(manager.Length(), kJournal.size());
    EXPECT_FALSE(manager.Changed());
}

TEST(ProblemManagerTest, MovingDownExchangesNumbersAndKeepsEntries) {
    ProblemManager manager(kJournal);
    ASSERT_EQ(manager.MoveDown(0), Outcome::Done);
    const std::u16string text = manager.Text();
    JournalReader r(text);
    EXPECT_EQ(r.GetProblemTitle(0), u"Diabetes");
    EXPECT_EQ(r.GetProblemTitle(1), u"Pneumonia");
    EXPECT_EQ(r.GetProblemRedaction(1), u"lobar");
    EXPECT_EQ(r.GetSection(2263, 1, 0), u"cough");
    EXPECT_EQ(r.GetSection(2263, 0, 3), u"insulin");
    EXPECT_EQ(r.GetSection(2264, 0, 1), u"better");
    EXPECT_TRUE(r.CheckStructure(nullptr));
    EXPECT_EQ(manager.MoveDown(3), Outcome::AtBottom);
    EXPECT_EQ(manager.MoveUp(1), Outcome::Done);
    EXPECT_EQ(manager.Text(), kJournal);  // back where it was
    EXPECT_EQ(manager.MoveUp(0), Outcome::AtTop);
    EXPECT_EQ(manager.MoveUp(4), Outcome::NoSuchProblem);
    EXPECT_EQ(manager.MoveDown(-1), Outcome::NoSuchProblem);
}

TEST(ProblemManagerTest, OnlyProblemMovedDownKeepsItsEntryUnderTheNewNumber) {
    ProblemManager manager(u"§0|A¦¦A¦§1|B¦¦A¦#2263§0|x||||||");
    ASSERT_EQ(manager.MoveDown(0), Outcome::Done);
    EXPECT_EQ(manager.Text(), u"§0|B¦¦A¦§1|A¦¦A¦#2263§1|x||||||");
    ProblemManager single(u"§0|A¦¦A¦");
    EXPECT_EQ(single.MoveDown(0), Outcome::AtBottom);
    EXPECT_EQ(single.MoveUp(0), Outcome::AtTop);
    EXPECT_FALSE(single.Changed());
}

TEST(ProblemManagerTest, StateKeepsTitleDiagnosisAndRedaction) {
    ProblemManager manager(u"§0|Sepsis (!)¦dd¦A¦long text§1|Bare");
    ASSERT_EQ(manager.SetState(0, u'I'), Outcome::Done);
    ASSERT_EQ(manager.SetState(1, u'C'), Outcome::Done);
    EXPECT_EQ(manager.Text(), u"§0|Sepsis (!)¦dd¦I¦long text§1|Bare¦¦C¦");
    EXPECT_EQ(manager.SetState(0, u'X'), Outcome::BadState);
    EXPECT_EQ(manager.SetState(2, u'A'), Outcome::NoSuchProblem);
}

TEST(ProblemManagerTest, DeleteRemovesEntriesEmptyDaysAndRenumbers) {
    ProblemManager manager(kJournal);
    ASSERT_EQ(manager.Delete(1), Outcome::Done);
    const std::u16string text = manager.Text();
    EXPECT_EQ(text,
              u"§0|Pneumonia¦Heart failure¦A¦lobar§1|Anaemia¦¦A¦§2|Fall¦¦C¦hip"
              u"#2263§0|cough|crackles|CRP 120|amoxicillin|||§2|pain||||||"
              u"#2265§2||||x-ray||rest|");
    EXPECT_EQ(manager.Count(), 3);
    EXPECT_TRUE(JournalReader(text).CheckStructure(nullptr));
}

TEST(ProblemManagerTest, MergeJoinsSectionsTextsAndKeepsTheFirstTitle) {
    for (auto [s, d] : {std::pair{3, 0}, std::pair{0, 3}}) {
        ProblemManager manager(kJournal);
        ASSERT_EQ(manager.Merge(s, d), Outcome::Done);
        const std::u16string text = manager.Text();
        JournalReader r(text);
        EXPECT_EQ(r.ProblemCount(), 3);
        EXPECT_EQ(r.GetProblemTitle(0), u"Pneumonia");
        EXPECT_EQ(r.GetProblemState(0), u"A");
        EXPECT_EQ(r.GetDifferentialDiagnosis(0), u"Heart failure");
        EXPECT_EQ(r.GetProblemRedaction(0), u"lobar\r\nhip");
        Sections day1 = r.GetEntry(2263, 0);
        EXPECT_EQ(day1[0], u"cough\r\npain");
        EXPECT_EQ(day1[1], u"crackles");
        EXPECT_EQ(day1[3], u"amoxicillin");
        Sections day3 = r.GetEntry(2265, 0);
        EXPECT_EQ(day3[3], u"x-ray");
        EXPECT_EQ(day3[5], u"rest");
        EXPECT_EQ(r.GetSection(2263, 1, 3), u"insulin");
        EXPECT_EQ(r.GetProblemTitle(2), u"Anaemia");
        EXPECT_TRUE(r.CheckStructure(nullptr));
    }
    ProblemManager manager(kJournal);
    EXPECT_EQ(manager.Merge(2, 2), Outcome::SameProblem);
    EXPECT_EQ(manager.Merge(2, 7), Outcome::NoSuchProblem);
    EXPECT_FALSE(manager.Changed());
}

TEST(ProblemManagerTest, MergeBeyondTheLengthLimitIsRefusedAndChangesNothing) {
    // Every section of both problems written on ten days: the merge adds twelve characters a
    // day (six line breaks) and removes nine ("§1|" and six bars) and the second header.
    ProblemJournal journal;
    journal.SetProblemHeader(0, u"A", u"", u"");
    journal.SetProblemHeader(1, u"B", u"", u"");
    for (DayNumber day = 10; day < 20; ++day) {
        journal.SetEntry(day, 0, {u"a", u"a", u"a", u"a", u"a", u"a"});
        journal.SetEntry(day, 1, {u"b", u"b", u"b", u"b", u"b", u"b"});
    }
    const std::u16string text = journal.Text();
    ProblemManager manager(text);
    manager.SetLengthLimit(text.size() + 10);
    EXPECT_EQ(manager.Merge(1, 0), Outcome::TooBig);
    EXPECT_EQ(manager.Text(), text);
    EXPECT_FALSE(manager.Changed());
    manager.SetLengthLimit(text.size() + 30);
    ASSERT_EQ(manager.Merge(1, 0), Outcome::Done);
    EXPECT_EQ(manager.Text().size(), text.size() + 30 - 8);  // "§1|B¦¦A¦" went too
    EXPECT_EQ(JournalReader(manager.Text()).GetSection(15, 0, 4), u"a\r\nb");
    // A command that shortens the journal is never refused, whatever the limit.
    ProblemManager shrinking(text);
    shrinking.SetLengthLimit(1);
    EXPECT_EQ(shrinking.Delete(0), Outcome::Done);
}

// Damaged journals: whatever the commands do not touch is written back as it was read, and no
// command reaches into a text that merely looks like a number.
TEST(ProblemManagerTest, HostileJournalsKeepWhatTheCommandsDoNotTouch) {
    // A section holding "§1|"-like text cannot exist (the writers remove "§"), but a damaged
    // file may hold a piece the reader passes over: "§05|", "§123|", a prefix and a leftover
    // day marker, and an entry of a problem without title.
    const std::u16string damaged =
        u"junk§0|A¦¦A¦§05|odd§1|B¦x¦I¦r§123|more#77#2263§1|b1||||||§0|a1||||||§7|orphan|"
        u"#2264§§1|b2||||||";
    ProblemManager manager(damaged);
    EXPECT_EQ(manager.Text(), damaged);
    ASSERT_EQ(manager.Count(), 2);
    ASSERT_EQ(manager.MoveDown(0), Outcome::Done);
    const std::u16string moved = manager.Text();
    EXPECT_NE(moved.find(u"junk"), std::u16string::npos);
    EXPECT_NE(moved.find(u"§05|odd"), std::u16string::npos);
    EXPECT_NE(moved.find(u"§123|more"), std::u16string::npos);
    EXPECT_NE(moved.find(u"#77#"), std::u16string::npos);
    EXPECT_NE(moved.find(u"§7|orphan|"), std::u16string::npos);
    JournalReader r(moved);
    EXPECT_EQ(r.GetProblemTitle(0), u"B");
    EXPECT_EQ(r.GetProblemTitle(1), u"A");
    EXPECT_EQ(r.GetSection(2263, 0, 0), u"b1");
    EXPECT_EQ(r.GetSection(2263, 1, 0), u"a1");
    EXPECT_EQ(r.GetSection(2264, 0, 0), u"b2");
    ASSERT_EQ(manager.Delete(0), Outcome::Done);
    const std::u16string afterText = manager.Text();  // the reader keeps a view of it
    JournalReader after(afterText);
    EXPECT_EQ(after.ProblemCount(), 1);
    EXPECT_EQ(after.GetSection(2263, 0, 0), u"a1");
    EXPECT_FALSE(after.DayHasEntries(2264));
}

TEST(ProblemManagerTest, EveryCommandSurvivesRandomBytes) {
    std::mt19937 random(26);
    const std::u16string alphabet = u"§|¦#0123AIC\r\n ab";
    for (int round = 0; round < 300; ++round) {
        std::u16string text;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        ProblemManager manager(text);
        ASSERT_EQ(manager.Text(), text);
        const int count = manager.Count();
        const int p = count == 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(count));
        manager.MoveDown(p);
        manager.MoveUp(p);
        manager.SetState(p, u'I');
        manager.Merge(0, p);
        manager.Delete(0);
        EXPECT_EQ(manager.Text().size(), manager.Length());
        EXPECT_LE(JournalReader(manager.Text()).ProblemCount(), count);
    }
}

// ---- Random commands against a model --------------------------------------------------------

struct ModelProblem {
    std::u16string title, dd, redaction;
    char16_t state = u'A';
    std::map<DayNumber, Sections> entries;
};

std::u16string Join(const std::u16string& a, const std::u16string& b) {
    return a.empty() || b.empty() ? a + b : a + u"\r\n" + b;
}

std::u16string RandomText(std::mt19937& random) {
    static const std::u16string kWords[] = {u"", u"", u"cough", u"CRP 12", u"a\r\nb", u"-x"};
    return kWords[random() % 6];
}

TEST(ProblemManagerPropertyTest, RandomCommandsKeepEveryOtherProblemDayByDay) {
    std::mt19937 random(3105);
    for (int round = 0; round < 60; ++round) {
        std::vector<ModelProblem> model;
        ProblemJournal journal;
        const int problems = 1 + static_cast<int>(random() % 8);
        for (int p = 0; p < problems; ++p) {
            ModelProblem problem;
            problem.title = u"P" + ToText(p);
            problem.dd = RandomText(random);
            problem.redaction = RandomText(random);
            journal.SetProblemHeader(p, problem.title, problem.dd, problem.redaction);
            if (random() % 3 == 0) {
                problem.state = random() % 2 ? u'I' : u'C';
                journal.SetProblemState(p, problem.state);
            }
            for (DayNumber day = 100; day < 110; ++day) {
                if (random() % 3 != 0) continue;
                Sections sections;
                for (auto& s : sections) s = RandomText(random);
                sections[static_cast<size_t>(random() % kSectionCount)] = u"t" + ToText(day);
                journal.SetEntry(day, p, sections);
                problem.entries[day] = sections;
            }
            model.push_back(problem);
        }
        ProblemManager manager(journal.Text());
        for (int step = 0; step < 12 && !model.empty(); ++step) {
            const int count = static_cast<int>(model.size());
            const int p = static_cast<int>(random() % static_cast<unsigned>(count));
            const int q = static_cast<int>(random() % static_cast<unsigned>(count));
            switch (random() % 5) {
                case 0:
                    if (manager.MoveDown(p) == Outcome::Done) {
                        std::swap(model[static_cast<size_t>(p)], model[static_cast<size_t>(p + 1)]);
                    } else {
                        ASSERT_EQ(p, count - 1);
                    }
                    break;
                case 1:
                    if (manager.MoveUp(p) == Outcome::Done) {
                        std::swap(model[static_cast<size_t>(p)], model[static_cast<size_t>(p - 1)]);
                    } else {
                        ASSERT_EQ(p, 0);
                    }
                    break;
                case 2: {
                    const char16_t state = u"AIC"[random() % 3];
                    ASSERT_EQ(manager.SetState(p, state), Outcome::Done);
                    model[static_cast<size_t>(p)].state = state;
                    break;
                }
                case 3:
                    ASSERT_EQ(manager.Delete(p), Outcome::Done);
                    model.erase(model.begin() + p);
                    break;
                default: {
                    if (p == q) {
                        ASSERT_EQ(manager.Merge(p, q), Outcome::SameProblem);
                        break;
                    }
                    ASSERT_EQ(manager.Merge(p, q), Outcome::Done);
                    ModelProblem& a = model[static_cast<size_t>(std::min(p, q))];
                    ModelProblem b = model[static_cast<size_t>(std::max(p, q))];
                    a.dd = Join(a.dd, b.dd);
                    a.redaction = Join(a.redaction, b.redaction);
                    for (auto& [day, sections] : b.entries) {
                        auto it = a.entries.find(day);
                        if (it == a.entries.end()) {
                            a.entries[day] = sections;
                            continue;
                        }
                        for (size_t i = 0; i < sections.size(); ++i) {
                            it->second[i] = Join(it->second[i], sections[i]);
                        }
                    }
                    model.erase(model.begin() + std::max(p, q));
                    break;
                }
            }
            const std::u16string text = manager.Text();
            JournalReader reader(text);
            Error error;
            ASSERT_TRUE(reader.CheckStructure(&error)) << error.message;
            ASSERT_EQ(reader.ProblemCount(), static_cast<int>(model.size()));
            std::vector<DayNumber> days;
            for (size_t p2 = 0; p2 < model.size(); ++p2) {
                const ModelProblem& expected = model[p2];
                const int number = static_cast<int>(p2);
                ASSERT_EQ(reader.GetProblemTitle(number), expected.title);
                ASSERT_EQ(reader.GetDifferentialDiagnosis(number), expected.dd);
                ASSERT_EQ(reader.GetProblemRedaction(number), expected.redaction);
                ASSERT_EQ(reader.GetProblemState(number), std::u16string(1, expected.state));
                for (DayNumber day = 100; day < 110; ++day) {
                    auto it = expected.entries.find(day);
                    ASSERT_EQ(reader.GetEntry(day, number),
                              it == expected.entries.end() ? Sections{} : it->second)
                        << "problem " << number << " day " << day;
                    if (it != expected.entries.end()) days.push_back(day);
                }
            }
            std::sort(days.begin(), days.end());
            days.erase(std::unique(days.begin(), days.end()), days.end());
            ASSERT_EQ(reader.DaysWithEntries(), days);
        }
    }
}

}  // namespace
}  // namespace pondrel
