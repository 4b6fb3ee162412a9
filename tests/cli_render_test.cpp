// railscen render: the SVG's content, the marked code, and the picture as a browser draws it.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <regex>

#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"

namespace railscen {
namespace {

using testing::read_bytes;
using testing::TempFolder;
using testing::tool;
using testing::train_text;

const FileNames kNames = file_names(kScenarioLineName, kScenarioTrainName);

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class CliRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempFolder>();
        ASSERT_TRUE(testing::compile_stored_sources(path()));
        ASSERT_EQ(tool(path(), {"render", ".", "-o", "scenario.svg"}).status, 0);
        svg_ = read_bytes(path() / "scenario.svg");
    }
    static void TearDownTestSuite() { folder_.reset(); }
    static const std::filesystem::path& path() { return folder_->path(); }
    static const std::string& svg() { return svg_; }

  private:
    static std::unique_ptr<TempFolder> folder_;
    static std::string svg_;
};

std::unique_ptr<TempFolder> CliRender::folder_;
std::string CliRender::svg_;

TEST_F(CliRender, DrawsTrackStationsObjectsAndTheProfile) {
    EXPECT_EQ(svg().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_EQ(count_of(svg(), "id=\"track\""), 1u);
    for (const char* name : {"VELARO SAN MARTINO", "Valmora", "Sant\xC3\xA8rio", "CUSTRA"}) {
        // Each station is named on the plan and on the profile.
        EXPECT_EQ(count_of(svg(), std::string(">") + name + "</text>"), 2u) << name;
    }
    // 66 signals, plus the legend's sample.
    EXPECT_EQ(count_of(svg(), "fill=\"#d62728\""), 66u + 1u);
    for (const char* label :
         {"line speed (km/h)", "gradient (per mille)", "adhesion", ">N</text>", ">20 km</text>"}) {
        EXPECT_NE(svg().find(label), std::string::npos) << label;
    }
    EXPECT_EQ(svg().find("error "), std::string::npos);
}

TEST_F(CliRender, MarksTheReportedCodeOnBothViews) {
    TempFolder folder;
    write_file(folder.path() / "line.txt",
               testing::line_text({"indicatori_vmax,  6050,  100,  100,  105,  0,  ,  ,  ,  0"}));
    write_file(folder.path() / "train.txt",
               train_text({"segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}));
    ASSERT_EQ(tool(folder.path(), {"compile", "line.txt", "train.txt", "--report", "r.json",
                                   "--line-name", "L", "--train-name", "T"})
                  .status,
              1);
    ASSERT_EQ(tool(folder.path(), {"render", ".", "-o", "marked.svg", "--report", "r.json"}).status,
              0);
    const std::string marked = read_bytes(folder.path() / "marked.svg");
    EXPECT_EQ(count_of(marked, ">error 16</text>"), 2u);
}

TEST_F(CliRender, AFolderWithoutAScenarioIsRefused) {
    TempFolder empty;
    const testing::ToolRun run = tool(empty.path(), {"render", ".", "-o", "x.svg"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "railscen render: . holds no scenario file (.sim)\n");
    EXPECT_FALSE(std::filesystem::exists(empty.path() / "x.svg"));
}

// RGB pixels of a PNG file, read with libpng's simplified interface.
struct Picture {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* at(unsigned x, unsigned y) const {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
    bool is_background(unsigned x, unsigned y) const {
        const std::uint8_t* p = at(x, y);
        return p[0] > 245 && p[1] > 245 && p[2] > 245;
    }
    // The track's dark blue, blended or not: far more blue than red. No other mark is.
    bool is_track_ink(unsigned x, unsigned y) const {
        const std::uint8_t* p = at(x, y);
        return p[2] > p[0] + 40;
    }
};

std::optional<Picture> read_png(const std::filesystem::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, file.c_str()) == 0) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    Picture picture{image.width, image.height, std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
    if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) == 0) {
        return std::nullopt;
    }
    return picture;
}

using Points = std::vector<std::pair<double, double>>;

Points matches(const std::string& text, const std::regex& pattern) {
    Points out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        out.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
    }
    return out;
}

Points track_points(const std::string& svg) {
    const std::size_t track = svg.find("id=\"track\"");
    const std::size_t begin = svg.find("points=\"", track) + 8;
    return matches(svg.substr(begin, svg.find('"', begin) - begin),
                   std::regex(R"((-?[0-9.]+),(-?[0-9.]+))"));
}

// Station markers are white discs over the track.
Points station_centres(const std::string& svg) {
    return matches(svg,
                   std::regex(R"re(<circle cx="([0-9.]+)" cy="([0-9.]+)" r="5" fill="#ffffff")re"));
}

bool near_any(const std::pair<double, double>& p, const Points& centres, double radius) {
    return std::any_of(centres.begin(), centres.end(), [&](const auto& c) {
        return std::hypot(p.first - c.first, p.second - c.second) <= radius;
    });
}

TEST_F(CliRender, AHeadlessBrowserShowsTheTrackAlongItsPath) {
    if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "chromium is not installed";
    }
    const std::filesystem::path shot = path() / "shot.png";
    const std::string command =
        "timeout 180 chromium --headless --no-sandbox --disable-gpu "
        "--disable-background-networking --disable-component-update --disable-sync "
        "--no-first-run --hide-scrollbars --force-device-scale-factor=1 --user-data-dir=" +
        testing::shell_quoted((path() / "browser-profile").string()) +
        " --window-size=1200,1400 --screenshot=" + testing::shell_quoted(shot.string()) + " " +
        testing::shell_quoted("file://" + (path() / "scenario.svg").string()) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::optional<Picture> picture = read_png(shot);
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, 1200u);
    ASSERT_EQ(picture->height, 1400u);

    // Every sampled point of the track, away from the station discs, has track-coloured
    // pixels within two pixels of it.
    const Points points = track_points(svg());
    const Points stations = station_centres(svg());
    ASSERT_GT(points.size(), 1000u);
    ASSERT_EQ(stations.size(), 24u + 1u);  // and the legend's sample
    std::size_t sampled = 0;
    for (std::size_t i = 0; i < points.size(); i += 97) {
        if (near_any(points[i], stations, 8)) continue;
        const auto x = static_cast<unsigned>(std::lround(points[i].first));
        const auto y = static_cast<unsigned>(std::lround(points[i].second));
        bool drawn = false;
        for (unsigned dy = 0; dy <= 4 && !drawn; ++dy) {
            for (unsigned dx = 0; dx <= 4 && !drawn; ++dx) {
                drawn = picture->is_track_ink(x + dx - 2, y + dy - 2);
            }
        }
        EXPECT_TRUE(drawn) << "nothing drawn at " << x << "," << y;
        ++sampled;
    }
    EXPECT_GT(sampled, 10u);
    // Away from the track the page keeps its background.
    EXPECT_TRUE(picture->is_background(10, 400));
    EXPECT_TRUE(picture->is_background(300, 300));
}

}  // namespace
}  // namespace railscen
