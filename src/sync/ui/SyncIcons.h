#pragma once

// The small pictures of the synchronisation pages, drawn by code: the faces of the friends list
// and the states of the mail lists and of the server page's file lists.

#include <QIcon>

namespace pondrel {

enum class FriendIcon { Online, Offline };
QIcon DrawFriendIcon(FriendIcon icon);

// The 16 x 16 icon of a mail row by its MailIcon number (0 handheld, 1 network, 2 open envelope,
// 3 red cross, 4 closed envelope, 5 open envelope with a green tick); any other number draws
// the red cross of a mail in trouble.
QIcon DrawMailIcon(int icon);

// The 16 x 16 picture of a file list row for FileExchange's FileIcon 0 to 9 (padlocks, hourglass,
// discs, diskette); any other number gives the blank picture.
QIcon DrawFileIcon(int icon);

}  // namespace pondrel
