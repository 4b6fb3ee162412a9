#pragma once

#include <span>
#include <string>
#include <string_view>

#include <vector>

#include "model/diagnostic.h"
#include "model/source_record.h"

namespace railscen {

// One field of a record as the author writes it: its name, unit, the values it takes and what
// it becomes in the compiled files.
struct FieldFormat {
    std::string_view name;
    std::string_view unit;     // "m", "km/h", "per mille", ""
    std::string_view range;    // the values the loader and the encoders take
    std::string_view becomes;  // where it lands in the scenario, cell or plan file
};

// One record of the two texts: its keyword as written, what the reader looks for, and its
// fields after the keyword, in order.
struct RecordFormat {
    std::string_view keyword;  // as the stored scenario writes it
    std::string_view looks_for;
    std::string_view title;
    SourceFile file;
    RecordKind kind;
    std::string_view about;
    std::span<const FieldFormat> fields;
};

// The curve classes: the digit in a curve's keyword, its curvature and radius.
struct CurveClass {
    char digit;
    double curvature;  // change of heading in radians per metre
    std::string_view radius;
};

// The station categories as the loader tells them apart.
struct StationCategory {
    std::string_view categories;
    std::string_view meaning;
};

// Every record of the line and the train description, in the order the reader tests them.
std::span<const RecordFormat> record_formats();
std::span<const CurveClass> curve_classes();
std::span<const StationCategory> station_categories();

// The record with this keyword (as written, or the word the reader looks for, or a record
// kind's title such as "station"); nullptr when none.
const RecordFormat* find_record_format(std::string_view word);
const RecordFormat* record_format(RecordKind kind);

// The form a record's fields take, for a message: "the clock is three whole numbers: hour,
// minute, second".
std::string record_form(const RecordFormat& record);

// A field the reader could not read (code 25), told at its place: the form the record's fields
// take; a record short of fields, whose reader went on into the next line, blamed on its own
// line with the field it lacks. records are the ones the loader read, the failed field last.
void place_field_failure(const std::vector<SourceRecord>& records, Diagnostic& d);

// One line naming the fields in order, for completion: "position (m), speed (km/h)".
std::string field_summary(const RecordFormat& record);

// The fields one a line, for a hover or a completion's documentation: "1. position (m): a
// multiple of 50 (code 8); (position + 800) / 50 within the grid".
std::string field_ranges(const RecordFormat& record);

// A record's reference as explain prints it: the keyword, what it is, every field with its
// unit, range and what it becomes, and the tables that belong to it.
std::string record_reference(const RecordFormat& record);

// The whole reference as Markdown: the text of docs/format.md.
std::string format_reference_markdown();

}  // namespace railscen
