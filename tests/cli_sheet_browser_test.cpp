// The route sheet as a browser lays it out: headless Chromium renders the stored scenario, a
// small scenario holding every kind of object and the same one stopped by a code, takes a
// screenshot of each (kept under the build folder), and measures every text in the page: no
// text may overlap another, and every kind of object is drawn with its title.

#include <gtest/gtest.h>

#include <regex>

#include "cli_tool.h"
#include "model/file_io.h"
#include "support/sheet_scenario.h"

namespace railscen {
namespace {

using testing::read_bytes;
using testing::shell_quoted;
using testing::TempFolder;
using testing::tool;

const std::filesystem::path kOutput = SHEET_OUTPUT_DIR;

// Measured in the page once it is laid out: the pairs of texts whose boxes meet, and the kinds
// with no element or with an element whose title is missing or names no metres.
constexpr const char* kMeasure = R"js(
const kinds = KINDS;
const boxes = [...document.querySelectorAll('svg text')]
    .map(t => ({text: t.textContent, r: t.getBoundingClientRect()}))
    .filter(b => b.r.width > 0 && b.r.height > 0);
const overlaps = [];
for (let i = 0; i < boxes.length; ++i) {
  for (let j = i + 1; j < boxes.length; ++j) {
    const a = boxes[i].r, b = boxes[j].r;
    if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) {
      overlaps.push(boxes[i].text + ' | ' + boxes[j].text);
    }
  }
}
const untitled = [];
for (const kind of kinds) {
  const elements = [...document.getElementsByClassName(kind)];
  if (elements.length === 0) untitled.push(kind + ': none drawn');
  for (const e of elements) {
    const title = e.querySelector(':scope > title');
    if (!title || !/[0-9] m\b/.test(title.textContent)) {
      untitled.push(kind + ': ' + (title ? title.textContent : 'no title'));
    }
  }
}
const out = document.createElement('pre');
out.id = 'measured';
out.textContent = 'texts ' + boxes.length + '\n' +
    overlaps.map(o => 'overlap ' + o).join('\n') + '\n' +
    untitled.map(u => 'untitled ' + u).join('\n') + '\nend';
document.body.appendChild(out);
)js";

const std::vector<std::string> kEveryKind = {
    "station",           "plan-station", "signal",     "plan-signal",     "speed-board",
    "sign-board",        "mountain",     "curve",      "code-drop",       "code-row",
    "signal-repetition", "train-limit",  "line-limit", "effective-limit", "gradient",
    "adhesion",          "run-out"};

std::string chromium(const std::filesystem::path& profile) {
    return "timeout 180 chromium --headless --no-sandbox --disable-gpu "
           "--disable-background-networking --disable-component-update --disable-sync "
           "--no-first-run --hide-scrollbars --force-device-scale-factor=1 --user-data-dir=" +
           shell_quoted(profile.string());
}

struct Measured {
    int texts = 0;
    std::vector<std::string> overlaps;
    std::vector<std::string> untitled;
};

// Lays the sheet out in a page, measures it there, and screenshots the sheet itself.
Measured measure_in_browser(const std::string& name, const std::string& svg,
                            const std::vector<std::string>& kinds) {
    std::filesystem::create_directories(kOutput);
    const std::filesystem::path sheet = kOutput / (name + ".svg");
    const std::filesystem::path page = kOutput / (name + ".html");
    const std::filesystem::path dom = kOutput / (name + ".dom.html");
    const std::filesystem::path shot = kOutput / (name + ".png");
    write_file(sheet, svg);

    std::string list = "[";
    for (const std::string& k : kinds) list += (list.size() > 1 ? ",'" : "'") + k + "'";
    list += "]";
    std::string script = kMeasure;
    script.replace(script.find("KINDS"), 5, list);
    write_file(page,
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>body{margin:0}"
               "</style></head><body>\n" +
                   svg.substr(svg.find("<svg ")) + "<script>" + script +
                   "</script></body></html>\n");

    TempFolder profile;
    Measured m;
    const std::string dump = chromium(profile.path()) + " --dump-dom " +
                             shell_quoted("file://" + page.string()) + " >" +
                             shell_quoted(dom.string()) + " 2>/dev/null";
    EXPECT_EQ(std::system(dump.c_str()), 0) << dump;
    const std::string out = read_bytes(dom);
    const std::size_t begin = out.find("<pre id=\"measured\">");
    EXPECT_NE(begin, std::string::npos) << "the page did not measure itself";
    if (begin == std::string::npos) return m;
    std::istringstream lines(out.substr(begin + 19, out.find("</pre>", begin) - begin - 19));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("texts ", 0) == 0) m.texts = std::stoi(line.substr(6));
        if (line.rfind("overlap ", 0) == 0) m.overlaps.push_back(line.substr(8));
        if (line.rfind("untitled ", 0) == 0) m.untitled.push_back(line.substr(9));
    }

    std::smatch size;
    EXPECT_TRUE(std::regex_search(svg, size, std::regex(R"re(height="([0-9]+)")re")));
    const std::string shoot = chromium(profile.path()) + " --window-size=1400," + size[1].str() +
                              " --screenshot=" + shell_quoted(shot.string()) + " " +
                              shell_quoted("file://" + sheet.string()) + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(shoot.c_str()), 0) << shoot;
    EXPECT_GT(std::filesystem::file_size(shot), 10000u);
    return m;
}

class SheetInBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "chromium is not installed";
        }
    }
    TempFolder folder_;
};

void expect_laid_out(const Measured& m, std::size_t min_texts) {
    EXPECT_GE(static_cast<std::size_t>(m.texts), min_texts);
    for (const std::string& o : m.overlaps) ADD_FAILURE() << "texts overlap: " << o;
    for (const std::string& u : m.untitled) ADD_FAILURE() << "without its title: " << u;
}

TEST_F(SheetInBrowser, TheStoredScenario) {
    ASSERT_EQ(tool(folder_.path(), {"sources", "."}).status, 0);
    ASSERT_EQ(tool(folder_.path(), {"render", ".", "-o", "sheet.svg"}).status, 0);
    const Measured m =
        measure_in_browser("stored", read_bytes(folder_.path() / "sheet.svg"), kEveryKind);
    expect_laid_out(m, 200);
}

TEST_F(SheetInBrowser, AScenarioWithEveryKindOfObject) {
    write_file(folder_.path() / testing::kSheetLineFile, testing::sheet_line_text());
    write_file(folder_.path() / testing::kSheetTrainFile, testing::sheet_train_text());
    ASSERT_EQ(tool(folder_.path(), {"render", ".", "-o", "sheet.svg"}).status, 0);
    std::vector<std::string> kinds = kEveryKind;
    kinds.insert(kinds.end(), {"slowdown", "slowdown-warning", "slowdown-limit", "plan-slowdown",
                               "plan-mountain", "plan-speed-board", "plan-sign-board"});
    const Measured m =
        measure_in_browser("every-kind", read_bytes(folder_.path() / "sheet.svg"), kinds);
    expect_laid_out(m, 60);
}

TEST_F(SheetInBrowser, AScenarioStoppedByACode) {
    write_file(folder_.path() / testing::kSheetLineFile, testing::sheet_line_text());
    write_file(folder_.path() / testing::kSheetTrainFile, testing::sheet_train_text("6500"));
    ASSERT_EQ(tool(folder_.path(), {"render", ".", "-o", "sheet.svg"}).status, 1);
    std::vector<std::string> kinds = kEveryKind;
    kinds.insert(kinds.end(), {"banner", "error-mark", "plan-error-mark", "not-loaded"});
    // The banner and the unloaded stretches name no metres of their own in every case.
    const Measured m = measure_in_browser("stopped", read_bytes(folder_.path() / "sheet.svg"),
                                          {"error-mark", "plan-error-mark", "station", "signal"});
    expect_laid_out(m, 60);
    const std::string svg = read_bytes(folder_.path() / "sheet.svg");
    for (const char* kind : {"banner", "not-loaded"}) {
        EXPECT_NE(svg.find(std::string("<g class=\"") + kind + "\"><title>"), std::string::npos)
            << kind;
    }
}

}  // namespace
}  // namespace railscen
