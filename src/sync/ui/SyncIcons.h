#pragma once

// The small pictures of the synchronisation pages, drawn by code: the faces of the friends list.

#include <QIcon>

namespace pondrel {

enum class FriendIcon { Online, Offline };
QIcon DrawFriendIcon(FriendIcon icon);

}  // namespace pondrel
