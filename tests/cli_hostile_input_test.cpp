// The language server, watch and the commands under hostile and half-saved input, run as a
// user (or an attacker) would meet them: each row prepares a folder, runs the built program in
// it, and states the exit status, what the answer holds and lacks, the peak memory where it
// matters, and what the output folder holds after.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"

namespace railscen {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TempFolder;

const std::string kLineName = "ROCCA";
const std::string kTrainName = "R 7";
const std::string kLineFile = kLineName + "_linea.txt";
const std::string kTrainFile = kLineName + "_" + kTrainName + "-.txt";

const std::string kLine =
    "[generale]\r\nlunghezza percorso,    5000\r\n[curve]\r\npendenza,  500,  4\r\n"
    "indicatori_vmax,  1500,  60,  60,  60,  0,  60,  60,  60,  0\r\n[fine]\r\n";
const std::string kTrain =
    "[generale]\r\norologio,  8 0 0\r\n"
    "segnale,  1000,  1, 5, 6,  0, 0,    0,  0,0,0, 0\r\n"
    "stazione,  2000,  1,  200,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  8,  5,  0,  Bivio\r\n"
    "[fine]\r\n";

std::string frame(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string uri(const fs::path& file) {
    std::string out = "file://";
    for (const char c : file.string()) out += c == ' ' ? std::string("%20") : std::string(1, c);
    return out;
}

const std::string kStart = frame(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})") +
                           frame(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
const std::string kEnd = frame(R"({"jsonrpc":"2.0","id":99,"method":"shutdown"})") +
                         frame(R"({"jsonrpc":"2.0","method":"exit"})");

std::string did_open(const fs::path& file, const std::string& text) {
    return frame(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":)"
                 R"({"uri":")" +
                 uri(file) + R"(","languageId":"railscen","version":1,"text":)" + quoted(text) +
                 "}}}");
}

std::string nested(int depth, char open, char close) {
    return std::string(static_cast<std::size_t>(depth), open) +
           std::string(static_cast<std::size_t>(depth), close);
}

std::string hover(const fs::path& file, const std::string& line, const std::string& character) {
    return frame(R"({"jsonrpc":"2.0","id":7,"method":"textDocument/hover","params":{)"
                 R"("textDocument":{"uri":")" +
                 uri(file) + R"("},"position":{"line":)" + line + R"(,"character":)" + character +
                 "}}}");
}

struct Row {
    const char* what;
    // Prepares work/ and gives the command run in it ("railscen" is the built program).
    std::function<std::string(const fs::path& work)> prepare;
    int status;
    std::vector<std::string> answer_holds;  // in standard output and error together
    std::vector<std::string> answer_lacks;
    long peak_kib_below = 0;  // 0: not measured
    // What work/out/ holds after: file name and whether it is the good compile's bytes.
    std::vector<std::string> out_holds_good = {};
};

void put(const fs::path& file, const std::string& bytes) {
    write_file(file, bytes);
}

// The sources beside a good compile in out/.
void with_good_outputs(const fs::path& work) {
    put(work / kLineFile, kLine);
    put(work / kTrainFile, kTrain);
    fs::create_directory(work / "out");
    const testing::ToolRun run =
        testing::railscen(work, {"compile", kLineFile, kTrainFile, "-o", "out"});
    ASSERT_EQ(run.status, 0) << run.err;
}

const FileNames kOut = file_names(kLineName, kTrainName);

std::vector<Row> rows() {
    return {
        {"params nested 100,000 objects deep in an unknown notification",
         [](const fs::path& w) {
             put(w / "in", kStart +
                               frame(R"({"jsonrpc":"2.0","method":"x/y","params":)" +
                                     [] {
                                         std::string s;
                                         for (int i = 0; i < 100000; ++i) s += "{\"a\":";
                                         return s + "1" + std::string(100000, '}');
                                     }() +
                                     "}") +
                               kEnd);
             return "railscen lsp <in";
         },
         0,
         {R"("code":-32700,"message":"message nests deeper than 64 levels")",
          R"("id":99,"jsonrpc":"2.0","result":null)"},
         {},
         200 * 1024},
        {"a body of 50,000 nested arrays",
         [](const fs::path& w) {
             put(w / "in", kStart + frame(nested(50000, '[', ']')) + kEnd);
             return "railscen lsp <in";
         },
         0,
         {R"("code":-32700,"message":"message nests deeper than 64 levels")",
          R"("id":99,"jsonrpc":"2.0","result":null)"},
         {},
         200 * 1024},
        {"a batch is refused as a whole",
         [](const fs::path& w) {
             put(w / "in",
                 kStart +
                     frame(
                         R"([{"jsonrpc":"2.0","id":5,"method":"shutdown"},{"jsonrpc":"2.0","id":6,"method":"shutdown"}])") +
                     kEnd);
             return "railscen lsp <in";
         },
         0,
         {R"({"error":{"code":-32600,"message":"batches are not supported"},"id":null)"},
         {R"("id":5)", R"("id":6)"}},
        {"a line text opened beside a 1 GiB partner, then the input ends",
         [](const fs::path& w) {
             put(w / kLineFile, kLine);
             put(w / kTrainFile, "");
             fs::resize_file(w / kTrainFile, std::uintmax_t{1} << 30);  // sparse: no blocks
             put(w / "in", kStart + did_open(w / kLineFile, kLine));
             return "railscen lsp <in";
         },
         1,
         {"publishDiagnostics", "more than 67108864 bytes, the most a text may hold"},
         {},
         50 * 1024},
        {"a ranged change edits one word and keeps the rest",
         [](const fs::path& w) {
             put(w / kLineFile, kLine);
             put(w / kTrainFile, kTrain);
             const std::string change =
                 frame(R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{)"
                       R"("textDocument":{"uri":")" +
                       uri(w / kTrainFile) +
                       R"(","version":2},"contentChanges":[{"range":{"start":{"line":3,)"
                       R"("character":11},"end":{"line":3,"character":15}},"text":"2500"}]}})");
             put(w / "in", kStart + did_open(w / kTrainFile, kTrain) + change +
                               hover(w / kTrainFile, "3", "0") + kEnd);
             return "railscen lsp <in";
         },
         0,
         {R"("textDocumentSync":{"change":2)", R"(station \"Bivio\" (slot 1): zone)",
          "timed 8:05:00"},
         {"error 15"}},
        {"positions of -1 and 2^63 are refused",
         [](const fs::path& w) {
             put(w / kTrainFile, kTrain);
             put(w / "in", kStart + did_open(w / kTrainFile, kTrain) +
                               hover(w / kTrainFile, "-1", "0") +
                               hover(w / kTrainFile, "0", "9223372036854775808") +
                               hover(w / kTrainFile, "9", "0") + kEnd);
             return "railscen lsp <in";
         },
         0,
         {R"("code":-32602,"message":"\"line\" is negative")",
          R"("code":-32602,"message":"\"character\" is out of range")",
          R"x("code":-32602,"message":"position 9:0 lies outside the text (6 lines)")x"},
         {R"("result":{"contents")"}},
        {"didOpen after shutdown is not published",
         [](const fs::path& w) {
             put(w / kTrainFile, kTrain);
             put(w / "in", kStart + frame(R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})") +
                               did_open(w / kTrainFile, kTrain) +
                               frame(R"({"jsonrpc":"2.0","method":"exit"})"));
             return "railscen lsp <in";
         },
         0,
         {R"("id":2,"jsonrpc":"2.0","result":null)"},
         {"publishDiagnostics"}},
        {"a cut-off line text in the editor is marked",
         [](const fs::path& w) {
             put(w / kTrainFile, kTrain);
             const std::string cut = kLine.substr(0, kLine.find("indicatori"));
             put(w / kLineFile, cut);
             put(w / "in", kStart + did_open(w / kLineFile, cut) + kEnd);
             return "railscen lsp <in";
         },
         0,
         {"the line description ends without its closing line"},
         {}},
        {"watch started on a line text saved half-way keeps the good outputs",
         [](const fs::path& w) {
             with_good_outputs(w);
             put(w / kLineFile, kLine.substr(0, kLine.find("pendenza")));
             // watch ends on SIGTERM after its first compile; its output is the answer.
             return "timeout --preserve-status -s TERM 5 railscen watch '" + kLineFile + "' '" +
                    kTrainFile + "' -o out";
         },
         0,
         {"[cut-off]", "not written: a text may be cut off (see the warning)"},
         {"ok:"},
         0,
         {kOut.scenario_file, kOut.cell_file, kOut.plan_file}},
        {"check names a cut-off train text",
         [](const fs::path& w) {
             put(w / kLineFile, kLine);
             put(w / kTrainFile, kTrain.substr(0, kTrain.find("orologio")));
             return "railscen check '" + kLineFile + "' '" + kTrainFile + "'";
         },
         0,
         {"the train description ends without its closing line \"[fine]\", a clock "
          "(\"orologio\") and stations (\"stazione\"); the file may be cut off"},
         {}},
        {"a symlink loop as a text in a folder given to render",
         [](const fs::path& w) {
             fs::create_directory(w / "d");
             fs::create_symlink("loop", w / "d" / kLineFile);
             fs::create_symlink(kLineFile, w / "d" / "loop");
             put(w / "d" / kTrainFile, kTrain);
             return "railscen render d -o x.svg";
         },
         2,
         {"cannot read \"d/" + kLineFile + "\": its symbolic links lead round in a loop"},
         {"filesystem error"}},
        {"a symlink loop as a text given to diff",
         [](const fs::path& w) {
             fs::create_symlink("b", w / "a");
             fs::create_symlink("a", w / "b");
             put(w / kTrainFile, kTrain);
             return "railscen diff a '" + kTrainFile + "' a '" + kTrainFile + "'";
         },
         2,
         {"cannot read \"a\": its symbolic links lead round in a loop"},
         {"filesystem error"}},
        {"/dev/zero as the line text",
         [](const fs::path& w) {
             put(w / kTrainFile, kTrain);
             return "railscen check --line-name A --train-name B /dev/zero '" + kTrainFile + "'";
         },
         2,
         {"cannot read \"/dev/zero\": it is a device, not a file"},
         {"error 101"}},
        {"a FIFO as the train text",
         [](const fs::path& w) {
             put(w / kLineFile, kLine);
             ::mkfifo((w / "fifo").c_str(), 0600);
             return "railscen compile --line-name A --train-name B '" + kLineFile + "' fifo -o out";
         },
         2,
         {"cannot read \"fifo\": it is a pipe (FIFO), not a file"},
         {}},
    };
}

TEST(HostileInput, EveryRowEndsCleanlyWithItsAnswer) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.what);
        TempFolder root;
        const fs::path work = root.path() / "work";
        fs::create_directory(work);
        const std::string command = row.prepare(work);
        const std::string bin = fs::path(RAILSCEN_PATH).parent_path().string();
        const std::string shell = "cd " + testing::shell_quoted(work.string()) +
                                  " && PATH=" + testing::shell_quoted(bin) +
                                  ":\"$PATH\" /usr/bin/time -f %M -o ../peak sh -c " +
                                  testing::shell_quoted(command) + " >../answer 2>&1";
        const int raw = std::system(shell.c_str());
        const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        const std::string answer = read_bytes(root.path() / "answer");
        EXPECT_EQ(status, row.status) << answer.substr(0, 2000);
        for (const std::string& holds : row.answer_holds) {
            EXPECT_NE(answer.find(holds), std::string::npos) << holds << "\n"
                                                             << answer.substr(0, 2000);
        }
        for (const std::string& lacks : row.answer_lacks) {
            EXPECT_EQ(answer.find(lacks), std::string::npos) << lacks << "\n"
                                                             << answer.substr(0, 2000);
        }
        if (row.peak_kib_below > 0) {
            // The last line: time puts a line about a non-zero status before it.
            std::string peak_text = read_bytes(root.path() / "peak");
            while (!peak_text.empty() && peak_text.back() == '\n') peak_text.pop_back();
            const long peak = std::atol(peak_text.substr(peak_text.rfind('\n') + 1).c_str());
            EXPECT_GT(peak, 0);
            // AddressSanitizer's shadow memory alone takes about 140 MiB of any process.
#if defined(__SANITIZE_ADDRESS__)
            const long allowance = 200 * 1024;
#else
            const long allowance = 0;
#endif
            EXPECT_LT(peak, row.peak_kib_below + allowance);
            std::printf("%s: peak %ld KiB\n", row.what, peak);
        }
        if (!row.out_holds_good.empty()) {
            TempFolder good;
            with_good_outputs(good.path());
            for (const std::string& name : row.out_holds_good) {
                EXPECT_EQ(read_bytes(work / "out" / name), read_bytes(good.path() / "out" / name))
                    << name;
            }
        }
    }
}

}  // namespace
}  // namespace railscen
