#include "documents/HtmlText.h"

namespace pondrel {

void HtmlText::Clear() {
    m_text.clear();
    m_chunks = 0;
    ++m_clears;
}

void HtmlText::AppendHtml(std::u16string_view html) {
    m_text.append(html);
    ++m_chunks;
}

}  // namespace pondrel
