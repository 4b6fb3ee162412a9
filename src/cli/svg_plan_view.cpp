#include <algorithm>
#include <cmath>

#include "cli/inspect_view.h"
#include "cli/render.h"
#include "model/error_codes.h"
#include "model/text_encoding.h"
#include "output/binary_decode.h"

namespace railscen::cli {
namespace {

constexpr double kMargin = 40;
constexpr double kTitleHeight = 40;
constexpr double kFooterHeight = 50;
constexpr int kMaxTrackPoints = 6000;

bool has_point(const Plan& plan, std::int64_t row) {
    return row >= 0 && row <= plan.last_row() && type_code(plan.x(row)) != TypeCode::kEmpty &&
           type_code(plan.y(row)) != TypeCode::kEmpty;
}

// Plan metres to drawing pixels: scaled to fit the area, centred, north (+y) up.
class PlanMap {
  public:
    PlanMap(const Plan& plan, std::int64_t last_row, double left, double top, double width,
            double height)
        : plan_(plan), last_row_(last_row) {
        double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
        for (std::int64_t r = 0; r <= last_row; ++r) {
            const double x = numeric(plan.x(r));
            const double y = numeric(plan.y(r));
            min_x = std::min(min_x, x), max_x = std::max(max_x, x);
            min_y = std::min(min_y, y), max_y = std::max(max_y, y);
        }
        const double span_x = std::max(max_x - min_x, 1.0);
        const double span_y = std::max(max_y - min_y, 1.0);
        scale_ = std::min(width / span_x, height / span_y);
        left_ = left + (width - span_x * scale_) / 2 - min_x * scale_;
        top_ = top + (height - span_y * scale_) / 2 + max_y * scale_;
    }
    Point at(std::int64_t row) const {
        return {left_ + numeric(plan_.x(row)) * scale_, top_ - numeric(plan_.y(row)) * scale_};
    }
    double pixels_per_metre() const { return scale_; }
    std::int64_t last_row() const { return last_row_; }

  private:
    const Plan& plan_;
    std::int64_t last_row_;
    double scale_ = 1;
    double left_ = 0;
    double top_ = 0;
};

// Points of the plan from one row to another, thinned so that the whole track needs at most
// kMaxTrackPoints.
std::vector<Point> stretch(const PlanMap& map, std::int64_t from, std::int64_t to) {
    std::vector<Point> points;
    const std::int64_t step = std::max<std::int64_t>(1, map.last_row() / kMaxTrackPoints);
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

void draw_scale_bar(SvgDocument& svg, const PlanMap& map, Point at, double max_width) {
    const double metres = round_down(max_width / map.pixels_per_metre());
    const double width = metres * map.pixels_per_metre();
    const std::string label =
        metres >= 1000 ? svg_number(metres / 1000) + " km" : svg_number(metres) + " m";
    svg.rect(at, width, 6, "fill=\"#222222\"");
    svg.rect({at.x + width / 2, at.y}, width / 2, 6, "fill=\"#ffffff\" stroke=\"#222222\"");
    svg.text({at.x, at.y + 22}, "0", "font-size=\"12\"");
    svg.text({at.x + width, at.y + 22}, label, "font-size=\"12\" text-anchor=\"middle\"");
}

void draw_north_arrow(SvgDocument& svg, Point tip) {
    svg.path("M " + svg_number(tip.x) + " " + svg_number(tip.y) + " l -8 22 l 8 -6 l 8 6 z",
             "fill=\"#222222\"");
    svg.text({tip.x, tip.y + 38}, "N",
             "font-size=\"14\" font-weight=\"bold\" text-anchor=\"middle\"");
}

void draw_objects(SvgDocument& svg, const RenderScene& scene, const PlanMap& map,
                  std::int64_t last_row) {
    const auto& cells = scene.cells;
    // Mountain stretches under the track: runs of cells with a mountain class.
    for (std::size_t i = 0; i < cells.size();) {
        if (cells[i].mountain == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end + 1 < cells.size() && cells[end + 1].mountain != 0) ++end;
        const auto from = std::min<std::int64_t>(static_cast<std::int64_t>(i) * 50, last_row);
        const auto to = std::min<std::int64_t>(static_cast<std::int64_t>(end + 1) * 50, last_row);
        if (to > from) {
            svg.polyline(stretch(map, from, to),
                         "fill=\"none\" stroke=\"#b5651d\" stroke-opacity=\"0.45\" "
                         "stroke-width=\"10\" stroke-linecap=\"butt\"");
        }
        i = end + 1;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const TrackCell& c = cells[i];
        const std::int64_t metre = object_metre(c, i);
        if (metre < 0 || metre > last_row) continue;
        const Point p = map.at(metre);
        if (c.kind == kSignal) {
            svg.circle(p, 3, "fill=\"#d62728\"", "signal at " + std::to_string(metre) + " m");
        } else if (c.kind == kSpeedBoard) {
            const BoardSpeeds b = decode_speed_board(c);
            svg.path("M " + svg_number(p.x - 3) + " " + svg_number(p.y - 3) + " h 6 v 6 h -6 z",
                     "fill=\"#ff9f1c\" stroke=\"#7a4a00\"",
                     "speed board " + std::to_string(b.left[0]) + "/" + std::to_string(b.left[1]) +
                         "/" + std::to_string(b.left[2]) + " left, " + std::to_string(b.right[0]) +
                         "/" + std::to_string(b.right[1]) + "/" + std::to_string(b.right[2]) +
                         " right");
        } else if (c.kind == kSignBoard && c.param1 >= 0 && c.param1 < kSlotCount) {
            svg.path("M " + svg_number(p.x) + " " + svg_number(p.y - 5) + " l 5 5 l -5 5 l -5 -5 z",
                     "fill=\"#7b3294\"",
                     utf8_from_1252(scene.slots[static_cast<std::size_t>(c.param1)].text));
        }
    }
}

void draw_legend(SvgDocument& svg, Point at) {
    struct Entry {
        const char* label;
        const char* swatch;
    };
    const Entry entries[] = {
        {"station", "circle"},
        {"signal", "signal"},
        {"speed board", "board"},
        {"sign board", "sign"},
        {"mountain stretch", "mountain"},
    };
    double y = at.y;
    for (const Entry& e : entries) {
        const std::string kind = e.swatch;
        const Point s{at.x + 6, y - 4};
        if (kind == "circle")
            svg.circle(s, 5, "fill=\"#ffffff\" stroke=\"#000000\" stroke-width=\"1.5\"");
        if (kind == "signal") svg.circle(s, 3, "fill=\"#d62728\"");
        if (kind == "board")
            svg.rect({s.x - 3, s.y - 3}, 6, 6, "fill=\"#ff9f1c\" stroke=\"#7a4a00\"");
        if (kind == "sign") {
            svg.path("M " + svg_number(s.x) + " " + svg_number(s.y - 5) + " l 5 5 l -5 5 l -5 -5 z",
                     "fill=\"#7b3294\"");
        }
        if (kind == "mountain") {
            svg.line({s.x - 6, s.y}, {s.x + 6, s.y},
                     "stroke=\"#b5651d\" stroke-opacity=\"0.45\" stroke-width=\"10\"");
        }
        svg.text({at.x + 20, y}, e.label, "font-size=\"12\"");
        y += 18;
    }
}

}  // namespace

void draw_plan_view(SvgDocument& svg, const RenderScene& scene, double top) {
    std::string line = utf8_from_1252(scene.slots[kLineSlot].text);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    const std::string title =
        line + " \u2014 " + utf8_from_1252(scene.slots[kTrainSlot].text) + ": plan view";
    svg.text({kMargin, top + 26}, title, "font-size=\"18\" font-weight=\"bold\"");
    const Plan* plan = scene.plan ? &*scene.plan : nullptr;
    std::int64_t last = -1;
    while (plan != nullptr && has_point(*plan, last + 1)) ++last;
    if (last < 1) {
        svg.text({kCanvasWidth / 2, top + kPlanViewHeight / 2},
                 "no plan file: compiled without a plan",
                 "font-size=\"16\" text-anchor=\"middle\" fill=\"#555555\"");
        return;
    }
    const double area_top = top + kTitleHeight + kMargin / 2;
    const double area_height = kPlanViewHeight - kTitleHeight - kFooterHeight - kMargin / 2;
    const PlanMap map(*plan, last, kMargin, area_top, kCanvasWidth - 2 * kMargin, area_height);

    const std::int64_t route_end = std::min(route_length(scene), last);
    draw_objects(svg, scene, map, last);
    if (route_end < last) {
        svg.polyline(stretch(map, route_end, last),
                     "fill=\"none\" stroke=\"#9aa5b8\" stroke-width=\"2\" stroke-dasharray=\"6 4\"",
                     "track-beyond");
    }
    svg.polyline(stretch(map, 0, route_end),
                 "fill=\"none\" stroke=\"#1b3a8c\" stroke-width=\"3\" stroke-linejoin=\"round\"",
                 "track");
    for (const std::size_t i : station_slots(scene.slots)) {
        const ScenarioSlot& s = scene.slots[i];
        if (s.position < 0 || s.position > last) continue;
        const Point p = map.at(s.position);
        svg.circle(p, 5, "fill=\"#ffffff\" stroke=\"#000000\" stroke-width=\"1.5\"");
        svg.text({p.x + 8, p.y - 6}, utf8_from_1252(s.text), "font-size=\"11\"");
    }
    if (scene.code && scene.position && *scene.position >= 0 && *scene.position <= last) {
        const Point p = map.at(*scene.position);
        svg.circle(p, 12, "fill=\"none\" stroke=\"#e00000\" stroke-width=\"3\"");
        svg.text({p.x + 15, p.y + 5}, "error " + std::to_string(*scene.code),
                 "font-size=\"13\" font-weight=\"bold\" fill=\"#e00000\"");
    }
    draw_north_arrow(svg, {kCanvasWidth - kMargin - 10, top + kTitleHeight + 10});
    draw_scale_bar(svg, map, {kMargin, top + kPlanViewHeight - kFooterHeight + 10},
                   kCanvasWidth / 4);
    draw_legend(svg, {kCanvasWidth - kMargin - 130, top + kPlanViewHeight - kFooterHeight - 80});
}

}  // namespace railscen::cli
