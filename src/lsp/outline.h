#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lsp/positions.h"
#include "model/run.h"

namespace railscen::lsp {

// What an outline entry stands for (the protocol's symbol kinds by these numbers).
enum class SymbolKind { kSection = 3, kSetting = 14, kObject = 19, kStation = 24 };

struct OutlineSymbol {
    std::string name;    // UTF-8
    std::string detail;  // UTF-8
    SymbolKind kind = SymbolKind::kSetting;
    TextRange range;      // the whole record (a section: down to its last record)
    TextRange selection;  // its keyword
    std::vector<OutlineSymbol> children;
};

// The outline of a description text: its sections, each with its records by metre (stations
// by name); the first 20000 records of a text (an outline no one reads would only cost time).
std::vector<OutlineSymbol> document_outline(std::string_view text, SourceFile file);

// A keyword of a format, documented with the fields its record takes.
struct KeywordEntry {
    std::string label;
    std::string detail;
    std::string documentation;
    std::string insert;
};
std::vector<KeywordEntry> format_keywords(SourceFile file);

}  // namespace railscen::lsp
