#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QAbstractButton;

namespace pondrel {

class CHtmlView;
class CPopupList;

// A summary page of the main form, 240 x 290: a bar with the page's caption (and, on the day,
// problem and all-patients pages, their navigation buttons) above the HTML display.
class CSummaryPage final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 290;

    enum class Bar { Caption, Day, Problem, AllPatients };
    enum class Command {
        PreviousEntryDay,
        PreviousDay,
        NextDay,
        NextEntryDay,
        FirstDay,
        Now,
        PreviousProblem,
        NextProblem,
        Today,
        List,  // a tap on the caption of the day or problem summary: its list opens or closes
    };

    // `name` names the page's widgets in the tests ("daySummary" gives "daySummaryView", ...).
    CSummaryPage(Bar bar, const QString& name, QWidget* parent = nullptr);

    CHtmlView& View() { return *m_view; }
    // The caption, cut with an ellipsis when it is wider than the bar leaves room for.
    void SetCaption(const std::u16string& caption);
    QString Caption() const;
    // The caption of the buttons "Now" and "D1" and of the all-patients page's "Today".
    void SetButtonWords(const QString& now, const QString& firstDay);
    void SetHandler(std::function<void(Command)> handler) { m_handler = std::move(handler); }
    // The buttons a command may be given with now (the previous day only after day 0, ...).
    void EnableCommand(Command command, bool enabled);

    // A button put at the right end of the bar by another part of the program (the admission
    // letter's "Preview" and "Save" beside the entry summary's caption), named `name`.
    QAbstractButton* AddBarButton(const QString& name, const QString& text, int width);

    // The pop-up list under the bar (the day list, the problem list); choosing a row hides it
    // and gives the row to the list handler.
    void ShowList(const std::vector<std::u16string>& rows, int selected);
    void HideList();
    bool ListShown() const;
    void SetListHandler(std::function<void(int row)> handler) {
        m_listHandler = std::move(handler);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractButton* AddButton(const char* name, const QString& text, int width, Command command);
    QAbstractButton* AddArrow(const char* name, Qt::ArrowType arrow, int width, Command command);

    QString m_name;
    QLabel* m_caption = nullptr;
    QString m_fullCaption;
    CHtmlView* m_view = nullptr;
    QWidget* m_bar = nullptr;
    std::function<void(Command)> m_handler;
    std::function<void(int)> m_listHandler;
    CPopupList* m_list = nullptr;
    bool m_captionOpensList = false;
};

}  // namespace pondrel
