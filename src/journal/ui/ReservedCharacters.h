#pragma once

// The reserved characters of records/ReservedCharacters.h for Qt strings: the fields of the
// problem panel never take them from the keyboard.

#include <QString>
#include <QValidator>

namespace pondrel {

bool IsReservedCharacter(QChar c);
bool HasReservedCharacter(const QString& text);
QString WithoutReservedCharacters(QString text);

// For line fields: typed or pasted reserved characters are dropped, the rest is kept.
class ReservedCharacterValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace pondrel
