#pragma once

// Page 26: the out letter's preview with its "Save" and "Zoom" buttons. The page only shows and
// forwards; TemplateDocuments decides.

#include <QWidget>

class QLabel;
class QPushButton;

namespace pondrel {

class CRtfView;

class COutLetterPage final : public QWidget {
    Q_OBJECT
public:
    explicit COutLetterPage(QWidget* parent = nullptr);

    // The heading of the out letter (user-interface label 166, "Out Letter").
    void SetCaption(const QString& caption);
    CRtfView* View() const { return m_view; }

signals:
    void saveOutLetter();
    void zoomOutLetter();

private:
    QLabel* m_caption = nullptr;
    CRtfView* m_view = nullptr;
};

}  // namespace pondrel
