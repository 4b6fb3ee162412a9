#include "dynamics/train_dynamics.h"

#include <algorithm>
#include <map>

namespace railscen::dynamics {
namespace {

constexpr double kKmh = 1 / 3.6;            // m/s in one km/h
constexpr double kHundredKmh = 100 * kKmh;  // the speed the coefficients are scaled to
constexpr double kHeadWind = 15 * kKmh;     // the air's speed against the train
constexpr double kAdhesion = 0.2;           // wheel on rail, for a unit without a curve
constexpr double kTractionUnitRotation = 1.09;
constexpr double kCarRotation = 1.06;
constexpr double kPassengerBraking = 0.375;
constexpr double kFreightBraking = 0.225;
constexpr double kNoSpeedLimitKmh = 504;

bool is_traction(const Vehicle& v) {
    return v.vehicle_type == VehicleType::kTractionUnit ||
           v.vehicle_type == VehicleType::kMultipleUnit;
}

// Davis terms of one vehicle, in N, N/(m/s), N/(m/s)^2.
struct Davis {
    double a = 0;
    double b = 0;
    double c = 0;
};

// A force f per mille of the weight that grows with ((v + w) / 100 km/h)^2, w the head wind.
Davis air_term(double per_mille, double kg, double wind) {
    const double k = per_mille / 1000 * kg * kGravity / (kHundredKmh * kHundredKmh);
    return {k * wind * wind, 2 * k * wind, k};
}

Davis vehicle_resistance(const Vehicle& v, bool passenger_train) {
    const double base = v.base_resistance.value_or(0) / 1000;
    const double rolling = v.rolling_resistance.value_or(0) / 1000;
    const double air = v.air_resistance.value_or(0);
    if (is_traction(v)) {
        const double kg = v.mass * 1000;
        const double powered = v.mass_traction.value_or(v.mass) * 1000;
        Davis d = air_term(air, kg, kHeadWind);
        d.a += (base * powered + rolling * (kg - powered)) * kGravity;
        return d;
    }
    const double kg = (v.mass + v.load_limit) * 1000;
    if (!passenger_train) {
        Davis d = air_term(air, kg, 0);
        d.a += base * kg * kGravity;
        return d;
    }
    Davis d = air_term(air, kg, kHeadWind);
    d.a += base * kg * kGravity;
    d.b += rolling * kg * kGravity / kHundredKmh;
    return d;
}

// One unit's curve in SI units; the adhesion of its powered axles when it gives none.
std::vector<ForcePoint> unit_effort(const Vehicle& v) {
    std::vector<ForcePoint> points;
    for (const TractiveEffortPoint& p : v.tractive_effort) {
        points.push_back({p.kmh * kKmh, p.newtons});
    }
    if (points.empty()) {
        points.push_back({0, kAdhesion * v.mass_traction.value_or(v.mass) * 1000 * kGravity});
    }
    return points;
}

double force_at(const std::vector<ForcePoint>& curve, double speed) {
    if (speed <= curve.front().speed) return curve.front().force;
    if (speed >= curve.back().speed) return curve.back().force;
    const auto hi = std::upper_bound(curve.begin(), curve.end(), speed,
                                     [](double s, const ForcePoint& p) { return s < p.speed; });
    const auto lo = hi - 1;
    return lo->force + (hi->force - lo->force) * (speed - lo->speed) / (hi->speed - lo->speed);
}

}  // namespace

TrainDynamics train_dynamics(const RollingStock& stock, const TrainFormation& train,
                             std::string_view file_name) {
    std::vector<const Vehicle*> vehicles;
    for (const std::string& id : train.formation) {
        for (const Vehicle& v : stock.vehicles) {
            if (v.id == id) vehicles.push_back(&v);
        }
    }
    TrainDynamics t;
    t.id = train.id;
    t.name = train.name;
    t.passenger = std::any_of(vehicles.begin(), vehicles.end(), [](const Vehicle* v) {
        return v->vehicle_type == VehicleType::kPassenger ||
               v->vehicle_type == VehicleType::kMultipleUnit;
    });

    double empty_kg = 0;
    double rotating_kg = 0;
    double speed_limit_kmh = kNoSpeedLimitKmh;
    double braking = 0;
    std::vector<std::vector<ForcePoint>> curves;
    for (const Vehicle* v : vehicles) {
        t.length += v->length;
        t.mass += (v->mass + v->load_limit) * 1000;
        empty_kg += v->mass * 1000;
        const double xi = is_traction(*v) ? kTractionUnitRotation : kCarRotation;
        rotating_kg += v->rotation_mass.value_or(xi) * v->mass * 1000;
        if (v->speed_limit) speed_limit_kmh = std::min(speed_limit_kmh, *v->speed_limit);
        const Davis d = vehicle_resistance(*v, t.passenger);
        t.davis_a += d.a;
        t.davis_b += d.b;
        t.davis_c += d.c;
        if (!is_traction(*v)) continue;
        curves.push_back(unit_effort(*v));
        if (v->a_braking && (braking == 0 || -*v->a_braking < braking)) braking = -*v->a_braking;
    }
    if (curves.empty()) {
        throw RollingStockError(std::string(file_name) + ":" + std::to_string(train.line) +
                                ": `formation`: train \"" + train.id +
                                "\" has no traction unit or multiple unit");
    }
    t.rotation_mass = rotating_kg / empty_kg;
    t.speed_limit = speed_limit_kmh * kKmh;
    t.braking = braking > 0 ? braking : t.passenger ? kPassengerBraking : kFreightBraking;

    // The units' curves added at every speed where one of them bends.
    std::map<double, double> speeds;
    for (const auto& curve : curves) {
        for (const ForcePoint& p : curve) speeds[p.speed] = 0;
    }
    for (auto& [speed, force] : speeds) {
        for (const auto& curve : curves) force += force_at(curve, speed);
    }
    for (const auto& [speed, force] : speeds) t.tractive_effort.push_back({speed, force});
    return t;
}

double tractive_effort(const TrainDynamics& train, double speed) {
    return force_at(train.tractive_effort, speed);
}

}  // namespace railscen::dynamics
