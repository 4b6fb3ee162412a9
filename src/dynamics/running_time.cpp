#include "dynamics/running_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace railscen::dynamics {
namespace {

constexpr double kKmh = 1 / 3.6;

// The route cut into steps: node i lies at x[i]; step i runs from node i to node i + 1 under
// one limit and one path resistance.
struct Steps {
    std::vector<double> x;
    std::vector<double> cap2;        // per step: the limit's speed squared
    std::vector<double> path_force;  // per step: gradient and curve resistance, N
    std::vector<double> dwell;       // per node: < 0 where the train does not stop
};

std::string metres(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f m", x);
    return text;
}

template <typename Stretch>
void cut_at(std::vector<double>& cuts, const std::vector<Stretch>& stretches) {
    for (const Stretch& s : stretches) {
        cuts.push_back(s.from);
        cuts.push_back(s.to);
    }
}

// The steps [first, last) that a stretch covers; its ends are nodes.
template <typename Stretch>
std::pair<std::size_t, std::size_t> covered(const Steps& steps, const Stretch& s) {
    const auto node = [&](double p) {
        return static_cast<std::size_t>(std::lower_bound(steps.x.begin(), steps.x.end(), p) -
                                        steps.x.begin());
    };
    const std::size_t last = std::min(node(s.to), steps.x.size() - 1);
    return {std::min(node(s.from), last), last};
}

Steps route_steps(const TrainDynamics& train, const RouteProfile& route, double max_step) {
    std::vector<double> cuts{route.start, route.end};
    cut_at(cuts, route.limits);
    cut_at(cuts, route.gradients);
    cut_at(cuts, route.curves);
    for (const StopPoint& s : route.stops) cuts.push_back(s.position);
    std::erase_if(cuts, [&](double p) { return p < route.start || p > route.end; });
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    Steps steps;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double length = cuts[i + 1] - cuts[i];
        const auto n = static_cast<std::size_t>(std::max(1.0, std::ceil(length / max_step)));
        for (std::size_t k = 0; k < n; ++k) steps.x.push_back(cuts[i] + length * k / n);
    }
    steps.x.push_back(cuts.back());
    const std::size_t count = steps.x.size() - 1;

    steps.cap2.assign(count, train.speed_limit * train.speed_limit);
    for (const LimitStretch& s : route.limits) {
        if (s.kmh <= 0) continue;
        const double v = s.kmh * kKmh;
        const auto [first, last] = covered(steps, s);
        for (std::size_t i = first; i < last; ++i) steps.cap2[i] = std::min(steps.cap2[i], v * v);
    }
    std::vector<double> per_mille(count, 0);
    for (const GradientStretch& s : route.gradients) {
        const auto [first, last] = covered(steps, s);
        for (std::size_t i = first; i < last; ++i) per_mille[i] += s.per_mille;
    }
    for (const CurveStretch& s : route.curves) {
        const auto [first, last] = covered(steps, s);
        for (std::size_t i = first; i < last; ++i) per_mille[i] += curve_resistance(s.radius);
    }
    steps.path_force.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        steps.path_force[i] = per_mille[i] / 1000 * train.mass * kGravity;
    }

    steps.dwell.assign(steps.x.size(), -1);
    for (const StopPoint& s : route.stops) {
        if (s.position <= route.start || s.position >= route.end) continue;
        const auto at = std::lower_bound(steps.x.begin(), steps.x.end(), s.position);
        steps.dwell[at - steps.x.begin()] = std::max(0.0, s.dwell);
    }
    steps.dwell.back() = 0;
    return steps;
}

// Backwards from the end: the highest speed squared at each node from which the train can keep
// every limit and stop ahead with its braking deceleration.
std::vector<double> braking_envelope(const Steps& steps, double braking) {
    const std::size_t n = steps.x.size();
    std::vector<double> e(n);
    e[n - 1] = 0;
    for (std::size_t i = n - 1; i-- > 0;) {
        double cap = steps.cap2[i];
        if (i > 0) cap = std::min(cap, steps.cap2[i - 1]);
        const double braked = e[i + 1] + 2 * braking * (steps.x[i + 1] - steps.x[i]);
        e[i] = steps.dwell[i] >= 0 ? 0 : std::min(cap, braked);
    }
    return e;
}

double acceleration(const TrainDynamics& train, double path_force, double v2) {
    const double v = std::sqrt(std::max(0.0, v2));
    return (tractive_effort(train, v) - running_resistance(train, v) - path_force) /
           (train.mass * train.rotation_mass);
}

// One step from x0 (speed squared u0) to x1: the lowest of the pulling line
// u0 + k (x - x0), the limit cap2 and the braking line e1 + 2 b (x1 - x), cut at the corners
// where they cross. Appends the corners after x0, with their times.
void run_step(const TrainDynamics& train, const Steps& steps, std::size_t i, double e1,
              std::vector<RunPoint>& points) {
    const double x0 = steps.x[i];
    const double x1 = steps.x[i + 1];
    const double length = x1 - x0;
    const double cap2 = steps.cap2[i];
    const double b2 = 2 * train.braking;
    const RunPoint start = points.back();
    const double u0 = start.speed * start.speed;

    const double k0 = 2 * acceleration(train, steps.path_force[i], u0);
    const double middle = std::clamp(u0 + k0 * length / 2, 0.0, cap2);
    const double k = 2 * acceleration(train, steps.path_force[i], middle);
    if (u0 <= 0 && k <= 0) {
        throw RunError("the train cannot start at " + metres(x0) +
                       ": its tractive effort does not overcome the resistance there");
    }

    const auto pull = [&](double x) { return u0 + k * (x - x0); };
    const auto brake = [&](double x) { return e1 + b2 * (x1 - x); };
    const auto speed2 = [&](double x) { return std::min({pull(x), cap2, brake(x)}); };

    // At most four corners, kept in order as they are found.
    double corners[5];
    int count = 0;
    const auto corner = [&](double x) {
        if (!(x > x0 && x < x1)) return;
        int at = count++;
        for (; at > 0 && corners[at - 1] > x; --at) corners[at] = corners[at - 1];
        corners[at] = x;
    };
    if (k != 0) corner(x0 + (cap2 - u0) / k);  // the pull reaches the limit
    if (k != 0) corner(x0 - u0 / k);           // or falls to a stand
    corner(x1 - (cap2 - e1) / b2);             // braking starts from the limit
    if (k + b2 != 0) corner(x0 + (e1 + b2 * length - u0) / (k + b2));  // or from the pull
    corners[count++] = x1;

    RunPoint last = start;
    for (int c = 0; c < count; ++c) {
        const double x = corners[c];
        if (x <= last.position) continue;
        const double u = speed2(x);
        const double v = std::sqrt(std::max(0.0, u));
        if (v + last.speed <= 0 || (v <= 0 && x < x1)) {
            throw RunError("the train comes to a stand at " + metres(x) +
                           ": its tractive effort does not overcome the gradient");
        }
        last = {x, v, last.time + 2 * (x - last.position) / (v + last.speed)};
        points.push_back(last);
    }
}

}  // namespace

double curve_resistance(double radius) {
    if (radius <= 0) return 0;
    if (radius >= 300) return 650 / (radius - 55);
    return radius > 30 ? 500 / (radius - 30) : 500;
}

FastestRun fastest_run(const TrainDynamics& train, const RouteProfile& route, double max_step) {
    FastestRun run;
    run.points.push_back({route.start, 0, 0});
    if (route.end <= route.start) return run;
    const Steps steps = route_steps(train, route, max_step);
    const std::vector<double> envelope = braking_envelope(steps, train.braking);
    run.points.reserve(steps.x.size() * 2);
    for (std::size_t i = 0; i + 1 < steps.x.size(); ++i) {
        run_step(train, steps, i, envelope[i + 1], run.points);
        const double dwell = steps.dwell[i + 1];
        if (dwell < 0) continue;
        RunPoint stand = run.points.back();
        stand.speed = 0;
        run.points.back().speed = 0;
        run.stops.push_back({stand.position, stand.time, stand.time + dwell});
        if (dwell > 0 && i + 2 < steps.x.size()) {
            stand.time += dwell;
            run.points.push_back(stand);
        }
    }
    run.running_time = run.points.back().time;
    return run;
}

RunPoint run_at(const FastestRun& run, double position) {
    const auto& p = run.points;
    const auto at =
        std::lower_bound(p.begin(), p.end(), position,
                         [](const RunPoint& point, double x) { return point.position < x; });
    if (at == p.begin()) return p.front();
    if (at == p.end()) return p.back();
    if (at->position == position) return *at;
    const RunPoint& a = *(at - 1);
    const RunPoint& b = *at;
    const double share = (position - a.position) / (b.position - a.position);
    const double u = a.speed * a.speed + (b.speed * b.speed - a.speed * a.speed) * share;
    const double v = std::sqrt(std::max(0.0, u));
    const double time =
        v + a.speed > 0 ? a.time + 2 * (position - a.position) / (v + a.speed) : a.time;
    return {position, v, time};
}

}  // namespace railscen::dynamics
