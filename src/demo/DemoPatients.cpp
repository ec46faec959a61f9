#include "demo/DemoPatients.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "demo/DemoCatalogue.h"
#include "journal/BodyMassIndex.h"
#include "journal/ProblemJournal.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileWriter.h"

namespace pondrel {

namespace {

using demo::ProblemText;

constexpr int kBmiField = 95;  // computed from the weight and height, as the form does

// splitmix64: the same numbers on every platform and library, unlike the standard
// distributions.
class DemoRandom {
public:
    explicit DemoRandom(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0..count-1
    int Below(int count) {
        return count <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(count));
    }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int chance) { return Below(100) < chance; }
    template <typename T>
    const T& Pick(std::span<const T> items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    uint64_t m_state;
};

std::u16string Text(std::u16string_view text) {
    return std::u16string(text);
}
std::u16string Number(long long value) {
    return ToText(value);
}

// A value with one decimal, e.g. 37.4 from 374.
std::u16string Tenths(int tenths) {
    return Number(tenths / 10) + u"." + Number(tenths % 10);
}

struct Vitals {
    int temperatureTenths;
    int systolic;
    int diastolic;
    int pulse;
    int respiration;
    int saturation;
};

// Vital signs on day `d` of a stay: fever and tachycardia settle over the first days.
Vitals VitalsOn(DemoRandom& random, double fever, int d, int baseSystolic) {
    int start = static_cast<int>(fever * 10 + 0.5);
    int temperature = std::max(366 + random.Between(0, 4), start - d * 6 + random.Between(-2, 2));
    int excess = std::max(0, temperature - 370);
    return Vitals{temperature,
                  baseSystolic + random.Between(-8, 8),
                  baseSystolic / 2 + random.Between(5, 15),
                  72 + excess + random.Between(-6, 10),
                  14 + excess / 5 + random.Between(0, 3),
                  std::min(99, 92 + d + random.Between(0, 3))};
}

std::u16string StatusLine(const Vitals& v) {
    return u"T " + Tenths(v.temperatureTenths) + u" \u00B0C, BP " + Number(v.systolic) + u"/" +
           Number(v.diastolic) + u" mmHg, HR " + Number(v.pulse) + u"/min, RR " +
           Number(v.respiration) + u"/min, SpO2 " + Number(v.saturation) + u" %";
}

struct Patient {
    PatientRecord record;
    ProblemJournal journal;
    int problemCount = 0;
};

// Adds a problem to the journal and returns its number.
int AddProblem(Patient& p, const ProblemText& problem) {
    int number = p.problemCount++;
    p.journal.SetProblemHeader(number, problem.title, problem.differential, problem.redaction);
    return number;
}

void SetEntry(Patient& p, DayNumber day, int problem, std::u16string_view anamnesia,
              std::u16string_view status, std::u16string_view examinations,
              std::u16string_view medicine, std::u16string_view attitude) {
    p.journal.SetEntry(day, problem,
                       Sections{Text(anamnesia), Text(status), Text(examinations), Text(medicine),
                                u"", Text(attitude)});
}

// The lines of a section text without their bullets.
std::vector<std::u16string> LinesOf(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(u"\r\n", at);
        std::u16string_view line = text.substr(at, end == std::u16string_view::npos
                                                       ? std::u16string_view::npos
                                                       : end - at);
        while (!line.empty() && line.front() == u'-') line.remove_prefix(1);
        if (!line.empty()) lines.emplace_back(line);
        if (end == std::u16string_view::npos) break;
        at = end + 2;
    }
    return lines;
}

bool HasLine(std::u16string_view text, std::u16string_view line) {
    const std::vector<std::u16string> lines = LinesOf(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

constexpr std::u16string_view kOneTimeMark = u" (One time)";
// An acute problem is solved after this many days of the stay.
constexpr int kSolvedAfterDays = 5;
constexpr std::u16string_view kStopMark = u" (Stop)";

// A treatment or action of a course: started on a visit, stopped on a later one, or given once.
struct Order {
    std::u16string text;
    DayNumber start = 0;
    std::optional<DayNumber> stop;
    bool once = false;
    bool given = true;  // false for a fixed course that was over before the line's day
};

// Orders of the lines of `text` started on `day`.
void AddOrders(std::vector<Order>& orders, std::u16string_view text, DayNumber day) {
    for (std::u16string& line : LinesOf(text)) {
        Order order{std::move(line), day, std::nullopt, false, true};
        if (order.text.ends_with(kOneTimeMark)) {
            order.text.resize(order.text.size() - kOneTimeMark.size());
            order.once = true;
        }
        orders.push_back(std::move(order));
    }
}

// The section text of every visit: the lines started that day, then those stopped that day.
std::map<DayNumber, std::u16string> SectionTexts(const std::vector<Order>& orders) {
    std::map<DayNumber, std::u16string> texts;
    auto add = [&](DayNumber day, const std::u16string& line) {
        std::u16string& text = texts[day];
        if (!text.empty()) text += u"\r\n";
        text += u"-" + line;
    };
    for (const Order& order : orders) {
        add(order.start, order.once ? order.text + std::u16string(kOneTimeMark) : order.text);
    }
    for (const Order& order : orders) {
        if (order.stop && !order.once) add(*order.stop, order.text + std::u16string(kStopMark));
    }
    return texts;
}

// The entries of one problem over the days first..last, visited every `step` days. Drugs are
// replaced when the treatment changes, fixed courses (antibiotics, steroids) stop when done,
// and at the end of a stay that is over (`discharged`) whatever still runs is stopped, so a
// readmission starts only what no longer runs.
void WriteCourse(Patient& p, DemoRandom& random, const ProblemText& problem, int number,
                 DayNumber first, DayNumber last, int step, bool main, int baseSystolic,
                 bool discharged) {
    std::vector<DayNumber> visits;
    for (DayNumber day = first; day <= last; day += step) visits.push_back(day);
    const DayNumber lastVisit = visits.back();
    // The first visit on or after a day.
    auto visitFrom = [&](DayNumber day) -> std::optional<DayNumber> {
        auto it = std::lower_bound(visits.begin(), visits.end(), day);
        return it == visits.end() ? std::nullopt : std::optional<DayNumber>(*it);
    };
    const std::optional<DayNumber> change =
        visits.size() > 2 ? std::optional<DayNumber>(visits[2]) : std::nullopt;

    std::vector<Order> drugs;
    AddOrders(drugs, problem.medicine, first);
    if (change) AddOrders(drugs, problem.laterMedicine, *change);
    for (Order& drug : drugs) {
        if (drug.once) continue;
        if (change && drug.start == first && HasLine(problem.replaced, drug.text)) {
            drug.stop = change;
        }
        if (problem.courseDays > 0 && HasLine(problem.limited, drug.text)) {
            // The course ends on its last day, or on the visit nearest before it (the first
            // after it when none is), as the doctor at a weekly visit writes it.
            // A course that ends after the last day still runs.
            const DayNumber end = first + problem.courseDays - 1;
            std::optional<DayNumber> done = visitFrom(end);
            auto before = std::upper_bound(visits.begin(), visits.end(), end);
            if (end <= last && before != visits.begin() && *std::prev(before) > drug.start) {
                done = *std::prev(before);
            }
            if (done && *done <= drug.start) {
                drug.given = false;
            } else if (done && (!drug.stop || *done < *drug.stop)) {
                drug.stop = done;
            }
        }
    }
    std::erase_if(drugs, [](const Order& drug) { return !drug.given; });
    std::vector<Order> actions;
    AddOrders(actions, problem.attitude[0], first);
    if (change) AddOrders(actions, problem.attitude[1], *change);
    // An acute problem of the present stay settles after five to seven days: its orders end
    // that day, with the plans that follow it.
    std::optional<DayNumber> settled;
    if (problem.acute && !discharged && last - first >= kSolvedAfterDays) {
        settled = visitFrom(first + kSolvedAfterDays - 1 + random.Below(3)).value_or(lastVisit);
    }
    const DayNumber closing = settled.value_or(lastVisit);
    if (problem.acute && closing != first && closing != change) {
        const size_t before = actions.size();
        AddOrders(actions, problem.attitude[2], closing);
        for (size_t i = before; i < actions.size(); ++i) actions[i].once = true;
    }
    if (settled) {
        for (Order& action : actions) {
            if (action.stop || action.once) continue;
            if (action.start < *settled) {
                action.stop = settled;
            } else {
                action.once = true;
            }
        }
    }
    if (discharged) {
        for (std::vector<Order>* orders : {&drugs, &actions}) {
            for (Order& order : *orders) {
                if (order.stop || order.once) continue;
                if (order.start < lastVisit) {
                    order.stop = lastVisit;
                } else {
                    order.once = true;  // ordered on the day of discharge
                }
            }
        }
    }
    const std::map<DayNumber, std::u16string> medicine = SectionTexts(drugs);
    const std::map<DayNumber, std::u16string> attitude = SectionTexts(actions);
    auto textOn = [](const std::map<DayNumber, std::u16string>& texts, DayNumber day) {
        auto it = texts.find(day);
        return it == texts.end() ? std::u16string() : it->second;
    };

    int visit = 0;
    for (DayNumber day : visits) {
        const bool isFirst = day == first;
        std::u16string status;
        if (main) {
            status = StatusLine(VitalsOn(random, problem.fever, day - first, baseSystolic));
            if (!isFirst) status += u"\r\n" + Text(random.Pick(demo::ProgressNotes()));
        }
        const std::u16string drugText = textOn(medicine, day);
        const std::u16string actionText = textOn(attitude, day);
        if (!main && !isFirst && drugText.empty() && actionText.empty()) {
            if (visit++ % 3 != 0) continue;
            status = u"Stable.";
        } else {
            ++visit;
        }
        SetEntry(p, day, number, isFirst ? problem.anamnesia : u"", status,
                 isFirst ? problem.examinations : u"", drugText, actionText);
    }
}

struct Growth {
    int weightTenths;  // kilograms, in tenths
    int heightCm;
};

// A child's weight and height at an age in months, `percent` above or below the middle of the
// growth curves (about 3.3 kg and 50 cm at birth, 9.5 kg and 75 cm at one year, 22 kg and
// 119 cm at seven years).
Growth GrowthAt(int months, int percent) {
    double weight;
    double height;
    const double years = months / 12.0;
    if (months <= 6) {
        weight = 3.3 + 0.7 * months;
        height = 50 + 2.6 * months;
    } else if (months <= 12) {
        weight = 7.5 + 0.33 * (months - 6);
        height = 65.6 + 1.6 * (months - 6);
    } else if (months <= 24) {
        weight = 9.5 + 0.2 * (months - 12);
        height = 75 + 1.0 * (months - 12);
    } else if (years <= 7) {
        weight = 2 * years + 8;
        height = 87 + 6.4 * (years - 2);
    } else {
        weight = (7 * years - 5) / 2;
        height = 119 + 6 * (years - 7);
    }
    const double factor = 1 + percent / 100.0;
    return Growth{static_cast<int>(weight * factor * 10 + 0.5),
                  static_cast<int>(height * (1 + percent / 300.0) + 0.5)};
}

// The to-do tasks of a patient, in the tasks' own format: text + "#" + priority + "|" + mark +
// "|", urgent first, done ones last.
std::u16string DemoTasks(const ProblemText& main, DemoRandom& random) {
    struct Task {
        std::u16string text;
        int priority;
        bool done;
    };
    std::vector<Task> list;
    std::vector<std::u16string> lines = LinesOf(main.attitude[1]);
    for (size_t i = 0; i < lines.size(); ++i) list.push_back({lines[i], i == 0 ? 1 : 2, false});
    if (random.Percent(30)) list.push_back({u"Call the family", 0, false});
    list.push_back({u"Check the medication list with the family doctor", 2, false});
    list.push_back({u"Admission note written", 2, true});
    std::stable_sort(list.begin(), list.end(), [](const Task& a, const Task& b) {
        return a.done != b.done ? !a.done : a.priority < b.priority;
    });
    std::u16string tasks;
    for (const Task& task : list) {
        for (char16_t c : task.text) {
            if (c != u'|' && c != u'#') tasks += c;
        }
        tasks += u"#" + Number(task.priority) + (task.done ? u"|*|" : u"|N|");
    }
    return tasks;
}

void SetIdentity(PatientRecord& r, DemoRandom& random, const std::u16string& last,
                 const std::u16string& first, int day, int month, int year) {
    const std::u16string dayText = Number(day);
    const std::u16string monthText = Number(month);
    const std::u16string yearText = Number(year);
    for (auto [n, value] :
         {std::pair{2, &last}, {3, &first}, {4, &dayText}, {5, &monthText}, {6, &yearText}}) {
        r.SetField(n, *value);
        r.SetField(n + 118, *value);  // 120..124
    }
    r.SetField(125, Text(random.Pick(demo::Professions())));
    static constexpr std::u16string_view kCivil[] = {u"Married", u"Single", u"Widowed",
                                                     u"Divorced"};
    r.SetField(126, Text(random.Pick(std::span<const std::u16string_view>(kCivil))));
    r.SetField(129, Number(random.Between(1, 120)) + u" Orchard Lane");
    r.SetField(130, Text(random.Pick(demo::Cities())));
    r.SetField(131, Number(random.Between(1000, 9899)));
    r.SetField(132, u"555 0" + Number(random.Between(100, 199)));
    r.SetField(134, u"Mutual Health Fund");
    r.SetField(135, Number(random.Between(100000, 999999)));
}

DateTime At(DayNumber day, int hour, int minute) {
    DateTime t = DateOfDay(day);
    t.hour = hour;
    t.minute = minute;
    return t;
}

// The block of an earlier stay, as the writer stores it, taken from the text it composes.
std::u16string EarlierBlock(const PatientRecord& current, const ProblemText& problem,
                            DayNumber admission, int length, bool ambulatory) {
    PatientRecord old = current;
    old.rawText.clear();
    old.admission = At(admission, 10, 15);
    old.admissionDay = admission;
    old.exit = At(admission + length, 11, 0);
    old.exitDateSet = 1;
    old.historyStartDay = admission;
    old.subfolderType = ambulatory ? u"Ambu" : u"Hosp";
    old.SetField(61, Text(problem.motive));
    old.SetField(79, Text(problem.labo));
    old.SetField(82, Text(problem.imaging));
    old.SetField(98, u"");
    for (int n = 7; n <= 14; ++n) old.SetField(n, u"");
    std::u16string text = ComposePatientText(old, SubfolderKeyOf(old));
    size_t begin = text.find(kBlockMarkH, text.find(kIdentityMark));
    size_t end = text.find(kBlockEndMark, begin);
    return text.substr(begin, end + kBlockEndMark.size() - begin);
}

PatientRecord MakePatient(DemoRandom& random, const DemoOptions& options,
                          std::set<std::u16string>& usedNames) {
    Patient p;
    PatientRecord& r = p.record;
    const DayNumber today = DayNumberOf(options.today);
    const bool child = random.Percent(12);
    const int age = child ? random.Between(0, 15) : random.Between(18, 96);
    r.sex = random.Below(2);

    // Born `age` whole years and some days ago; a child at least seven weeks before today, so
    // before a stay of up to three weeks began.
    const int extraDays = random.Between(0, 364);
    std::u16string last, first;
    DateTime birth;
    for (int attempt = 0;; ++attempt) {
        last = Text(random.Pick(demo::LastNames()));
        first = Text(random.Pick(r.sex == 1 ? demo::MaleFirstNames() : demo::FemaleFirstNames()));
        const int years = age + attempt / 20;  // older when names run out
        birth = DateOfDay(today - std::max(years * 365 + years / 4 + extraDays, 50));
        if (usedNames.insert(FoldCase(last + u"_" + first + u"_" + Number(birth.year))).second) {
            break;
        }
    }
    SetIdentity(r, random, last, first, birth.day, birth.month, birth.year);
    const int ageMonths = (today - DayNumberOf(birth)) * 12 / 365;

    // The stay: a hospitalisation of a few days to three weeks, or ambulatory visits.
    const bool ambulatory = !child && random.Percent(10);
    const int length = ambulatory ? random.Between(14, 56) : random.Between(0, 21);
    const int step = ambulatory ? 7 : 1;
    const DayNumber admission = today - length;
    r.inUse = 1;
    r.subfolderType = ambulatory ? u"Ambu" : u"Hosp";
    r.admission = At(admission, random.Between(7, 22), random.Between(0, 59));
    r.admissionDay = admission;
    r.exit = r.admission;
    r.historyStartDay = admission;

    std::vector<int> problems;
    auto pickProblem = [&] {
        for (;;) {
            int index = child ? random.Pick(demo::ChildProblems())
                              : random.Below(static_cast<int>(demo::Problems().size()));
            if (!child && index == 10) continue;  // bronchiolitis is for children
            if (std::find(problems.begin(), problems.end(), index) == problems.end()) {
                problems.push_back(index);
                return;
            }
        }
    };
    pickProblem();
    const int extra = child ? random.Between(0, 1) : random.Between(0, 3);
    for (int i = 0; i < extra; ++i) pickProblem();
    const ProblemText& main = demo::Problems()[static_cast<size_t>(problems[0])];
    r.location = child ? u"Paediatrics"
                       : (problems[0] == 1 || problems[0] == 3
                              ? u"Cardiology"
                              : Text(demo::Locations()[static_cast<size_t>(random.Below(2))]));

    const int baseSystolic = child ? 100 : random.Between(110, 160);
    for (size_t i = 0; i < problems.size(); ++i) {
        const ProblemText& problem = demo::Problems()[static_cast<size_t>(problems[i])];
        int number = AddProblem(p, problem);
        WriteCourse(p, random, problem, number, admission, today, step, i == 0, baseSystolic,
                    false);
        if (problem.acute && today - admission >= kSolvedAfterDays) {
            p.journal.SetProblemState(number, kStateSolved);
        }
    }

    // Form fields: the latest vital signs, history, examinations.
    Vitals now = VitalsOn(random, main.fever, length, baseSystolic);
    std::u16string weight;
    std::u16string height;
    if (child) {
        // Near the middle of the growth curves for the age, a little above or below.
        const Growth growth = GrowthAt(ageMonths, random.Between(-7, 7));
        weight = Tenths(growth.weightTenths);
        height = Number(growth.heightCm);
    } else {
        const int heightCm = random.Between(150, 196);
        const int bmiTenths = random.Between(190, 340);
        weight = Number(bmiTenths * heightCm * heightCm / 100000);
        height = Number(heightCm);
    }
    r.SetField(1, Text(random.Pick(demo::Doctors())));
    r.SetField(7, weight);
    r.SetField(8, height);
    r.SetField(kBmiField, ComputeBmi(weight, height, 0));
    r.SetField(9, Tenths(now.temperatureTenths));
    r.SetField(10, Number(now.respiration));
    r.SetField(11, Number(now.systolic));
    r.SetField(12, Number(now.diastolic));
    r.SetField(13, Number(now.pulse));
    r.SetField(14, Number(now.saturation));
    r.SetField(20, now.pulse > 100 ? u"Sinus tachycardia, no ST changes"
                                   : u"Sinus rhythm, normal axis, no ST changes");
    r.SetField(45, u"Regular rhythm, no murmur");
    r.SetField(50, main.fever > 38.5 ? u"Crackles at the right base" : u"Vesicular, no crackles");
    r.SetField(59, u"Dr " + Text(random.Pick(demo::LastNames())));
    r.SetField(60, Text(random.Pick(demo::Doctors())));
    r.SetField(61, Text(main.motive));
    r.SetField(62, Text(main.anamnesia));
    r.SetField(63, child ? u"-Born at term, vaccinations up to date"
                         : Text(random.Pick(demo::PastHistories())));
    r.SetField(64, Text(main.medicine));
    r.SetField(69, Text(random.Pick(demo::Allergies())));
    r.SetField(
        70, child ? u"Lives with parents and a brother." : Text(random.Pick(demo::SocialNotes())));
    r.SetField(79, Text(main.labo));
    r.SetField(82, Text(main.imaging));
    r.SetField(94, Number(random.Between(101, 130)));
    r.SetField(98, DemoTasks(main, random));
    r.SetField(200, ChartNumber(r.admission));

    // Earlier stays of some adults: their problem in the journal (the same number when it
    // came back, else a new problem, solved) and a block of their own.
    // The stays go back in time, one before the other, each over before the next began.
    std::u16string blocks;
    if (!child && random.Percent(25)) {
        const int stays = random.Between(1, 2);
        DayNumber before = admission;
        for (int s = 0; s < stays; ++s) {
            const int index = random.Below(10);
            const ProblemText& problem = demo::Problems()[static_cast<size_t>(index)];
            const int days = random.Between(2, 9);
            const DayNumber start = before - days - random.Between(60, 700);
            before = start;
            const bool wasAmbulatory = random.Percent(30);
            auto known = std::find(problems.begin(), problems.end(), index);
            const bool recurrent = known != problems.end();
            if (!recurrent) problems.push_back(index);
            const int number =
                recurrent ? static_cast<int>(known - problems.begin()) : AddProblem(p, problem);
            WriteCourse(p, random, problem, number, start, start + days, wasAmbulatory ? 7 : 2,
                        false, baseSystolic, true);
            if (!recurrent) p.journal.SetProblemState(number, kStateSolved);
            r.problemJournal = p.journal.Text();
            blocks += EarlierBlock(r, problem, start, days, wasAmbulatory);
        }
    }
    r.problemJournal = p.journal.Text();
    // The other subfolders stand after the identity part, as in a file that was read.
    if (!blocks.empty()) r.rawText = std::u16string(kIdentityMark) + blocks;
    return r;
}

class SilentMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Cancel;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

}  // namespace

std::vector<PatientRecord> MakeDemoPatients(const DemoOptions& options) {
    const int count = std::clamp(options.patients, 0, kMaxDemoPatients);
    DemoRandom random(options.seed);
    std::set<std::u16string> usedNames;
    std::vector<PatientRecord> records;
    records.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) records.push_back(MakePatient(random, options, usedNames));
    return records;
}

DemoWriteResult WriteDemoPatients(DeviceFileSystem& files, std::u16string_view activeFolder,
                                  const DemoOptions& options) {
    SilentMessages messages;
    PatientFileWriter writer(files, messages, PatientFolders{std::u16string(activeFolder), u""});
    DemoWriteResult result;
    std::vector<PatientRecord> records = MakeDemoPatients(options);
    for (size_t i = 0; i < records.size(); ++i) {
        SaveState state;
        state.quiet = QuietLevel::Automatic;
        switch (writer.SavePatient(records[i], static_cast<int>(i), SaveMode::Normal, state)) {
            case SaveOutcome::Written:
                ++result.written;
                break;
            case SaveOutcome::Conflict:
                result.skipped.push_back(PatientFileName(records[i]));
                break;
            default:
                result.failed.push_back(PatientFileName(records[i]));
                break;
        }
    }
    return result;
}

}  // namespace pondrel
