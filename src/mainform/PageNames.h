#pragma once

#include <array>
#include <string>

#include "mainform/PageNavigation.h"

namespace pondrel {

struct Labels;
struct Preferences;

// The names of the 39 pages as the page list shows them: the form pages' names kept in the
// preferences file, the free-field pages' titles, and user-interface labels for the others.
// A form page without a stored name is called "Page " + its number, so no item is blank.
std::array<std::u16string, kPageCount> PageNames(const Labels& labels,
                                                 const Preferences& preferences);

// The user-interface label that names page `page` (19 to 38 except the free-field pages), or
// -1 when the page is named otherwise.
int PageNameLabel(int page);

}  // namespace pondrel
