// Random start and stop lines over random days and problems, matched against a plain model of
// the matching rules (a straight search over every course, no index).

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "journal/JournalWords.h"
#include "journal/TreatmentTables.h"
#include "TreatmentJournal.h"

namespace pondrel {
namespace {

enum class Mark { None, Stop, OneTime, LowerCase };

struct Line {
    std::u16string name;
    Mark mark;
};

class Model {
public:
    void Day(DayNumber day, const std::vector<Line>& lines) {
        std::vector<std::pair<std::u16string, size_t>> pending;
        for (const Line& line : lines) {
            if (line.mark == Mark::None) {
                auto it = std::find_if(pending.begin(), pending.end(),
                                       [&](const auto& p) { return p.first == line.name; });
                if (it != pending.end()) {
                    courses[it->second].text = line.name;
                    pending.erase(it);
                } else {
                    courses.push_back({line.name, day, std::nullopt, false});
                }
                continue;
            }
            if (auto running = Running(line.name)) {
                courses[*running].stopDay = day;
            } else if (line.mark == Mark::LowerCase) {
                courses.push_back({line.name + u" (stop)", day, std::nullopt, true});
            } else {
                pending.emplace_back(line.name, courses.size());
                courses.push_back({line.name, day, day, false});
            }
        }
    }
    std::vector<TreatmentCourse> courses;

private:
    std::optional<size_t> Running(const std::u16string& name) const {
        for (size_t i = 0; i < courses.size(); ++i) {
            if (!courses[i].stopDay && courses[i].text == name) return i;
        }
        for (size_t i = 0; i < courses.size(); ++i) {
            const auto& t = courses[i].text;
            if (!courses[i].stopDay && t.size() > name.size() &&
                t.compare(t.size() - name.size(), name.size(), name) == 0) {
                return i;
            }
        }
        return std::nullopt;
    }
};

std::u16string MarkText(Mark mark) {
    switch (mark) {
        case Mark::Stop:
            return u" (Stop)";
        case Mark::OneTime:
            return u" (One time)";
        case Mark::LowerCase:
            return u" (stop)";
        default:
            return u"";
    }
}

TEST(TreatmentMatchingPropertyTest, RandomLinesMatchAsTheModel) {
    const std::u16string names[] = {u"a", u"b", u"x a", u"b c", u"c"};
    const Mark marks[] = {Mark::None, Mark::None,    Mark::None,     Mark::Stop,
                          Mark::Stop, Mark::OneTime, Mark::LowerCase};
    JournalWords words;
    std::mt19937 random(20060313);
    for (int round = 0; round < 300; ++round) {
        const int problems = 3;
        const DayNumber first = test::k13Mar06;
        const int dayCount = 1 + static_cast<int>(random() % 8);
        test::TreatmentJournal journal(problems);
        Model model;
        // (day, problem) -> lines, written in random order; read in day and problem order.
        std::map<std::pair<DayNumber, int>, std::vector<Line>> entries;
        int writes = static_cast<int>(random() % 12);
        for (int w = 0; w < writes; ++w) {
            DayNumber day = first + static_cast<int>(random() % static_cast<unsigned>(dayCount));
            int problem = static_cast<int>(random() % problems);
            auto& lines = entries[{day, problem}];
            lines.clear();
            std::u16string text;
            for (int n = static_cast<int>(random() % 4); n > 0; --n) {
                Line line{names[random() % std::size(names)], marks[random() % std::size(marks)]};
                if (!text.empty()) text += random() % 2 ? u"\r\n-" : u"\r\n";
                text += line.name + MarkText(line.mark);
                lines.push_back(line);
            }
            journal.Medicine(day, problem, text);
        }
        for (DayNumber day = first; day < first + dayCount; ++day) {
            std::vector<Line> lines;
            for (int p = 0; p < problems; ++p) {
                auto it = entries.find({day, p});
                if (it != entries.end())
                    lines.insert(lines.end(), it->second.begin(), it->second.end());
            }
            model.Day(day, lines);
        }
        auto courses = TreatmentLines::Read(journal.Text(), TreatmentKind::Treatments, words);
        ASSERT_EQ(courses, model.courses) << "round " << round;

        // The current-day list of every day holds exactly the courses covering that day.
        for (DayNumber day = first; day < first + dayCount; ++day) {
            TreatmentDays days{first + dayCount, first + dayCount, day, first};
            auto lists = ListsOf(courses, days, words, DateOrder::DayMonthYear);
            std::vector<size_t> expected;
            for (size_t i = 0; i < courses.size(); ++i) {
                const auto& c = courses[i];
                if (c.startDay <= day && (!c.stopDay || *c.stopDay >= day)) expected.push_back(i);
            }
            std::vector<size_t> got;
            for (const auto& row : lists.currentDay) {
                got.push_back(row.course);
                EXPECT_EQ(row.text, courses[row.course].text);
            }
            ASSERT_EQ(got, expected) << "round " << round << " day " << day;
        }
    }
}

}  // namespace
}  // namespace pondrel
