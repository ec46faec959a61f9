#pragma once

#include <string>
#include <string_view>

#include "documents/HtmlSink.h"

namespace pondrel {

// An HtmlSink that keeps the source as one text: for the tool, the benchmarks and the tests.
class HtmlText final : public HtmlSink {
public:
    void Clear() override;
    void AppendHtml(std::u16string_view html) override;
    void EndOfSource() override { ++m_ends; }

    const std::u16string& Text() const { return m_text; }
    int Chunks() const { return m_chunks; }
    int Clears() const { return m_clears; }
    int Ends() const { return m_ends; }

private:
    std::u16string m_text;
    int m_chunks = 0;
    int m_clears = 0;
    int m_ends = 0;
};

}  // namespace pondrel
