#include "journal/ui/ReservedCharacters.h"

#include "records/ReservedCharacters.h"

namespace pondrel {

bool IsReservedCharacter(QChar c) {
    return IsReservedCharacter(c.unicode());
}

bool HasReservedCharacter(const QString& text) {
    for (QChar c : text) {
        if (IsReservedCharacter(c)) return true;
    }
    return false;
}

QString WithoutReservedCharacters(QString text) {
    text.removeIf([](QChar c) { return IsReservedCharacter(c.unicode()); });
    return text;
}

QValidator::State ReservedCharacterValidator::validate(QString& input, int& pos) const {
    if (HasReservedCharacter(input)) {
        // The caret stays after the characters kept before it.
        int removedBefore = 0;
        for (int i = 0; i < pos && i < input.size(); ++i) {
            if (IsReservedCharacter(input[i])) ++removedBefore;
        }
        input = WithoutReservedCharacters(input);
        pos -= removedBefore;
    }
    return Acceptable;
}

}  // namespace pondrel
