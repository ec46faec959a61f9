#pragma once

#include "documents/SummaryInputs.h"

namespace pondrel {

struct Arrangement;
struct Labels;
struct Preferences;

// Where the entry summary finds the fields: the pages of the arrangement in force, the names of
// the form pages and of the two free-field pages, and the caption of the admission date.
FormArrangement SummaryArrangementOf(const Arrangement& arrangement, const Labels& labels,
                                     const Preferences& preferences);

}  // namespace pondrel
