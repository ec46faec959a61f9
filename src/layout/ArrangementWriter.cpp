#include "layout/ArrangementWriter.h"

#include "layout/Arrangement.h"
#include "layout/ArrangementFormat.h"
#include "records/ItemEncoding.h"

namespace pondrel {

namespace format = arrangement_format;

std::u16string ArrangementWriter::Compose(const Arrangement& arrangement) {
    std::u16string text(format::kVersionMark);
    AppendArrangementItems(text, arrangement.fields, arrangement.pages);
    return text;
}

std::string ArrangementWriter::Encode(const Arrangement& arrangement) {
    return EncodeItemText(Compose(arrangement));
}

bool ArrangementWriter::FitsReadLimit(const Arrangement& arrangement) {
    // The mark, the text and the closing unit, two bytes each.
    return 2 * (Compose(arrangement).size() + 2) <= format::kReadLimitBytes;
}

}  // namespace pondrel
