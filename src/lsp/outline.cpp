#include "lsp/outline.h"

#include <string>

#include "lsp/positions.h"
#include "lsp/records.h"
#include "model/text_encoding.h"

namespace railscen::lsp {
namespace {

constexpr int kSymbolNamespace = 3;
constexpr int kSymbolConstant = 14;
constexpr int kSymbolObject = 19;
constexpr int kSymbolEvent = 24;
constexpr int kCompletionKeyword = 14;
constexpr std::size_t kMaxOutlineRecords = 20000;

nlohmann::json line_range(const RecordLine& r, std::size_t from, std::size_t to) {
    const int l = r.line - 1;
    return {{"start", {{"line", l}, {"character", utf16_column(r.text, from)}}},
            {"end", {{"line", l}, {"character", utf16_column(r.text, to)}}}};
}

nlohmann::json symbol(const RecordLine& r, std::string name, std::string detail, int kind) {
    const auto first = static_cast<std::size_t>(r.keyword_column - 1);
    std::size_t last = r.text.find(',', first);
    if (last == std::string_view::npos) last = r.text.size();
    if (name.empty()) name = "?";  // an outline entry needs a name
    return {{"name", std::move(name)},
            {"detail", std::move(detail)},
            {"kind", kind},
            {"range", line_range(r, 0, r.text.size())},
            {"selectionRange", line_range(r, first, last)},
            {"children", nlohmann::json::array()}};
}

std::string record_name(const RecordLine& r, std::string_view name, std::size_t numbers,
                        bool with_metre) {
    std::string out(name);
    if (with_metre) {
        const auto n = record_numbers(r.text, numbers);
        if (!n.empty()) out += " " + std::to_string(n[0]) + " m";
    }
    return out;
}

}  // namespace

nlohmann::json document_symbols(std::string_view text, SourceFile file) {
    nlohmann::json out = nlohmann::json::array();
    nlohmann::json* section = nullptr;
    std::size_t records = 0;
    for (const RecordLine& r : classify_lines(text, file)) {
        if (r.section && r.part != RecordLine::Part::kPreamble) {
            out.push_back(symbol(r, utf8_from_1252(r.keyword), "section", kSymbolNamespace));
            section = &out.back();
            continue;
        }
        if (r.section) {  // "[generale]" itself
            out.push_back(symbol(r, "[generale]", "section", kSymbolNamespace));
            section = &out.back();
            continue;
        }
        if (!r.is_record()) continue;
        // An outline of more records than anyone reads would only cost time to build and send.
        if (++records > kMaxOutlineRecords) continue;
        nlohmann::json entry;
        if (!r.general.empty()) {
            entry = symbol(r, std::string(info(r.general.front()).name), utf8_from_1252(r.keyword),
                           kSymbolConstant);
        } else if (!r.objects.empty()) {
            const ObjectRecord o = r.objects.front();
            entry = symbol(r, record_name(r, info(o).name, 1, true), utf8_from_1252(r.keyword),
                           kSymbolObject);
        } else {
            const TrainRecord t = r.train.front();
            if (t == TrainRecord::kStation) {
                const auto n = record_numbers(r.text, 1);
                entry = symbol(r, utf8_from_1252(record_text_after(r.text, 16)),
                               "station" + (n.empty() ? "" : " at " + std::to_string(n[0]) + " m"),
                               kSymbolEvent);
            } else {
                const bool placed = t == TrainRecord::kSignal || t == TrainRecord::kSlowdown ||
                                    t == TrainRecord::kCodeRow || t == TrainRecord::kSpeedLimit ||
                                    t == TrainRecord::kAdhesion;
                entry = symbol(r, record_name(r, info(t).name, 1, placed),
                               utf8_from_1252(r.keyword), placed ? kSymbolObject : kSymbolConstant);
            }
        }
        if (section != nullptr) {
            (*section)["children"].push_back(std::move(entry));
            // A section spans its records.
            (*section)["range"]["end"] = (*section)["children"].back()["range"]["end"];
        } else {
            out.push_back(std::move(entry));
        }
    }
    return out;
}

nlohmann::json completion_items(SourceFile file) {
    nlohmann::json out = nlohmann::json::array();
    auto add = [&](const RecordInfo& i) {
        out.push_back({{"label", std::string(i.keyword)},
                       {"kind", kCompletionKeyword},
                       {"detail", std::string(i.name)},
                       {"documentation",
                        {{"kind", "plaintext"},
                         {"value", std::string(i.keyword) + ", " + std::string(i.fields)}}},
                       {"insertText", std::string(i.keyword) + ",  "}});
    };
    if (file == SourceFile::kLine) {
        for (int g = 0; g <= static_cast<int>(GeneralRecord::kSignalRepetition); ++g) {
            add(info(static_cast<GeneralRecord>(g)));
        }
        for (int o = 0; o <= static_cast<int>(ObjectRecord::kSignBoard); ++o) {
            add(info(static_cast<ObjectRecord>(o)));
        }
    } else {
        for (int t = 0; t <= static_cast<int>(TrainRecord::kStation); ++t) {
            add(info(static_cast<TrainRecord>(t)));
        }
    }
    return out;
}

}  // namespace railscen::lsp
