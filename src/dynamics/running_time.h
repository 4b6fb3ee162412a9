#pragma once

// The fastest run of a train, as a mass point, along a route: it pulls with its full tractive
// effort up to the speed limit, holds the limit, and brakes with its constant deceleration at
// the last moment before every lower limit and every stop (Brünger and Dahlhaus, Running Time
// Estimation, in Hansen and Pachl, Railway Timetabling & Operations, 2014).
//
// The route is cut at every change of limit, gradient or curve and at every stop, and the
// pieces into steps of at most max_step metres. Backwards from the end, the braking envelope
// holds at every cut the highest speed from which the train can still keep every lower limit
// and stop ahead. Forwards from the start, each step takes the square of the speed as a
// straight line in the distance (exact under a constant force), with the slope of the
// acceleration at the step's middle speed, and the lowest of that line, the limit and the
// braking envelope gives the run; the corners where one gives way to the other are found
// exactly, so the times of the hand-worked cases hold whatever the step.

#include <stdexcept>
#include <vector>

#include "dynamics/train_dynamics.h"

namespace railscen::dynamics {

// Stretches hold from `from` up to `to`, positions in metres along the line.
struct LimitStretch {
    double from = 0;
    double to = 0;
    double kmh = 0;  // none known when 0: the train's own limit holds
};

struct GradientStretch {
    double from = 0;
    double to = 0;
    double per_mille = 0;  // rising in the direction of travel when positive
};

struct CurveStretch {
    double from = 0;
    double to = 0;
    double radius = 0;  // m; 0 for straight track
};

struct StopPoint {
    double position = 0;  // m, where the train's front comes to a stand
    double dwell = 0;     // s
};

struct RouteProfile {
    double start = 0;                  // the train stands here at time 0
    double end = 0;                    // and stops here
    std::vector<LimitStretch> limits;  // the lowest one holds where they overlap
    std::vector<GradientStretch> gradients;
    std::vector<CurveStretch> curves;
    std::vector<StopPoint> stops;  // those strictly between start and end count
};

// Röckl's curve resistance for standard gauge in per mille of the weight:
// 650 / (r - 55) for r >= 300 m, 500 / (r - 30) below; 0 for straight track.
double curve_resistance(double radius);

// Where the train's front is at a time, and its speed there.
struct RunPoint {
    double position = 0;  // m
    double speed = 0;     // m/s
    double time = 0;      // s from the start
};

struct StopTime {
    double position = 0;
    double arrival = 0;    // s from the start
    double departure = 0;  // arrival plus dwell; arrival at the end
};

struct FastestRun {
    // The corners of the run; between two of them the square of the speed is a straight line
    // in the distance. A stop with a dwell holds two points at its position.
    std::vector<RunPoint> points;
    std::vector<StopTime> stops;  // every stop counted, then the end
    double running_time = 0;      // s, from the start to the stand at the end
};

// The train cannot go on: its tractive effort does not overcome the gradient from a stand, or
// its speed falls to nothing on the way. what() names the position.
struct RunError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

FastestRun fastest_run(const TrainDynamics& train, const RouteProfile& route, double max_step = 10);

// The run where the front passes position (clamped to the route); at a stop, its arrival.
RunPoint run_at(const FastestRun& run, double position);

}  // namespace railscen::dynamics
