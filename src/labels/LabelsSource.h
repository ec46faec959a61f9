#pragma once

#include <string_view>

#include "labels/Labels.h"
#include "platform/Error.h"

namespace pondrel {

// Compiles the readable UTF-8 source of a labels file (resources/src/labels-en.txt) into values,
// which ComposeLabelsText then lays out. One statement per line:
//
//     ; a comment                    blank lines and lines starting with ";" are ignored
//     field 7: Weight [kg]           the caption of field 7 (nothing after ":" for none)
//     | 70                           a shortcut of the field named last
//     menu: Antibiotics              a menu of the field: the shortcuts up to "end" belong to it
//     end
//     section 3: To do               the 30 section captions
//     label 122: Stop                the 250 user-interface labels
//     weekday 0: Sunday              also: month 0..11, age 0..3, short month 0..11
//
// One blank after ":" or "|" is dropped; the rest of the line is the text, with trailing blanks
// removed (write "|  & text" for a shortcut that starts with " & "). Every value must be given
// exactly once; captions must be unique; a list may not hold the same shortcut or menu title
// twice; texts may not hold the characters the file formats reserve. Errors name the line.
bool CompileLabelsSource(std::string_view source, Labels& labels, Error* error = nullptr);

}  // namespace pondrel
