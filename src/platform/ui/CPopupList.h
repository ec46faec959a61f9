#pragma once

#include <QListWidget>

#include <string>
#include <vector>

namespace pondrel {

// A pop-up list over a page (the problem panel's problems, section history and history periods,
// shortcut lists): a tap on a row, or Return on the current row, chooses it; Escape hides it.
class CPopupList final : public QListWidget {
    Q_OBJECT
public:
    explicit CPopupList(QWidget* parent = nullptr);

    void SetRows(const std::vector<std::u16string>& rows);
    // Hidden when the list loses the focus (the problem list).
    void SetClosesOnFocusOut(bool closes) { m_closesOnFocusOut = closes; }
    // The height that shows `rows` rows, between `minimum` and `maximum` pixels.
    int HeightFor(int rows, int minimum, int maximum) const;

signals:
    void chosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_closesOnFocusOut = false;
};

}  // namespace pondrel
