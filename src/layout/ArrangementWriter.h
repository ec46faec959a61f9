#pragma once

#include <string>

namespace pondrel {

struct Arrangement;

// Composes the text of a ".wnd" file (before the item encoding): the version mark "v40#", then
// the layout of every field 1 to 229 but 100 to 119 and the page settings (see
// docs/arrangement-file.md).
class ArrangementWriter {
public:
    static std::u16string Compose(const Arrangement& arrangement);
    // The bytes of the file: the composed text with the item encoding.
    static std::string Encode(const Arrangement& arrangement);
    // Whether the file of `arrangement` stays within the reader's byte limit (long page names
    // could make it larger; such a file is not written, as it could not be read back).
    static bool FitsReadLimit(const Arrangement& arrangement);
};

}  // namespace pondrel
