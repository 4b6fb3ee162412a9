#include "lsp/documents.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "compile/scenario_folder.h"
#include "compile/scenario_names.h"
#include "loader/description_source.h"
#include "lsp/positions.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/utf8_path.h"
#include "source_text/field_reader.h"

namespace railscen::lsp {
namespace {

constexpr std::string_view kLineSuffix = "_linea.txt";
constexpr std::string_view kTrainSuffix = "-.txt";

// Stand-ins for a missing partner: a line long enough for any train record and free of
// objects, and a train with no records.
constexpr std::string_view kStandInLine =
    "[generale]\r\nlunghezza percorso,    1000000\r\n[curve]\r\n[fine]\r\n";
constexpr std::string_view kStandInTrain = "[generale]\r\n[fine]\r\n";

bool ends_with(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A partner on disk, read as every text is (within the size limit); problem tells why one that
// is there could not be read.
std::optional<std::string> read_if_file(const std::filesystem::path& path, std::string& problem) {
    try {
        return read_file(path);
    } catch (const FileError& e) {
        problem = e.what();
        return std::nullopt;
    }
}

}  // namespace

std::optional<std::filesystem::path> path_from_uri(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (uri.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    uri.remove_prefix(kScheme.size());
    const std::size_t slash = uri.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    uri.remove_prefix(slash);  // drops an authority ("localhost")
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hex_value(uri[i + 1]) >= 0 &&
            hex_value(uri[i + 2]) >= 0) {
            path += static_cast<char>(hex_value(uri[i + 1]) * 16 + hex_value(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    // "/C:/dir" is the drive path "C:/dir" where paths have drive letters.
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':' &&
        std::filesystem::path(path.substr(1, 2)).has_root_name()) {
        path.erase(0, 1);
    }
    return std::filesystem::path(path);
}

std::string uri_from_path(const std::filesystem::path& path) {
    std::string generic = path.generic_string();
    if (generic.empty() || generic.front() != '/') generic.insert(0, "/");
    std::string uri = "file://";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char ch : generic) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
            c == ':') {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

SourceFile kind_of(const std::filesystem::path& path, std::string_view bytes) {
    const std::string name = utf8_name(path.filename());
    if (ends_with(name, kLineSuffix)) return SourceFile::kLine;
    if (ends_with(name, kTrainSuffix)) return SourceFile::kTrain;
    return contains_any_case(bytes, "lunghezza") && contains_any_case(bytes, "percorso")
               ? SourceFile::kLine
               : SourceFile::kTrain;
}

void Documents::open(const std::string& uri, std::string_view utf8, std::int64_t version) {
    OpenDocument& d = open_[uri];
    d.uri = uri;
    d.path = path_from_uri(uri).value_or(std::filesystem::path());
    d.bytes = bytes_from_editor(utf8);
    d.lost = lost_mask(utf8);
    d.version = version;
}

std::size_t OpenDocument::lost_characters() const {
    return static_cast<std::size_t>(std::count(lost.begin(), lost.end(), '1'));
}

bool Documents::edit(const std::string& uri, const TextEdit& range, std::string_view utf8) {
    const auto it = open_.find(uri);
    if (it == open_.end()) return false;
    OpenDocument& d = it->second;
    const std::optional<std::size_t> from =
        text_offset(d.bytes, range.from_line, range.from_column);
    const std::optional<std::size_t> to = text_offset(d.bytes, range.to_line, range.to_column);
    if (!from || !to || *to < *from) return false;
    d.bytes.replace(*from, *to - *from, bytes_from_editor(utf8));
    d.lost.replace(*from, *to - *from, lost_mask(utf8));
    return true;
}

void Documents::set_version(const std::string& uri, std::int64_t version) {
    if (const auto it = open_.find(uri); it != open_.end()) it->second.version = version;
}

void Documents::change(const std::string& uri, std::string_view utf8, std::int64_t version) {
    open(uri, utf8, version);
}

void Documents::close(const std::string& uri) {
    open_.erase(uri);
}

const OpenDocument* Documents::find(const std::string& uri) const {
    const auto it = open_.find(uri);
    return it == open_.end() ? nullptr : &it->second;
}

std::optional<std::string> Documents::text_of(const std::filesystem::path& path, std::string& uri,
                                              std::string& problem) const {
    for (const auto& [u, d] : open_) {
        if (!d.path.empty() && d.path == path) {
            uri = u;
            return d.bytes;
        }
    }
    uri = uri_from_path(path);
    return read_if_file(path, problem);
}

Pair Documents::pair_for(const OpenDocument& document) const {
    Pair pair;
    const SourceFile kind = kind_of(document.path, document.bytes);
    PairSide own{document.uri, document.path, document.bytes, false};
    const std::string name = utf8_name(document.path.filename());
    const std::filesystem::path folder = document.path.parent_path();

    // Candidate partners, the open ones first, then those on disk in name order.
    std::vector<std::filesystem::path> candidates;
    if ((kind == SourceFile::kLine && ends_with(name, kLineSuffix)) ||
        (kind == SourceFile::kTrain && ends_with(name, kTrainSuffix))) {
        std::vector<std::string> names;
        for (const auto& [u, d] : open_) {
            if (d.path.parent_path() == folder) names.push_back(utf8_name(d.path.filename()));
        }
        std::vector<std::string> on_disk;
        std::error_code ec;
        for (auto it = std::filesystem::directory_iterator(folder, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            on_disk.push_back(utf8_name(it->path().filename()));
        }
        std::sort(on_disk.begin(), on_disk.end());
        names.insert(names.end(), on_disk.begin(), on_disk.end());
        for (const std::string& partner : partner_names(name, names)) {
            const std::filesystem::path path = folder / utf8_path(partner);
            if (std::find(candidates.begin(), candidates.end(), path) == candidates.end()) {
                candidates.push_back(path);
            }
        }
    }

    PairSide partner;
    for (const auto& candidate : candidates) {
        std::string uri;
        if (auto text = text_of(candidate, uri, pair.partner_problem)) {
            partner = {uri, candidate, std::move(*text), false};
            break;
        }
    }
    if (partner.uri.empty()) {
        partner.stand_in = true;
        partner.bytes = std::string(kind == SourceFile::kLine ? kStandInTrain : kStandInLine);
    }
    if (kind == SourceFile::kLine) {
        pair.line = std::move(own);
        pair.train = std::move(partner);
    } else {
        pair.train = std::move(own);
        pair.line = std::move(partner);
    }
    pair.line_name = kScenarioLineName;
    pair.train_name = kScenarioTrainName;
    if (!pair.line.stand_in && !pair.train.stand_in) {
        if (auto names = names_from_files(pair.line.path.filename().string(),
                                          pair.train.path.filename().string())) {
            pair.line_name = names->line_name;
            pair.train_name = names->train_name;
        }
    }
    return pair;
}

CompiledPair compile_pair(Pair pair) {
    CompiledPair c{std::move(pair), Run{}, std::nullopt};
    c.run.line_name = c.pair.line_name;
    c.run.train_name = c.pair.train_name;
    // A stand-in line has no curves to check against the plan, and its plan would be a
    // million straight points computed for nothing on every keystroke.
    c.run.with_plan = c.pair.line.stand_in ? 0 : 1;
    MemorySource source(c.pair.line.bytes, c.pair.train.bytes);
    c.fatal = compile_in_memory(c.run, 1, source);
    return c;
}

}  // namespace railscen::lsp
