#include "platform/ui/PageTitle.h"

#include <QFont>
#include <QLabel>
#include <QString>

namespace pondrel {

void StylePageTitle(QLabel* title) {
    title->setIndent(4);
    title->setStyleSheet(QStringLiteral(
        "QLabel { background: #dfe7f5; color: #203a6a; border-bottom: 1px solid #9fb3d8; "
        "font-weight: bold; }"));
    QFont font = title->font();
    font.setPixelSize(11);
    title->setFont(font);
}

}  // namespace pondrel
