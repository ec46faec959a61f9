#include "ui/frame/CHelpDlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace pondrel {

CHelpDlg::CHelpDlg(const QString& html, const QString& anchor, QWidget* parent)
    : QDialog(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpDialog"));
    setWindowTitle(QStringLiteral("Pondrel Help"));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(false);
    m_browser->setOpenLinks(true);
    QFont font = m_browser->font();
    font.setPixelSize(11);
    m_browser->setFont(font);
    m_browser->setHtml(html);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("helpClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_browser, 1);
    layout->addWidget(close);
    resize(240, 320);
    if (!anchor.isEmpty()) m_browser->scrollToAnchor(anchor);
}

}  // namespace pondrel
