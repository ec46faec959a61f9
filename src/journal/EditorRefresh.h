#pragma once

namespace pondrel {

// What the form must redraw or rebuild after an editor command. The summaries are rebuilt only
// when their page is the one shown.
struct EditorRefresh {
    bool panel = false;             // title, DD, redaction, sections, urgency and '+' buttons
    bool caption = false;           // the problem button caption
    bool dayList = false;           // the day list rows (a row's entry mark or the days changed)
    bool day = false;               // the date label and the selected row of the day list
    bool patientList = false;       // the title of problem 1 or the dates changed
    bool treatmentTable = false;    // a Medicine section changed
    bool actionTable = false;       // an Attitude section changed
    bool problemSummary = false;    // the problem summary, when shown
    bool evolutionSummary = false;  // the evolution summary, when shown
    bool daySummary = false;        // the day summary and the big summary, when shown
    bool historyCaptions = false;   // the two history period captions

    EditorRefresh& operator|=(const EditorRefresh& o) {
        panel |= o.panel;
        caption |= o.caption;
        dayList |= o.dayList;
        day |= o.day;
        patientList |= o.patientList;
        treatmentTable |= o.treatmentTable;
        actionTable |= o.actionTable;
        problemSummary |= o.problemSummary;
        evolutionSummary |= o.evolutionSummary;
        daySummary |= o.daySummary;
        historyCaptions |= o.historyCaptions;
        return *this;
    }
};

}  // namespace pondrel
