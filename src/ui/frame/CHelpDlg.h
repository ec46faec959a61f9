#pragma once

#include <QDialog>

class QTextBrowser;

namespace pondrel {

// The program's help: "PondrelHelp.htm" of the installation folder shown in a browser the size
// of the form, opened at an anchor ("Main_Contents" from the main menu). Links inside the file
// move within it; links to other places are not followed.
class CHelpDlg final : public QDialog {
public:
    static constexpr const char16_t* kHelpFile = u"PondrelHelp.htm";
    static constexpr const char* kMainAnchor = "Main_Contents";

    // `html` is the text of the help file.
    CHelpDlg(const QString& html, const QString& anchor, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

}  // namespace pondrel
