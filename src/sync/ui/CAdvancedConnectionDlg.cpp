#include "sync/ui/CAdvancedConnectionDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/Text.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "settings/PreferencesExchange.h"
#include "sync/ui/ConnectionDialogStyle.h"

namespace pondrel {

namespace style = connection_style;

namespace {

// The dialogue's margins, the group's, the check box and the space before its caption.
constexpr int kCaptionIndent = 44;

// A caption that ticks its check box when tapped.
class CheckCaption final : public QLabel {
public:
    CheckCaption(const QString& text, QCheckBox* box, QWidget* parent)
        : QLabel(text, parent), m_box(box) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && m_box->isEnabled()) m_box->toggle();
    }

private:
    QCheckBox* m_box;
};

QGroupBox* Group(const QString& title, const QString& name, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 3);
    layout->setSpacing(2);
    return group;
}

}  // namespace

CAdvancedConnectionDlg::CAdvancedConnectionDlg(PreferencesEdit& edit, int serverTimeout,
                                               QWidget* parent)
    : QDialog(parent), m_edit(edit), m_editor(edit.network) {
    setObjectName("advancedConnectionDialog");
    setWindowTitle("Advanced connection features");
    FitHandheldForm(this);
    setStyleSheet(style::FieldStyle());

    QGroupBox* connection = Group("Connection :", "connectionGroup", this);
    m_atStart = AddCheck("Connect automatically when the software starts", "connectAtStartCheck",
                         connection);
    m_afterStandby = AddCheck("Connect automatically when turning on the computer after standby",
                              "reconnectAfterStandbyCheck", connection);
    auto* timeoutRow = new QWidget(connection);
    auto* timeoutLayout = new QHBoxLayout(timeoutRow);
    timeoutLayout->setContentsMargins(0, 0, 0, 0);
    timeoutLayout->addWidget(
        style::Caption("Server time out :", "serverTimeoutLabel", false, timeoutRow));
    timeoutLayout->addWidget(style::Caption(ToQString(Format(u"%d sec", {serverTimeout})),
                                            "serverTimeoutValue", false, timeoutRow));
    timeoutLayout->addStretch(1);
    connection->layout()->addWidget(timeoutRow);

    QGroupBox* synchronise = Group("Synchronize automatically:", "synchroniseGroup", this);
    auto* regularRow = new QWidget(synchronise);
    auto* regularLayout = new QHBoxLayout(regularRow);
    regularLayout->setContentsMargins(0, 0, 0, 0);
    m_regularly = new QCheckBox("Regularly every :", regularRow);
    m_regularly->setObjectName("regularlyCheck");
    m_minutes = new QLineEdit(regularRow);
    m_minutes->setObjectName("minutesEdit");
    m_minutes->setMaxLength(static_cast<int>(kMaxPeriodChars));
    m_minutes->setFixedWidth(28);
    m_minutes->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]{0,2}"), m_minutes));
    regularLayout->addWidget(m_regularly);
    regularLayout->addWidget(m_minutes);
    regularLayout->addWidget(style::Caption("minutes", "minutesLabel", false, regularRow));
    regularLayout->addStretch(1);
    synchronise->layout()->addWidget(regularRow);
    m_atConnection = new QCheckBox("When start connection", synchronise);
    m_atConnection->setObjectName("atConnectionCheck");
    synchronise->layout()->addWidget(m_atConnection);

    QGroupBox* import = Group("Import server files :", "importGroup", this);
    m_importAll =
        AddCheck("Automatically import all active server files", "importAllCheck", import);

    QPushButton* cancel = style::Button("Cancel", "cancelButton", this);
    QPushButton* ok = style::Button("OK", "okButton", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(style::Heading("-- Advanced connection settings --", this));
    layout->addWidget(connection);
    layout->addWidget(synchronise);
    layout->addWidget(import);
    layout->addStretch(1);
    layout->addLayout(buttons);

    for (QCheckBox* box : findChildren<QCheckBox*>()) style::LightCheckBox(box);
    style::FitHeight(*this);
    ShowOptions();
    connect(m_regularly, &QCheckBox::toggled, this, [this](bool on) {
        m_editor.Options().periodicSynchronisation = on ? 1 : 0;
        m_minutes->setEnabled(m_editor.PeriodEnabled());
    });
    connect(m_minutes, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_editor.Options().synchronisationPeriod = ToU16(text);
    });
    auto flag = [this](QCheckBox* box, int NetworkOptions::*member) {
        connect(box, &QCheckBox::toggled, this,
                [this, member](bool on) { m_editor.Options().*member = on ? 1 : 0; });
    };
    flag(m_atStart, &NetworkOptions::connectAtStart);
    flag(m_afterStandby, &NetworkOptions::reconnectAfterStandby);
    flag(m_atConnection, &NetworkOptions::synchroniseAtConnection);
    flag(m_importAll, &NetworkOptions::importAllAtConnection);
    connect(cancel, &QPushButton::clicked, this, &CAdvancedConnectionDlg::reject);
    connect(ok, &QPushButton::clicked, this, &CAdvancedConnectionDlg::accept);
}

QCheckBox* CAdvancedConnectionDlg::AddCheck(const QString& text, const QString& name,
                                            QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* box = new QCheckBox(row);
    box->setObjectName(name);
    auto* caption = new CheckCaption(text, box, row);
    caption->setObjectName(name + "Text");
    caption->setWordWrap(true);
    caption->setStyleSheet("QLabel { background: transparent; color: white; }");
    // The lines it wraps into at the width it gets in its group.
    caption->setMinimumHeight(caption->heightForWidth(kFormWidth - kCaptionIndent));
    layout->addWidget(box, 0, Qt::AlignTop);
    layout->addWidget(caption, 1);
    parent->layout()->addWidget(row);
    return box;
}

void CAdvancedConnectionDlg::ShowOptions() {
    const NetworkOptions& options = m_editor.Options();
    const QSignalBlocker blockers[] = {QSignalBlocker(m_atStart), QSignalBlocker(m_afterStandby),
                                       QSignalBlocker(m_regularly), QSignalBlocker(m_atConnection),
                                       QSignalBlocker(m_importAll)};
    m_atStart->setChecked(options.connectAtStart != 0);
    m_afterStandby->setChecked(options.reconnectAfterStandby != 0);
    m_regularly->setChecked(options.periodicSynchronisation != 0);
    m_atConnection->setChecked(options.synchroniseAtConnection != 0);
    m_importAll->setChecked(options.importAllAtConnection != 0);
    m_minutes->setText(ToQString(options.synchronisationPeriod));
    m_minutes->setEnabled(m_editor.PeriodEnabled());
}

void CAdvancedConnectionDlg::accept() {
    m_editor.Accept();
    m_edit.advancedAccepted = true;
    QDialog::accept();
}

void CAdvancedConnectionDlg::reject() {
    m_editor.Cancel();
    QDialog::reject();
}

void CAdvancedConnectionDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    style::PaintBackground(painter, *this);
    QDialog::paintEvent(event);
}

}  // namespace pondrel
