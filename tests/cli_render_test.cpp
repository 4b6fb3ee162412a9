// railscen render: the SVG's content, the marked code, and the picture as a browser draws it.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <regex>
#include <set>

#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "render/label_packer.h"
#include "support/sheet_scenario.h"

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

// The titles of the objects of one kind, in the order drawn.
std::vector<std::string> titles_of(const std::string& svg, const std::string& kind) {
    std::vector<std::string> out;
    const std::regex group("<g class=\"" + kind + "\"><title>([^<]*)</title>");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), group);
         it != std::sregex_iterator(); ++it) {
        out.push_back((*it)[1]);
    }
    return out;
}

// The titles of the pieces of one step profile.
std::vector<std::string> steps_of(const std::string& svg, const std::string& kind) {
    std::vector<std::string> out;
    const std::regex piece("<path d=\"[^\"]*\" class=\"" + kind + "\"[^>]*><title>([^<]*)</title>");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), piece);
         it != std::sregex_iterator(); ++it) {
        out.push_back((*it)[1]);
    }
    return out;
}

bool contains(const std::vector<std::string>& titles, const std::string& title) {
    return std::find(titles.begin(), titles.end(), title) != titles.end();
}

// The metres written from `at` on: "12,350" is 12350.
long metres_at(const std::string& title, std::size_t at) {
    std::string digits;
    for (; at < title.size() &&
           (std::isdigit(static_cast<unsigned char>(title[at])) || title[at] == ',');
         ++at) {
        if (title[at] != ',') digits += title[at];
    }
    return std::stol(digits);
}

// The end metre of an "... over A-B m" title.
long over_end(const std::string& title) {
    return metres_at(title, title.rfind('-') + 1);
}

// Every text's box by the packer's own estimate: no two may meet.
void expect_no_text_overlaps(const std::string& svg) {
    struct TextBox {
        double left, top, right, bottom;
        std::string text;
    };
    std::vector<TextBox> boxes;
    const std::regex text(
        R"re(<text x="([-0-9.]+)" y="([-0-9.]+)" font-size="([0-9.]+)"(?: text-anchor="(\w+)")?[^>]*>([^<]*)</text>)re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
         ++it) {
        const double x = std::stod((*it)[1]);
        const double y = std::stod((*it)[2]);
        const double size = std::stod((*it)[3]);
        const std::string anchor = (*it)[4];
        const double w =
            render::text_width((*it)[5].str(), size) * 0.9;  // the estimate is generous
        const double left = anchor == "middle" ? x - w / 2 : anchor == "end" ? x - w : x;
        boxes.push_back({left, y - size * 0.7, left + w, y, (*it)[5]});
    }
    ASSERT_GT(boxes.size(), 50u);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const TextBox& a = boxes[i];
            const TextBox& b = boxes[j];
            const bool meet =
                a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            EXPECT_FALSE(meet) << "\"" << a.text << "\" meets \"" << b.text << "\"";
        }
    }
}

TEST_F(CliRender, DrawsEveryObjectOfTheStoredScenarioWithItsTitle) {
    EXPECT_EQ(svg().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_EQ(count_of(svg(), "id=\"track\""), 1u);
    struct Kind {
        const char* kind;
        std::size_t count;
        const char* one_title;
    };
    const Kind kinds[] = {
        {"station", 24, "station CUSTRA at 104,500 m, zone 104,200-104,850 m, timed 18:10"},
        {"plan-station", 24, "station CUSTRA at 104,500 m, zone 104,200-104,850 m, timed 18:10"},
        {"signal", 66, "signal at 6,050 m, left head type 2, right head type 2"},
        {"speed-board", 32,
         "speed board at 2,750 m: 100/100/105 km/h left, 100/100/105 km/h right"},
        {"sign-board", 15, "sign board at 46,450 m: ( GALLERIA )( MONTE ALTO )( 5000 m )"},
        {"mountain", 13, "mountain or tunnel stretch, class 1, 46,650-51,650 m"},
        {"curve", 122, "curve class 3 to the left (radius 2500 m), 500-650 m"},
        {"code-row", 5, "code row at 600 m, value 280"},
        {"code-drop", 5, "cab-code drop point at 600 m, code 280 (code row)"},
        {"signal-repetition", 1, "signal repetition with 4 codes, 500-104,250 m"},
    };
    for (const Kind& k : kinds) {
        const std::vector<std::string> titles = titles_of(svg(), k.kind);
        EXPECT_EQ(titles.size(), k.count) << k.kind;
        EXPECT_TRUE(contains(titles, k.one_title)) << k.kind;
    }
    for (const char* name : {"VELARO SAN MARTINO", "Valmora", "Sant\xC3\xA8rio", "CUSTRA"}) {
        EXPECT_NE(svg().find(std::string("<title>station ") + name + " at "), std::string::npos)
            << name;
    }
    // The limits as true steps, each with its stretch.
    EXPECT_TRUE(contains(steps_of(svg(), "train-limit"), "train limit 30 km/h over 0-900 m"));
    // The line's limit by the one rule: a board's highest speed on the higher side, so the
    // one-sided board at 800 m holds no train back and the board at 2,750 m gives 105 km/h.
    EXPECT_TRUE(
        contains(steps_of(svg(), "line-limit"), "line limit (boards) 105 km/h over 2,750-3,450 m"));
    EXPECT_FALSE(steps_of(svg(), "effective-limit").empty());
    EXPECT_FALSE(steps_of(svg(), "gradient").empty());
    EXPECT_FALSE(steps_of(svg(), "adhesion").empty());
    EXPECT_NE(svg().find("run-out: the 7 km past the route&apos;s end (105.5 to 112.5 km)"),
              std::string::npos);
    EXPECT_EQ(svg().find("error "), std::string::npos);
    EXPECT_EQ(svg().find("not-loaded"), std::string::npos);
    expect_no_text_overlaps(svg());
}

TEST(CliRenderSheet, AHandMadeScenarioShowsEveryKindOfObject) {
    TempFolder folder;
    write_file(folder.path() / testing::kSheetLineFile, testing::sheet_line_text());
    write_file(folder.path() / testing::kSheetTrainFile, testing::sheet_train_text());
    ASSERT_EQ(tool(folder.path(),
                   {"render", testing::kSheetLineFile, testing::kSheetTrainFile, "-o", "sheet.svg"})
                  .status,
              0);
    const std::string sheet = read_bytes(folder.path() / "sheet.svg");
    const std::pair<const char*, const char*> kinds[] = {
        {"station", "station BETA at 5,500 m, zone 5,250-5,750 m, timed 10:05"},
        {"signal", "signal at 9,600 m, left head type 1, no right head"},
        {"speed-board", "speed board at 800 m: 60/60/70 km/h left"},
        {"sign-board", "sign board at 3,900 m: ( GALLERIA )( PROVA )( 1000 m )"},
        {"mountain", "mountain or tunnel stretch, class 2, 7,000-7,300 m"},
        {"curve", "curve class 5 to the right (radius 500 m), 3,000-3,300 m"},
        {"curve", "curve class 6 to the left (radius 333 m), 6,000-6,200 m"},
        {"slowdown", "slowdown 30 km/h over 8,000-8,500 m"},
        {"slowdown-warning", "slowdown warning point at 6,800 m, 30 km/h ahead"},
        {"code-drop", "cab-code drop point at 3,000 m, no code value (code row)"},
        {"code-drop", "cab-code drop point at 7,800 m, code 180 (added by the compiler)"},
        {"code-row", "code row at 3,000 m, value 0"},
        {"signal-repetition", "signal repetition with 4 codes, 500-11,000 m"},
    };
    for (const auto& [kind, title] : kinds) {
        EXPECT_TRUE(contains(titles_of(sheet, kind), title)) << kind << ": " << title;
    }
    EXPECT_TRUE(
        contains(steps_of(sheet, "slowdown-limit"), "slowdowns 30 km/h over 8,000-8,500 m"));
    EXPECT_TRUE(
        contains(steps_of(sheet, "effective-limit"), "effective limit 30 km/h over 8,000-8,500 m"));
    EXPECT_TRUE(
        contains(steps_of(sheet, "gradient"), "gradient -8 \xE2\x80\xB0 over 5,000-8,000 m"));
    EXPECT_TRUE(contains(steps_of(sheet, "adhesion"), "adhesion 70 over 6,000-18,900 m"));
    expect_no_text_overlaps(sheet);
}

TEST(CliRenderSheet, ControlBytesOfTheAuthorsTextsBecomeVisibleEscapes) {
    // XML holds no control bytes: one in a label would make the whole picture unreadable.
    TempFolder folder;
    write_file(folder.path() / "C_linea.txt",
               testing::line_text({"cartello_indicatore,  3900,  (GALLERIA\x07)(\x01PROVA)"}));
    write_file(folder.path() / "C_T-.txt",
               train_text({"stazione,  0, 8, 400, 0, 0, 0, 1, 1, 0, 3, 1, 1, 1, 10, 0, 0, "
                           "AL\x1b[2JFA"}));
    ASSERT_EQ(tool(folder.path(), {"render", ".", "-o", "c.svg"}).status, 0);
    const std::string sheet = read_bytes(folder.path() / "c.svg");
    EXPECT_TRUE(std::none_of(sheet.begin(), sheet.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\n';
    }));
    EXPECT_TRUE(contains(titles_of(sheet, "sign-board"),
                         "sign board at 3,900 m: (GALLERIA\\x07)(\\x01PROVA)"));
    EXPECT_TRUE(contains(titles_of(sheet, "station"),
                         "station AL\\x1b[2JFA at 0 m, zone -400-400 m, timed 10:00"));
}

TEST(CliRenderSheet, AfterACodeTheSheetSaysSoAndDrawsOnlyWhatWasLoaded) {
    TempFolder folder;
    write_file(folder.path() / testing::kSheetLineFile, testing::sheet_line_text());
    // The third signal lands on the speed board at 6,500 m: error 16 stops the train's loading.
    write_file(folder.path() / testing::kSheetTrainFile, testing::sheet_train_text("6500"));
    const testing::ToolRun run = tool(folder.path(), {"render", ".", "-o", "sheet.svg"});
    ASSERT_EQ(run.status, 1) << run.err;  // drawn; the status says the scenario holds a code
    const std::string sheet = read_bytes(folder.path() / "sheet.svg");
    EXPECT_EQ(titles_of(sheet, "banner"),
              std::vector<std::string>{"error 16: signal cell already occupied by a speed board "
                                       "(at 6500 m) \xE2\x80\x94 PROVA_T 1-.txt:25"});
    EXPECT_NE(sheet.find("Loading stopped there: the sheet draws only what was loaded"),
              std::string::npos);
    EXPECT_EQ(titles_of(sheet, "error-mark"), std::vector<std::string>{"error 16 at 6,500 m"});
    EXPECT_EQ(titles_of(sheet, "plan-error-mark"), std::vector<std::string>{"error 16 at 6,500 m"});
    // The speed rows were read to 9000 m and the adhesion rows to 6000 m; nothing is drawn as
    // data beyond, and the stretches beyond are marked as not loaded.
    EXPECT_EQ(titles_of(sheet, "not-loaded").size(), 2u);
    for (const auto& [kind, end] : {std::pair<const char*, long>{"adhesion", 6000},
                                    {"train-limit", 9000},
                                    {"effective-limit", 9000}}) {
        const std::vector<std::string> steps = steps_of(sheet, kind);
        ASSERT_FALSE(steps.empty()) << kind;
        for (const std::string& s : steps) EXPECT_LE(over_end(s), end) << s;
    }
    // The line was loaded whole: its gradient reaches the run-out.
    EXPECT_GT(over_end(steps_of(sheet, "gradient").back()), 12000);
    const std::vector<std::string> signals = titles_of(sheet, "signal");
    EXPECT_EQ(signals.size(), 2u);
    expect_no_text_overlaps(sheet);
}

TEST_F(CliRender, FromAndToDrawAStretch) {
    ASSERT_EQ(tool(path(), {"render", ".", "-o", "stretch.svg", "--from", "40000", "--to", "60000"})
                  .status,
              0);
    const std::string sheet = read_bytes(path() / "stretch.svg");
    EXPECT_NE(sheet.find("plan view, 40,000-60,000 m</text>"), std::string::npos);
    for (const char* kind : {"station", "plan-station", "signal", "speed-board", "sign-board"}) {
        const std::vector<std::string> titles = titles_of(sheet, kind);
        EXPECT_FALSE(titles.empty()) << kind;
        for (const std::string& t : titles) {
            const long metre = metres_at(t, t.find(" at ") + 4);
            EXPECT_GE(metre, 40000) << t;
            EXPECT_LE(metre, 60000) << t;
        }
    }
    EXPECT_EQ(titles_of(sheet, "station").size(), 4u);
    EXPECT_NE(sheet.find(">40</text>"), std::string::npos);
    EXPECT_NE(sheet.find(">60</text>"), std::string::npos);
    expect_no_text_overlaps(sheet);

    struct Bad {
        std::vector<std::string> range;
        const char* message;
    };
    const Bad bad[] = {
        {{"--from", "50000", "--to", "40000"},
         "railscen render: --to 40000 must lie beyond --from 50000\n"},
        {{"--from", "200000"},
         "railscen render: --from 200000 lies beyond the grid, which ends at 112500 m\n"},
    };
    for (const Bad& b : bad) {
        std::vector<std::string> args = {"render", ".", "-o", "bad.svg"};
        args.insert(args.end(), b.range.begin(), b.range.end());
        const testing::ToolRun run = tool(path(), args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, b.message);
        EXPECT_FALSE(std::filesystem::exists(path() / "bad.svg"));
    }
}

TEST(CliRenderSheet, AFolderOfSeveralScenariosNeedsTheirNames) {
    TempFolder folder;
    write_file(folder.path() / "A_linea.txt", testing::sheet_line_text());
    write_file(folder.path() / "A_T1-.txt", testing::sheet_train_text());
    write_file(folder.path() / "A_T2-.txt", testing::sheet_train_text("6500"));
    write_file(folder.path() / "B_linea.txt", testing::sheet_line_text());
    write_file(folder.path() / "B_T1-.txt", testing::sheet_train_text());

    const testing::ToolRun none = tool(folder.path(), {"render", ".", "-o", "x.svg"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err,
              "railscen render: . holds 3 scenarios (\"A / T1\", \"A / T2\", \"B / T1\"): give "
              "--line-name and --train-name to pick one\n");
    const testing::ToolRun line_only =
        tool(folder.path(), {"render", ".", "-o", "x.svg", "--line-name", "A"});
    EXPECT_EQ(line_only.status, 2);
    EXPECT_NE(line_only.err.find("give --train-name to pick one"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.svg"));

    // Names that pick one scenario; the train's own name tells which (T2 holds a code).
    ASSERT_EQ(tool(folder.path(),
                   {"render", ".", "-o", "a2.svg", "--line-name", "A", "--train-name", "T2"})
                  .status,
              1);
    EXPECT_NE(read_bytes(folder.path() / "a2.svg").find("A \xE2\x80\x94 T2: plan view"),
              std::string::npos);
    EXPECT_EQ(tool(folder.path(), {"render", ".", "-o", "b.svg", "--line-name", "B"}).status, 0);
}

TEST(CliRenderSheet, ALongLineKeepsOneMarkPerPixelColumn) {
    // 1,000 km with a signal every 500 m: two thousand signals on about 1200 pixel columns.
    std::string signals;
    for (int p = 1000; p < 1000000; p += 500) {
        signals += "segnale,    " + std::to_string(p) + ",   1, 2, 0,  0, 0,    0,  0,0,0, 0\r\n";
    }
    TempFolder folder;
    write_file(folder.path() / "L_linea.txt",
               testing::line_text({"pendenza,   0,    0"}, "1000000"));
    write_file(folder.path() / "L_T-.txt",
               testing::train_text({"velocita,   0,    100", "aderenza,   0,    100"}) + signals);
    ASSERT_EQ(tool(folder.path(), {"render", ".", "-o", "long.svg"}).status, 0);
    const std::string sheet = read_bytes(folder.path() / "long.svg");
    std::size_t signals_drawn = 0;
    std::set<long> columns;
    const std::regex mark(R"re(<g class="signal"><title>([^<]*)</title>\n<rect x="([0-9.]+)")re");
    for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), mark);
         it != std::sregex_iterator(); ++it) {
        const std::string title = (*it)[1];
        signals_drawn += title.rfind("signal at ", 0) == 0 ? 1 : std::stoul(title);
        EXPECT_TRUE(columns.insert(std::lround(std::floor(std::stod((*it)[2]) + 0.75))).second)
            << title;
    }
    EXPECT_EQ(signals_drawn, 1998u);
    EXPECT_LT(columns.size(), 1300u);
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
    // Drawn, and the exit status says the scenario holds a code.
    ASSERT_EQ(tool(folder.path(), {"render", ".", "-o", "marked.svg", "--report", "r.json"}).status,
              1);
    const std::string marked = read_bytes(folder.path() / "marked.svg");
    // Named in the banner, on the plan and over the metre axis.
    EXPECT_EQ(count_of(marked, ">error 16</text>"), 3u);
    // Compiled files cannot tell what was loaded: the banner says so.
    EXPECT_EQ(titles_of(marked, "banner"), std::vector<std::string>{"error 16"});
    EXPECT_NE(marked.find("they may hold a partial scenario"), std::string::npos);
}

TEST_F(CliRender, AFolderWithoutAScenarioIsRefused) {
    TempFolder empty;
    const testing::ToolRun run = tool(empty.path(), {"render", ".", "-o", "x.svg"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "railscen render: . holds no scenario: no description texts (NAME_linea.txt and "
              "NAME_TRAIN-.txt) and no scenario file (.sim)\n");
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
    std::smatch size;
    ASSERT_TRUE(std::regex_search(svg(), size, std::regex(R"re(height="([0-9]+)")re")));
    const int height = std::stoi(size[1]);
    const std::string command =
        "timeout 180 chromium --headless --no-sandbox --disable-gpu "
        "--disable-background-networking --disable-component-update --disable-sync "
        "--no-first-run --hide-scrollbars --force-device-scale-factor=1 --user-data-dir=" +
        testing::shell_quoted((path() / "browser-profile").string()) + " --window-size=1400," +
        std::to_string(height) + " --screenshot=" + testing::shell_quoted(shot.string()) + " " +
        testing::shell_quoted("file://" + (path() / "scenario.svg").string()) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::optional<Picture> picture = read_png(shot);
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, 1400u);
    ASSERT_EQ(picture->height, static_cast<unsigned>(height));

    // Every sampled point of the track, away from the station discs, has track-coloured
    // pixels within two pixels of it.
    const Points points = track_points(svg());
    const Points stations = station_centres(svg());
    ASSERT_GT(points.size(), 1000u);
    ASSERT_EQ(stations.size(), 24u);
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
