// The driver's slowdown order form generated from a scenario's texts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "model/line_list.h"
#include "paper/slowdown_form.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"
#include "support/test_support.h"

namespace railscen::paper {
namespace {

std::vector<std::string> stored_form() {
    std::vector<std::string> lines;
    for (const std::string_view line : stored_slowdown_form()) {
        if (line == kEndOfList) break;
        lines.emplace_back(line);
    }
    return lines;
}

// The stored scenario with these rows after the train text's "[rallentamenti]".
Run compiled_with_slowdowns(const std::vector<std::string>& rows) {
    std::vector<std::string_view> train;
    for (const std::string_view line : stored_train_description()) {
        train.push_back(line);
        if (line == "[rallentamenti]") train.insert(train.end(), rows.begin(), rows.end());
        if (line == kEndOfList) break;
    }
    Run run = make_run();
    MemorySource source(list_bytes(stored_line_description()), list_bytes(train));
    compile_in_memory(run, 1, source);
    return run;
}

TEST(SlowdownForm, StoredScenarioGivesThePacksOwnForm) {
    const railscen::Run run = compiled_with_slowdowns({});
    ASSERT_EQ(run.error_code, 0);
    const DocumentLines form = slowdown_form_lines(slowdown_form(run));
    EXPECT_EQ(form.lines, stored_form());
    EXPECT_EQ(document_bytes(form.lines), list_bytes(stored_slowdown_form()));
    EXPECT_TRUE(form.warnings.empty());
}

TEST(SlowdownForm, ThreeSlowdownsGiveThreeRowsBetweenTheirStations) {
    const railscen::Run run = compiled_with_slowdowns({
        "rallentamento,     500,   60,   1000,   1,   0,   0",
        "rallentamento,   46000,   30,    600,   1,   0,   0",
        "rallentamento,   96000,   50,   2500,   1,   0,   0",
    });
    ASSERT_EQ(run.error_code, 0);
    const DocumentLines form = slowdown_form_lines(slowdown_form(run));

    const std::vector<std::string> stored = stored_form();
    std::vector<std::string> expected(stored.begin(), stored.begin() + 12);
    expected.insert(
        expected.end(),
        {
            " | 1 |  VELARO SAN MARTINO - Bivio|   -1+500   |      60  |    1000 |            |",
            " | 2 |  Valmora - Pian di Sotto   |   44+000   |      30  |     600 |            |",
            " | 3 |  Valico - CUSTRA           |   94+000   |      50  |    2500 |            |",
        });
    expected.insert(expected.end(), stored.begin() + 15, stored.end());
    EXPECT_EQ(form.lines, expected);
    const std::vector<std::string> warnings = {
        "slowdown order form, row 1: \"VELARO SAN MARTINO - Bivio Casale\" is longer than its 26 "
        "characters; cut to \"VELARO SAN MARTINO - Bivio\""};
    EXPECT_EQ(form.warnings, warnings);
}

// The line's place words and the train's number come from the names the files are built from.
TEST(SlowdownForm, PlacesAndNumberFromTheNames) {
    railscen::Run run = compiled_with_slowdowns({});
    run.line_name = "ALBA-BORGO ";
    run.train_name = "IR 2201";
    const DocumentLines form = slowdown_form_lines(slowdown_form(run));
    EXPECT_EQ(form.lines[4], "  Linea  ALBA  BORGO");
    EXPECT_EQ(form.lines[5],
              "  Si ordina al macchinista del treno 2201 di effettuare i seguenti rallentamenti");
}

}  // namespace
}  // namespace railscen::paper
