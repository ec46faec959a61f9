#pragma once

#include <QWidget>

#include <array>

#include "journal/JournalFormat.h"
#include "journal/ProblemPanelModel.h"

class QLabel;
class QPushButton;
class QToolButton;

namespace pondrel {

class CSectionEdit;
struct PanelWords;

// The lower part of the problem panel: the six section fields with their captions and '+'
// buttons, and the bottom-right pane that shows the differential diagnosis or the Other section,
// with the two buttons that choose it. It arranges them for the three section layouts:
//
//   all:                Anamnesia | Status          enlarged 1:  Anamnesia | Status
//                       Medicine  | Examinations    enlarged 2:  Attitude  | Examinations
//                       Attitude  | DD or Other
class CSectionArea final : public QWidget {
    Q_OBJECT
public:
    explicit CSectionArea(QWidget* parent = nullptr);

    void SetWords(const PanelWords& words);
    void Arrange(ProblemPanelModel::SectionLayout layout, ProblemPanelModel::BottomPane pane);
    void SetFieldsEnabled(bool enabled);
    // The '+' button of a section: enabled and bold when the section has a history.
    void SetHistoryEnabled(int section, bool enabled);
    // The 's' button of Medicine, Attitude or Examinations: enabled while something runs.
    void SetStopEnabled(int section, bool enabled);

    CSectionEdit* Section(int section) const;
    CSectionEdit* DifferentialDiagnosis() const { return m_dd.edit; }
    // Where the section's box lies, in the coordinates of the area's parent.
    QRect BoxGeometry(int section) const;

signals:
    void sectionEdited(int section);
    void differentialDiagnosisEdited();
    void historyPressed(int section);
    void stopPressed(int section);
    void differentialDiagnosisPanePressed();
    void otherPanePressed();
    // A field of the area lost the focus.
    void fieldLeft();

private:
    struct Box {
        QWidget* box = nullptr;
        QLabel* caption = nullptr;
        QString captionText;
        QToolButton* history = nullptr;  // '+'
        QToolButton* stop = nullptr;     // 's' (Medicine, Attitude, Examinations)
        CSectionEdit* edit = nullptr;
    };

    Box NewBox(const char* name, bool withHistory, bool withStop = false);
    void Place(Box& box, QRect area, int reserved);

    std::array<Box, kSectionCount> m_sections;
    Box m_dd;
    QPushButton* m_ddPane = nullptr;
    QPushButton* m_otherPane = nullptr;
};

}  // namespace pondrel
