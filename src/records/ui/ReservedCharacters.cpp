#include "records/ui/ReservedCharacters.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

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

namespace {

constexpr char kFiltered[] = "pondrelRefusesReserved";

// Removes the reserved characters a change brought into `document` (whatever brought them:
// keys, paste, drop, input method), the caret staying after what was kept.
void CleanDocument(QTextDocument* document, int position, int added) {
    if (added <= 0) return;
    QTextCursor scan(document);
    for (int i = position + added - 1; i >= position; --i) {
        if (!IsReservedCharacter(document->characterAt(i))) continue;
        scan.setPosition(i);
        scan.setPosition(i + 1, QTextCursor::KeepAnchor);
        scan.removeSelectedText();
    }
}

void WatchDocument(QObject* field, QTextDocument* document) {
    QObject::connect(document, &QTextDocument::contentsChange, field,
                     [document](int position, int /*removed*/, int added) {
                         // The cleaning is a change itself: it brings nothing new.
                         CleanDocument(document, position, added);
                     });
}

}  // namespace

void RefuseReservedCharacters(QWidget* root) {
    if (!root) return;
    QList<QWidget*> fields = root->findChildren<QWidget*>();
    fields.prepend(root);
    for (QWidget* field : fields) {
        if (field->property(kFiltered).toBool()) continue;
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            if (line->validator() || line->isReadOnly()) continue;
            line->setValidator(new ReservedCharacterValidator(line));
        } else if (auto* text = qobject_cast<QTextEdit*>(field)) {
            if (text->isReadOnly()) continue;
            WatchDocument(text, text->document());
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
            if (plain->isReadOnly()) continue;
            WatchDocument(plain, plain->document());
        } else {
            continue;
        }
        field->setProperty(kFiltered, true);
    }
}

}  // namespace pondrel
