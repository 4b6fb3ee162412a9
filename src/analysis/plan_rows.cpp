#include <cstdio>
#include <nlohmann/json.hpp>

#include "analysis/binary_views.h"

namespace railscen::analysis {
namespace {

using Json = nlohmann::ordered_json;

// Integers as written, doubles with millimetres, "-" for an empty value.
std::string value_text(const TaggedValue& v) {
    char text[48];
    if (const auto* i = std::get_if<std::int16_t>(&v)) {
        std::snprintf(text, sizeof text, "%d", *i);
    } else if (const auto* d = std::get_if<double>(&v)) {
        std::snprintf(text, sizeof text, "%.3f", *d);
    } else {
        return "-";
    }
    return text;
}

Json value_json(const TaggedValue& v) {
    if (const auto* i = std::get_if<std::int16_t>(&v)) return *i;
    if (const auto* d = std::get_if<double>(&v)) return *d;
    return nullptr;
}

}  // namespace

std::string plan_table(const Plan& plan) {
    std::string out = "plan file: " + std::to_string(plan.rows()) +
                      " rows, one per route metre (x east, y north, metres; - empty)\n";
    char row[160];
    std::snprintf(row, sizeof row, "%8s %16s %16s\n", "row", "x", "y");
    out += row;
    for (std::int64_t i = 0; i < plan.rows(); ++i) {
        std::snprintf(row, sizeof row, "%8lld %16s %16s\n", static_cast<long long>(i),
                      value_text(plan.x(i)).c_str(), value_text(plan.y(i)).c_str());
        out += row;
    }
    return out;
}

std::string plan_json(const Plan& plan) {
    Json points = Json::array();
    for (std::int64_t i = 0; i < plan.rows(); ++i) {
        points.push_back(Json::array({value_json(plan.x(i)), value_json(plan.y(i))}));
    }
    const Json j = {{"file", "plan"}, {"rows", plan.rows()}, {"points", points}};
    return j.dump() + "\n";
}

}  // namespace railscen::analysis
