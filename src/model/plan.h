#pragma once

#include <cstdint>
#include <variant>
#include <vector>

namespace railscen {

// A value together with its type: Empty, Integer (16-bit) or Double. The plan file stores
// each as a 2-byte type code followed by the value's bytes.
using TaggedValue = std::variant<std::monostate, std::int16_t, double>;

enum class TypeCode : std::int16_t { kEmpty = 0, kInteger = 2, kDouble = 5 };

inline TypeCode type_code(const TaggedValue& v) {
    switch (v.index()) {
        case 1:
            return TypeCode::kInteger;
        case 2:
            return TypeCode::kDouble;
        default:
            return TypeCode::kEmpty;
    }
}

// Numeric value of a tagged value; Empty counts as 0.
inline double numeric(const TaggedValue& v) {
    if (const auto* i = std::get_if<std::int16_t>(&v)) return *i;
    if (const auto* d = std::get_if<double>(&v)) return *d;
    return 0.0;
}

// The smaller of two values; ties give the first.
inline TaggedValue minimo(const TaggedValue& x, const TaggedValue& y) {
    return numeric(x) > numeric(y) ? y : x;
}

// The plan view of the track, one point per route metre, rows 0 to last_row().
// Column 0 holds x, column 1 y, in metres.
struct Plan {
    std::vector<TaggedValue> x;
    std::vector<TaggedValue> y;

    static Plan for_route(std::int32_t route_length) {
        Plan plan;
        const auto rows = static_cast<std::size_t>(static_cast<std::int64_t>(route_length) + 7001);
        plan.x.assign(rows, TaggedValue{});
        plan.y.assign(rows, TaggedValue{});
        return plan;
    }
    bool exists() const { return !x.empty(); }
    std::int64_t last_row() const { return static_cast<std::int64_t>(x.size()) - 1; }
};

}  // namespace railscen
