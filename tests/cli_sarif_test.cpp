// --format sarif: the diagnostics as a SARIF 2.1.0 log, read back here and held against the
// JSON records it is made from. The log's validity against the standard is proved by the
// validator (tests/sarif/validate.mjs).

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_tool.h"
#include "model/file_io.h"
#include "report/diagnostics.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::TempFolder;
using testing::train_text;

// A signal on a speed board's cell (error 16 with a note on the board) and a gradient row out
// of order (an "order" warning with a note on the row before).
void write_faulty_scenario(const std::filesystem::path& folder) {
    write_file(folder / "L_linea.txt",
               line_text({"indicatori_vmax,  6050,  100,  100,  105,  0,  ,  ,  ,  0",
                          "pendenza,  11000,  1", "pendenza,  1200,  2"}));
    write_file(folder / "L_T-.txt",
               train_text({"segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}));
}

nlohmann::json region_of(const nlohmann::json& record) {
    return {{"startLine", record.at("line")},
            {"startColumn", record.at("column")},
            {"endColumn", record.at("column").get<int>() + 1}};
}

TEST(CliSarif, EveryDiagnosticIsAResultMadeFromItsJsonRecord) {
    TempFolder folder;
    write_faulty_scenario(folder.path());
    const std::string version = testing::tool(folder.path(), {"--version"}).out;
    for (const char* command : {"check", "compile"}) {
        SCOPED_TRACE(command);
        const testing::ToolRun json =
            testing::tool(folder.path(), {command, "--format", "json", "L_linea.txt", "L_T-.txt"});
        const testing::ToolRun sarif =
            testing::tool(folder.path(), {command, "--format", "sarif", "L_linea.txt", "L_T-.txt"});
        EXPECT_EQ(sarif.status, 1);
        EXPECT_EQ(sarif.err, "");
        const nlohmann::json records = nlohmann::json::parse(json.out).at("diagnostics");
        const nlohmann::json log = nlohmann::json::parse(sarif.out);
        EXPECT_EQ(log.at("version"), "2.1.0");
        ASSERT_EQ(log.at("runs").size(), 1u);
        const nlohmann::json& run = log.at("runs")[0];
        const nlohmann::json& driver = run.at("tool").at("driver");
        EXPECT_EQ(driver.at("name"), "railscen");
        EXPECT_EQ("railscen " + driver.at("version").get<std::string>() + "\n", version);

        const nlohmann::json& results = run.at("results");
        ASSERT_EQ(records.size(), 2u) << json.out;
        ASSERT_EQ(results.size(), records.size()) << sarif.out;
        for (std::size_t i = 0; i < results.size(); ++i) {
            const nlohmann::json& record = records[i];
            const nlohmann::json& result = results[i];
            EXPECT_EQ(result.at("level"), record.at("severity"));
            EXPECT_EQ(result.at("message").at("text"), record.at("message"));
            EXPECT_EQ(result.at("locations"),
                      nlohmann::json::array({{{"physicalLocation",
                                               {{"artifactLocation", {{"uri", record.at("file")}}},
                                                {"region", region_of(record)}}}}}));
            // The rule the result names, by id and by index.
            const nlohmann::json& rule = driver.at("rules").at(result.at("ruleIndex").get<int>());
            EXPECT_EQ(rule.at("id"), result.at("ruleId"));
            EXPECT_EQ(rule.at("defaultConfiguration").at("level"), record.at("severity"));
            EXPECT_FALSE(rule.at("shortDescription").at("text").get<std::string>().empty());
            // Every note becomes a related location with its message.
            ASSERT_EQ(result.at("relatedLocations").size(), record.at("related").size());
            for (std::size_t n = 0; n < record.at("related").size(); ++n) {
                const nlohmann::json& note = record.at("related")[n];
                const nlohmann::json at{{"artifactLocation", {{"uri", note.at("file")}}},
                                        {"region", region_of(note)}};
                const nlohmann::json expected{{"id", n},
                                              {"message", {{"text", note.at("message")}}},
                                              {"physicalLocation", at}};
                EXPECT_EQ(result.at("relatedLocations")[n], expected);
            }
        }
        const nlohmann::json& error = results[0];
        EXPECT_EQ(error.at("ruleId"), "RS16");
        EXPECT_EQ(error.at("properties"),
                  (nlohmann::json{{"metres", 6050}, {"cell", records[0].at("cell")}}));
        ASSERT_EQ(error.at("relatedLocations").size(), 1u);
        EXPECT_EQ(error.at("relatedLocations")[0].at("physicalLocation").at("artifactLocation"),
                  (nlohmann::json{{"uri", "L_linea.txt"}}));
        const nlohmann::json& order = results[1];
        EXPECT_EQ(order.at("ruleId"), "order");
        EXPECT_FALSE(order.contains("properties"));
        EXPECT_EQ(driver.at("rules").size(), 2u);
    }
}

TEST(CliSarif, ACleanScenarioIsALogWithNoResults) {
    TempFolder folder;
    ASSERT_EQ(testing::tool(folder.path(), {"sources", "."}).status, 0);
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    const testing::ToolRun run = testing::railscen(
        folder.path(),
        {"check", "--format", "sarif", names.line_description, names.train_description});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const nlohmann::json log = nlohmann::json::parse(run.out);
    EXPECT_EQ(log.at("runs")[0].at("results"), nlohmann::json::array());
    EXPECT_EQ(log.at("runs")[0].at("tool").at("driver").at("rules"), nlohmann::json::array());
}

// A record as diagnostic_records makes it, at a file or at none.
nlohmann::json record_at(const nlohmann::json& file, const nlohmann::json& line) {
    return {{"severity", "warning"},
            {"code", nullptr},
            {"name", "swapped"},
            {"message", "m"},
            {"file", file},
            {"line", line},
            {"column", line.is_null() ? nlohmann::json(nullptr) : nlohmann::json(3)},
            {"metres", nullptr},
            {"cell", nullptr},
            {"related", nlohmann::json::array()}};
}

nlohmann::json only_result(const nlohmann::json& record) {
    return nlohmann::json::parse(report::diagnostics_sarif(nlohmann::json::array({record})))
        .at("runs")[0]
        .at("results")[0];
}

// File names become URIs: relative ones relative references, absolute ones file URIs, with
// every byte outside the unreserved characters percent-encoded.
TEST(CliSarif, FileNamesBecomeUris) {
    const std::pair<const char*, const char*> cases[] = {
        {"L_linea.txt", "L_linea.txt"},
        {"VELARO-CUSTRA _linea.txt", "VELARO-CUSTRA%20_linea.txt"},
        {"my line/R 1-.txt", "my%20line/R%201-.txt"},
        {"/srv/a b/L_linea.txt", "file:///srv/a%20b/L_linea.txt"},
        {"C:/Users/Anna/L_linea.txt", "file:///C:/Users/Anna/L_linea.txt"},
        {"citt\xc3\xa0:1#2%_linea.txt", "citt%C3%A0%3A1%232%25_linea.txt"},
    };
    for (const auto& [file, uri] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(only_result(record_at(file, 4))
                      .at("locations")[0]
                      .at("physicalLocation")
                      .at("artifactLocation")
                      .at("uri"),
                  uri);
    }
}

// A text as a whole has a location without a region; a diagnostic about no text has none.
TEST(CliSarif, LocationsFollowWhatTheRecordKnows) {
    EXPECT_EQ(only_result(record_at("L_linea.txt", nullptr)).at("locations"),
              nlohmann::json::parse(
                  R"([{"physicalLocation": {"artifactLocation": {"uri": "L_linea.txt"}}}])"));
    EXPECT_EQ(only_result(record_at(nullptr, nullptr)).at("locations"), nlohmann::json::array());
}

}  // namespace
}  // namespace railscen
