// The fastest run on cases worked by hand: a train of 100 t with a constant tractive effort and
// no running resistance unless a case gives one, so that every phase has a constant
// acceleration and the textbook formulas s = a t^2 / 2, v^2 = 2 a s hold exactly.

#include "dynamics/running_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace railscen::dynamics {
namespace {

constexpr double kTolerance = 1e-6;

// 100 t pulled with force newtons at every speed; rotation_mass 1.25 unless told.
TrainDynamics constant_force_train(double newtons, double rotation_mass = 1.25) {
    TrainDynamics t;
    t.mass = 100'000;
    t.rotation_mass = rotation_mass;
    t.speed_limit = 300 / 3.6;
    t.braking = 1.0;
    t.tractive_effort = {{0, newtons}, {50, newtons}, {100, newtons}};
    return t;
}

RouteProfile route(double end, std::vector<LimitStretch> limits = {},
                   std::vector<GradientStretch> gradients = {}, std::vector<StopPoint> stops = {},
                   std::vector<CurveStretch> curves = {}) {
    RouteProfile r;
    r.end = end;
    r.limits = std::move(limits);
    r.gradients = std::move(gradients);
    r.stops = std::move(stops);
    r.curves = std::move(curves);
    return r;
}

struct Sample {
    double position;
    double speed;  // m/s
    double time;   // s
};

void expect_samples(const FastestRun& run, const std::vector<Sample>& samples) {
    for (const Sample& s : samples) {
        const RunPoint p = run_at(run, s.position);
        EXPECT_NEAR(p.speed, s.speed, kTolerance) << "at " << s.position << " m";
        EXPECT_NEAR(p.time, s.time, kTolerance) << "at " << s.position << " m";
    }
}

// F = 100 kN on m (1 + 0.25) = 125 t: a = 0.8 m/s^2, t = sqrt(2 s / a), v = a t. The braking
// for the end at 10 km starts at 10,000 - v^2 / 2 far beyond 1,000 m.
TEST(FastestRun, ConstantForceOnTheLevelGivesTheTextbookDistanceAndTime) {
    const TrainDynamics train = constant_force_train(100'000);
    const RouteProfile profile = route(10'000);
    for (const double step : {1.0, 10.0, 37.0, 500.0}) {
        SCOPED_TRACE(step);
        expect_samples(fastest_run(train, profile, step),
                       {{0, 0, 0}, {10, 4, 5}, {250, 20, 25}, {1000, 40, 50}});
    }
}

// At 72 km/h (20 m/s) with 0.5 m/s^2 the train stops in v^2 / 2a = 400 m and 40 s, at
// sqrt(2 a d) m/s with d metres to go.
TEST(FastestRun, BrakingFromTheLimitToAStandTakesTheTextbookDistance) {
    TrainDynamics train = constant_force_train(400'000);
    train.braking = 0.5;
    const FastestRun run = fastest_run(train, route(5000, {{0, 5000, 72}}));
    const double braking_start = run_at(run, 4600).time;
    expect_samples(run, {{4500, 20, braking_start - 5},
                         {4600, 20, braking_start},
                         {4900, 10, braking_start + 20},
                         {5000, 0, braking_start + 40}});
    EXPECT_NEAR(run.running_time, braking_start + 40, kTolerance);
}

// 100 kN on 100 t with no rotating mass: 1 m/s^2 on the level, 40 m/s after 800 m. A rise of
// F / (m g) = 101.97 per mille then takes the whole effort: the speed holds at 40 m/s until the
// braking for the end, 40^2 / 2 = 800 m before it, and 1,000 m take 25 s.
TEST(FastestRun, AGradientThatTakesTheWholeEffortHoldsTheSpeed) {
    const TrainDynamics train = constant_force_train(100'000, 1.0);
    const double rise = 100'000 / (100'000 * kGravity) * 1000;
    const FastestRun run = fastest_run(train, route(4000, {}, {{800, 4000, rise}}));
    const double at_1000 = run_at(run, 1000).time;
    expect_samples(
        run,
        {{800, 40, 40}, {1000, 40, at_1000}, {2000, 40, at_1000 + 25}, {3200, 40, at_1000 + 55}});
}

// 100 km/h until 3,000 m, then 40 km/h. With 0.5 m/s^2 the braking takes
// ((100/3.6)^2 - (40/3.6)^2) / (2 * 0.5) = 648.15 m: it starts at 2,351.85 m and the train
// passes 3,000 m at exactly 40 km/h.
TEST(FastestRun, ALimitDropIsMetExactlyAtItsStart) {
    TrainDynamics train = constant_force_train(400'000);
    train.braking = 0.5;
    const double high = 100 / 3.6;
    const double low = 40 / 3.6;
    const double braking_start = 3000 - (high * high - low * low);
    const RouteProfile profile = route(6000, {{0, 3000, 100}, {3000, 6000, 40}});
    for (const double step : {1.0, 10.0, 333.0}) {
        SCOPED_TRACE(step);
        const FastestRun run = fastest_run(train, profile, step);
        const double t0 = run_at(run, braking_start).time;
        expect_samples(run, {{braking_start - 100, high, t0 - 100 / high},
                             {braking_start, high, t0},
                             {3000, low, t0 + (high - low) / 0.5},
                             {3500, low, t0 + (high - low) / 0.5 + 500 / low}});
    }
}

// a = 1 m/s^2 both ways and no limit reached: 2,000 m to the stop are 1,000 m of pulling and
// 1,000 m of braking, sqrt(2 * 1000) s each, so the train arrives at 2 sqrt(2000) = 89.443 s,
// leaves 30 s later and runs the same again to the end.
TEST(FastestRun, AStopIsReachedAtTheHandWorkedTimeAndHeldForItsDwell) {
    const TrainDynamics train = constant_force_train(125'000);
    const RouteProfile profile = route(4000, {}, {}, {{2000, 30}});
    const double leg = 2 * std::sqrt(2000.0);
    for (const double step : {1.0, 10.0, 250.0}) {
        SCOPED_TRACE(step);
        const FastestRun run = fastest_run(train, profile, step);
        ASSERT_EQ(run.stops.size(), 2u);
        EXPECT_NEAR(run.stops[0].position, 2000, kTolerance);
        EXPECT_NEAR(run.stops[0].arrival, leg, kTolerance);
        EXPECT_NEAR(run.stops[0].departure, leg + 30, kTolerance);
        EXPECT_NEAR(run.stops[1].arrival, 2 * leg + 30, kTolerance);
        EXPECT_NEAR(run.running_time, 2 * leg + 30, kTolerance);
        expect_samples(run, {{1000, std::sqrt(2000.0), leg / 2},
                             {2000, 0, leg},
                             {3000, std::sqrt(2000.0), 1.5 * leg + 30}});
    }
}

// Davis resistance 10 kN + 40 v^2 against 50 kN: the train never passes its balancing speed
// sqrt(40000 / 40) = 31.62 m/s, and after 20 km it runs within a hair of it.
TEST(FastestRun, RunningResistanceHoldsTheTrainBelowItsBalancingSpeed) {
    TrainDynamics train = constant_force_train(50'000);
    train.davis_a = 10'000;
    train.davis_c = 40;
    const FastestRun run = fastest_run(train, route(40'000));
    double highest = 0;
    for (const RunPoint& p : run.points) highest = std::max(highest, p.speed);
    EXPECT_LE(highest, std::sqrt(1000.0) + kTolerance);
    EXPECT_NEAR(run_at(run, 20'000).speed, std::sqrt(1000.0), 0.01);
}

TEST(FastestRun, ATrainThatCannotClimbTheGradientIsRefused) {
    const TrainDynamics train = constant_force_train(100'000, 1.0);
    EXPECT_THROW(fastest_run(train, route(3000, {}, {{0, 3000, 120}})), RunError);
    EXPECT_THROW(fastest_run(train, route(9000, {}, {{500, 9000, 120}})), RunError);
}

// With a tractive effort that falls with speed and Davis resistance, no step gives the exact
// run; the steps of 10 m the run takes by default agree with 1 m steps to within 10 ms over a
// quarter of an hour, and even 50 m steps to within 0.1 s.
TEST(FastestRun, TheRunConvergesAsTheStepsShrink) {
    TrainDynamics train = constant_force_train(0, 1.07);
    train.mass = 314'000;
    train.speed_limit = 160 / 3.6;
    train.braking = 0.5;
    train.davis_a = 3'400;
    train.davis_b = 75;
    train.davis_c = 5.5;
    train.tractive_effort = {{0, 300'000},    {18.6, 300'000}, {22.2, 252'000},
                             {27.8, 201'600}, {33.3, 168'000}, {44.4, 126'000}};
    RouteProfile profile = route(30'000, {{0, 10'000, 160}, {10'000, 12'000, 60}},
                                 {{0, 5'000, 8}, {5'000, 20'000, -6}, {20'000, 30'000, 12}},
                                 {{18'000, 40}}, {{14'000, 15'000, 400}});
    const double fine = fastest_run(train, profile, 1).running_time;
    EXPECT_NEAR(fastest_run(train, profile, 10).running_time, fine, 0.01);
    EXPECT_NEAR(fastest_run(train, profile, 50).running_time, fine, 0.1);
}

// Röckl, standard gauge: 650 / (r - 55) per mille from 300 m, 500 / (r - 30) below.
TEST(CurveResistance, FollowsRoecklsFormula) {
    const struct {
        double radius;
        double per_mille;
    } cases[] = {{0, 0}, {1055, 0.65}, {300, 650.0 / 245}, {280, 2.0}, {130, 5.0}};
    for (const auto& c : cases) {
        EXPECT_NEAR(curve_resistance(c.radius), c.per_mille, 1e-12) << c.radius << " m";
    }
}

// A curve of 300 m radius is 2.653 per mille: on 100 t, 2,602 N of the effort.
TEST(FastestRun, ACurveSlowsTheTrainAsItsResistanceSays) {
    const TrainDynamics train = constant_force_train(100'000, 1.0);
    const double curve_force = 650.0 / 245 / 1000 * 100'000 * kGravity;
    const double a = (100'000 - curve_force) / 100'000;
    const RouteProfile profile = route(10'000, {}, {}, {}, {{0, 10'000, 300}});
    expect_samples(fastest_run(train, profile),
                   {{1000, std::sqrt(2 * a * 1000), std::sqrt(2 * 1000 / a)}});
}

}  // namespace
}  // namespace railscen::dynamics
