#pragma once

// Where a summary writes its HTML: the display of a summary page, or a text for the tool and
// the tests. A summary calls Clear first, then AppendHtml once or more, then EndOfSource.

#include <string_view>

namespace pondrel {

class HtmlSink {
public:
    virtual ~HtmlSink() = default;
    // Empties the display.
    virtual void Clear() = 0;
    // Adds a chunk of HTML source.
    virtual void AppendHtml(std::u16string_view html) = 0;
    // The last chunk was given: the display lays out and shows the source.
    virtual void EndOfSource() = 0;
};

}  // namespace pondrel
