#include "GrowthReference.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pondrel::test {

namespace {

std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream stream(line);
    std::string cell;
    while (std::getline(stream, cell, ',')) cells.push_back(cell);
    return cells;
}

}  // namespace

LmsTable LmsTable::Read(const std::string& file, bool lyingOnly) {
    std::ifstream in(std::string(PONDREL_GROWTH_DATA_DIR) + "/" + file);
    if (!in) throw std::runtime_error("cannot read " + file);
    std::string line;
    std::getline(in, line);
    std::vector<std::string> names = SplitCsv(line);
    LmsTable table;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> cells = SplitCsv(line);
        Row row{};
        for (size_t i = 0; i < cells.size() && i < names.size(); ++i) {
            if (names[i] == "loh") {
                if (lyingOnly && cells[i] != "L") row.age = -1;
                continue;
            }
            row.columns[names[i]] = std::stod(cells[i]);
        }
        if (row.age < 0) continue;
        if (row.columns.count("age_days")) {
            row.age = row.columns["age_days"] / 30.4375;
        } else if (row.columns.count("age_months")) {
            row.age = row.columns["age_months"];
        } else {
            row.age = row.columns.at("Agemos");
        }
        row.l = row.columns.at("L");
        row.m = row.columns.at("M");
        row.s = row.columns.at("S");
        table.m_rows.push_back(row);
    }
    return table;
}

double LmsTable::ValueAtZ(double age, double z) const {
    auto after = std::upper_bound(m_rows.begin(), m_rows.end(), age,
                                  [](double a, const Row& row) { return a < row.age; });
    size_t i = after == m_rows.begin() ? 0 : static_cast<size_t>(after - m_rows.begin()) - 1;
    i = std::min(i, m_rows.size() - 2);
    const Row& a = m_rows[i];
    const Row& b = m_rows[i + 1];
    double f = std::clamp((age - a.age) / (b.age - a.age), 0.0, 1.0);
    double l = a.l + (b.l - a.l) * f;
    double m = a.m + (b.m - a.m) * f;
    double s = a.s + (b.s - a.s) * f;
    if (std::fabs(l) < 1e-12) return m * std::exp(s * z);
    return m * std::pow(1 + l * s * z, 1 / l);
}

double LmsTable::Value(double age, int percentile) const {
    return ValueAtZ(age, ZOf(percentile));
}

double ZOf(int percentile) {
    return InverseNormal(percentile / 100.0);
}

double InverseNormal(double p) {
    // Bisection on the normal distribution, exact to the last digits that matter here.
    double low = -10;
    double high = 10;
    for (int i = 0; i < 200; ++i) {
        double mid = (low + high) / 2;
        double cdf = 0.5 * std::erfc(-mid / std::sqrt(2.0));
        (cdf < p ? low : high) = mid;
    }
    return (low + high) / 2;
}

}  // namespace pondrel::test
