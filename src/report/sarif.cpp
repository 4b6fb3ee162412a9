// The diagnostics as a SARIF 2.1.0 log, the form code-review systems and editors read. Every
// fact comes from the records the JSON output prints; only the rules' descriptions are added.

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "model/error_codes.h"
#include "report/diagnostics.h"

namespace railscen::report {
namespace {

constexpr std::string_view kSchema =
    "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";

// What each kind of warning is about, for the log's rules.
constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kWarningKinds = {{
    {"spelling", "a keyword field that matches no keyword but lies close to one"},
    {"stretch", "an object that runs past the grid or the plan, whose end is lost"},
    {"timetable",
     "a timed station reached sooner than the speed limits allow, or before the clock's start"},
    {"order", "a row of a section whose position goes down along the line"},
    {"extra-field", "a field after the record's last, which no record reads"},
    {"comma", "a text field cut at a comma"},
    {"tab", "a tab where a blank belongs"},
    {"encoding", "a text saved as UTF-8, where the compiler reads Windows-1252"},
    {"train-text", "a train description the compile reads no record from"},
    {"swapped", "the line and the train description given in each other's place"},
    {"mountain", "a mountain or tunnel whose end is not after its start, which gets no cell"},
    {"curve-overlap", "a curve that begins inside the curve before, turning the plan twice"},
    {"speed", "a speed beyond the fastest trains in service"},
    {"run-out", "an object past the line's length, in the run-out after its end"},
}};

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

std::string percent_encoded(std::string_view text) {
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c)) {
            out += ch;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            out += escape;
        }
    }
    return out;
}

// A file name as the author gave it (UTF-8), as a URI: an absolute path becomes a file URI
// ("C:\a b.txt" is "file:///C:/a%20b.txt"), a relative one a relative reference.
std::string file_uri(std::string name) {
    if constexpr (std::filesystem::path::preferred_separator == '\\') {
        for (char& c : name) {
            if (c == '\\') c = '/';
        }
    }
    const bool drive = name.size() >= 3 && name[1] == ':' && name[2] == '/' &&
                       ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    if (drive) return "file:///" + name.substr(0, 2) + percent_encoded(name.substr(2));
    if (name.starts_with("//")) return "file:" + percent_encoded(name);
    if (name.starts_with('/')) return "file://" + percent_encoded(name);
    return percent_encoded(name);
}

// A record's place: the file, and the caret's column as a region one character wide; a
// diagnostic about a text as a whole has no region, one about no text no location at all.
std::optional<nlohmann::json> physical_location(const nlohmann::json& record) {
    if (record["file"].is_null()) return std::nullopt;
    nlohmann::json at{{"artifactLocation", {{"uri", file_uri(record["file"])}}}};
    if (!record["line"].is_null()) {
        const int column = record["column"];
        at["region"] = {
            {"startLine", record["line"]}, {"startColumn", column}, {"endColumn", column + 1}};
    }
    return at;
}

std::string rule_id(const nlohmann::json& record) {
    if (!record["code"].is_null()) return "RS" + std::to_string(record["code"].get<int>());
    if (!record["name"].is_null()) return record["name"];
    return "warning";
}

nlohmann::json rule(const nlohmann::json& record, const std::string& id) {
    nlohmann::json r{{"id", id}};
    if (!record["code"].is_null()) {
        r["defaultConfiguration"] = {{"level", "error"}};
        if (const ErrorCodeInfo* info = find_error_code(record["code"].get<std::int32_t>())) {
            r["shortDescription"] = {{"text", std::string(info->meaning)}};
            if (!info->raised_by.empty()) {
                r["fullDescription"] = {{"text", std::string(info->raised_by)}};
            }
            if (!info->remedy.empty()) r["help"] = {{"text", std::string(info->remedy)}};
        }
        return r;
    }
    r["defaultConfiguration"] = {{"level", "warning"}};
    for (const auto& [kind, about] : kWarningKinds) {
        if (kind == id) r["shortDescription"] = {{"text", std::string(about)}};
    }
    return r;
}

}  // namespace

std::string diagnostics_sarif(const nlohmann::json& records) {
    nlohmann::json rules = nlohmann::json::array();
    std::map<std::string, std::size_t> rule_index;
    nlohmann::json results = nlohmann::json::array();
    for (const nlohmann::json& record : records) {
        const std::string id = rule_id(record);
        auto [known, added] = rule_index.try_emplace(id, rules.size());
        if (added) rules.push_back(rule(record, id));

        nlohmann::json result{{"ruleId", id},
                              {"ruleIndex", known->second},
                              {"level", record["severity"]},
                              {"message", {{"text", record["message"]}}}};
        result["locations"] = nlohmann::json::array();
        if (std::optional<nlohmann::json> at = physical_location(record)) {
            result["locations"].push_back({{"physicalLocation", std::move(*at)}});
        }
        nlohmann::json related = nlohmann::json::array();
        for (const nlohmann::json& note : record["related"]) {
            nlohmann::json location{{"id", related.size()},
                                    {"message", {{"text", note["message"]}}}};
            if (std::optional<nlohmann::json> at = physical_location(note)) {
                location["physicalLocation"] = std::move(*at);
            }
            related.push_back(std::move(location));
        }
        if (!related.empty()) result["relatedLocations"] = std::move(related);
        nlohmann::json properties = nlohmann::json::object();
        if (!record["metres"].is_null()) properties["metres"] = record["metres"];
        if (!record["cell"].is_null()) properties["cell"] = record["cell"];
        if (!properties.empty()) result["properties"] = std::move(properties);
        results.push_back(std::move(result));
    }

    const nlohmann::json driver{{"name", "railscen"},
                                {"version", RAILSCEN_VERSION},
                                {"semanticVersion", RAILSCEN_VERSION},
                                {"rules", std::move(rules)}};
    const nlohmann::json log{
        {"$schema", kSchema},
        {"version", "2.1.0"},
        {"runs",
         {{{"tool", {{"driver", driver}}},
           // The description texts are single-byte Windows-1252: a column is a character.
           {"columnKind", "unicodeCodePoints"},
           {"defaultEncoding", "windows-1252"},
           {"results", std::move(results)}}}}};
    return log.dump(2) + "\n";
}

}  // namespace railscen::report
