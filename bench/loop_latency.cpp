// Latency of the author's loop on the stored scenario, through the built tool:
// - railscen lsp: from a didChange of the line text to the diagnostics published for both texts;
// - railscen watch: from a save of the line text to the printed result.
// Prints the median and the 99th percentile of each. Usage: loop_latency [ROUNDS]

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using railscen::testing::ChildProcess;
using namespace std::chrono_literals;

std::string read_all(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_all(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The Latin-1 bytes of the stored texts as UTF-8 (their high bytes are all Latin-1 letters).
std::string utf8(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string frame(const nlohmann::json& m) {
    const std::string body = m.dump();
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string uri(const std::filesystem::path& p) {
    std::string out = "file://";
    for (unsigned char c : p.string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.') {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

// Two line texts that differ in one gradient, so every change is a real one.
std::vector<std::string> variants(const std::string& line) {
    std::string other = line;
    const std::size_t at = other.find("pendenza,  950,   1");
    if (at == std::string::npos) std::exit(2);
    other.replace(at, 19, "pendenza,  950,   2");
    return {line, other};
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const double p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    std::printf("%-40s rounds %4zu  median %7.2f ms  p99 %7.2f ms  max %7.2f ms\n", what, ms.size(),
                median, p99, ms.back());
}

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void lsp_latency(const std::filesystem::path& line, const std::filesystem::path& train,
                 int rounds) {
    ChildProcess server({RAILSCEN_PATH, "lsp"});
    server.write(frame({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {}}}));
    const std::vector<std::string> texts = variants(utf8(read_all(line)));
    const std::string line_uri = uri(line);
    const std::string train_uri = uri(train);
    server.write(frame(
        {{"jsonrpc", "2.0"},
         {"method", "textDocument/didOpen"},
         {"params",
          {{"textDocument",
            {{"uri", line_uri}, {"languageId", "x"}, {"version", 0}, {"text", texts[0]}}}}}}));
    // Diagnostics for the line, then for its partner: the last one ends a round.
    const std::string last = "\"uri\":\"" + train_uri + "\"";
    if (!server.read_until(last, 20s)) std::exit(3);
    std::vector<double> ms;
    for (int i = 1; i <= rounds; ++i) {
        const std::string change =
            frame({{"jsonrpc", "2.0"},
                   {"method", "textDocument/didChange"},
                   {"params",
                    {{"textDocument", {{"uri", line_uri}, {"version", i}}},
                     {"contentChanges", {{{"text", texts[static_cast<std::size_t>(i % 2)]}}}}}}});
        const auto start = Clock::now();
        server.write(change);
        if (!server.read_until(last, 20s)) std::exit(4);
        ms.push_back(since(start));
    }
    report("lsp: didChange -> diagnostics published", ms);
}

void watch_latency(const std::filesystem::path& line, const std::filesystem::path& train,
                   const std::filesystem::path& out, int rounds) {
    const std::vector<std::string> texts = variants(read_all(line));
    ChildProcess watch({RAILSCEN_PATH, "watch", line.string(), train.string(), "-o", out.string()});
    if (!watch.read_until("files written to", 20s)) std::exit(5);
    std::vector<double> ms;
    for (int i = 1; i <= rounds; ++i) {
        std::this_thread::sleep_for(30ms);  // an author saves now and then, not in a burst
        if (!watch.read_until("\n", 1ms)) watch.buffer().clear();
        const auto start = Clock::now();
        write_all(line, texts[static_cast<std::size_t>(i % 2)]);
        if (!watch.read_until("files written to", 20s)) std::exit(6);
        ms.push_back(since(start));
    }
    watch.interrupt();
    watch.wait(5s);
    report("watch: save -> result printed", ms);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("railscen-loop-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "out");
    const std::string command =
        std::string("\"") + RAILSCEN_PATH + "\" sources \"" + folder.string() + "\" >/dev/null";
    if (std::system(command.c_str()) != 0) return 1;
    const auto line = folder / "VELARO-CUSTRA _linea.txt";
    const auto train = folder / "VELARO-CUSTRA _R 40817-.txt";
    lsp_latency(line, train, rounds);
    watch_latency(line, train, folder / "out", std::max(20, rounds / 3));
    std::filesystem::remove_all(folder);
    return 0;
}
