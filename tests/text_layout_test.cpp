// fmt's layout: a laid-out text gives the reader the same fields, compiles to the same bytes,
// and lays out to itself.

#include <gtest/gtest.h>

#include <filesystem>

#include "compile/memorizza_percorso.h"
#include "long_scenario.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "source_text/description_writers.h"
#include "source_text/starter.h"
#include "source_text/text_layout.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::TempFolder;

struct Pair {
    std::string name;
    std::string line;
    std::string train;
};

// Every compiled file of the pair, by name.
std::vector<std::pair<std::string, std::string>> compiled(const Pair& p) {
    TempFolder out;
    Run run = make_run();
    MemorySource source(p.line, p.train);
    const CompileOutcome outcome = memorizza_percorso(run, 1, source, out.path());
    EXPECT_EQ(run.error_code, 0) << p.name;
    EXPECT_FALSE(outcome.fatal) << p.name;
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : outcome.written) {
        files.emplace_back(
            name, testing::read_bytes(out.path() / std::filesystem::path(name).filename()));
    }
    return files;
}

std::vector<Pair> pairs() {
    TempFolder folder;
    dati_linea(folder.path(), kScenarioLineName, kScenarioTrainName);
    dati_treno(folder.path(), kScenarioLineName, kScenarioTrainName);
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    const bench::LongScenario long_one = bench::make_long_scenario(250000);
    const StarterTexts starter = starter_scenario("L", "T");
    return {
        {"stored", testing::read_bytes(folder.path() / names.line_description),
         testing::read_bytes(folder.path() / names.train_description)},
        {"long", long_one.line_text, long_one.train_text},
        {"starter", starter.line_text, starter.train_text},
    };
}

TEST(TextLayout, ALaidOutTextCompilesToTheSameBytesAndLaysOutToItself) {
    for (const Pair& p : pairs()) {
        const Pair laid{p.name, laid_out_text(p.line), laid_out_text(p.train)};
        EXPECT_TRUE(same_fields(p.line, laid.line)) << p.name;
        EXPECT_TRUE(same_fields(p.train, laid.train)) << p.name;
        EXPECT_EQ(compiled(p), compiled(laid)) << p.name;
        EXPECT_EQ(laid_out_text(laid.line), laid.line) << p.name;
        EXPECT_EQ(laid_out_text(laid.train), laid.train) << p.name;
    }
}

TEST(TextLayout, ColumnsLineEndsAndWhatStaysAsItIs) {
    struct Case {
        const char* what;
        std::string text;
        std::string laid_out;
    };
    const Case cases[] = {
        {"columns per section, right-aligned",
         "[pendenze]\r\npendenza, 0, 0\r\npendenza,   12000,-3\r\n",
         "[pendenze]\r\npendenza,      0,   0\r\npendenza,  12000,  -3\r\n"},
        {"a header starts new columns", "[a]\nx, 1\n[b]\nx, 100\n", "[a]\nx,  1\n[b]\nx,  100\n"},
        {"empty fields stay empty", "indicatori_vmax, 800, 30, , 0\n",
         "indicatori_vmax,  800,  30,  ,  0\n"},
        {"blanks inside a field and Windows-1252 bytes stay", "cartello,  1, (  CAFF\xc8 )  \r\n",
         "cartello,  1,  (  CAFF\xc8 )\r\n"},
        {"blank-separated numbers stay in their field", "orologio,  16   39  30 \n",
         "orologio,  16   39  30\n"},
        {"comments, quotes and tabs stay", "- a,  b  \nx, \"a,b\"\nx,\t1\n",
         "- a,  b\nx, \"a,b\"\nx,\t1\n"},
        {"a last line without its end", "x,1", "x,  1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(laid_out_text(c.text), c.laid_out) << c.what;
        EXPECT_TRUE(same_fields(c.text, c.laid_out)) << c.what;
    }
    EXPECT_FALSE(same_fields("x, 1, 2\n", "x, 1\n2\n"));
}

}  // namespace
}  // namespace railscen
