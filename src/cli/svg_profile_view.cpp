#include <algorithm>
#include <cmath>
#include <functional>

#include "cli/inspect_view.h"
#include "cli/render.h"
#include "model/text_encoding.h"

namespace railscen::cli {
namespace {

constexpr double kLeft = 80;
constexpr double kRight = 30;
constexpr double kBandGap = 22;

// One step line of a cell layer against route metres.
struct Band {
    const char* label;
    std::function<double(const TrackCell&)> value;
    double height;
};

class KmAxis {
  public:
    explicit KmAxis(std::int64_t route) : route_(std::max<std::int64_t>(route, 50)) {}
    double x(double metre) const {
        return kLeft + metre / static_cast<double>(route_) * (kCanvasWidth - kLeft - kRight);
    }
    std::int64_t route() const { return route_; }

  private:
    std::int64_t route_;
};

void draw_band(SvgDocument& svg, const RenderScene& scene, const KmAxis& axis, const Band& band,
               double top) {
    const std::size_t cells = std::min<std::size_t>(
        scene.cells.size(), static_cast<std::size_t>((axis.route() + 49) / 50));
    double low = 0;
    double high = 0;
    for (std::size_t c = 0; c < cells; ++c) {
        low = std::min(low, band.value(scene.cells[c]));
        high = std::max(high, band.value(scene.cells[c]));
    }
    const double step = nice_step(std::max(high - low, 1.0), 4);
    low = std::floor(low / step) * step;
    high = std::max(std::ceil(high / step) * step, low + step);
    auto y = [&](double v) { return top + band.height - (v - low) / (high - low) * band.height; };

    svg.rect({kLeft, top}, kCanvasWidth - kLeft - kRight, band.height,
             "fill=\"#f7f7f7\" stroke=\"#cccccc\"");
    for (double v = low; v <= high + step / 2; v += step) {
        svg.line({kLeft, y(v)}, {kCanvasWidth - kRight, y(v)},
                 v == 0 ? "stroke=\"#888888\"" : "stroke=\"#e2e2e2\"");
        svg.text({kLeft - 6, y(v) + 4}, svg_number(v), "font-size=\"11\" text-anchor=\"end\"");
    }
    svg.text({kLeft + 6, top + 14}, band.label, "font-size=\"12\" font-weight=\"bold\"");
    if (cells == 0) return;
    std::string d = "M " + svg_number(axis.x(0)) + " " + svg_number(y(band.value(scene.cells[0])));
    for (std::size_t c = 1; c < cells; ++c) {
        const double v = band.value(scene.cells[c]);
        if (v == band.value(scene.cells[c - 1])) continue;
        d += " H " + svg_number(axis.x(static_cast<double>(c) * 50)) + " V " + svg_number(y(v));
    }
    d += " H " + svg_number(axis.x(static_cast<double>(axis.route())));
    svg.path(d, "fill=\"none\" stroke=\"#1b3a8c\" stroke-width=\"1.5\"");
}

}  // namespace

void draw_profile_view(SvgDocument& svg, const RenderScene& scene, double top) {
    svg.text({kLeft, top + 24}, "Longitudinal profile", "font-size=\"18\" font-weight=\"bold\"");
    const KmAxis axis(route_length(scene));
    const Band bands[] = {
        {"line speed (km/h)", [](const TrackCell& c) { return c.speed_limit * 5.0; }, 130},
        {"gradient (per mille)", [](const TrackCell& c) { return c.gradient - 100.0; }, 130},
        {"adhesion", [](const TrackCell& c) { return static_cast<double>(c.adhesion); }, 100},
    };
    const double bands_top = top + 40;
    double y = bands_top;
    for (const Band& band : bands) {
        draw_band(svg, scene, axis, band, y);
        y += band.height + kBandGap;
    }
    const double bands_bottom = y - kBandGap;

    // Kilometre ticks under the bands.
    const double step = nice_step(static_cast<double>(axis.route()) / 1000, 12) * 1000;
    for (double m = 0; m <= static_cast<double>(axis.route()) + 1; m += step) {
        svg.line({axis.x(m), bands_bottom}, {axis.x(m), bands_bottom + 5}, "stroke=\"#222222\"");
        svg.text({axis.x(m), bands_bottom + 18}, svg_number(m / 1000),
                 "font-size=\"11\" text-anchor=\"middle\"");
    }
    svg.text({kCanvasWidth - kRight, bands_bottom + 32}, "km",
             "font-size=\"11\" text-anchor=\"end\"");

    // Stations: a dashed line through the bands, the name slanted below the axis.
    for (const std::size_t i : station_slots(scene.slots)) {
        const ScenarioSlot& s = scene.slots[i];
        if (s.position < 0 || s.position > axis.route()) continue;
        const double x = axis.x(s.position);
        svg.line({x, bands_top}, {x, bands_bottom},
                 "stroke=\"#555555\" stroke-opacity=\"0.5\" stroke-dasharray=\"3 3\"");
        svg.text({x, bands_bottom + 40}, utf8_from_1252(s.text),
                 "font-size=\"10\" transform=\"rotate(50 " + svg_number(x) + " " +
                     svg_number(bands_bottom + 40) + ")\"");
    }
    if (scene.code && scene.position && *scene.position >= 0 && *scene.position <= axis.route()) {
        const double x = axis.x(*scene.position);
        svg.line({x, bands_top - 6}, {x, bands_bottom}, "stroke=\"#e00000\" stroke-width=\"2\"");
        svg.text({x + 4, bands_top - 8}, "error " + std::to_string(*scene.code),
                 "font-size=\"12\" font-weight=\"bold\" fill=\"#e00000\"");
    }
}

}  // namespace railscen::cli
