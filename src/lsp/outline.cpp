#include "lsp/outline.h"

#include <string>

#include "lsp/positions.h"
#include "lsp/records.h"
#include "model/text_encoding.h"

namespace railscen::lsp {
namespace {

constexpr std::size_t kMaxOutlineRecords = 20000;

TextRange line_range(const RecordLine& r, std::size_t from, std::size_t to) {
    const int l = r.line - 1;
    return {l, utf16_column(r.text, from), l, utf16_column(r.text, to)};
}

OutlineSymbol symbol(const RecordLine& r, std::string name, std::string detail, SymbolKind kind) {
    const auto first = static_cast<std::size_t>(r.keyword_column - 1);
    std::size_t last = r.text.find(',', first);
    if (last == std::string_view::npos) last = r.text.size();
    if (name.empty()) name = "?";  // an outline entry needs a name
    return {std::move(name),
            std::move(detail),
            kind,
            line_range(r, 0, r.text.size()),
            line_range(r, first, last),
            {}};
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

std::vector<OutlineSymbol> document_outline(std::string_view text, SourceFile file) {
    std::vector<OutlineSymbol> out;
    OutlineSymbol* section = nullptr;
    std::size_t records = 0;
    for (const RecordLine& r : classify_lines(text, file)) {
        if (r.section && r.part != RecordLine::Part::kPreamble) {
            out.push_back(symbol(r, utf8_from_1252(r.keyword), "section", SymbolKind::kSection));
            section = &out.back();
            continue;
        }
        if (r.section) {  // "[generale]" itself
            out.push_back(symbol(r, "[generale]", "section", SymbolKind::kSection));
            section = &out.back();
            continue;
        }
        if (!r.is_record()) continue;
        // An outline of more records than anyone reads would only cost time to build and send.
        if (++records > kMaxOutlineRecords) continue;
        OutlineSymbol entry;
        if (!r.general.empty()) {
            entry = symbol(r, std::string(info(r.general.front()).name), utf8_from_1252(r.keyword),
                           SymbolKind::kSetting);
        } else if (!r.objects.empty()) {
            const ObjectRecord o = r.objects.front();
            entry = symbol(r, record_name(r, info(o).name, 1, true), utf8_from_1252(r.keyword),
                           SymbolKind::kObject);
        } else {
            const TrainRecord t = r.train.front();
            if (t == TrainRecord::kStation) {
                const auto n = record_numbers(r.text, 1);
                entry = symbol(r, utf8_from_1252(record_text_after(r.text, 16)),
                               "station" + (n.empty() ? "" : " at " + std::to_string(n[0]) + " m"),
                               SymbolKind::kStation);
            } else {
                const bool placed = t == TrainRecord::kSignal || t == TrainRecord::kSlowdown ||
                                    t == TrainRecord::kCodeRow || t == TrainRecord::kSpeedLimit ||
                                    t == TrainRecord::kAdhesion;
                entry =
                    symbol(r, record_name(r, info(t).name, 1, placed), utf8_from_1252(r.keyword),
                           placed ? SymbolKind::kObject : SymbolKind::kSetting);
            }
        }
        if (section != nullptr) {
            // A section spans its records.
            section->range.end_line = entry.range.end_line;
            section->range.end_character = entry.range.end_character;
            section->children.push_back(std::move(entry));
        } else {
            out.push_back(std::move(entry));
        }
    }
    return out;
}

std::vector<KeywordEntry> format_keywords(SourceFile file) {
    std::vector<KeywordEntry> out;
    auto add = [&](const RecordInfo& i) {
        const RecordFormat& format = format_of(i);
        out.push_back({std::string(i.keyword), std::string(i.name) + ": " + field_summary(format),
                       std::string(format.about) + "\n" + field_ranges(format),
                       std::string(i.keyword) + ",  "});
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
