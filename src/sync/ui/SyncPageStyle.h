#pragma once

// What the send, mail manager and server pages share of their look.

class QPushButton;
class QString;
class QWidget;

namespace pondrel {

// The height of the buttons of the synchronisation pages.
inline constexpr int kSyncPageButtonHeight = 20;

// A button of a synchronisation page: its height, and it never takes the focus from the box or
// list being used.
QPushButton* SyncPageButton(const QString& text, const QString& objectName, QWidget* parent);

}  // namespace pondrel
