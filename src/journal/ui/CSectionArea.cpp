#include "journal/ui/CSectionArea.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <vector>

#include "journal/ui/CSectionEdit.h"
#include "journal/ui/PanelWords.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

using Layout = ProblemPanelModel::SectionLayout;
using BottomPane = ProblemPanelModel::BottomPane;

constexpr int kCaptionHeight = 16;  // its buttons are hit with a fingertip
constexpr int kColumnWidth = 119;
constexpr int kRightColumn = 121;
constexpr int kPlusWidth = 17;
constexpr int kPaneButtonWidth = 22;

}  // namespace

CSectionArea::CSectionArea(QWidget* parent) : QWidget(parent) {
    setObjectName("sectionArea");
    static const char* const kNames[kSectionCount] = {"anamnesia", "status", "examinations",
                                                      "medicine",  "other",  "attitude"};
    for (int i = 0; i < kSectionCount; ++i) {
        Box& box = m_sections[static_cast<size_t>(i)];
        auto section = static_cast<pondrel::Section>(i);
        bool stops = section == Section::Medicine || section == Section::Attitude ||
                     section == Section::Examinations;
        box = NewBox(kNames[i], true, stops);
        connect(box.edit, &CSectionEdit::edited, this, [this, i] { emit sectionEdited(i); });
        connect(box.history, &QToolButton::clicked, this, [this, i] { emit historyPressed(i); });
        if (box.stop) {
            connect(box.stop, &QToolButton::clicked, this, [this, i] { emit stopPressed(i); });
        }
    }
    m_dd = NewBox("differentialDiagnosis", false);
    connect(m_dd.edit, &CSectionEdit::edited, this, &CSectionArea::differentialDiagnosisEdited);

    m_ddPane = new QPushButton(this);
    m_ddPane->setObjectName("ddPane");
    m_otherPane = new QPushButton(this);
    m_otherPane->setObjectName("otherPane");
    for (QPushButton* button : {m_ddPane, m_otherPane}) {
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        QFont font = button->font();
        font.setPixelSize(9);
        button->setFont(font);
    }
    connect(m_ddPane, &QPushButton::clicked, this, &CSectionArea::differentialDiagnosisPanePressed);
    connect(m_otherPane, &QPushButton::clicked, this, &CSectionArea::otherPanePressed);
}

CSectionArea::Box CSectionArea::NewBox(const char* name, bool withHistory, bool withStop) {
    Box box;
    box.box = new QWidget(this);
    box.box->setObjectName(QString(name) + "Box");
    box.caption = new QLabel(box.box);
    box.caption->setObjectName(QString(name) + "Caption");
    QFont bold = box.caption->font();
    bold.setBold(true);
    bold.setPixelSize(10);
    box.caption->setFont(bold);
    if (withHistory) {
        box.history = new QToolButton(box.box);
        box.history->setObjectName(QString(name) + "History");
        box.history->setText("+");
        box.history->setFocusPolicy(Qt::NoFocus);
    }
    if (withStop) {
        box.stop = new QToolButton(box.box);
        box.stop->setObjectName(QString(name) + "Stop");
        box.stop->setText("s");
        box.stop->setToolTip("Stop");
        box.stop->setFocusPolicy(Qt::NoFocus);
        box.stop->setEnabled(false);
    }
    box.edit = new CSectionEdit(box.box);
    box.edit->setObjectName(name);
    box.edit->document()->setDocumentMargin(2);
    connect(box.edit, &CSectionEdit::left, this, &CSectionArea::fieldLeft);
    return box;
}

void CSectionArea::SetWords(const PanelWords& words) {
    for (size_t i = 0; i < m_sections.size(); ++i) {
        m_sections[i].captionText = ToQString(words.sections[i]);
    }
    m_dd.captionText = ToQString(words.differentialDiagnosis);
    for (Box* box : {&m_sections[0], &m_sections[1], &m_sections[2], &m_sections[3], &m_sections[4],
                     &m_sections[5], &m_dd}) {
        box->caption->setToolTip(box->captionText);
    }
    m_ddPane->setText(ToQString(words.dd));
    m_ddPane->setToolTip(ToQString(words.differentialDiagnosis));
    m_otherPane->setText(ToQString(words.other.substr(0, 3)));
    m_otherPane->setToolTip(ToQString(words.sections[static_cast<size_t>(Section::Other)]));
}

void CSectionArea::SetFieldsEnabled(bool enabled) {
    for (Box& box : m_sections) box.edit->setEnabled(enabled);
    m_dd.edit->setEnabled(enabled);
}

void CSectionArea::SetHistoryEnabled(int section, bool enabled) {
    QToolButton* plus = m_sections.at(static_cast<size_t>(section)).history;
    plus->setEnabled(enabled);
    QFont font = plus->font();
    font.setBold(enabled);
    plus->setFont(font);
}

void CSectionArea::SetStopEnabled(int section, bool enabled) {
    if (QToolButton* stop = m_sections.at(static_cast<size_t>(section)).stop) {
        stop->setEnabled(enabled);
    }
}

CSectionEdit* CSectionArea::Section(int section) const {
    return m_sections.at(static_cast<size_t>(section)).edit;
}

QRect CSectionArea::BoxGeometry(int section) const {
    return m_sections.at(static_cast<size_t>(section)).box->geometry().translated(pos());
}

void CSectionArea::Place(Box& box, QRect area, int reserved) {
    box.box->setGeometry(area);
    int buttons = (box.history ? kPlusWidth : 0) + (box.stop ? kPlusWidth : 0);
    int captionWidth = area.width() - reserved - buttons - 2;
    box.caption->setGeometry(2, 0, captionWidth, kCaptionHeight);
    // A caption too long for its box is cut with an ellipsis; the tooltip shows it whole.
    box.caption->setText(
        box.caption->fontMetrics().elidedText(box.captionText, Qt::ElideRight, captionWidth));
    if (box.history) {
        box.history->setGeometry(area.width() - kPlusWidth, 0, kPlusWidth, kCaptionHeight);
    }
    if (box.stop) {
        box.stop->setGeometry(area.width() - 2 * kPlusWidth, 0, kPlusWidth, kCaptionHeight);
    }
    box.edit->setGeometry(0, kCaptionHeight, area.width(), area.height() - kCaptionHeight);
    box.box->show();
}

void CSectionArea::Arrange(Layout layout, BottomPane pane) {
    // Only the boxes that go are hidden: hiding the box of the focused field, even for a moment,
    // would take the focus from the doctor's typing.
    std::vector<Box*> placed;
    auto hideOthers = [&] {
        for (Box* box : {&m_sections[0], &m_sections[1], &m_sections[2], &m_sections[3],
                         &m_sections[4], &m_sections[5], &m_dd}) {
            if (std::find(placed.begin(), placed.end(), box) == placed.end()) box->box->hide();
        }
    };
    auto at = [&](pondrel::Section s) -> Box& {
        Box& box = m_sections[static_cast<size_t>(s)];
        placed.push_back(&box);
        return box;
    };

    if (layout != Layout::All) {
        bool first = layout == Layout::AnamnesiaStatus;
        QRect column(0, 0, kColumnWidth, height());
        Place(at(first ? Section::Anamnesia : Section::Attitude), column, 0);
        Place(at(first ? Section::Status : Section::Examinations),
              column.translated(kRightColumn, 0), 0);
        hideOthers();
        m_ddPane->hide();
        m_otherPane->hide();
        return;
    }
    const int rowHeight = height() / 3;
    auto cell = [&](int col, int row) {
        int top = row * (rowHeight + 1);
        int cellHeight = row == 2 ? height() - top : rowHeight;
        return QRect(col == 0 ? 0 : kRightColumn, top, kColumnWidth, cellHeight);
    };
    Place(at(Section::Anamnesia), cell(0, 0), 0);
    Place(at(Section::Status), cell(1, 0), 0);
    Place(at(Section::Medicine), cell(0, 1), 0);
    Place(at(Section::Examinations), cell(1, 1), 0);
    Place(at(Section::Attitude), cell(0, 2), 0);
    QRect corner = cell(1, 2);
    const int reserved = 2 * kPaneButtonWidth + 1;
    bool other = pane == BottomPane::Other;
    if (!other) placed.push_back(&m_dd);
    Place(other ? at(Section::Other) : m_dd, corner, reserved);
    hideOthers();
    int x = corner.right() + 1 - reserved - (other ? kPlusWidth : 0);
    m_ddPane->setGeometry(x, corner.top(), kPaneButtonWidth, kCaptionHeight);
    m_otherPane->setGeometry(x + kPaneButtonWidth + 1, corner.top(), kPaneButtonWidth,
                             kCaptionHeight);
    m_ddPane->setChecked(!other);
    m_otherPane->setChecked(other);
    m_ddPane->show();
    m_otherPane->show();
    m_ddPane->raise();
    m_otherPane->raise();
}

}  // namespace pondrel
