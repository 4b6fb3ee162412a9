// railscen lsp spoken to as an editor would: framed JSON-RPC over the server process's standard
// input and output, on the stored scenario's texts as `railscen sources` writes them.

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <random>

#include "analysis/speed_limits.h"
#include "lsp/documents.h"
#include "lsp/positions.h"
#include "lsp/records.h"
#include "model/text_encoding.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace railscen::cli {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;
using testing::ChildProcess;

constexpr auto kTimeout = 20s;

std::string frame(std::string_view body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

class Client {
  public:
    Client() : server_({RAILSCEN_PATH, "lsp"}) {}

    void send(const json& message) { server_.write(frame(message.dump())); }
    void send_raw(std::string_view bytes) { server_.write(bytes); }

    // The next message, or null on timeout or end.
    json receive() {
        const auto head = server_.read_until("\r\n\r\n", timeout);
        if (!head) return nullptr;
        const std::size_t at = head->find("Content-Length: ");
        const std::size_t length = std::stoul(head->substr(at + 16));
        while (server_.buffer().size() < length) {
            if (!server_.read_more(timeout)) return nullptr;
        }
        std::string body = server_.buffer().substr(0, length);
        server_.buffer().erase(0, length);
        return json::parse(body);
    }

    // Sends a request and returns its response; notifications on the way are kept.
    json request(const std::string& method, json params) {
        const int id = ++next_id_;
        send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
        return response(id);
    }
    json response(const json& id) {
        while (true) {
            json m = receive();
            if (m.is_null()) return m;
            if (m.contains("id") && m["id"] == id && !m.contains("method")) return m;
            notifications_.push_back(std::move(m));
        }
    }
    void notify(const std::string& method, json params) {
        send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }

    // The next diagnostics published for uri.
    json diagnostics_for(const std::string& uri) {
        while (true) {
            for (auto it = notifications_.begin(); it != notifications_.end(); ++it) {
                if ((*it)["method"] == "textDocument/publishDiagnostics" &&
                    (*it)["params"]["uri"] == uri) {
                    json d = (*it)["params"]["diagnostics"];
                    notifications_.erase(it);
                    return d;
                }
            }
            json m = receive();
            if (m.is_null()) return m;
            notifications_.push_back(std::move(m));
        }
    }

    // As most editors do, the client shows a diagnostic's notes at their places unless told.
    void initialize(json capabilities = {
                        {"textDocument",
                         {{"publishDiagnostics", {{"relatedInformation", true}}}}}}) {
        ASSERT_TRUE(
            request("initialize", {{"capabilities", std::move(capabilities)}}).contains("result"));
    }
    void open(const std::string& uri, const std::string& utf8) {
        notify("textDocument/didOpen",
               {{"textDocument",
                 {{"uri", uri}, {"languageId", "railscen"}, {"version", 1}, {"text", utf8}}}});
    }
    void change(const std::string& uri, const std::string& utf8, int version) {
        notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", version}}},
                                          {"contentChanges", {{{"text", utf8}}}}});
    }
    json hover(const std::string& uri, int line, int character) {
        return request("textDocument/hover",
                       {{"textDocument", {{"uri", uri}}},
                        {"position", {{"line", line}, {"character", character}}}});
    }

    ChildProcess& process() { return server_; }

    // How long a message may take: only a guard against a hang, never a measure of speed.
    std::chrono::milliseconds timeout = kTimeout;

  private:
    ChildProcess server_;
    int next_id_ = 0;
    std::vector<json> notifications_;
};

// The stored scenario's two texts, written once by the built tool.
class StoredScenario : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new testing::TempFolder();
        const std::string command =
            std::string("\"") + RAILSCEN_PATH + "\" sources \"" + folder_->path().string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    static void TearDownTestSuite() { delete folder_; }

    static std::filesystem::path line_path() {
        return folder_->path() / "VELARO-CUSTRA _linea.txt";
    }
    static std::filesystem::path train_path() {
        return folder_->path() / "VELARO-CUSTRA _R 40817-.txt";
    }
    static std::string utf8_of(const std::filesystem::path& p) {
        return utf8_from_1252(testing::read_bytes(p));
    }
    static std::string replaced(std::string text, std::string_view from, std::string_view to) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        return text;
    }

    static testing::TempFolder* folder_;
};
testing::TempFolder* StoredScenario::folder_ = nullptr;

TEST_F(StoredScenario, TheStoredTextsCompileCleanAndASignalOnABoardIsReportedOnItsField) {
    Client c;
    c.initialize();
    const std::string line_uri = lsp::uri_from_path(line_path());
    const std::string train_uri = lsp::uri_from_path(train_path());
    c.open(line_uri, utf8_of(line_path()));
    // The line alone is compiled with the train on disk, and both get their diagnostics.
    EXPECT_EQ(c.diagnostics_for(line_uri), json::array());
    EXPECT_EQ(c.diagnostics_for(train_uri), json::array());

    // The speed board at 2750 m moved onto the signal at 6050 m: the signal, loaded later, finds
    // its cell taken. The train text is not open: its file on disk is the partner.
    const std::string moved =
        replaced(utf8_of(line_path()), "indicatori_vmax,  2750,", "indicatori_vmax,  6050,");
    c.change(line_uri, moved, 2);
    EXPECT_EQ(c.diagnostics_for(line_uri), json::array());
    const json train = c.diagnostics_for(train_uri);
    ASSERT_EQ(train.size(), 1u) << train.dump();
    EXPECT_EQ(train[0]["code"], 16);
    EXPECT_EQ(train[0]["severity"], 1);
    EXPECT_EQ(train[0]["source"], "railscen");
    EXPECT_NE(train[0]["message"].get<std::string>().find("occupied by a speed board"),
              std::string::npos);
    // "segnale,    6050, ..." on line 59: the range covers the position field.
    EXPECT_EQ(
        train[0]["range"],
        json::parse(R"({"start":{"line":58,"character":12},"end":{"line":58,"character":16}})"));

    // The note: the speed board that holds the cell, in the line's unsaved buffer.
    ASSERT_EQ(train[0]["relatedInformation"].size(), 1u) << train.dump();
    const json& note = train[0]["relatedInformation"][0];
    EXPECT_EQ(note["location"]["uri"], line_uri);
    EXPECT_EQ(note["location"]["range"]["start"], (json{{"line", 594}, {"character", 18}}));
    EXPECT_EQ(note["message"], "cell 122 already holds the speed board placed here");

    // The train opened in the editor, fixed there: its buffer now wins over the file.
    const std::string train_text =
        replaced(utf8_of(train_path()), "segnale,    6050,", "segnale,    6100,");
    c.open(train_uri, train_text);
    EXPECT_EQ(c.diagnostics_for(line_uri), json::array());
    EXPECT_EQ(c.diagnostics_for(train_uri), json::array());

    // Closed unsaved: the line is compiled with the train file again, and the error is back.
    c.notify("textDocument/didClose", {{"textDocument", {{"uri", train_uri}}}});
    EXPECT_EQ(c.diagnostics_for(train_uri), json::array());  // a closed text is cleared
    EXPECT_EQ(c.diagnostics_for(line_uri), json::array());
    EXPECT_EQ(c.diagnostics_for(train_uri).size(), 1u);
}

// A client that shows no related information gets each note as a diagnostic of its own, at the
// note's place, in whichever text it lies.
TEST_F(StoredScenario, WithoutRelatedInformationANoteIsShownAtItsOwnPlace) {
    const std::string line_uri = lsp::uri_from_path(line_path());
    const std::string train_uri = lsp::uri_from_path(train_path());
    struct Case {
        const char* name;
        std::string line;
        std::string train;
        std::string note_uri;
        json note_range;
        std::string note;
    };
    const Case cases[] = {
        {"the speed board that holds the signal's cell, in the other text",
         replaced(utf8_of(line_path()), "indicatori_vmax,  2750,", "indicatori_vmax,  6050,"),
         utf8_of(train_path()), line_uri,
         json::parse(R"({"start":{"line":594,"character":18},"end":{"line":594,"character":22}})"),
         "cell 122 already holds the speed board placed here"},
        {"the signal that holds the cell, in the same text", utf8_of(line_path()),
         replaced(utf8_of(train_path()), "segnale,    7300,", "segnale,    6050,"), train_uri,
         json::parse(R"({"start":{"line":58,"character":12},"end":{"line":58,"character":16}})"),
         "cell 122 already holds the signal placed here"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Client c;
        c.initialize(json::object());  // announces nothing
        c.open(line_uri, k.line);
        c.open(train_uri, k.train);
        json line;
        json train;
        // Each open publishes both texts: the second round holds both buffers.
        for (int round = 0; round < 2; ++round) {
            line = c.diagnostics_for(line_uri);
            train = c.diagnostics_for(train_uri);
        }
        const json& note_side = k.note_uri == line_uri ? line : train;
        const json& error_side = train;
        json error;
        json note;
        for (const json& d : error_side) {
            if (d["severity"] == 1) error = d;
        }
        for (const json& d : note_side) {
            if (d["severity"] == 3) note = d;
        }
        ASSERT_TRUE(error.is_object()) << train.dump();
        EXPECT_EQ(error["code"], 16);
        // The finding keeps its related place for clients that read it anyway.
        ASSERT_EQ(error["relatedInformation"].size(), 1u);
        EXPECT_EQ(error["relatedInformation"][0]["message"], k.note);
        const std::string message = error["message"];
        EXPECT_EQ(note, (json{{"range", k.note_range},
                              {"severity", 3},
                              {"source", "railscen"},
                              {"message", k.note + "\n(a note to: " +
                                              message.substr(0, message.find('\n')) + ")"}}));
        // Nothing else: the two texts hold the error and its note alone.
        EXPECT_EQ(line.size() + train.size(), 2u) << line.dump() << train.dump();
    }
}

TEST_F(StoredScenario, HoverTellsWhatARecordBecomes) {
    Client c;
    c.initialize();
    const std::string line_uri = lsp::uri_from_path(line_path());
    const std::string train_uri = lsp::uri_from_path(train_path());
    c.open(line_uri, utf8_of(line_path()));
    c.open(train_uri, utf8_of(train_path()));
    struct Case {
        std::string uri;
        int line;  // 0-based
        std::string starts_with;
    };
    const std::vector<Case> cases = {
        {train_uri, 58,
         "signal at 6050 m \xe2\x86\x92 cell 122; approach marks in cells 120, 118, 116, 114"},
        {line_uri, 594, "speed board at 2750 m \xe2\x86\x92 cell 56; packed value "},
        {line_uri, 1, "line length 105500 m \xe2\x86\x92 grid of cells 0 to 2250"},
        {line_uri, 283, "gradient 3 \xe2\x80\xb0 from 46050 m \xe2\x86\x92 from cell 921"},
        {line_uri, 581,
         "mountain of kind 11 from 55200 m to 56050 m \xe2\x86\x92 cells 1104 to 1120"},
    };
    for (const Case& k : cases) {
        const json r = c.hover(k.uri, k.line, 2);
        ASSERT_TRUE(r.contains("result")) << r.dump();
        ASSERT_TRUE(r["result"].is_object()) << k.starts_with << " got " << r.dump();
        const std::string value = r["result"]["contents"]["value"];
        EXPECT_EQ(value.substr(0, k.starts_with.size()), k.starts_with) << value;
    }
    // A speed board's hover ends with the limit in force there, by the rule the route sheet and
    // the timetable's bound use.
    const railscen::Run run =
        testing::load(testing::read_bytes(line_path()), testing::read_bytes(train_path()));
    const std::vector<analysis::SpeedStretch> limits = analysis::speed_limits(run);
    const analysis::SpeedStretch* at_board = analysis::stretch_at(limits, 2750);
    ASSERT_NE(at_board, nullptr);
    const std::string board = c.hover(line_uri, 594, 2)["result"]["contents"]["value"];
    const std::string in_force = "\n\nin force at 2750 m: " + analysis::stretch_text(*at_board) +
                                 " (" + analysis::limit_source_words(at_board->sources) + ")";
    ASSERT_GE(board.size(), in_force.size());
    EXPECT_EQ(board.substr(board.size() - in_force.size()), in_force);
    // The last station: its zone and stop cell.
    const std::string train = utf8_of(train_path());
    const auto lines = [&] {
        std::vector<std::string> out;
        std::size_t at = 0;
        while (at < train.size()) {
            const std::size_t end = train.find("\r\n", at);
            out.push_back(train.substr(at, end - at));
            at = end + 2;
        }
        return out;
    }();
    int custra = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("CUSTRA") != std::string::npos && lines[i].find("stazione") == 0) {
            custra = static_cast<int>(i);
        }
    }
    ASSERT_GE(custra, 0);
    const std::string station = c.hover(train_uri, custra, 0)["result"]["contents"]["value"];
    EXPECT_EQ(station.substr(0, 43), "station \"CUSTRA\" (slot 24): zone 104200 to ") << station;
    EXPECT_NE(station.find("stop cell "), std::string::npos) << station;
    // Comment and section lines hold no record.
    EXPECT_TRUE(c.hover(line_uri, 0, 0)["result"].is_null());
}

TEST_F(StoredScenario, OutlineListsSectionsAndRecordsAndCompletionDocumentsFields) {
    Client c;
    c.initialize();
    const std::string line_uri = lsp::uri_from_path(line_path());
    const std::string train_uri = lsp::uri_from_path(train_path());
    c.open(line_uri, utf8_of(line_path()));
    c.open(train_uri, utf8_of(train_path()));

    const json line =
        c.request("textDocument/documentSymbol", {{"textDocument", {{"uri", line_uri}}}});
    std::vector<std::pair<std::string, std::size_t>> sections;
    for (const json& s : line["result"]) sections.emplace_back(s["name"], s["children"].size());
    const std::vector<std::pair<std::string, std::size_t>> expected = {
        {"[generale]", 8},  {"[curve]", 122},      {"[pendenze]", 445}, {"[montagne]", 13},
        {"[cartelli]", 32}, {"[indicazioni]", 15}, {"[fine]", 0}};
    EXPECT_EQ(sections, expected);
    EXPECT_EQ(line["result"][2]["children"][1]["name"], "gradient 950 m");

    const json train =
        c.request("textDocument/documentSymbol", {{"textDocument", {{"uri", train_uri}}}});
    std::vector<std::string> stations;
    for (const json& s : train["result"]) {
        for (const json& r : s["children"]) {
            if (r["detail"].get<std::string>().rfind("station", 0) == 0)
                stations.push_back(r["name"]);
        }
    }
    ASSERT_EQ(stations.size(), 24u);
    EXPECT_EQ(stations.back(), "CUSTRA");

    const json items =
        c.request("textDocument/completion",
                  {{"textDocument", {{"uri", train_uri}}},
                   {"position", {{"line", 0}, {"character", 0}}}})["result"]["items"];
    // Every field as the format table names it, with its unit and range.
    std::map<std::string, json> by_label;
    for (const json& i : items) by_label[i["label"]] = i;
    ASSERT_EQ(by_label.size(), 10u) << items.dump();
    const json& speed = by_label["velocita"];
    EXPECT_EQ(speed["detail"], "speed limit: position (m), speed (km/h)");
    EXPECT_EQ(speed["documentation"]["value"],
              "the train's speed limit from this position to the next row\n"
              "1. position (m): (position + 100) / 50 within the grid, else code 15\n"
              "2. speed (km/h): 0 to 1277 (stored as speed / 5)\n");
    const json& signal = by_label["segnale"];
    EXPECT_EQ(signal["detail"],
              "signal: posizione (m), sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo");
    EXPECT_NE(signal["documentation"]["value"].get<std::string>().find(
                  "\n2. sx: left head type: 1, or 2 (stores tempo)\n"),
              std::string::npos);
    const std::string station = by_label["stazione"]["documentation"]["value"];
    EXPECT_NE(station.find("\n5. byte4: 0 to 255; cleared below 600 m and at the first station\n"
                           "6. byte3: 0 to 255; not 0: the zone ends 50 m further\n"),
              std::string::npos)
        << station;
    EXPECT_NE(station.find("\n14. hour (h): 0 to 23; all three 0: no timed call\n"),
              std::string::npos)
        << station;
}

// A record with no more to tell than its fields shows them from the format table with the
// values read; the clock shows its time.
TEST_F(StoredScenario, HoverOnSettingsGivesTheFormatTablesFieldsAndTheClockItsTime) {
    Client c;
    c.initialize();
    const std::string line_uri = lsp::uri_from_path(line_path());
    const std::string train_uri = lsp::uri_from_path(train_path());
    c.open(line_uri, utf8_of(line_path()));
    c.open(train_uri, utf8_of(train_path()));
    struct Case {
        int line;  // 0-based, in the train text
        std::string value;
    };
    const Case cases[] = {
        {4, "cars: the number of cars of the train\n1. cars = 5: a whole number"},
        {5,
         "braked mass: the train's braked-mass percentage\n1. percentage (%) = 100: a whole "
         "number"},
        {7, "clock at the start of the run: 16:39:30 \xe2\x86\x92 scenario slot 86, words 3 to 5"},
    };
    for (const Case& k : cases) {
        const json r = c.hover(train_uri, k.line, 0);
        ASSERT_TRUE(r["result"].is_object()) << r.dump();
        EXPECT_EQ(r["result"]["contents"]["value"], k.value);
    }
    // A morning clock keeps its two-digit hour, as the text's times are written.
    c.change(train_uri,
             replaced(utf8_of(train_path()), "orologio,    16              39            30 ",
                      "orologio,    7  10  0"),
             2);
    EXPECT_EQ(c.hover(train_uri, 7, 0)["result"]["contents"]["value"],
              "clock at the start of the run: 7:10:00 \xe2\x86\x92 scenario slot 86, words 3 to 5");
}

// The completion's keywords are recognised by the compiler's own tests as their records, and
// each is its own entry of the format table.
TEST(LspRecords, EveryCompletedKeywordIsItsRecord) {
    const auto in_table = [](const lsp::RecordInfo& i) {
        const RecordFormat* f = find_record_format(i.keyword);
        return f != nullptr && f->keyword == i.keyword && &lsp::format_of(i) == f;
    };
    for (int g = 0; g <= static_cast<int>(GeneralRecord::kSignalRepetition); ++g) {
        const auto r = static_cast<GeneralRecord>(g);
        EXPECT_EQ(general_matches(lsp::info(r).keyword), GeneralMatches{r}) << lsp::info(r).keyword;
        EXPECT_TRUE(in_table(lsp::info(r))) << lsp::info(r).keyword;
    }
    for (int o = 0; o <= static_cast<int>(ObjectRecord::kSignBoard); ++o) {
        const auto r = static_cast<ObjectRecord>(o);
        EXPECT_EQ(object_matches(lsp::info(r).keyword, true), ObjectMatches{r});
        EXPECT_TRUE(in_table(lsp::info(r))) << lsp::info(r).keyword;
    }
    for (int t = 0; t <= static_cast<int>(TrainRecord::kStation); ++t) {
        const auto r = static_cast<TrainRecord>(t);
        EXPECT_EQ(train_matches(lsp::info(r).keyword), TrainMatches{r}) << lsp::info(r).keyword;
        EXPECT_TRUE(in_table(lsp::info(r))) << lsp::info(r).keyword;
    }
}

// Every byte above 0x7F as the editor shows it (Windows-1252, or Latin-1 where Windows-1252
// defines no character), one UTF-16 code unit each.
std::string high_characters() {
    std::string utf8;
    for (int b = 0x80; b <= 0xFF; ++b) {
        std::string one = utf8_from_1252(std::string(1, static_cast<char>(b)));
        if (one == "\xef\xbf\xbd") {  // undefined in Windows-1252: Latin-1's control character
            one = {static_cast<char>(0xC2), static_cast<char>(b)};
        }
        utf8 += one;
    }
    return utf8;
}

TEST(LspDocuments, RangedEditsReplaceTheirRangeAndKeepTheLostCount) {
    const std::string kCheck = "\xe2\x9c\x93";  // U+2713, which Windows-1252 cannot hold
    struct Case {
        const char* name;
        std::string text;
        lsp::TextEdit range;
        std::string insert;
        bool applied;
        std::string bytes;
        std::size_t lost;
    };
    const std::vector<Case> cases = {
        {"one word",
         "segnale, 1000\r\nfine\r\n",
         {0, 9, 0, 13},
         "2500",
         true,
         "segnale, 2500\r\nfine\r\n",
         0},
        {"at the end of a line", "a\nb", {0, 1, 0, 1}, "x", true, "ax\nb", 0},
        {"across lines, lone CR", "ab\rcd\ref", {0, 1, 2, 1}, "", true, "af", 0},
        {"into an empty text", "", {0, 0, 0, 0}, "x" + kCheck, true, "x?", 1},
        {"a lost character deleted", kCheck + "ab", {0, 0, 0, 1}, "", true, "ab", 0},
        {"a column past its line", "ab\ncd", {0, 3, 0, 3}, "x", false, "ab\ncd", 0},
        {"a line past the last", "ab\ncd", {2, 0, 2, 0}, "x", false, "ab\ncd", 0},
        {"an end before its start", "abcd", {0, 3, 0, 1}, "x", false, "abcd", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lsp::Documents documents;
        documents.open("file:///d/x_linea.txt", c.text, 1);
        EXPECT_EQ(documents.edit("file:///d/x_linea.txt", c.range, c.insert), c.applied);
        const lsp::OpenDocument* d = documents.find("file:///d/x_linea.txt");
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->bytes, c.bytes);
        EXPECT_EQ(d->lost_characters(), c.lost);
    }
}

TEST(LspDocuments, FileUrisBecomePathsAndBack) {
    // Escapes are undone, an authority dropped; "/C:" stays a folder name where paths have no
    // drive letters.
    const std::filesystem::path odd = "/tmp/VELARO-CUSTRA _linea 100%.txt";
    EXPECT_EQ(lsp::uri_from_path(odd), "file:///tmp/VELARO-CUSTRA%20_linea%20100%25.txt");
    EXPECT_EQ(lsp::path_from_uri(lsp::uri_from_path(odd)), odd);
    EXPECT_EQ(lsp::path_from_uri("file://localhost/tmp/a_linea.txt"),
              std::filesystem::path("/tmp/a_linea.txt"));
    EXPECT_EQ(lsp::path_from_uri("file:///C:/work/a_linea.txt"),
              std::filesystem::path("/C:/work/a_linea.txt"));
    EXPECT_EQ(lsp::path_from_uri("untitled:Untitled-1"), std::nullopt);
}

TEST(LspPositions, EveryHighByteIsOneCodeUnitBothWays) {
    const std::string utf8 = high_characters();
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    EXPECT_EQ(lsp::bytes_from_editor(utf8), bytes);
    EXPECT_EQ(lsp::unrepresentable_characters(utf8), 0u);
    EXPECT_EQ(lsp::bytes_from_editor("\xc3\xa8"), "\xe8");  // è
    // Characters Windows-1252 has not: one "?" per UTF-16 code unit.
    EXPECT_EQ(lsp::bytes_from_editor("a\xe2\x88\x9e"
                                     "b\xf0\x9f\x9a\x86"
                                     "c"),
              "a?b??c");
    EXPECT_EQ(lsp::unrepresentable_characters("\xe2\x88\x9e\xf0\x9f\x9a\x86"), 2u);
}

TEST(LspPositions, DiagnosticRangesCountUtf16UnitsAfterAccentsAndEveryHighByte) {
    // Two records on one line: a sign board whose text holds "è" and every other high byte,
    // then a speed board at the same metre, refused on its position field.
    const std::string prefix = "cartello_indicatore,  46450,  (perch\xc3\xa8 " + high_characters() +
                               "),  indicatori_vmax,  ";
    const std::string row = prefix + "46450,  100,  100,  100,  0,  ,  ,  ,  0";
    const std::string line =
        "[generale]\r\nlunghezza percorso,    105500\r\n[curve]\r\n" + row + "\r\n[fine]\r\n";
    testing::TempFolder folder;
    const std::string uri = lsp::uri_from_path(folder.path() / "PROVA \xc3\xa8_linea.txt");
    Client c;
    c.initialize();
    c.open(uri, line);
    const json d = c.diagnostics_for(uri);
    ASSERT_EQ(d.size(), 1u) << d.dump();
    EXPECT_EQ(d[0]["code"], 21);
    std::size_t units = 0;  // every character of the prefix is one UTF-16 code unit
    for (unsigned char ch : prefix) units += (ch & 0xC0) != 0x80 ? 1 : 0;
    EXPECT_EQ(d[0]["range"]["start"], (json{{"line", 3}, {"character", units}}));
    EXPECT_EQ(d[0]["range"]["end"], (json{{"line", 3}, {"character", units + 5}}));
    // The hover on that line reads the sign text back as the editor's characters.
    const std::string hover =
        c.hover(uri, 3, static_cast<int>(units))["result"]["contents"]["value"];
    EXPECT_NE(hover.find("sign board at 46450 m"), std::string::npos) << hover;
}

// Misbehaving clients: each case gets an error response or a clean exit, never a crash or hang.
struct WireCase {
    const char* name;
    std::string bytes;
    int error_code;  // 0: no response expected
};

TEST(LspRobustness, BadMessagesGetErrorsAndTheServerGoesOn) {
    const std::vector<WireCase> cases = {
        {"not JSON", frame("{\"jsonrpc\": \"2.0\", \"id\": 5, \"meth"), -32700},
        {"header without a length", "X-Whatever: 1\r\n\r\n", -32700},
        {"length that is no number", "Content-Length: lots\r\n\r\n", -32700},
        {"unknown method", frame(R"({"jsonrpc":"2.0","id":7,"method":"textDocument/teleport"})"),
         -32601},
        {"not an object", frame("[1]"), -32600},
        {"id of the wrong type", frame(R"({"jsonrpc":"2.0","id":{},"method":"shutdown"})"), -32600},
        {"parameters of the wrong type",
         frame(
             R"({"jsonrpc":"2.0","id":8,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///x_linea.txt"},"position":{"line":"one"}}})"),
         -32602},
        {"missing parameters", frame(R"({"jsonrpc":"2.0","id":9,"method":"textDocument/hover"})"),
         -32602},
        {"unknown notification", frame(R"({"jsonrpc":"2.0","method":"$/fancy","params":{}})"), 0},
        {"notification with bad parameters",
         frame(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":3})"), 0},
    };
    Client c;
    c.initialize();
    for (const WireCase& k : cases) {
        SCOPED_TRACE(k.name);
        c.send_raw(k.bytes);
        if (k.error_code != 0) {
            const json r = c.receive();
            ASSERT_TRUE(r.contains("error")) << r.dump();
            EXPECT_EQ(r["error"]["code"], k.error_code) << r.dump();
        }
        // Still serving.
        const json alive = c.request("textDocument/completion",
                                     {{"textDocument", {{"uri", "file:///a_linea.txt"}}},
                                      {"position", {{"line", 0}, {"character", 0}}}});
        ASSERT_TRUE(alive.contains("result")) << alive.dump();
    }
    EXPECT_EQ(c.request("shutdown", nullptr)["result"], nullptr);
    c.notify("exit", nullptr);
    EXPECT_EQ(c.process().wait(kTimeout), 0);
}

TEST(LspRobustness, HugeAndRandomDocumentsAreCompiledWithoutCrashOrHang) {
    std::mt19937 random(13);
    std::string noise(1 << 18, '\0');
    for (char& ch : noise) ch = static_cast<char>(random());
    std::string big;  // 50 MB of a plausible line text with noise lines in between
    while (big.size() < (std::size_t{50} << 20)) {
        big += "pendenza,  950,   1\r\n" + std::string(200, 'x') + ",  ,\r\n";
    }
    struct Case {
        const char* name;
        std::string text;  // Windows-1252 bytes
    };
    const std::vector<Case> cases = {
        {"random bytes as a line text", noise},
        {"random bytes as a train text", noise},
        {"50 MB", "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\n" + big},
    };
    Client c;
    c.timeout = 10min;  // 50 MB takes its time under the sanitizers
    c.initialize();
    int n = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ++n;
        const std::string uri = std::string("file:///nowhere/RANDOM") + std::to_string(n) +
                                (n == 2 ? "_T-.txt" : "_linea.txt");
        c.open(uri, utf8_from_1252(k.text));
        EXPECT_TRUE(c.diagnostics_for(uri).is_array());
        EXPECT_TRUE(c.hover(uri, 3, 0).contains("result"));
        EXPECT_TRUE(c.request("textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})
                        .contains("result"));
    }
}

TEST(LspRobustness, AClientThatGoesAwayEndsTheServerCleanly) {
    const std::vector<WireCase> cases = {
        {"between messages", "", 0},
        {"inside a header", "Content-Len", 0},
        {"inside a body", "Content-Length: 100\r\n\r\n{\"jsonrpc\":", 0},
        {"after raw noise", std::string("\x01\xff\r\n\x80garbage\r\n\r\n\x7f", 18), 0},
    };
    for (const WireCase& k : cases) {
        SCOPED_TRACE(k.name);
        Client c;
        c.send_raw(k.bytes);
        c.process().close_input();
        // No shutdown came first: exit status 1, and no signal.
        EXPECT_EQ(c.process().wait(kTimeout), 1);
    }
    Client c;
    EXPECT_EQ(c.request("textDocument/hover", json::object())["error"]["code"], -32002);
    c.notify("exit", nullptr);
    EXPECT_EQ(c.process().wait(kTimeout), 1);
}

}  // namespace
}  // namespace railscen::cli
