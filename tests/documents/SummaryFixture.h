#pragma once

// What the summary tests share: the labels with the factory words the summaries use, sources of
// age texts and treatment lists given by hand, records made from plain values, and the HTML of
// a builder as one text.

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "documents/HtmlText.h"
#include "documents/SummaryInputs.h"
#include "journal/JournalWords.h"
#include "labels/Labels.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel::test {

class HandSources final : public SummarySources {
public:
    std::u16string LongAge(const PatientRecord& record, DayNumber day) const override {
        ++ageCalls;
        auto byDay = agesByDay.find(day);
        if (byDay != agesByDay.end()) return byDay->second;
        auto it = ages.find(record.Field(2));
        return it == ages.end() ? age : it->second;
    }
    SummaryLists RunningLists(const PatientRecord&) const override { return running; }
    SummaryLists DayLists(const PatientRecord& record, DayNumber day) const override {
        listDays.push_back(day);
        auto it = dayLists.find(record.Field(2));
        return it == dayLists.end() ? onDay : it->second;
    }

    std::u16string age = u"45 years , 2 months , 3 days";
    std::map<std::u16string, std::u16string> ages;  // by last name
    std::map<DayNumber, std::u16string> agesByDay;
    SummaryLists running;
    SummaryLists onDay;
    std::map<std::u16string, SummaryLists> dayLists;  // by last name
    mutable int ageCalls = 0;
    mutable std::vector<DayNumber> listDays;
};

class SummaryTest : public ::testing::Test {
protected:
    SummaryTest() {
        // The words the factory labels file gives the labels without a built-in word.
        labels.uiLabels[22] = u"Problems";
        labels.uiLabels[23] = u"To do";
        labels.uiLabels[26] = u"Admission examinations";
        labels.uiLabels[28] = u"Examinations";
        labels.uiLabels[29] = u"Differential diagnosis";
        labels.uiLabels[32] = u"Treatments";
        labels.uiLabels[33] = u"Actions";
        labels.uiLabels[54] = u"Mrs";
        labels.uiLabels[55] = u"Mr";
        words = JournalWordsFrom(labels);
    }

    SummaryContext Context() const { return {labels, words, order, sources}; }

    // A begun record: names, birth date, sex, a hospitalisation from `admissionDay`.
    static PatientRecord Patient(std::u16string last, std::u16string first, std::u16string d,
                                 std::u16string m, std::u16string y, int sex = 1) {
        PatientRecord r;
        r.inUse = 1;
        r.sex = sex;
        r.SetField(2, std::move(last));
        r.SetField(3, std::move(first));
        r.SetField(4, std::move(d));
        r.SetField(5, std::move(m));
        r.SetField(6, std::move(y));
        r.subfolderType = u"Hosp";
        return r;
    }

    static std::string Utf8(const std::u16string& text) { return ToUtf8(text); }

    Labels labels = Labels::Defaults();
    JournalWords words;
    DateOrder order = DateOrder::DayMonthYear;
    HandSources sources;
};

// The opening of a one-cell bar up to its colour, and its end.
inline const std::u16string kBar =
    uR"(<TABLE BORDER="0" WIDTH="100%" CELLSPACING="0" CELLPADDING="0"><TR><TD WIDTH="100%" BGCOLOR=")";
inline const std::u16string kBarEnd = u"</P></TD><TR></TABLE>";

// 13 March 2006 and the days around it.
inline constexpr DayNumber kMar13 = 2263;
inline constexpr DayNumber kMar14 = 2264;
inline constexpr DayNumber kMar15 = 2265;

}  // namespace pondrel::test
