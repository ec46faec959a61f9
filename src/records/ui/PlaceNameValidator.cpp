#include "records/ui/PlaceNameValidator.h"

#include "records/LocationList.h"

namespace pondrel {

QValidator::State PlaceNameValidator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int removedBefore = 0;
    for (int i = 0; i < input.size(); ++i) {
        if (IsRefusedInPlaceName(input[i].unicode())) {
            if (i < pos) ++removedBefore;
            continue;
        }
        kept += input[i];
    }
    if (kept.size() != input.size()) {
        input = kept;
        pos -= removedBefore;
    }
    return Acceptable;
}

}  // namespace pondrel
