#include "charts/GrowthCurves.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel {

namespace {

constexpr char16_t kNotFound[] = u"Internal ressource not found";
constexpr char16_t kDamaged[] = u"Internal ressource damaged";
constexpr char16_t kOverflow[] = u"Percentile overflow error 1";
constexpr int kFirstResource = 7500;

// UTF-16 little-endian bytes to text, the leading byte-order mark left out.
std::u16string DecodeResource(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto low = static_cast<unsigned char>(bytes[i]);
        auto high = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(low | (high << 8));
    }
    if (!text.empty() && text.front() == u'\uFEFF') text.erase(0, 1);
    return text;
}

}  // namespace

std::u16string_view GrowthReferenceNotice() {
    return u"Growth curves: WHO Child Growth Standards (WHO, 2006), birth to 2 years and head "
           u"circumference to 5 years; CDC 2000 growth charts (CDC/NCHS, public domain), "
           u"2 to 18 years.";
}

int CurveSetIndex(GrowthMeasure measure, int sex) {
    return 2 * static_cast<int>(measure) + (sex == 0 ? 1 : 0);
}

std::u16string GrowthCurves::ResourceName(int index) {
    return u"#" + ToText(kFirstResource + index);
}

GrowthCurves GrowthCurves::Load(UserMessages& messages) {
    return Load(FindCurveResource, messages);
}

GrowthCurves GrowthCurves::Load(const CurveResourceLookup& lookup, UserMessages& messages) {
    GrowthCurves curves;
    bool missing = false;
    bool damaged = false;
    bool overflow = false;
    for (int i = 0; i < kCurveSetCount; ++i) {
        std::optional<std::string_view> bytes = lookup ? lookup(ResourceName(i)) : std::nullopt;
        if (!bytes) {
            missing = true;
            continue;
        }
        CCourbepercentile::ParseReport report;
        curves.m_sets[static_cast<size_t>(i)] =
            CCourbepercentile::Parse(DecodeResource(*bytes), &report);
        if (curves.m_sets[static_cast<size_t>(i)].Empty()) {
            missing = true;
        } else if (report.curvesDropped > 0) {
            damaged = true;
        }
        overflow = overflow || report.truncated;
    }
    if (missing) messages.ShowBox(kNotFound, u"");
    if (damaged) messages.ShowBox(kDamaged, u"");
    if (overflow) messages.ShowBox(kOverflow, u"");
    return curves;
}

std::optional<float> PercentileOf(const CCourbepercentile& set, float age, float value) {
    if (set.Empty() || std::isnan(value) || std::isnan(age)) return std::nullopt;
    struct Pair {
        float value;
        float percentile;
    };
    std::array<Pair, kMaxCurves> pairs{};
    size_t count = 0;
    for (int c = 0; c < set.CurveCount(); ++c) {
        pairs[count++] = {set.CurveValue(c, age), static_cast<float>(set.CurveAt(c).percentile)};
    }
    std::sort(pairs.begin(), pairs.begin() + static_cast<std::ptrdiff_t>(count),
              [](const Pair& a, const Pair& b) { return a.value < b.value; });
    if (value < pairs[0].value) return pairs[0].percentile;
    if (value > pairs[count - 1].value) return 100.0f;
    // Curves that meet at this age give one point (the first of them).
    std::vector<float> x;
    std::vector<float> y;
    for (size_t i = 0; i < count; ++i) {
        if (!x.empty() && !(pairs[i].value > x.back())) continue;
        x.push_back(pairs[i].value);
        y.push_back(pairs[i].percentile);
    }
    if (x.size() < 2) return y.front();
    std::vector<float> m = CCourbepercentile::SplineCoefficients(x, y);
    float p = CCourbepercentile::SplineValue(x, y, m, value);
    if (std::isnan(p)) return std::nullopt;
    // Between two curves the percentile stays between theirs.
    auto [lowest, highest] = std::minmax_element(y.begin(), y.end());
    return std::clamp(p, *lowest, *highest);
}

}  // namespace pondrel
