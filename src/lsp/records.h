#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/record_format.h"
#include "model/run.h"
#include "source_text/keywords.h"

namespace railscen::lsp {

// What a line of a description text holds, told by the compiler's own field reader and keyword
// tests, with the line taken as one record (as the writers and authors write them): for the
// outline, which shows a text as it stands, also past a record the compile stopped at. What
// the compile made of a record is read from run.records, never from here.
struct RecordLine {
    enum class Part { kPreamble, kGeneral, kRecords };
    int line = 0;  // 1-based
    std::string_view text;
    Part part = Part::kPreamble;
    std::string keyword;
    int keyword_column = 1;  // 1-based byte column
    bool section = false;    // "[generale]", "[curve]", ...: a header the reader passes over
    bool comment = false;    // the keyword field holds a hyphen
    GeneralMatches general;
    ObjectMatches objects;
    TrainMatches train;
    bool is_record() const { return !general.empty() || !objects.empty() || !train.empty(); }
};

std::vector<RecordLine> classify_lines(std::string_view text, SourceFile file);

// The numeric fields after the keyword, read as the loader reads them, up to count of them or
// to the first field that is no number.
std::vector<std::int64_t> record_numbers(std::string_view row, std::size_t count);

// The text field that follows count numbers (a sign text, a station name), Windows-1252.
std::string record_text_after(std::string_view row, std::size_t count);

// Names of the records, for outlines, hovers and completion; their fields are the format
// table's (format_of).
struct RecordInfo {
    std::string_view keyword;  // as the writers write it
    std::string_view name;     // in words
};
const RecordInfo& info(GeneralRecord record);
const RecordInfo& info(ObjectRecord record);
const RecordInfo& info(TrainRecord record);

// The record's entry in the format table: its fields with their names, units and ranges.
const RecordFormat& format_of(const RecordInfo& record);

}  // namespace railscen::lsp
