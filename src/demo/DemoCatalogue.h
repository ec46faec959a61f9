#pragma once

// The texts the demo patients are made of: invented names, places and a small catalogue of
// clinical problems with the words a ward doctor would type for them.

#include <array>
#include <span>
#include <string_view>

namespace pondrel::demo {

struct ProblemText {
    std::u16string_view title;
    std::u16string_view differential;
    std::u16string_view redaction;
    std::u16string_view motive;         // reason for admission when it is the main problem
    std::u16string_view anamnesia;      // first day
    std::u16string_view examinations;   // first day
    std::u16string_view labo;           // laboratory line of the form
    std::u16string_view imaging;        // radiography line of the form
    std::u16string_view medicine;       // drug lines started on the first day ("\r\n" between)
    std::u16string_view laterMedicine;  // change a few days later
    std::array<std::u16string_view, 3> attitude;  // first day, during the stay, last day
    double fever;  // temperature on the first day, in degrees Celsius
    bool acute;    // solved by the end of the stay
    // Lines of `medicine` that `laterMedicine` replaces: stopped the day it starts.
    std::u16string_view replaced = {};
    // Lines (of `medicine` or `laterMedicine`) given for a fixed course: stopped on the day
    // `courseDays` counted from the first day (an antibiotic, a steroid burst).
    std::u16string_view limited = {};
    int courseDays = 0;
};

std::span<const std::u16string_view> LastNames();
std::span<const std::u16string_view> FemaleFirstNames();
std::span<const std::u16string_view> MaleFirstNames();
std::span<const int> ChildProblems();  // indexes into Problems() fit for children
std::span<const ProblemText> Problems();
std::span<const std::u16string_view> Professions();
std::span<const std::u16string_view> Cities();
std::span<const std::u16string_view> Locations();
std::span<const std::u16string_view> Doctors();
std::span<const std::u16string_view> ProgressNotes();
std::span<const std::u16string_view> PastHistories();
std::span<const std::u16string_view> Allergies();
std::span<const std::u16string_view> SocialNotes();

}  // namespace pondrel::demo
