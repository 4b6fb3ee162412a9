#include "dynamics/rolling_stock.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <set>
#include <string>

namespace railscen::dynamics {
namespace {

// Where the reader is, to name the file and line of whatever breaks the format.
struct Reader {
    std::string_view file;

    [[noreturn]] void fail(const YAML::Node& at, std::string_view field,
                           std::string_view what) const {
        throw RollingStockError(std::string(file) + ":" + std::to_string(at.Mark().line + 1) +
                                ": `" + std::string(field) + "`: " + std::string(what));
    }

    YAML::Node required(const YAML::Node& map, const char* field) const {
        const YAML::Node value = map[field];
        if (!value) fail(map, field, "missing");
        return value;
    }

    std::string text(const YAML::Node& map, const char* field) const {
        const YAML::Node value = required(map, field);
        if (!value.IsScalar()) fail(value, field, "must be a text");
        return value.Scalar();
    }

    double number(const YAML::Node& value, std::string_view field) const {
        double n = 0;
        if (!value.IsScalar() || !YAML::convert<double>::decode(value, n)) {
            fail(value, field, "must be a number");
        }
        return n;
    }

    // The format's numbers are positive (exclusiveMinimum 0) unless told otherwise.
    double positive(const YAML::Node& value, std::string_view field) const {
        const double n = number(value, field);
        if (!(n > 0)) fail(value, field, "must be greater than 0");
        return n;
    }

    std::optional<double> optional_positive(const YAML::Node& map, const char* field) const {
        const YAML::Node value = map[field];
        if (!value) return std::nullopt;
        return positive(value, field);
    }

    YAML::Node sequence(const YAML::Node& map, const char* field) const {
        const YAML::Node value = required(map, field);
        if (!value.IsSequence() || value.size() == 0)
            fail(value, field, "must be a non-empty list");
        return value;
    }
};

VehicleType vehicle_type(const Reader& r, const YAML::Node& vehicle) {
    const YAML::Node value = r.required(vehicle, "vehicle_type");
    const std::string type = value.IsScalar() ? value.Scalar() : "";
    if (type == "traction unit") return VehicleType::kTractionUnit;
    if (type == "multiple unit") return VehicleType::kMultipleUnit;
    if (type == "passenger") return VehicleType::kPassenger;
    if (type == "freight") return VehicleType::kFreight;
    r.fail(value, "vehicle_type",
           "must be one of \"traction unit\", \"multiple unit\", \"passenger\", \"freight\"");
}

std::vector<TractiveEffortPoint> tractive_effort(const Reader& r, const YAML::Node& vehicle) {
    const YAML::Node pairs = vehicle["tractive_effort"];
    if (!pairs) return {};
    if (!pairs.IsSequence() || pairs.size() < 3) {
        r.fail(pairs, "tractive_effort", "must list at least 3 [speed, force] pairs");
    }
    std::vector<TractiveEffortPoint> points;
    for (const YAML::Node& pair : pairs) {
        if (!pair.IsSequence() || pair.size() != 2) {
            r.fail(pair, "tractive_effort", "each entry must be a [speed, force] pair");
        }
        const TractiveEffortPoint p{r.number(pair[0], "tractive_effort"),
                                    r.number(pair[1], "tractive_effort")};
        if (p.kmh < 0 || p.newtons < 0) r.fail(pair, "tractive_effort", "must not be negative");
        for (const TractiveEffortPoint& q : points) {
            if (q.kmh == p.kmh) r.fail(pair, "tractive_effort", "gives a speed twice");
        }
        points.push_back(p);
    }
    std::sort(
        points.begin(), points.end(),
        [](const TractiveEffortPoint& a, const TractiveEffortPoint& b) { return a.kmh < b.kmh; });
    return points;
}

Vehicle read_vehicle(const Reader& r, const YAML::Node& node) {
    if (!node.IsMap()) r.fail(node, "vehicles", "each vehicle must be a mapping");
    Vehicle v;
    v.line = node.Mark().line + 1;
    v.id = r.text(node, "id");
    v.name = r.text(node, "name");
    v.vehicle_type = vehicle_type(r, node);
    v.length = r.positive(r.required(node, "length"), "length");
    v.mass = r.positive(r.required(node, "mass"), "mass");
    v.load_limit = r.optional_positive(node, "load_limit").value_or(0);
    v.mass_traction = r.optional_positive(node, "mass_traction");
    if (v.mass_traction && *v.mass_traction > v.mass) {
        r.fail(node["mass_traction"], "mass_traction", "must not exceed the vehicle's mass");
    }
    v.speed_limit = r.optional_positive(node, "speed_limit");
    if (const YAML::Node a = node["a_braking"]) {
        v.a_braking = r.number(a, "a_braking");
        if (!(*v.a_braking < 0)) r.fail(a, "a_braking", "must be negative (a deceleration)");
    }
    if (const YAML::Node xi = node["rotation_mass"]) {
        v.rotation_mass = r.number(xi, "rotation_mass");
        if (!(*v.rotation_mass >= 1)) r.fail(xi, "rotation_mass", "must be at least 1");
    }
    v.base_resistance = r.optional_positive(node, "base_resistance");
    v.rolling_resistance = r.optional_positive(node, "rolling_resistance");
    v.air_resistance = r.optional_positive(node, "air_resistance");
    if (const YAML::Node power = node["power_type"]) {
        const std::string p = power.IsScalar() ? power.Scalar() : "";
        if (p != "diesel" && p != "electric" && p != "steam") {
            r.fail(power, "power_type", "must be one of \"diesel\", \"electric\", \"steam\"");
        }
    }
    v.tractive_effort = tractive_effort(r, node);
    return v;
}

TrainFormation read_train(const Reader& r, const YAML::Node& node) {
    if (!node.IsMap()) r.fail(node, "trains", "each train must be a mapping");
    TrainFormation t;
    t.line = node.Mark().line + 1;
    t.id = r.text(node, "id");
    t.name = r.text(node, "name");
    for (const YAML::Node& id : r.sequence(node, "formation")) {
        if (!id.IsScalar()) r.fail(id, "formation", "each entry must be a vehicle id");
        t.formation.push_back(id.Scalar());
    }
    return t;
}

}  // namespace

RollingStock parse_rolling_stock(std::string_view text, std::string_view file_name) {
    const Reader r{file_name};
    YAML::Node root;
    try {
        root = YAML::Load(std::string(text));
    } catch (const YAML::ParserException& e) {
        throw RollingStockError(std::string(file_name) + ":" + std::to_string(e.mark.line + 1) +
                                ": not YAML: " + e.msg);
    }
    if (!root.IsMap()) r.fail(root, "schema", "the file must be a mapping with `schema`");
    const YAML::Node schema = r.required(root, "schema");
    if (!schema.IsScalar() || schema.Scalar() != kRollingStockSchema) {
        r.fail(schema, "schema", "must be \"" + std::string(kRollingStockSchema) + "\"");
    }
    const YAML::Node version = r.required(root, "schema_version");
    if (!version.IsScalar() || version.Scalar() != kRollingStockSchemaVersion) {
        r.fail(version, "schema_version",
               "must be \"" + std::string(kRollingStockSchemaVersion) + "\"");
    }
    if (!root["trains"] && !root["vehicles"]) r.fail(root, "vehicles", "missing");

    RollingStock stock;
    if (root["vehicles"]) {
        std::set<std::string> ids;
        for (const YAML::Node& node : r.sequence(root, "vehicles")) {
            stock.vehicles.push_back(read_vehicle(r, node));
            if (!ids.insert(stock.vehicles.back().id).second) {
                r.fail(node["id"], "id", "vehicle id \"" + stock.vehicles.back().id + "\" twice");
            }
        }
    }
    if (root["trains"]) {
        const YAML::Node trains = r.sequence(root, "trains");
        for (const YAML::Node& node : trains) {
            stock.trains.push_back(read_train(r, node));
            const YAML::Node formation = node["formation"];
            for (std::size_t i = 0; i < formation.size(); ++i) {
                const std::string& id = stock.trains.back().formation[i];
                const bool known = std::any_of(stock.vehicles.begin(), stock.vehicles.end(),
                                               [&](const Vehicle& v) { return v.id == id; });
                if (!known) r.fail(formation[i], "formation", "no vehicle \"" + id + "\"");
            }
        }
    }
    return stock;
}

const TrainFormation* find_train(const RollingStock& stock, std::string_view id) {
    if (id.empty()) return stock.trains.empty() ? nullptr : &stock.trains.front();
    for (const TrainFormation& t : stock.trains) {
        if (t.id == id) return &t;
    }
    return nullptr;
}

}  // namespace railscen::dynamics
