#include "journal/ui/CTaskPanel.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "journal/ui/TaskPictures.h"
#include "platform/ui/PageTitle.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr int kTop = 20;
constexpr int kWidth = 240;

// Typed or pasted characters a task line refuses are dropped.
class TaskValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        int removedBefore = 0;
        QString kept;
        for (int i = 0; i < input.size(); ++i) {
            if (IsTaskCharacter(input[i].unicode())) {
                kept += input[i];
            } else if (i < pos) {
                ++removedBefore;
            }
        }
        if (kept.size() != input.size()) {
            input = kept;
            pos -= removedBefore;
        }
        return Acceptable;
    }
};

QFont Pixels(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

CTaskPanel::CTaskPanel(UserMessages& messages, QWidget* parent)
    : QWidget(parent), m_messages(messages) {
    setObjectName(QStringLiteral("taskPanel"));
    resize(kWidth, 290);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("taskHeading"));
    m_heading->setGeometry(0, 0, kWidth, 16);
    StylePageTitle(m_heading);
    auto* validator = new TaskValidator(this);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        const int y = kTop + static_cast<int>(i) * kRowHeight;
        const int n = static_cast<int>(i);
        row.priority = new QPushButton(this);
        row.priority->setObjectName(QStringLiteral("taskPriority%1").arg(n));
        row.priority->setGeometry(2, y + 1, 20, 19);
        row.priority->setIconSize(QSize(14, 14));
        row.priority->setFocusPolicy(Qt::NoFocus);
        row.text = new QLineEdit(this);
        row.text->setObjectName(QStringLiteral("taskText%1").arg(n));
        row.text->setGeometry(24, y + 1, 170, 19);
        row.text->setFont(Pixels(row.text->font(), 11));
        row.text->setMaxLength(1 << 20);
        row.text->setValidator(validator);
        int red = 0, green = 0, blue = 0;
        TaskPanelModel::RowColour(i, red, green, blue);
        row.text->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(%1,%2,%3); "
                                               "border: 1px solid #b0a0a0; }")
                                    .arg(red)
                                    .arg(green)
                                    .arg(blue));
        row.text->installEventFilter(this);
        row.done = new QCheckBox(this);
        row.done->setObjectName(QStringLiteral("taskDone%1").arg(n));
        row.done->setGeometry(198, y + 2, 18, 18);
        row.done->setFocusPolicy(Qt::NoFocus);
        row.remove = new QPushButton(this);
        row.remove->setObjectName(QStringLiteral("taskDelete%1").arg(n));
        row.remove->setGeometry(218, y + 1, 20, 19);
        row.remove->setIcon(DeletePicture());
        row.remove->setIconSize(QSize(10, 10));
        row.remove->setFocusPolicy(Qt::NoFocus);

        connect(row.text, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { m_model.SetText(i, ToU16(text)); });
        connect(row.priority, &QPushButton::clicked, this, [this, i] {
            m_model.CyclePriority(i, m_messages);
            ShowRows();
            Changed();
        });
        connect(row.done, &QCheckBox::clicked, this, [this, i](bool checked) {
            m_model.SetDone(i, checked);
            ShowRows();
            Changed();
        });
        connect(row.remove, &QPushButton::clicked, this, [this, i] {
            if (m_model.Delete(i, m_messages)) {
                ShowRows();
                Changed();
            }
        });
    }
    m_hidden = new QLabel(this);
    m_hidden->setObjectName(QStringLiteral("hiddenTasks"));
    m_hidden->setGeometry(4, kTop + static_cast<int>(m_rows.size()) * kRowHeight + 2, kWidth - 8,
                          14);
    m_hidden->setFont(Pixels(m_hidden->font(), 10));
    ShowRows();
}

void CTaskPanel::SetHeading(const QString& heading) {
    m_heading->setText(heading);
}

void CTaskPanel::Load(std::u16string_view todo) {
    m_model.Load(todo);
    ShowRows();
}

bool CTaskPanel::Shows(std::u16string_view todo) const {
    TaskPanelModel rows = m_model;  // composing updates the priorities of done rows
    return rows.Save() == todo;
}

void CTaskPanel::ShowRows() {
    const auto& rows = m_model.Rows();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        const bool used = i < rows.size();
        for (QWidget* w :
             std::initializer_list<QWidget*>{row.text, row.priority, row.done, row.remove}) {
            w->setVisible(used);
        }
        if (!used) continue;
        const TaskRow& task = rows[i];
        const QString text = ToQString(task.text);
        // Only a line the user did not change is given its text, so the caret stays.
        if (row.text->text() != text) {
            row.text->setText(text);
            // A task longer than its line shows its beginning, as it was written, not its end.
            if (!row.text->hasFocus()) row.text->setCursorPosition(0);
        }
        row.text->setToolTip(text);
        QFont font = row.text->font();
        font.setStrikeOut(task.done);  // a done task is struck through
        row.text->setFont(font);
        row.priority->setIcon(PriorityPicture(task.priority));
        row.priority->setToolTip(QStringLiteral("Priority %1").arg(task.priority));
        row.done->setChecked(task.done);
    }
    const size_t hidden =
        std::count(m_model.HiddenTasks().begin(), m_model.HiddenTasks().end(), u'|') / 2;
    m_hidden->setText(
        hidden == 0 ? QString()
                    : QStringLiteral("+ %1 more tasks, shown when rows are free").arg(hidden));
}

void CTaskPanel::LineChanged(const QWidget* line) {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (line != m_rows[i].text) continue;
        m_model.SetText(i, ToU16(m_rows[i].text->text()));
        m_model.KeyPressed(i);
        ShowRows();
        Changed();
    }
}

void CTaskPanel::Changed() {
    if (m_changed) m_changed(m_model.Save());
}

bool CTaskPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (watched == m_rows[i].text && m_model.KeyPressed(i)) ShowRows();
        }
    } else if (event->type() == QEvent::KeyRelease) {
        for (const Row& row : m_rows) {
            if (watched == row.text) Changed();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pondrel
