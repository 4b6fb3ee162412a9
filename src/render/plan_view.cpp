// The upper part of the route sheet: the track in plan, north up, scaled to the stretch's own
// extent, with stations, signals, boards, mountain stretches, slowdowns and the error's place.

#include <algorithm>
#include <cmath>
#include <set>

#include "analysis/units_text.h"
#include "model/text_encoding.h"
#include "render/label_packer.h"
#include "render/route_sheet.h"
#include "render/sheet_style.h"

namespace railscen::render {
namespace {

constexpr double kMargin = 40;
constexpr double kTitleHeight = 34;
constexpr double kMinHeight = 140;
constexpr double kMaxHeight = 600;
constexpr int kMaxTrackPoints = 6000;

bool has_point(const Plan& plan, std::int64_t row) {
    return row >= 0 && row <= plan.last_row() && type_code(plan.x(row)) != TypeCode::kEmpty &&
           type_code(plan.y(row)) != TypeCode::kEmpty;
}

// Plan metres to drawing pixels over rows first to last: scaled to fit the width (or the
// tallest height), centred, north (+y) up.
class PlanMap {
  public:
    PlanMap(const Plan& plan, std::int64_t first, std::int64_t last, double left, double top,
            double width)
        : plan_(plan), first_(first), last_(last) {
        double min_x = numeric(plan.x(first)), max_x = min_x;
        double min_y = numeric(plan.y(first)), max_y = min_y;
        for (std::int64_t r = first; r <= last; ++r) {
            const double x = numeric(plan.x(r));
            const double y = numeric(plan.y(r));
            min_x = std::min(min_x, x), max_x = std::max(max_x, x);
            min_y = std::min(min_y, y), max_y = std::max(max_y, y);
        }
        const double span_x = std::max(max_x - min_x, 1.0);
        const double span_y = std::max(max_y - min_y, 1.0);
        scale_ = std::min(width / span_x, kMaxHeight / span_y);
        height_ = std::max(span_y * scale_, kMinHeight);
        left_ = left + (width - span_x * scale_) / 2 - min_x * scale_;
        top_ = top + (height_ - span_y * scale_) / 2 + max_y * scale_;
    }
    Point at(std::int64_t row) const {
        return {left_ + numeric(plan_.x(row)) * scale_, top_ - numeric(plan_.y(row)) * scale_};
    }
    double pixels_per_metre() const { return scale_; }
    double height() const { return height_; }
    std::int64_t first() const { return first_; }
    std::int64_t last() const { return last_; }
    bool holds(std::int64_t row) const { return row >= first_ && row <= last_; }

  private:
    const Plan& plan_;
    std::int64_t first_;
    std::int64_t last_;
    double scale_ = 1;
    double height_ = kMinHeight;
    double left_ = 0;
    double top_ = 0;
};

// Points of the plan from one row to another, thinned so that the whole view needs at most
// kMaxTrackPoints.
std::vector<Point> stretch(const PlanMap& map, std::int64_t from, std::int64_t to) {
    std::vector<Point> points;
    const std::int64_t step =
        std::max<std::int64_t>(1, (map.last() - map.first()) / kMaxTrackPoints);
    for (std::int64_t r = from; r < to; r += step) points.push_back(map.at(r));
    points.push_back(map.at(to));
    return points;
}

// A round length (1, 2 or 5 times a power of ten) no longer than limit.
double round_down(double limit) {
    const double power = std::pow(10.0, std::floor(std::log10(limit)));
    for (const double f : {5.0, 2.0}) {
        if (f * power <= limit) return f * power;
    }
    return power;
}

void draw_scale_bar(SvgDocument& svg, const PlanMap& map, Point at, double max_width,
                    BoxPacker& labels) {
    const double metres = round_down(max_width / map.pixels_per_metre());
    const double width = metres * map.pixels_per_metre();
    const std::string label =
        metres >= 1000 ? svg_number(metres / 1000) + " km" : svg_number(metres) + " m";
    svg.rect(at, width, 6, "fill=\"#222222\"");
    svg.rect({at.x + width / 2, at.y}, width / 2, 6, "fill=\"#ffffff\" stroke=\"#222222\"");
    svg.text({at.x, at.y + 22}, "0", "font-size=\"12\"");
    svg.text({at.x + width, at.y + 22}, label, "font-size=\"12\" text-anchor=\"middle\"");
    const double w = text_width(label, 12);
    labels.reserve({at.x - 2, at.y - 2, at.x + width + w / 2 + 2, at.y + 26});
}

void draw_north_arrow(SvgDocument& svg, Point tip, BoxPacker& labels) {
    svg.path("M " + svg_number(tip.x) + " " + svg_number(tip.y) + " l -8 22 l 8 -6 l 8 6 z",
             "fill=\"#222222\"");
    svg.text({tip.x, tip.y + 38}, "N",
             "font-size=\"14\" font-weight=\"bold\" text-anchor=\"middle\"");
    labels.reserve({tip.x - 12, tip.y - 2, tip.x + 12, tip.y + 42});
}

// A label beside a point, at the first free place of four; false when none is free.
bool place_label(SvgDocument& svg, BoxPacker& labels, Point p, const std::string& text, double size,
                 const std::string& style, double right_edge) {
    const double w = text_width(text, size);
    const double offsets[][2] = {{8, -6}, {8, 6 + size}, {-8 - w, -6}, {-8 - w, 6 + size}};
    for (const auto& o : offsets) {
        const double x = p.x + o[0];
        const double baseline = p.y + o[1];
        const Box box{x, baseline - size, x + w, baseline + size * 0.3};
        if (box.left < 2 || box.right > right_edge - 2) continue;
        if (!labels.place(box)) continue;
        svg.text({x, baseline}, text, "font-size=\"" + svg_number(size) + "\" " + style);
        return true;
    }
    return false;
}

}  // namespace

double draw_plan_view(SvgDocument& svg, const Scene& scene, const SheetFacts& facts,
                      SheetRange range, double top, double width) {
    std::string line = terminal_text(scene.slots[kLineSlot].text);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    const std::string title = line + " \u2014 " + terminal_text(scene.slots[kTrainSlot].text) +
                              ": plan view, " + metres_range_text(range.from, range.to);
    svg.text({kMargin, top + 24}, title, "font-size=\"18\" font-weight=\"bold\"");
    BoxPacker labels(3);
    labels.reserve({kMargin, top + 4, kMargin + text_width(title, 18) * 1.15, top + 30});

    const Plan* plan = scene.plan ? &*scene.plan : nullptr;
    std::int64_t last = -1;
    if (plan != nullptr) {
        // The rows that hold points: a plan stops where its loading stopped.
        last = std::min<std::int64_t>(plan->last_row(), range.to);
        while (last >= range.from && !has_point(*plan, last)) --last;
        for (std::int64_t r = range.from; r <= last; ++r) {
            if (!has_point(*plan, r)) {
                last = r - 1;
                break;
            }
        }
    }
    if (last < range.from + 1) {
        const char* why =
            plan == nullptr ? "no plan: compiled without a plan" : "no plan points in this stretch";
        svg.text({width / 2, top + kTitleHeight + 40}, why,
                 "font-size=\"16\" text-anchor=\"middle\" fill=\"#555555\"");
        return kTitleHeight + 70;
    }
    const double area_top = top + kTitleHeight + 10;
    const PlanMap map(*plan, range.from, last, kMargin, area_top, width - 2 * kMargin);
    draw_north_arrow(svg, {width - kMargin - 10, area_top}, labels);
    const double footer = area_top + map.height() + 12;
    draw_scale_bar(svg, map, {kMargin, footer}, width / 4, labels);

    const std::int64_t route_end = std::min(route_length(scene), last);
    // Stretches under the track: mountains and slowdowns.
    for (const SheetObject& o : facts.objects) {
        if (o.lane != Lane::kMountains && !(o.lane == Lane::kSlowdowns && o.to > o.from)) continue;
        const std::int64_t from = std::max(o.from, map.first());
        const std::int64_t to = std::min(o.to, last);
        if (to <= from) continue;
        const bool mountain = o.lane == Lane::kMountains;
        svg.polyline(stretch(map, from, to),
                     std::string("class=\"") + (mountain ? "plan-mountain" : "plan-slowdown") +
                         "\" fill=\"none\" stroke=\"" + style_of(o.kind).colour +
                         "\" stroke-opacity=\"0.45\" stroke-width=\"" + (mountain ? "10" : "7") +
                         "\" stroke-linecap=\"butt\"",
                     {}, o.title);
    }
    // Point objects, one per pixel and kind, under the track as signs stand beside it.
    std::set<std::tuple<std::string_view, long, long>> drawn;
    for (const SheetObject& o : facts.objects) {
        const std::string_view kind = style_of(o.kind).element_class;
        if (kind != "signal" && kind != "speed-board" && kind != "sign-board") continue;
        if (!map.holds(o.from)) continue;
        const Point p = map.at(o.from);
        if (!drawn.emplace(kind, std::lround(p.x), std::lround(p.y)).second) continue;
        const std::string cls =
            "class=\"plan-" + std::string(kind) + "\" fill=\"" + style_of(o.kind).colour + "\"";
        if (kind == "signal") svg.circle(p, 3, cls, o.title);
        if (kind == "speed-board") {
            svg.path("M " + svg_number(p.x - 3) + " " + svg_number(p.y - 3) + " h 6 v 6 h -6 z",
                     cls + " stroke=\"#7a4a00\"", o.title);
        }
        if (kind == "sign-board") {
            svg.path("M " + svg_number(p.x) + " " + svg_number(p.y - 5) + " l 5 5 l -5 5 l -5 -5 z",
                     cls, o.title);
        }
    }
    if (route_end < last) {
        svg.polyline(stretch(map, std::max(route_end, map.first()), last),
                     "fill=\"none\" stroke=\"#9aa5b8\" stroke-width=\"2\" stroke-dasharray=\"6 4\"",
                     "track-beyond", "run-out past the route's end");
    }
    if (route_end > map.first()) {
        svg.polyline(
            stretch(map, map.first(), route_end),
            "fill=\"none\" stroke=\"#1b3a8c\" stroke-width=\"3\" stroke-linejoin=\"round\"",
            "track", "the track, " + metres_range_text(map.first(), route_end));
    }
    // The error's place first, so that its label has the first choice.
    const LoadState& load = facts.load;
    if (load.mark && map.holds(*load.mark)) {
        const Point p = map.at(*load.mark);
        svg.begin_group("plan-error-mark", "error " + std::to_string(load.code_number) + " at " +
                                               metres_range_text(*load.mark, *load.mark));
        svg.circle(p, 12, "fill=\"none\" stroke=\"#e00000\" stroke-width=\"3\"");
        place_label(svg, labels, {p.x + 8, p.y}, "error " + std::to_string(load.code_number), 13,
                    "font-weight=\"bold\" fill=\"#e00000\"", width);
        svg.end_group();
    }
    for (const SheetObject& o : facts.objects) {
        if (o.lane != Lane::kStations || !map.holds(o.from)) continue;
        const Point p = map.at(o.from);
        svg.begin_group("plan-station", o.title);
        svg.circle(p, 5, "fill=\"#ffffff\" stroke=\"#000000\" stroke-width=\"1.5\"");
        place_label(svg, labels, p, o.label, 11, "", width);
        svg.end_group();
    }
    return footer + 30 - top;
}

}  // namespace railscen::render
