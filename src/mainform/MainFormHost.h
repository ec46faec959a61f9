#pragma once

namespace pondrel {

// What the main-form controller asks of the widget that shows the form (CCorvaneView in the
// program, a recording double in tests). Called on the user-interface thread.
class MainFormHost {
public:
    virtual ~MainFormHost() = default;

    // Brings the band of page `page` into view. The page being left has already finished its
    // work; the page shown gets its record right after.
    virtual void ScrollToPage(int page) = 0;
    // The record on screen changed or was edited: the patient box and the record counter show
    // it again.
    virtual void ShowPatientBox() = 0;
    // Records were added to the set, removed or read again, or their check marks changed: the
    // patient list follows.
    virtual void PatientsChanged() = 0;
    // Writes the preferences file (the first step of ending the program).
    virtual void SavePreferences() = 0;

protected:
    MainFormHost() = default;
    MainFormHost(const MainFormHost&) = default;
    MainFormHost& operator=(const MainFormHost&) = default;
};

}  // namespace pondrel
