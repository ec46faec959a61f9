#pragma once

// The user-interface words the journal editor puts into its texts. They come from the labels
// file (plain-text labels by index, and its date section); the defaults are the built-in words,
// and English names where the labels file has no built-in value (weekdays, long month names).

#include <array>
#include <string>

namespace pondrel {

struct Labels;

struct JournalWords {
    std::u16string start = u"Start";                 // label 121
    std::u16string stop = u"Stop";                   // label 122
    std::u16string dayLetter = u"D";                 // label 124
    std::u16string now = u"Now";                     // label 127
    std::u16string empty = u"Empty";                 // label 126
    std::u16string solved = u"Solved";               // label 128
    std::u16string problemNumber = u"Prob N\u00B0";  // label 167
    std::u16string active = u"Active";               // label 170
    std::u16string problem = u"Prob";                // label 172
    std::u16string closed = u"Closed";               // label 177
    std::u16string oneTime = u"One time";            // label 187

    // Captions of the admission examination fields as the examinations history list names
    // them: fields 79 to 85, then 20 (the field captions of the labels file).
    std::array<std::u16string, 8> admissionExamCaptions = {u"Labo",
                                                           u"Gaso",
                                                           u"Microbiology",
                                                           u"Radiographic films",
                                                           u"CT-Scan",
                                                           u"Echography + Doppler",
                                                           u"Other examination",
                                                           u"ECG"};

    // Date section of the labels file: Sunday first, January first.
    std::array<std::u16string, 7> weekdays = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                              u"Thursday", u"Friday", u"Saturday"};
    std::array<std::u16string, 12> months = {u"January",   u"February", u"March",    u"April",
                                             u"May",       u"June",     u"July",     u"August",
                                             u"September", u"October",  u"November", u"December"};
    std::array<std::u16string, 12> shortMonths = {u"Jan", u"Feb", u"Mar",  u"Apr", u"May", u"Jun",
                                                  u"Jul", u"Aug", u"Sept", u"Oct", u"Nov", u"Dec"};
};

// The words of the labels file; a label the file leaves empty keeps its default word, and tabs
// inside captions are dropped.
JournalWords JournalWordsFrom(const Labels& labels);
// How a word is taken from the labels file: `value` replaces `word` unless it is empty, without
// the tabs a caption may hold ("Radio\tgraphic").
void TakeLabelWord(std::u16string& word, const std::u16string& value);

}  // namespace pondrel
