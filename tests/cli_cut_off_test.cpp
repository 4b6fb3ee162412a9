// The cut-off warning on texts cut as an interrupted save leaves them: at a line end, before
// the closing line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/warnings.h"
#include "compile/memorizza_percorso.h"
#include "support/test_support.h"

namespace railscen {
namespace {

constexpr const char* kLine =
    "[generale]\r\nlunghezza percorso,    2000\r\n[curve]\r\npendenza,  500,  4\r\n[fine]\r\n";
constexpr const char* kTrain =
    "[generale]\r\norologio,  8 0 0\r\n[stazioni]\r\n"
    "stazione,  1000,  1,  200,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  8,  1,  0,  Bivio\r\n"
    "[fine]\r\n";

std::vector<std::string> cut_off_messages(const std::string& line, const std::string& train) {
    Run run = make_run();
    testing::MemorySource source(line, train);
    compile_in_memory(run, 0, source);
    std::vector<std::string> out;
    for (const Diagnostic& d : analysis::cut_off_warnings(run)) {
        out.push_back((d.at->file == SourceFile::kLine ? "line:" : "train:") +
                      std::to_string(d.at->line) + " " + d.reason);
    }
    return out;
}

std::string before(const std::string& text, const std::string& cut) {
    return text.substr(0, text.find(cut));
}

TEST(CutOff, TextsEndingBeforeTheirClosingLineAreWarnedWithWhatIsMissing) {
    struct Case {
        const char* name;
        std::string line;
        std::string train;
        std::vector<std::string> expected;
    };
    const std::string kClosing = "its closing line \"[fine]\"";
    const std::string kMay = "; the file may be cut off (a save that did not finish?)";
    const std::vector<Case> cases = {
        {"whole texts", kLine, kTrain, {}},
        {"closing line in capitals, no line end", kLine, before(kTrain, "[fine]") + " [FINE]", {}},
        {"line cut after its gradient",
         before(kLine, "[fine]"),
         kTrain,
         {"line:4 the line description ends without " + kClosing + kMay}},
        {"line cut after its general section",
         before(kLine, "[curve]"),
         kTrain,
         {"line:2 the line description ends without " + kClosing + kMay}},
        {"train cut before its stations",
         kLine,
         before(kTrain, "[stazioni]"),
         {"train:2 the train description ends without " + kClosing + " and stations " +
          "(\"stazione\")" + kMay}},
        {"train cut before its clock, blank lines after",
         kLine,
         before(kTrain, "orologio") + "\r\n\r\n",
         {"train:1 the train description ends without " + kClosing +
          ", a clock (\"orologio\") and stations (\"stazione\")" + kMay}},
        {"train cut after its last station",
         kLine,
         before(kTrain, "[fine]"),
         {"train:4 the train description ends without " + kClosing + kMay}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cut_off_messages(c.line, c.train), c.expected);
    }
}

}  // namespace
}  // namespace railscen
