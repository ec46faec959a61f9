#pragma once

#include <QDialog>

namespace pondrel {

// The About box: the program's name, its version and its licence.
class CAboutDlg final : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString Version();
    static QString Text();
};

}  // namespace pondrel
