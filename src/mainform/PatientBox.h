#pragma once

#include <string>

namespace pondrel {

struct Labels;
struct PatientRecord;

// What the patient box of the command bar shows for a record.
struct PatientBoxView {
    std::u16string text;
    bool readOnly = false;  // the patient's file is held by another user (lock state "R")
};

// Title word (label 54 + sex) + " " + last name + " " + first letter of the first name + " " +
// birth year; the title word and its space only when the last name is not empty.
PatientBoxView PatientBoxOf(const PatientRecord& record, const Labels& labels);

}  // namespace pondrel
