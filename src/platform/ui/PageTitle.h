#pragma once

class QLabel;

namespace pondrel {

// The title line at the top of a page of the form (its name, bold on a light blue band): the
// form's own page titles and the pages that draw their own (tasks, quick notes).
void StylePageTitle(QLabel* title);

}  // namespace pondrel
