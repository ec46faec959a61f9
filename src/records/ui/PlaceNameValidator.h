#pragma once

#include <QValidator>

namespace pondrel {

// For the name boxes of the location and rooms editors: the characters no location or room
// name may hold (records/LocationList.h, IsRefusedInPlaceName) are dropped as they are typed or
// pasted; the rest is kept and the caret stays after it.
class PlaceNameValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace pondrel
