#pragma once

// A train of the rolling-stock file made into the mass point that running-time calculation
// uses: one mass, one rotating-mass factor, the tractive effort of its traction units, its
// running resistance in the Davis form and a constant braking deceleration. The rules are
// those of the rolling-stock format's own reader, from the textbook of train dynamics
// (Wende, Fahrdynamik des Schienenverkehrs, 2003):
// - the mass is every vehicle's mass plus its load limit (the train runs fully loaded);
// - the rotating-mass factor is the vehicles' factors weighted by their empty masses, 1.09 for
//   a traction unit and 1.06 for a car where the file gives none (Wende p. 13);
// - a traction unit's resistance is base_resistance on the mass of its powered axles,
//   rolling_resistance on the rest of its empty mass, and air_resistance on its empty mass at
//   ((v + 15 km/h) / 100 km/h)^2, the 15 km/h standing for head wind (Wende p. 151); its load
//   counts in the train's mass, not in its resistance;
// - the cars' resistance is Sauthoff's in a passenger train,
//   m g (base + rolling v/100 + air ((v + 15)/100)^2) per mille with v in km/h, and Strahl's in
//   a freight train, m g (base + air (v/100)^2) per mille (Wende p. 153), on their loaded mass,
//   each car's own coefficients on its own mass;
// - the tractive effort is the traction units' curves added, each a straight line between its
//   points and held at the first and last point's force outside them; a unit without a curve
//   pulls with the adhesion of its powered axles, 0.2 m_traction g;
// - the braking deceleration is the weakest that a traction unit gives, else 0.375 m/s^2 for a
//   passenger train and 0.225 m/s^2 for a freight train (Brünger and Dahlhaus, Running Time
//   Estimation, 2014, p. 74);
// - the speed limit is the lowest of the vehicles', else 504 km/h.
// A train is a passenger train when a vehicle of its formation is a passenger car or a multiple
// unit.

#include <string>
#include <string_view>
#include <vector>

#include "dynamics/rolling_stock.h"

namespace railscen::dynamics {

inline constexpr double kGravity = 9.80665;  // m/s^2

// The force at the wheel rim at a speed, in SI units.
struct ForcePoint {
    double speed = 0;  // m/s
    double force = 0;  // N
};

struct TrainDynamics {
    std::string id;
    std::string name;
    bool passenger = false;
    double length = 0;         // m
    double mass = 0;           // kg, loaded
    double rotation_mass = 1;  // factor on the mass for acceleration
    double speed_limit = 0;    // m/s
    double braking = 0;        // m/s^2, the deceleration as a positive number
    // Running resistance in N at v m/s: davis_a + davis_b v + davis_c v^2.
    double davis_a = 0;
    double davis_b = 0;
    double davis_c = 0;
    std::vector<ForcePoint> tractive_effort;  // by rising speed, at least one point
};

// The train's mass point; file_name names the file in the message of a formation without a
// traction unit (RollingStockError).
TrainDynamics train_dynamics(const RollingStock& stock, const TrainFormation& train,
                             std::string_view file_name);

// The greatest tractive effort in N at speed m/s.
double tractive_effort(const TrainDynamics& train, double speed);

// The running resistance in N at speed m/s, on straight level track.
inline double running_resistance(const TrainDynamics& train, double speed) {
    return train.davis_a + (train.davis_b + train.davis_c * speed) * speed;
}

}  // namespace railscen::dynamics
