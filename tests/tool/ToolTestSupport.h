#pragma once

// Running the built pondrel-tool from a test, and the host files the tests hand it.

#include <filesystem>
#include <string>
#include <vector>

#include "records/PatientRecord.h"

namespace pondrel::test {

struct ToolRun {
    int status = -1;  // the exit status; -1 when the tool could not be run or did not exit
    std::string out;
    std::string err;
};

// Runs the tool with the arguments after its name and waits for it. No shell is involved: every
// argument reaches the tool exactly as given.
ToolRun RunTool(const std::vector<std::string>& args);

// The bytes of a host file ("" when it cannot be read).
std::string Slurp(const std::filesystem::path& file);
// Replaces a host file with the bytes.
void Put(const std::filesystem::path& file, const std::string& bytes);

// The patient the tool tests write: Zoë Doe, born 1950, in use, admitted in "Cardio A" on
// 13 March 2006 at 09:41:07 (type "Hosp") and out on 20 March. Each test adds its own texts.
PatientRecord SamplePatient();
// The version 3.00 text of the patient file whose current text is `current` (a sample patient
// as ComposePatientText writes it): no location item, and a journal of one problem, "Flu", with
// a cough on the admission day, in the layout of that version.
std::u16string Version300Text(const std::u16string& current);

}  // namespace pondrel::test
