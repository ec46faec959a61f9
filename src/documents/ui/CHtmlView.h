#pragma once

#include <QString>
#include <QTextBrowser>

#include "documents/HtmlSink.h"

namespace pondrel {

// The HTML display of a summary page. The chunks of a summary are gathered and laid out at
// EndOfSource, all at once, so a half-built summary is never painted.
class CHtmlView final : public QTextBrowser, public HtmlSink {
    Q_OBJECT
public:
    explicit CHtmlView(QWidget* parent = nullptr);

    void Clear() override;
    void AppendHtml(std::u16string_view html) override;
    void EndOfSource() override;

    // The source of the page shown, and how many times a source was shown.
    const QString& Source() const { return m_shown; }
    int Shown() const { return m_shownCount; }

private:
    QString m_source;
    QString m_shown;
    int m_shownCount = 0;
};

}  // namespace pondrel
