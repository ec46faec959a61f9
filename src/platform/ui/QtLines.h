#pragma once

// Multi-line texts between the record and Qt's text widgets: the record keeps "\r\n" line
// breaks, the widgets one character per break. Positions are converted the same way.

#include <QString>

#include <string>
#include <string_view>

namespace pondrel {

// The widget's text with "\r\n" breaks.
std::u16string StoredLines(const QString& shown);
// The record's text as a widget shows it ("\r\n", or a lone "\r" or "\n", one break).
QString ShownLines(std::u16string_view text);
// A position in the widget's text as a position in the stored text, and back.
size_t StoredPosition(const QString& shown, int position);
int ShownPosition(std::u16string_view text, size_t position);

}  // namespace pondrel
