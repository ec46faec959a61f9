#pragma once

// The growth references computed from the public LMS tables, independently of the program's
// curve files: the values the curves must follow.

#include <map>
#include <string>
#include <vector>

namespace pondrel::test {

// One LMS table (ages in months, ascending), read from a CSV file of the growth data folder.
class LmsTable {
public:
    struct Row {
        double age, l, m, s;
        std::map<std::string, double> columns;  // every column of the file by its name
    };
    // Reads `file` of the growth data folder; WHO ages in days become months of 30.4375 days.
    // `lyingOnly` keeps the WHO rows measured lying down (length, before 731 days).
    static LmsTable Read(const std::string& file, bool lyingOnly = false);

    // The measurement at percentile `p` (3, 10 .. 97 or any z through `z`) at `age`: L, M and S
    // interpolated linearly, then the LMS formula.
    double ValueAtZ(double age, double z) const;
    double Value(double age, int percentile) const;
    double FirstAge() const { return m_rows.front().age; }
    double LastAge() const { return m_rows.back().age; }
    const std::vector<Row>& Rows() const { return m_rows; }

private:
    std::vector<Row> m_rows;
};

// z of the standard normal distribution for the seven curve percentiles.
double ZOf(int percentile);
// The inverse of the standard normal distribution at p in (0, 1).
double InverseNormal(double p);

inline constexpr int kCurvePercentiles[] = {3, 10, 25, 50, 75, 90, 97};

}  // namespace pondrel::test
