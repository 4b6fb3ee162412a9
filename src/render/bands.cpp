// The lower part of the route sheet: lanes of objects and bands of step profiles under one
// metre axis with kilometre ticks, then the legend. Every object is a group whose class names
// its kind and whose title says what it is and where; labels are packed per lane, and what
// finds no room is left to the title. Marks and steps are thinned to what a pixel column can
// show, so a 1,000 km line draws as fast as a short one.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/units_text.h"
#include "model/text_encoding.h"
#include "render/label_packer.h"
#include "render/route_sheet.h"
#include "render/sheet_style.h"

namespace railscen::render {
namespace {

using analysis::FactKind;

constexpr double kGutter = 150;
constexpr double kRight = 20;
constexpr double kFont = 11;
constexpr double kLevel = 14;  // one row of labels
constexpr double kLabelGap = 6;

class Axis {
  public:
    Axis(SheetRange range, double left, double right) : range_(range), left_(left), right_(right) {}
    double x(double metre) const {
        const auto span = static_cast<double>(std::max<std::int64_t>(range_.to - range_.from, 1));
        return left_ + (metre - static_cast<double>(range_.from)) / span * (right_ - left_);
    }
    double left() const { return left_; }
    double right() const { return right_; }
    SheetRange range() const { return range_; }
    bool shows(std::int64_t from, std::int64_t to) const {
        return to >= range_.from && from <= range_.to;
    }

  private:
    SheetRange range_;
    double left_;
    double right_;
};

std::string style_text(const char* anchor, const char* extra = "") {
    return std::string("font-size=\"") + svg_number(kFont) + "\" text-anchor=\"" + anchor + "\"" +
           extra;
}

// "104.5" for a kilometre tick, with as many decimals as the step needs.
std::string km_text(double metres, double step) {
    const int decimals = step >= 1000 ? 0 : step >= 100 ? 1 : step >= 10 ? 2 : 3;
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, metres / 1000);
    return text;
}

void draw_km_axis(SvgDocument& svg, const Axis& axis, double y, bool labels_below) {
    const SheetRange r = axis.range();
    const double span = static_cast<double>(r.to - r.from);
    const double step =
        nice_step(span, std::max(2, static_cast<int>((axis.right() - axis.left()) / 75)));
    svg.line({axis.left(), y}, {axis.right(), y}, "stroke=\"#222222\"");
    const double first = std::ceil(static_cast<double>(r.from) / step) * step;
    for (double m = first; m <= static_cast<double>(r.to) + 0.5; m += step) {
        const double x = axis.x(m);
        svg.line({x, y}, {x, labels_below ? y + 4 : y - 4}, "stroke=\"#222222\"");
        svg.text({x, labels_below ? y + 15 : y - 6}, km_text(m, step), style_text("middle"));
    }
    svg.text({axis.left() - 8, labels_below ? y + 15 : y - 6}, "km", style_text("end"));
}

struct LaneStyle {
    Lane lane;
    const char* name;
    int levels;  // rows of labels under the marks
};

constexpr LaneStyle kLanes[] = {
    {Lane::kStations, "stations", 3},
    {Lane::kSignals, "signals", 0},
    {Lane::kSpeedBoards, "speed boards", 2},
    {Lane::kSignBoards, "sign boards", 3},
    {Lane::kMountains, "mountains, tunnels", 1},
    {Lane::kCurves, "curves", 1},
    {Lane::kSlowdowns, "slowdowns", 1},
    {Lane::kCabCodes, "cab-code drops", 1},
    {Lane::kCodeRows, "code rows, repetition", 1},
};

// The mark of one object (or of several that share a pixel column) at its place in the lane.
void draw_mark(SvgDocument& svg, const SheetObject& o, double x0, double x1, double y,
               bool merged) {
    const bool stretch = o.to > o.from;
    const FactStyle& look = style_of(o.kind);
    const std::string fill = std::string("fill=\"") + look.colour + "\"";
    if (stretch) {
        svg.rect({x0, y + 2}, std::max(x1 - x0, 1.0), 8, fill + " fill-opacity=\"0.75\"");
        return;
    }
    const std::string_view kind = look.element_class;
    if (merged || kind == "signal" || kind == "code-row") {
        svg.rect({x0 - 0.75, y}, 1.5, 12, fill);
    } else if (kind == "station") {
        svg.path("M " + svg_number(x0) + " " + svg_number(y) + " l 5 12 h -10 z",
                 "fill=\"#ffffff\" stroke=\"#000000\"");
    } else if (kind == "sign-board") {
        svg.path("M " + svg_number(x0) + " " + svg_number(y) + " l 5 6 l -5 6 l -5 -6 z", fill);
    } else {
        svg.rect({x0 - 3, y + 3}, 6, 6, fill + " stroke=\"#333333\" stroke-width=\"0.5\"");
    }
}

std::string merged_title(const std::vector<const SheetObject*>& group) {
    std::string title = std::to_string(group.size()) + " objects, " +
                        metres_range_text(group.front()->from, group.back()->to) + ": ";
    for (std::size_t i = 0; i < group.size() && i < 6; ++i) {
        if (i > 0) title += "; ";
        title += group[i]->title;
    }
    if (group.size() > 6) title += "; \u2026";
    return title;
}

double draw_lane(SvgDocument& svg, const SheetFacts& facts, const Axis& axis,
                 const LaneStyle& style, double top) {
    const double mark_y = top + 3;
    svg.text({kGutter - 10, mark_y + 10}, style.name, style_text("end", " fill=\"#333333\""));
    std::vector<const SheetObject*> lane;
    for (const SheetObject& o : facts.objects) {
        if (o.lane == style.lane && axis.shows(o.from, o.to)) lane.push_back(&o);
    }
    IntervalPacker packer(style.levels, kLabelGap);
    int used_levels = 0;
    const SheetRange r = axis.range();
    for (std::size_t i = 0; i < lane.size();) {
        const SheetObject& o = *lane[i];
        const double x0 = axis.x(static_cast<double>(std::max(o.from, r.from)));
        const double x1 = axis.x(static_cast<double>(std::min(o.to, r.to)));
        // Objects that would share this pixel column become one mark.
        std::vector<const SheetObject*> group = {&o};
        std::size_t next = i + 1;
        if (x1 - x0 < 1) {
            while (next < lane.size()) {
                const SheetObject& n = *lane[next];
                const double nx0 = axis.x(static_cast<double>(std::max(n.from, r.from)));
                const double nx1 = axis.x(static_cast<double>(std::min(n.to, r.to)));
                if (std::floor(nx0) != std::floor(x0) || nx1 - nx0 >= 1) break;
                group.push_back(&n);
                ++next;
            }
        }
        const bool merged = group.size() > 1;
        svg.begin_group(style_of(o.kind).element_class, merged ? merged_title(group) : o.title);
        // A mark at one point stands in the middle of its pixel column.
        draw_mark(svg, o, o.to > o.from ? x0 : std::floor(x0) + 0.5, x1, mark_y, merged);
        if (!merged && !o.label.empty() && style.levels > 0) {
            const double w = text_width(o.label, kFont);
            const bool stretch = o.to > o.from;
            double left = stretch ? x0 : x0 - w / 2;
            left = std::clamp(left, axis.left(), axis.right() - w);
            if (const std::optional<int> level = packer.place(left, left + w)) {
                used_levels = std::max(used_levels, *level + 1);
                svg.text({left, mark_y + 12 + kLevel * (*level + 1) - 3}, o.label,
                         style_text("start"));
            }
        }
        svg.end_group();
        i = next;
    }
    return 18 + kLevel * std::max(used_levels, style.levels > 0 ? 1 : 0);
}

// ---- step profiles ----

struct Run {
    std::int64_t from;
    std::int64_t to;
    int value;
};

std::vector<Run> runs_of(const Profile& p, SheetRange r) {
    std::vector<Run> runs;
    for (std::size_t c = 0; c < p.values.size(); ++c) {
        const std::int64_t a = std::max<std::int64_t>(static_cast<std::int64_t>(c) * 50, r.from);
        const std::int64_t b = std::min<std::int64_t>(static_cast<std::int64_t>(c) * 50 + 50, r.to);
        if (b <= a) continue;
        if (!runs.empty() && runs.back().value == p.values[c] && runs.back().to == a) {
            runs.back().to = b;
        } else {
            runs.push_back({a, b, p.values[c]});
        }
    }
    return runs;
}

// A flat step, or the spread of several steps that fall into one pixel column.
struct Piece {
    std::int64_t from;
    std::int64_t to;
    int first;
    int last;
    int low;
    int high;
};

std::vector<Piece> pieces_of(const std::vector<Run>& runs, const Axis& axis) {
    std::vector<Piece> pieces;
    for (const Run& run : runs) {
        if (run.value == kNoValue) continue;
        const double w =
            axis.x(static_cast<double>(run.to)) - axis.x(static_cast<double>(run.from));
        Piece* back = pieces.empty() ? nullptr : &pieces.back();
        const bool narrow = w < 1;
        if (narrow && back != nullptr && back->to == run.from &&
            axis.x(static_cast<double>(run.to)) - axis.x(static_cast<double>(back->from)) < 1.5) {
            back->to = run.to;
            back->last = run.value;
            back->low = std::min(back->low, run.value);
            back->high = std::max(back->high, run.value);
            continue;
        }
        pieces.push_back({run.from, run.to, run.value, run.value, run.value, run.value});
    }
    return pieces;
}

struct Scale {
    double top;
    double height;
    double low;
    double high;
    double y(double v) const { return top + height - (v - low) / (high - low) * height; }
};

std::string value_text(int v, const char* unit) {
    std::string s = std::to_string(v);
    if (unit[0] != '\0') s += std::string(" ") + unit;
    return s;
}

void draw_profile(SvgDocument& svg, const Profile& p, const Axis& axis, const Scale& s) {
    const std::vector<Piece> pieces = pieces_of(runs_of(p, axis.range()), axis);
    const FactStyle& look = style_of(p.kind);
    std::string stroke = std::string("fill=\"none\" stroke=\"") + look.colour +
                         "\" stroke-width=\"" + svg_number(look.stroke_width) + "\"";
    if (look.dash[0] != '\0') stroke += std::string(" stroke-dasharray=\"") + look.dash + "\"";
    std::string risers;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& q = pieces[i];
        const double x0 = axis.x(static_cast<double>(q.from));
        const double x1 = axis.x(static_cast<double>(q.to));
        std::string title = std::string(p.name) + " ";
        std::string d;
        if (q.low == q.high) {
            title += value_text(q.low, p.unit) + " over " + metres_range_text(q.from, q.to);
            d = "M " + svg_number(x0) + " " + svg_number(s.y(q.low)) + " H " + svg_number(x1);
        } else {
            title += value_text(q.low, p.unit) + " to " + value_text(q.high, p.unit) + " over " +
                     metres_range_text(q.from, q.to);
            const double xm = (x0 + x1) / 2;
            d = "M " + svg_number(xm) + " " + svg_number(s.y(q.low)) + " V " +
                svg_number(s.y(q.high));
        }
        svg.path(d, "class=\"" + std::string(look.element_class) + "\" " + stroke, title);
        if (i > 0 && pieces[i - 1].to == q.from && pieces[i - 1].last != q.first) {
            risers += "M " + svg_number(x0) + " " + svg_number(s.y(pieces[i - 1].last)) + " V " +
                      svg_number(s.y(q.first)) + " ";
        }
    }
    if (!risers.empty()) {
        risers.pop_back();
        svg.path(risers, "class=\"" + std::string(look.element_class) + "-steps\" " + stroke,
                 std::string(p.name) + ": where it changes");
    }
}

struct BandStyle {
    const char* title;
    double height;
    std::vector<const Profile*> profiles;
    std::int64_t loaded_to;
    const TrainRun* run = nullptr;  // drawn over the profiles, on their scale
};

constexpr const char* kRunColour = "#1b9e77";

// The run's speed as one line, thinned to what half a pixel column shows, and its time at each
// stand: a tick at the foot of the band and the time above it where the one before leaves room.
// Its name goes in the band's header after the profiles' (at header_x): all of it is one group.
void draw_run(SvgDocument& svg, const TrainRun& run, const Axis& axis, const Scale& s,
              double header_x, double top) {
    const SheetRange r = axis.range();
    const auto from = static_cast<double>(r.from);
    const auto to = static_cast<double>(r.to);
    // Points past either end of the range give way to the point at the end, in a straight line.
    const auto at_end = [&](const analysis::RunSpeedPoint& a, const analysis::RunSpeedPoint& b,
                            double metres) {
        const double share = b.metres > a.metres ? (metres - a.metres) / (b.metres - a.metres) : 0;
        return Point{axis.x(metres), s.y(a.kmh + (b.kmh - a.kmh) * share)};
    };
    std::vector<Point> points;
    for (std::size_t i = 0; i < run.speeds.size(); ++i) {
        const analysis::RunSpeedPoint& p = run.speeds[i];
        if (p.metres < from || p.metres > to) {
            const bool next_inside =
                i + 1 < run.speeds.size() && p.metres < from && run.speeds[i + 1].metres > from;
            const bool previous_inside = i > 0 && p.metres > to && run.speeds[i - 1].metres < to;
            if (next_inside) points.push_back(at_end(p, run.speeds[i + 1], from));
            if (previous_inside) points.push_back(at_end(run.speeds[i - 1], p, to));
            continue;
        }
        const Point at{axis.x(p.metres), s.y(p.kmh)};
        const bool last = i + 1 == run.speeds.size();
        if (!points.empty() && !last && at.x - points.back().x < 0.5 &&
            std::abs(at.y - points.back().y) < 0.5) {
            continue;
        }
        points.push_back(at);
    }
    const std::string name = "fastest run of " + run.train;
    svg.begin_group("train-run", name);
    svg.line({header_x, top + 8}, {header_x + 18, top + 8},
             std::string("stroke=\"") + kRunColour + "\" stroke-width=\"2\"");
    svg.text({header_x + 22, top + 12}, name + ", time at each stand", style_text("start"));
    if (points.size() > 1) {
        svg.polyline(points, std::string("class=\"train-run-speed\" fill=\"none\" stroke=\"") +
                                 kRunColour + "\" stroke-width=\"1.5\"");
    }
    double free_from = axis.left();
    for (const analysis::RunStand& stand : run.stands) {
        if (stand.metres < from || stand.metres > to) continue;
        const double x = axis.x(stand.metres);
        const std::string time = analysis::clock_text(analysis::whole_seconds(stand.arrival));
        svg.line({x, s.top + s.height - 8}, {x, s.top + s.height},
                 std::string("class=\"train-run-time\" stroke=\"") + kRunColour +
                     "\" stroke-width=\"1.5\"",
                 "the run reaches \"" + utf8_from_1252(stand.name) + "\" at " +
                     metres_range_text(static_cast<std::int64_t>(stand.metres),
                                       static_cast<std::int64_t>(stand.metres)) +
                     " after " + time);
        const double w = text_width(time, kFont);
        if (x - w / 2 < free_from || x + w / 2 > axis.right()) continue;
        svg.text({x, s.top + s.height - 11}, time,
                 style_text("middle",
                            " class=\"train-run-label\" fill=\"#1b9e77\" stroke=\"#ffffff\" "
                            "stroke-width=\"3\" paint-order=\"stroke\""));
        free_from = x + w / 2 + 4;
    }
    svg.end_group();
}

double draw_band(SvgDocument& svg, const BandStyle& band, const Axis& axis, double top,
                 const LoadState& load) {
    svg.text({axis.left(), top + 12}, band.title,
             "font-size=\"12\" font-weight=\"bold\" fill=\"#222222\"");
    // The profiles' colours named in the header, each where the one before ends.
    double x = axis.left() + text_width(band.title, 12) + 20;
    if (band.profiles.size() > 1) {
        for (const Profile* p : band.profiles) {
            svg.line({x, top + 8}, {x + 18, top + 8},
                     std::string("stroke=\"") + style_of(p->kind).colour + "\" stroke-width=\"" +
                         svg_number(style_of(p->kind).stroke_width + 0.5) + "\"");
            svg.text({x + 22, top + 12}, p->name, style_text("start"));
            x += 22 + text_width(p->name, kFont) + 16;
        }
    }
    const double plot_top = top + 20;
    int low = 0, high = 0;
    bool any = false;
    for (const Profile* p : band.profiles) {
        for (const Run& run : runs_of(*p, axis.range())) {
            if (run.value == kNoValue) continue;
            low = any ? std::min(low, run.value) : std::min(0, run.value);
            high = any ? std::max(high, run.value) : std::max(0, run.value);
            any = true;
        }
    }
    if (band.run != nullptr) {
        for (const analysis::RunSpeedPoint& p : band.run->speeds) {
            high = std::max(high, static_cast<int>(std::ceil(p.kmh)));
        }
        any = any || !band.run->speeds.empty();
    }
    if (!any) high = 100;  // nothing loaded: an empty scale of a usual height
    const double step = nice_step(std::max(high - low, 1), 4);
    Scale s{plot_top, band.height, std::floor(low / step) * step, 0};
    s.high = std::max(std::ceil(high / step) * step, s.low + step);
    svg.rect({axis.left(), plot_top}, axis.right() - axis.left(), band.height,
             "fill=\"#fafafa\" stroke=\"#cccccc\"");
    for (double v = s.low; v <= s.high + step / 2; v += step) {
        svg.line({axis.left(), s.y(v)}, {axis.right(), s.y(v)},
                 v == 0 ? "stroke=\"#888888\"" : "stroke=\"#e4e4e4\"");
        svg.text({axis.left() - 6, s.y(v) + 4}, svg_number(v), style_text("end"));
    }
    const SheetRange r = axis.range();
    if (band.loaded_to < r.to) {
        const double x0 = axis.x(static_cast<double>(std::max(band.loaded_to, r.from)));
        svg.begin_group("not-loaded", "not loaded: the loader stopped before these rows (" +
                                          std::string(band.title) + ")");
        svg.rect({x0, plot_top}, axis.right() - x0, band.height,
                 "fill=\"#dddddd\" fill-opacity=\"0.6\"");
        const std::string words = "not loaded";
        if (axis.right() - x0 > text_width(words, kFont) + 12) {
            svg.text({x0 + 6, plot_top + band.height / 2 + 4}, words,
                     style_text("start", " fill=\"#555555\""));
        }
        svg.end_group();
    }
    (void)load;
    for (const Profile* p : band.profiles) {
        draw_profile(svg, *p, axis, s);
    }
    if (band.run != nullptr) draw_run(svg, *band.run, axis, s, x, top);
    return 20 + band.height;
}

// ---- legend ----

std::string colour(FactKind kind) {
    return style_of(kind).colour;
}

class Legend {
  public:
    Legend(SvgDocument& svg, double left, double right, double top)
        : svg_(svg), left_(left), right_(right), x_(left), y_(top + 14) {}

    void entry(const std::string& swatch_colour, const char* shape, const std::string& words) {
        const double w = 22 + text_width(words, kFont) + 18;
        if (x_ + w > right_ && x_ > left_) {
            x_ = left_;
            y_ += 18;
        }
        const std::string fill = "fill=\"" + swatch_colour + "\"";
        const std::string_view s = shape;
        if (s == "bar") svg_.rect({x_, y_ - 8}, 16, 7, fill);
        if (s == "tick") svg_.rect({x_ + 7, y_ - 11}, 1.5, 12, fill);
        if (s == "square") svg_.rect({x_ + 4, y_ - 8}, 7, 7, fill);
        if (s == "line") {
            svg_.line({x_, y_ - 4}, {x_ + 16, y_ - 4},
                      "stroke=\"" + swatch_colour + "\" stroke-width=\"2\"");
        }
        if (s == "station") {
            svg_.path("M " + svg_number(x_ + 8) + " " + svg_number(y_ - 11) + " l 5 11 h -10 z",
                      "fill=\"#ffffff\" stroke=\"#000000\"");
        }
        if (s == "diamond") {
            svg_.path(
                "M " + svg_number(x_ + 8) + " " + svg_number(y_ - 11) + " l 5 6 l -5 6 l -5 -6 z",
                fill);
        }
        if (s == "shade") svg_.rect({x_, y_ - 10}, 16, 10, fill + " stroke=\"#999999\"");
        svg_.text({x_ + 22, y_}, words, style_text("start"));
        x_ += w;
    }
    double bottom() const { return y_ + 8; }

  private:
    SvgDocument& svg_;
    double left_;
    double right_;
    double x_;
    double y_;
};

}  // namespace

double draw_bands(SvgDocument& svg, const Scene& scene, const SheetFacts& facts, SheetRange range,
                  double top, double width, const TrainRun* run) {
    const Axis axis(range, kGutter, width - kRight);
    const LoadState& load = facts.load;
    double y = top;

    // The place of the code, named above the axis; its line crosses every lane and band.
    const bool marked = load.mark && *load.mark >= range.from && *load.mark <= range.to;
    y += 22;
    draw_km_axis(svg, axis, y + 12, false);
    y += 18;
    const double lanes_top = y;
    const std::int64_t route = route_length(scene);
    const std::int64_t end = grid_end(scene);

    for (const LaneStyle& style : kLanes) {
        const double h = draw_lane(svg, facts, axis, style, y);
        svg.line({axis.left(), y + h}, {axis.right(), y + h}, "stroke=\"#eeeeee\"");
        y += h;
    }
    y += 10;
    const BandStyle bands[] = {
        {"speed limit (km/h)",
         150,
         {&facts.line_limit, &facts.train_limit, &facts.slowdown_limit, &facts.effective_limit},
         load.speed_to,
         run},
        {"gradient (\u2030)", 100, {&facts.gradient}, load.gradient_to},
        {"adhesion", 60, {&facts.adhesion}, load.adhesion_to},
    };
    for (const BandStyle& band : bands) y += draw_band(svg, band, axis, y, load) + 12;
    const double bottom = y - 12;
    draw_km_axis(svg, axis, bottom + 4, true);

    // The run-out past the route's end, shaded across lanes and bands.
    if (route < end && axis.shows(route, end)) {
        const double x0 = axis.x(static_cast<double>(std::max(route, range.from)));
        const double x1 = axis.x(static_cast<double>(std::min(end, range.to)));
        svg.rect({x0, lanes_top}, std::max(x1 - x0, 1.0), bottom - lanes_top,
                 "class=\"run-out\" fill=\"#9aa5b8\" fill-opacity=\"0.15\"",
                 "run-out: the grid and the plan go on " + std::to_string(end - route) +
                     " m past the route's end, " + metres_range_text(route, end));
    }
    if (marked) {
        const double x = axis.x(static_cast<double>(*load.mark));
        svg.begin_group("error-mark", "error " + std::to_string(load.code_number) + " at " +
                                          metres_range_text(*load.mark, *load.mark));
        svg.line({x, lanes_top - 36}, {x, bottom}, "stroke=\"#e00000\" stroke-width=\"2\"");
        const std::string label = "error " + std::to_string(load.code_number);
        const double w = text_width(label, 12);
        const double left = std::clamp(x + 4, axis.left(), axis.right() - w);
        svg.text({left, lanes_top - 28}, label,
                 "font-size=\"12\" font-weight=\"bold\" fill=\"#e00000\"");
        svg.end_group();
    }

    // The legend, with the run-out.
    Legend legend(svg, kGutter, width - kRight, bottom + 30);
    legend.entry(colour(FactKind::kStation), "station", "station");
    legend.entry(colour(FactKind::kSignal), "tick", "signal");
    legend.entry(colour(FactKind::kSpeedBoard), "square", "speed board (left speeds A/B/C)");
    legend.entry(colour(FactKind::kSignBoard), "diamond", "sign board");
    legend.entry(colour(FactKind::kMountain), "bar", "mountain or tunnel, class");
    legend.entry(colour(FactKind::kLeftCurve), "bar", "curve left (L) and class");
    legend.entry(colour(FactKind::kRightCurve), "bar", "curve right (R) and class");
    legend.entry(colour(FactKind::kSlowdown), "bar", "slowdown, km/h");
    legend.entry(colour(FactKind::kSlowdownWarning), "square", "slowdown warning point");
    legend.entry(colour(FactKind::kCodeDrop), "square", "cab-code drop point, code");
    legend.entry(colour(FactKind::kCodeRow), "tick", "code row");
    legend.entry(colour(FactKind::kSignalRepetition), "bar", "signal repetition");
    legend.entry(colour(FactKind::kLineLimit), "line", "line limit: boards' first speed");
    legend.entry(colour(FactKind::kTrainLimit), "line", "train limit");
    legend.entry(colour(FactKind::kSlowdownLimit), "line", "slowdowns");
    legend.entry(colour(FactKind::kEffectiveLimit), "line", "effective limit: the lowest");
    legend.entry("#9aa5b8", "shade",
                 "run-out: the " + svg_number(static_cast<double>(end - route) / 1000) +
                     " km past the route's end (" + km_text(static_cast<double>(route), 100) +
                     " to " + km_text(static_cast<double>(end), 100) + " km)");
    if (!load.whole) legend.entry("#dddddd", "shade", "not loaded");
    if (load.code_number != 0) legend.entry("#e00000", "tick", "place of the error");
    return legend.bottom() - top;
}

}  // namespace railscen::render
