#pragma once

// Page 35 ("S: Manager"): the document made from a template the user picks, with "Template"
// (the file chooser), "Last" (the recent templates), "Save" and "Z" (zoom). The page only shows
// and forwards; TemplateDocuments decides.

#include <string>
#include <vector>

#include <QWidget>

class QLabel;

namespace pondrel {

class CPopupList;
class CRtfView;

class CSummaryManagerPage final : public QWidget {
    Q_OBJECT
public:
    explicit CSummaryManagerPage(QWidget* parent = nullptr);

    // "Summary manager", then the base name of the template in use.
    void SetCaption(const QString& caption);
    QString Caption() const;
    // Opens the recent list below the caption with these rows.
    void ShowRecentRows(const std::vector<std::u16string>& rows);
    void HideRecent();
    bool RecentShown() const;
    CRtfView* View() const { return m_view; }

signals:
    void chooseTemplate();
    void toggleRecent();
    void recentChosen(int row);
    void saveDocument();
    void toggleZoom();

private:
    QLabel* m_caption = nullptr;
    CPopupList* m_recent = nullptr;
    CRtfView* m_view = nullptr;
};

}  // namespace pondrel
