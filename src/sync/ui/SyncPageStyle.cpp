#include "sync/ui/SyncPageStyle.h"

#include <QPushButton>

namespace pondrel {

QPushButton* SyncPageButton(const QString& text, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setFixedHeight(kSyncPageButtonHeight);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

}  // namespace pondrel
