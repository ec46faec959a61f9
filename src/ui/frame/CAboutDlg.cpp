#include "ui/frame/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "charts/GrowthCurves.h"
#include "labels/CodeTable.h"
#include "platform/ui/QtText.h"

#ifndef PONDREL_VERSION_TEXT
#error "PONDREL_VERSION_TEXT comes from the build"
#endif

namespace pondrel {

QString CAboutDlg::Version() {
    return QStringLiteral(PONDREL_VERSION_TEXT);
}

QString CAboutDlg::Text() {
    return QStringLiteral(
               "<p><b>Pondrel</b> %1</p>"
               "<p>Bedside patient records for doctors.</p>"
               "<p>This program is free software: you can redistribute it and/or modify it "
               "under the terms of the GNU General Public License as published by the Free "
               "Software Foundation, either version 3 of the License, or (at your option) any "
               "later version (GPL-3.0-or-later).</p>"
               "<p>It comes with ABSOLUTELY NO WARRANTY.</p>"
               "<p>%2</p><p>%3</p>")
        .arg(Version(), ToQString(GrowthReferenceNotice()).toHtmlEscaped(),
             ToQString(CodeTableNotice()).toHtmlEscaped());
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Pondrel"));
    auto* text = new QLabel(Text(), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    QFont font = text->font();
    font.setPixelSize(11);
    text->setFont(font);
    // A fixed width gives the wrapped text its full height.
    text->setFixedWidth(214);
    text->setFixedHeight(text->heightForWidth(214));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("aboutOk"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(text, 1);
    layout->addWidget(ok, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pondrel
