#pragma once

// The big summary format dialogue ("Big summary format"), opened by "Big Summary" of the
// preferences: the titles and descriptions of the four free paragraphs of the big summary.
// Every change is taken over at once; "Cancel" gives back the texts the dialogue opened with.
// The boxes refuse "{", "}", "|", "¦", "§" and "¬", typed or pasted.

#include <array>

#include <QDialog>

#include "settings/Preferences.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pondrel {

class CHtmlView;

class CBigSummaryFormatDlg final : public QDialog {
    Q_OBJECT
public:
    using Format = std::array<BigSummaryParagraph, kBigSummaryParagraphs>;

    // `format` must outlive the dialogue; it holds the edited texts when the dialogue closes.
    CBigSummaryFormatDlg(Format& format, QWidget* parent = nullptr);

    void reject() override;

private:
    void Show();
    void TakeTitle(size_t index);
    void TakeDescription(size_t index);
    void ShowHelp(bool shown);

    Format& m_format;
    const Format m_original;
    std::array<QLineEdit*, kBigSummaryParagraphs> m_titles{};
    std::array<QPlainTextEdit*, kBigSummaryParagraphs> m_descriptions{};
    CHtmlView* m_help = nullptr;
    QPushButton* m_closeHelp = nullptr;
    bool m_showing = false;
};

}  // namespace pondrel
