#pragma once

// Rolling stock as the railtoolkit rolling-stock YAML describes it (schema version 2022.05):
// trains, each a formation of vehicle ids, and the vehicles with their masses, resistance
// coefficients, tractive effort and braking. Values keep the file's units (t, m, km/h, N,
// per mille) and stay unset where the file leaves them out; the defaults are applied where a
// train is made into a mass point (train_dynamics.h), as the format's own reader does.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace railscen::dynamics {

// The 2022.05 vehicle types: "traction unit", "multiple unit", "passenger", "freight".
enum class VehicleType { kTractionUnit, kMultipleUnit, kPassenger, kFreight };

// A point of the tractive-effort curve: the force at the wheel rim at a speed.
struct TractiveEffortPoint {
    double kmh = 0;
    double newtons = 0;
};

struct Vehicle {
    std::string id;
    std::string name;
    VehicleType vehicle_type = VehicleType::kPassenger;
    double length = 0;                                 // m
    double mass = 0;                                   // t, empty
    double load_limit = 0;                             // t, the maximum permitted load
    std::optional<double> mass_traction;               // t on the powered axles
    std::optional<double> speed_limit;                 // km/h
    std::optional<double> a_braking;                   // m/s^2, negative
    std::optional<double> rotation_mass;               // factor, at least 1
    std::optional<double> base_resistance;             // per mille of the weight (N/kN)
    std::optional<double> rolling_resistance;          // per mille
    std::optional<double> air_resistance;              // per mille at 100 km/h
    std::vector<TractiveEffortPoint> tractive_effort;  // by rising speed; empty when not given
    int line = 0;                                      // of the vehicle's entry in the file
};

struct TrainFormation {
    std::string id;
    std::string name;
    std::vector<std::string> formation;  // vehicle ids from the front; an id may repeat
    int line = 0;
};

struct RollingStock {
    std::vector<TrainFormation> trains;
    std::vector<Vehicle> vehicles;
};

// A file that breaks the format: what() is "FILE:LINE: `field`: what is wrong".
struct RollingStockError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The value of `schema` that names the rolling-stock format.
inline constexpr std::string_view kRollingStockSchema =
    "https://railtoolkit.org/schema/rolling-stock.json";
inline constexpr std::string_view kRollingStockSchemaVersion = "2022.05";

// Reads a rolling-stock file's text; file_name only names it in messages. Every formation's
// vehicle ids must be among the file's vehicles.
RollingStock parse_rolling_stock(std::string_view text, std::string_view file_name);

// The train of that id, or the file's first train when id is empty; nullptr when none.
const TrainFormation* find_train(const RollingStock& stock, std::string_view id);

}  // namespace railscen::dynamics
