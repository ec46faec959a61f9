#include "mainform/PageNames.h"

#include "labels/Labels.h"
#include "platform/Text.h"
#include "settings/Preferences.h"

namespace pondrel {

int PageNameLabel(int page) {
    if (page >= 19 && page <= 27) return 76 + (page - 19);
    if (page >= 30 && page <= 35) return 87 + (page - 30);
    if (page >= 36 && page <= 38) return 190 + (page - 36);
    return -1;
}

std::array<std::u16string, kPageCount> PageNames(const Labels& labels,
                                                 const Preferences& preferences) {
    std::array<std::u16string, kPageCount> names;
    for (int page = 0; page < kPageCount; ++page) {
        std::u16string& name = names[static_cast<size_t>(page)];
        if (page < kFormPageCount) {
            name = preferences.pages[static_cast<size_t>(page)].name;
        } else if (page == 28 || page == 29) {
            // The free-field page keeps a title for each of its two halves, shown cut to 12
            // characters.
            name = preferences.freeFields.pageTexts[static_cast<size_t>(page - 28)].substr(0, 12);
        } else {
            name = labels.Label(PageNameLabel(page));
        }
        if (name.empty()) {
            // An untitled free-field page is still known for what it holds.
            name = page == 28 || page == 29 ? Format(u"Free fields %d", {page - 27})
                                            : Format(u"Page %d", {page});
        }
    }
    // The identity page of the record navigation and the patient identity form are told apart
    // when their names are the same.
    if (EqualsIgnoreCase(names[30], names[0])) names[30] += u" form";
    return names;
}

}  // namespace pondrel
