#include "charts/CCourbepercentile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/Text.h"

namespace pondrel {

namespace {

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'\t' || c == u',';
}

// The non-empty lines of a text; CR LF, CR or LF end a line.
std::vector<std::u16string_view> Lines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'\r' || text[i] == u'\n') {
            std::u16string_view line = text.substr(start, i - start);
            bool blank = std::all_of(line.begin(), line.end(), IsSeparator);
            if (!blank) lines.push_back(line);
            start = i + 1;
        }
    }
    return lines;
}

// A decimal number with "." ; NaN when the token is not one.
float ParseNumber(std::u16string_view token) {
    std::string ascii;
    for (char16_t c : token) {
        if (c > 0x7F) return std::numeric_limits<float>::quiet_NaN();
        ascii += static_cast<char>(c);
    }
    float value = 0;
    auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size()) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    return value;
}

std::vector<float> Numbers(std::u16string_view line) {
    std::vector<float> numbers;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsSeparator(line[i])) ++i;
        if (i > start) numbers.push_back(ParseNumber(line.substr(start, i - start)));
    }
    return numbers;
}

bool Increasing(const std::vector<float>& x) {
    for (size_t i = 0; i < x.size(); ++i) {
        if (!std::isfinite(x[i]) || (i > 0 && !(x[i] > x[i - 1]))) return false;
    }
    return true;
}

bool Finite(const std::vector<float>& y) {
    return std::all_of(y.begin(), y.end(), [](float v) { return std::isfinite(v); });
}

}  // namespace

CCourbepercentile CCourbepercentile::Parse(std::u16string_view text, ParseReport* report) {
    ParseReport found;
    CCourbepercentile set;
    std::vector<std::u16string_view> lines = Lines(text);
    if (!lines.empty()) set.m_name = TrimRightSpaces(lines[0]);
    for (size_t first = 1; first < lines.size() && set.m_curves.size() < kMaxCurves; first += 3) {
        std::vector<float> header = Numbers(lines[first]);
        if (header.size() < 2 || !std::isfinite(header[0]) || !std::isfinite(header[1])) break;
        double declared = header[0];
        Curve curve;
        curve.percentile = static_cast<int>(header[1]);
        std::vector<float> ages =
            first + 1 < lines.size() ? Numbers(lines[first + 1]) : std::vector<float>{};
        std::vector<float> values =
            first + 2 < lines.size() ? Numbers(lines[first + 2]) : std::vector<float>{};
        if (declared > kMaxCurvePoints) found.truncated = true;
        double wanted = std::min<double>(declared, kMaxCurvePoints);
        size_t count = wanted >= 0 ? static_cast<size_t>(wanted) : 0;
        if (count < 2 || ages.size() < count || values.size() < count) {
            ++found.curvesDropped;
            continue;
        }
        curve.x.assign(ages.begin(), ages.begin() + static_cast<std::ptrdiff_t>(count));
        curve.y.assign(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count));
        if (!Increasing(curve.x) || !Finite(curve.y)) {
            ++found.curvesDropped;
            continue;
        }
        curve.m = SplineCoefficients(curve.x, curve.y);
        set.m_curves.push_back(std::move(curve));
    }
    if (report) *report = found;
    return set;
}

float CCourbepercentile::PercentileFunc(int percentile, float age) const {
    for (size_t i = 0; i < m_curves.size(); ++i) {
        if (m_curves[i].percentile == percentile) return CurveValue(static_cast<int>(i), age);
    }
    return 0;
}

float CCourbepercentile::CurveValue(int index, float age) const {
    if (index < 0 || index >= CurveCount()) return 0;
    const Curve& curve = m_curves[static_cast<size_t>(index)];
    float at = std::isnan(age) ? curve.x.front() : std::clamp(age, curve.x.front(), curve.x.back());
    return SplineValue(curve.x, curve.y, curve.m, at);
}

std::optional<std::pair<float, float>> CCourbepercentile::AgeRange() const {
    if (m_curves.empty()) return std::nullopt;
    float from = m_curves.front().x.front();
    float to = m_curves.front().x.back();
    for (const Curve& curve : m_curves) {
        from = std::max(from, curve.x.front());
        to = std::min(to, curve.x.back());
    }
    if (from > to) return std::nullopt;
    return std::pair{from, to};
}

std::vector<float> CCourbepercentile::SplineCoefficients(const std::vector<float>& x,
                                                         const std::vector<float>& y) {
    size_t n = x.size();
    std::vector<float> m(n, 0.0f);
    for (size_t j = 1; j + 1 < n; ++j) {
        float before = (y[j] - y[j - 1]) / (x[j] - x[j - 1]);
        float after = (y[j + 1] - y[j]) / (x[j + 1] - x[j]);
        m[j] = 3.0f * (after - before) / (x[j + 1] - x[j - 1]);
    }
    return m;
}

float CCourbepercentile::SplineValue(const std::vector<float>& x, const std::vector<float>& y,
                                     const std::vector<float>& m, float at) {
    size_t n = x.size();
    // The interval: the last point at or before `at`, never the last point itself.
    size_t b = static_cast<size_t>(std::upper_bound(x.begin(), x.end(), at) - x.begin());
    b = b == 0 ? 0 : std::min(b - 1, n - 2);
    float h = x[b + 1] - x[b];
    float u = at - x[b];
    float v = x[b + 1] - at;
    double s = static_cast<double>(y[b]) * v / h + static_cast<double>(y[b + 1]) * u / h;
    double hd = h;
    if (b + 1 <= n - 2) {
        double ud = u;
        s += static_cast<double>(m[b + 1]) * (ud * ud * ud / (6 * hd) - hd * ud / 6);
    }
    if (b >= 1) {
        double vd = v;
        s += static_cast<double>(m[b]) * (vd * vd * vd / (6 * hd) - hd * vd / 6);
    }
    return static_cast<float>(s);
}

}  // namespace pondrel
