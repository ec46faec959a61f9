#include "ui/frame/CCommandBar.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

#include "sync/ui/CConnectionIndicators.h"
#include "ui/frame/CommandBarIcons.h"

namespace pondrel {

namespace {

// Narrow enough to leave the connection and mail lights a column of their own.
constexpr int kButtonWidth = 16;
constexpr int kMargin = 1;

const QString kEditableBox = QStringLiteral(
    "QPushButton { text-align: left; padding: 0 2px; border: 1px solid #7a7a7a; "
    "background: white; color: black; }");
const QString kReadOnlyBox = QStringLiteral(
    "QPushButton { text-align: left; padding: 0 2px; border: 1px solid #a0a0a0; "
    "background: #d8d8d8; color: #505050; }");

}  // namespace

CCommandBar::CCommandBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("commandBar"));
    setFixedHeight(kHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xd4, 0xd0, 0xc8));
    setPalette(palette);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, 4, kMargin, 4);
    layout->setSpacing(0);

    layout->addWidget(AddButton(Button::MainMenu, "mainMenuButton", tr("Main menu")));
    m_patientBox = new QPushButton(this);
    m_patientBox->setObjectName(QStringLiteral("patientBox"));
    m_patientBox->setFixedSize(kPatientBoxWidth, kHeight - 8);
    m_patientBox->setFocusPolicy(Qt::NoFocus);
    m_patientBox->setToolTip(tr("Patient list"));
    QFont font = m_patientBox->font();
    font.setPixelSize(10);
    m_patientBox->setFont(font);
    m_patientBox->setStyleSheet(kEditableBox);
    connect(m_patientBox, &QPushButton::clicked, this, [this] {
        if (m_handler) m_handler(Button::PatientBox);
    });
    // The lights' column: the patient box begins where the reconnect bar under it does.
    static_assert(CConnectionIndicators::kConnectionLight.x() > kMargin + kButtonWidth);
    static_assert(CConnectionIndicators::kLightsColumnRight < CConnectionIndicators::kBarLeft);
    layout->addSpacing(CConnectionIndicators::kBarLeft - kMargin - kButtonWidth);
    layout->addWidget(m_patientBox);
    layout->addSpacing(1);
    layout->addWidget(AddButton(Button::PageList, "pageListButton", tr("Page list")));
    layout->addWidget(AddButton(Button::PreviousPage, "previousPageButton", tr("Previous page")));
    layout->addWidget(AddButton(Button::NextPage, "nextPageButton", tr("Next page")));
    layout->addWidget(AddButton(Button::Tasks, "tasksButton", tr("Tasks")));
    layout->addWidget(AddButton(Button::Problems, "problemsButton", tr("Problems")));
    layout->addWidget(AddButton(Button::DaySummary, "daySummaryButton", tr("Day summary")));
    m_inputPanel = AddButton(Button::InputPanel, "inputPanelButton", tr("Input panel"));
    m_inputPanel->setCheckable(true);
    layout->addWidget(m_inputPanel);
    layout->addStretch(1);

    m_indicators = new CConnectionIndicators(this);
    m_indicators->setGeometry(rect());
    m_indicators->raise();
}

void CCommandBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_indicators->setGeometry(rect());
    m_indicators->raise();
}

QToolButton* CCommandBar::AddButton(Button button, const char* objectName, const QString& tip) {
    static constexpr CommandIcon kIcons[] = {
        CommandIcon::MainMenu,     CommandIcon::MainMenu,   CommandIcon::PageList,
        CommandIcon::PreviousPage, CommandIcon::NextPage,   CommandIcon::Tasks,
        CommandIcon::Problems,     CommandIcon::DaySummary, CommandIcon::InputPanel};
    auto* tool = new QToolButton(this);
    tool->setObjectName(QString::fromLatin1(objectName));
    tool->setToolTip(tip);
    tool->setIcon(DrawCommandIcon(kIcons[static_cast<int>(button)]));
    tool->setIconSize(QSize(16, 16));
    tool->setFixedSize(kButtonWidth, kHeight - 8);
    tool->setAutoRaise(true);
    tool->setFocusPolicy(Qt::NoFocus);  // the field being edited keeps the focus
    connect(tool, &QToolButton::clicked, this, [this, button] {
        if (m_handler) m_handler(button);
    });
    return tool;
}

void CCommandBar::SetPatient(const QString& text, bool readOnly) {
    m_patientText = text;
    m_patientBox->setText(
        m_patientBox->fontMetrics().elidedText(text, Qt::ElideRight, kPatientBoxWidth - 6));
    m_patientBox->setToolTip(text);
    m_patientReadOnly = readOnly;
    m_patientBox->setProperty("readOnly", readOnly);
    m_patientBox->setStyleSheet(readOnly ? kReadOnlyBox : kEditableBox);
}

QString CCommandBar::PatientText() const {
    return m_patientText;
}

void CCommandBar::SetInputPanelDown(bool down) {
    m_inputPanel->setChecked(down);
}

}  // namespace pondrel
