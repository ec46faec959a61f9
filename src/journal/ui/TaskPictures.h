#pragma once

#include <QIcon>

namespace pondrel {

// The pictures of the task panel, drawn by the program: the priority button's three pictures
// (0 urgent: a red exclamation mark, 1 to do: an orange arrow, 2 plain: a grey dot) and the
// delete button's cross.
QIcon PriorityPicture(int priority);
QIcon DeletePicture();

}  // namespace pondrel
