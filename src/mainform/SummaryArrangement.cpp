#include "mainform/SummaryArrangement.h"

#include "labels/Labels.h"
#include "layout/Arrangement.h"
#include "mainform/PageNames.h"

namespace pondrel {

namespace {

// The free fields 100 to 109 and 110 to 119 have pages of their own, 28 and 29.
constexpr int kFreeFieldPages[] = {28, 29};
// The heading of the admission date on page 0, and the label it falls back on.
constexpr int kAdmissionHeading = 1;
constexpr int kAdmissionLabel = 159;

}  // namespace

FormArrangement SummaryArrangementOf(const Arrangement& arrangement, const Labels& labels,
                                     const Preferences& preferences) {
    FormArrangement form;
    form.fieldPage.fill(kNoFormPage);
    for (int field = 1; field < kFieldCount; ++field) {
        form.fieldPage[static_cast<size_t>(field)] =
            PageOfField(arrangement, field).value_or(kNoFormPage);
    }
    auto names = PageNames(labels, preferences);
    for (int page = 0; page < kEntryPageCount; ++page) {
        // The arrangement in force names its pages; the preferences keep the names shown.
        const std::u16string& own = arrangement.pages[static_cast<size_t>(page)].name;
        form.pageTitles[static_cast<size_t>(page)] =
            own.empty() ? names[static_cast<size_t>(page)] : own;
    }
    for (size_t block = 0; block < form.blockTitles.size(); ++block) {
        form.blockTitles[block] = names[static_cast<size_t>(kFreeFieldPages[block])];
    }
    const std::u16string& heading = labels.SectionCaption(kAdmissionHeading);
    form.admissionCaption = heading.empty() ? labels.Label(kAdmissionLabel) : heading;
    return form;
}

}  // namespace pondrel
