#include "journal/ui/ReservedCharacters.h"

namespace pondrel {

bool IsReservedCharacter(QChar c) {
    switch (c.unicode()) {
        case 0x00A2:  // "¢" ends a file item
        case u'|':
        case 0x00A6:  // "¦"
        case 0x00A7:  // "§"
        case 0x00AC:  // "¬" marks a file block
        case u'#':
            return true;
        default:
            return false;
    }
}

bool HasReservedCharacter(const QString& text) {
    for (QChar c : text) {
        if (IsReservedCharacter(c)) return true;
    }
    return false;
}

QString WithoutReservedCharacters(QString text) {
    text.removeIf(IsReservedCharacter);
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
