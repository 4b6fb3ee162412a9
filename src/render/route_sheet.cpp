// The route sheet: a banner when the compile recorded a code, the plan view, and the lanes and
// bands on one metre axis, in one SVG document whose size fits the drawing.

#include <algorithm>
#include <cmath>

#include "render/label_packer.h"
#include "render/route_sheet.h"

namespace railscen::render {
namespace {

constexpr double kSheetWidth = 1400;
constexpr double kBannerHeight = 46;

// What the banner says: the code, where it was recorded, and what the sheet therefore shows.
double draw_banner(SvgDocument& svg, const SheetFacts& facts, double width) {
    const LoadState& load = facts.load;
    if (load.code_number == 0) return 0;
    std::string first =
        load.code != nullptr ? one_line(*load.code) : "error " + std::to_string(load.code_number);
    if (!load.where.empty()) first += " \u2014 " + load.where;
    std::string second;
    if (load.from_files) {
        second =
            "Drawn from compiled files of a run that recorded this code: they may hold a "
            "partial scenario. Render the description texts to see what was loaded.";
    } else if (load.whole) {
        second = "Both descriptions were loaded whole; the code was recorded after loading.";
    } else {
        second =
            "Loading stopped there: the sheet draws only what was loaded; shaded stretches "
            "of the bands hold no loaded data.";
    }
    svg.begin_group("banner", first);
    svg.rect({0, 0}, width, kBannerHeight, "fill=\"#fde0dd\" stroke=\"#e00000\"");
    // A text wider than the sheet is cut to what fits; the title holds it whole.
    auto fitted = [&](std::string text, double size) {
        if (text_width(text, size) <= width - 24) return text;
        while (!text.empty() && text_width(text + "\u2026", size) > width - 24) {
            unsigned char c = 0;
            do {
                c = static_cast<unsigned char>(text.back());
                text.pop_back();
            } while (!text.empty() && (c & 0xC0) == 0x80);
        }
        return text + "\u2026";
    };
    svg.text({12, 19}, fitted(first, 14), "font-size=\"14\" font-weight=\"bold\" fill=\"#a00000\"");
    svg.text({12, 37}, fitted(second, 12), "font-size=\"12\" fill=\"#a00000\"");
    svg.end_group();
    return kBannerHeight + 6;
}

}  // namespace

double nice_step(double span, int count) {
    const double raw = span / count;
    if (!(raw > 0)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0}) {
        if (f * power >= raw) return f * power;
    }
    return 10 * power;
}

std::string route_sheet(const Scene& scene, std::optional<SheetRange> range, const TrainRun* run) {
    const SheetRange r = range.value_or(SheetRange{0, grid_end(scene)});
    const SheetFacts facts = sheet_facts(scene);
    SvgDocument svg(kSheetWidth, 0, "#ffffff");
    double y = draw_banner(svg, facts, kSheetWidth);
    y += draw_plan_view(svg, scene, facts, r, y, kSheetWidth);
    y += draw_bands(svg, scene, facts, r, y, kSheetWidth, run);
    svg.resize(kSheetWidth, std::ceil(y + 10));
    return svg.str();
}

}  // namespace railscen::render
