#pragma once

#include <QDialog>

#include <string>

namespace pondrel {

// "New patient folder": a hospitalisation or an ambulatory folder, or Cancel.
class CNewFolderDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CNewFolderDlg(QWidget* parent = nullptr);

    // "Hosp", "Ambu", or "" after Cancel.
    const std::u16string& Type() const { return m_type; }
    // Asks; "" when cancelled.
    static std::u16string Ask(QWidget* parent);

private:
    std::u16string m_type;
};

}  // namespace pondrel
