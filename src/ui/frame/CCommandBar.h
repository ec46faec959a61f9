#pragma once

#include <functional>

#include <QWidget>

class QPushButton;
class QToolButton;

namespace pondrel {

class CConnectionIndicators;

// The command bar under the form: main menu, patient box, page list, previous and next page,
// tasks, problems, day summary and input panel buttons, left to right. It only reports taps;
// the main form decides what they do.
class CCommandBar final : public QWidget {
public:
    static constexpr int kHeight = 30;
    static constexpr int kPatientBoxWidth = 98;

    enum class Button {
        MainMenu,
        PatientBox,
        PageList,
        PreviousPage,
        NextPage,
        Tasks,
        Problems,
        DaySummary,
        InputPanel
    };

    explicit CCommandBar(QWidget* parent = nullptr);

    void SetHandler(std::function<void(Button)> handler) { m_handler = std::move(handler); }

    // The patient box: the text shown, drawn read-only when the patient's file is held by
    // another user.
    void SetPatient(const QString& text, bool readOnly);
    QString PatientText() const;
    bool PatientReadOnly() const { return m_patientReadOnly; }

    // The input panel button stays pushed down while the panel is shown.
    void SetInputPanelDown(bool down);

    // The connection and mail lights and the reconnect bar, drawn over the bar.
    CConnectionIndicators* Indicators() const { return m_indicators; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* AddButton(Button button, const char* objectName, const QString& tip);

    std::function<void(Button)> m_handler;
    QPushButton* m_patientBox = nullptr;
    QToolButton* m_inputPanel = nullptr;
    CConnectionIndicators* m_indicators = nullptr;
    QString m_patientText;  // whole; the box may show it shortened
    bool m_patientReadOnly = false;
};

}  // namespace pondrel
