#pragma once

// The reserved characters of records/ReservedCharacters.h for Qt strings and fields: no field
// of the main form or of a dialogue takes them, typed, pasted or dropped.

#include <QString>
#include <QValidator>

class QWidget;

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

// Makes every editable line and text field under `root` (a dialogue, or `root` itself) refuse
// the reserved characters however they come: typed, pasted, dropped or from an input method.
// A field that already has its own validator, or is read-only, is left as it is. Applying it
// twice changes nothing.
void RefuseReservedCharacters(QWidget* root);

}  // namespace pondrel
