#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "model/run.h"

namespace railscen::lsp {

// The outline of a description text: its sections, each with its records by metre (stations
// by name), as LSP DocumentSymbol objects; the first 20000 records of a text (an outline
// no one reads would only cost time).
nlohmann::json document_symbols(std::string_view text, SourceFile file);

// The keywords of a format as LSP CompletionItem objects, each documented with the fields its
// record takes.
nlohmann::json completion_items(SourceFile file);

}  // namespace railscen::lsp
