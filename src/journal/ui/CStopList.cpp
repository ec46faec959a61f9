#include "journal/ui/CStopList.h"

#include <QWidget>

#include "platform/ui/CPopupList.h"

namespace pondrel {

CStopList::CStopList(TreatmentStops& stops, QWidget* page)
    : QObject(page), m_stops(stops), m_page(page), m_list(new CPopupList(page)) {
    m_list->setObjectName("stopList");
    m_list->setFocusPolicy(Qt::NoFocus);
    connect(m_list, &CPopupList::chosen, this, &CStopList::Choose);
}

bool CStopList::IsOpen() const {
    return m_list->isVisible();
}

void CStopList::Close() {
    m_list->hide();
    m_button.reset();
    m_rows.clear();
}

void CStopList::Toggle(StopButton button) {
    if (IsOpen() && m_button == button) {
        Close();
        return;
    }
    Show(button);
}

bool CStopList::Show(StopButton button) {
    EditorRefresh committed;
    m_rows = m_stops.Rows(button, &committed);
    if (m_committed) m_committed(committed);
    if (m_rows.empty()) {
        Close();
        return false;
    }
    m_button = button;
    std::vector<std::u16string> texts;
    for (const auto& row : m_rows) texts.push_back(row.text);
    m_list->SetRows(texts);
    const int pageHeight = m_page->height();
    int height = m_list->HeightFor(static_cast<int>(texts.size()), 30, pageHeight / 2);
    QRect beside = m_placeBeside ? m_placeBeside(button) : QRect(0, pageHeight / 2, 0, 0);
    // Below the section when it fits, else above it, else at the bottom of the page.
    int top = beside.bottom() + 1;
    if (top + height > pageHeight) top = beside.top() - height;
    if (top < 0) top = pageHeight - height;
    m_list->setGeometry(0, top, m_page->width(), height);
    m_list->setCurrentRow(-1);
    m_list->show();
    m_list->raise();
    return true;
}

void CStopList::Choose(int row) {
    if (!m_button || row < 0 || row >= static_cast<int>(m_rows.size())) return;
    StopButton button = *m_button;
    TreatmentStops::Row chosen = m_rows[static_cast<size_t>(row)];
    TreatmentStops::Result result = m_stops.Choose(button, chosen);
    if (m_done) m_done(result);
    // Shown again at once, without the stopped row.
    Show(button);
}

}  // namespace pondrel
