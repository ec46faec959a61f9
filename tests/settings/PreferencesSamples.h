#pragma once

// Preferences used by the tests of the preferences file.

#include <string>

#include "platform/Text.h"
#include "settings/Preferences.h"

namespace pondrel::test {

// Every item holds a value of its own, with non-ASCII text, line breaks and the separators a
// text may hold ("|", "¦", "§", "#"); all lists are full.
inline Preferences RichPreferences() {
    Preferences p;
    for (int i = 0; i < kPatientListColumns; ++i) p.columnWidths[i] = 30 + i;
    p.columnOrder = {0, 5, 6, 1, 7, 8, 9, 10, 3, 2, 4, 11, 12, 13, 14};
    p.sortColumn = 9;
    p.sortDirection = 1;
    p.bottomRightPane = 2;
    p.colours = {250, 200, 220, 2, 10, 20, 30, 1};
    for (int i = 0; i < kVectorPictureSlots; ++i) {
        p.vectorPictures[i].drawing = u"#255,0,0/0|10," + ToText(i) + u"\u00A611,22";
        p.vectorPictures[i].name = u"Pic " + ToText(i) + u" \u00E9";
    }
    for (int i = 0; i < kFreeFields; ++i) {
        p.freeFields.windows[i] = {{51, 6 + i, 144, 22 + i}, i % 2};
        p.freeFields.captions[i] = {{0, -8 - i, 45, 19}, 1};
    }
    p.freeFields.pageTexts = {u"Free 1", u"Free 2", u"12", u""};
    p.freeFields.options = {1, 0};
    p.general = {5, 1, 1};
    p.wireless = {u"Dr Wilmer", u"123456", 3, u"192.168.1.20", 4000};
    auto mail = [](const std::u16string& who, int n, const std::u16string& state) {
        MailRow row;
        for (int c = 0; c < kMailColumns; ++c) row.columns[c] = who + u" c" + ToText(c) + u"#" + ToText(n);
        row.columns[MailRow::kMessage] = u"Line one\r\nLine \u00E8 two | \u00A7" + ToText(n);
        row.columns[MailRow::kState] = state;
        return row;
    };
    for (int i = 0; i < 20; ++i) {
        p.inbox.push_back(mail(u"Sender", i, u"Closed mail"));
        p.inbox.back().icon = 4;
        p.outbox.push_back(mail(u"Dest", i, u"Server is waiting client connection"));
        p.outbox.back().icon = 1;
    }
    for (int i = 0; i < 100; ++i) {
        p.sentItems.push_back(mail(u"To", i, u"Recipient get the mail"));
        p.sentItems.back().icon = 4;
    }
    for (int i = 0; i < 100; ++i) {
        ActiveFileRow active;
        for (int c = 0; c < kActiveFileColumns; ++c) active.columns[c] = u"a" + ToText(i * 10 + c);
        active.columns[ActiveFileRow::kPatient] = u"Doe John " + ToText(1900 + i);
        p.activeFiles.push_back(active);
        ServerFileRow server;
        for (int c = 0; c < kServerFileColumns; ++c) server.columns[c] = u"s" + ToText(i * 10 + c);
        server.columns[ServerFileRow::kPatient] = u"Doe John " + ToText(1950 + i);
        server.imported = i < 50 ? u"Yes" : u"No";
        server.icon = 1;
        p.serverFiles.push_back(server);
    }
    p.friends = u"Anna|Bob|";
    p.recentTemplates = u"\\My Documents\\Letter.rtf1|\\My Documents\\Other.rtf0|";
    p.lastTemplatePath = u"\\My Documents\\Letter.rtf";
    p.lastTemplateOption = 1;
    p.currentPatientPosition = 7;
    p.fieldLayoutsRead = true;
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (!HasStoredFieldLayout(field)) continue;
        p.fieldLayouts[field] = {{70, field, 230, field + 17}, {1, field, 67, field + 11},
                                 field % 19 - 1};
    }
    for (int page = 0; page < kFormPages; ++page) {
        p.pages[page] = {page % 2, ToText(page) + u",7,8,", u"Page \u00FC" + ToText(page),
                         page == 0 ? u"" : u"B" + ToText(page), 1 - page % 2};
    }
    p.startCount = 41;
    p.icdTablePath = u"\\My Documents\\ICD10.txt";
    p.regional = {1, 1};
    for (int i = 0; i < kControlRects; ++i) p.controlRects[i] = {i, i + 1, i + 2, i + 3};
    p.examTitles = u"Leu,WBC|Hb|CRP|";
    p.locationList = u"Cardio A|Cardio B|";
    p.selectedLocation = u"Cardio B";
    p.quickNotes = 1;
    p.network = {1, 0, 1, 1, 0, u"15"};
    p.item48 = 120;
    p.bigSummary = {{{u"Motive of Hospitalization", u"\u00A2F61#"},
                     {u"Current problem", u"\u00A2F62# and \u00A2F63#\r\n-more"},
                     {u"Past history", u""},
                     {u"Family history", u"plain"}}};
    p.examGraphCurvesShown = 1;
    p.listDisplayMode = 0;
    return p;
}

}  // namespace pondrel::test
