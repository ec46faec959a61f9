#pragma once

#include <QIcon>

namespace pondrel {

// The pictures of the command bar buttons, drawn by the program (16 x 16, scaled with the form).
enum class CommandIcon {
    MainMenu,
    PageList,
    PreviousPage,
    NextPage,
    Tasks,
    Problems,
    DaySummary,
    InputPanel
};

QIcon DrawCommandIcon(CommandIcon icon);

}  // namespace pondrel
