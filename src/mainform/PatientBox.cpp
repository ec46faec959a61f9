#include "mainform/PatientBox.h"

#include "labels/Labels.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {
constexpr int kLastName = 2;
constexpr int kFirstName = 3;
constexpr int kBirthYear = 6;
}  // namespace

PatientBoxView PatientBoxOf(const PatientRecord& record, const Labels& labels) {
    PatientBoxView view;
    const std::u16string& last = record.Field(kLastName);
    const std::u16string& first = record.Field(kFirstName);
    if (!last.empty()) view.text = labels.TitleBefore(record.sex);
    view.text += last + u" ";
    if (!first.empty()) view.text += first.front();
    view.text += u" " + record.Field(kBirthYear);
    view.readOnly = record.lockState == u"R";
    return view;
}

}  // namespace pondrel
