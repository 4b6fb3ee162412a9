#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/inline_list.h"

namespace railscen {

// Which description text a record or a diagnostic belongs to.
enum class SourceFile { kLine, kTrain };

// A place in a description text, 1-based. Line 0 stands for the text as a whole.
struct SourceLocation {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    int column = 0;

    friend bool operator==(const SourceLocation&, const SourceLocation&) = default;
    friend auto operator<=>(const SourceLocation&, const SourceLocation&) = default;
};

// One field as the field reader read it: its text (a number's digits as written, a text
// field without its quotes) and where it began.
struct RecordField {
    std::string text;
    int line = 0;
    int column = 0;
    std::optional<std::int64_t> number;  // the value of a numeric field that was read whole
};

// What a keyword field was taken for. A field may match several records (the tests are
// substring searches); one that matches none is kept too, with no kind.
enum class RecordKind {
    // the line description's general section
    kLength,
    kProgressive,
    kBackground,
    kSignalRepetition,
    // the line description's objects
    kGradient,
    kCurve,
    kMountain,
    kSpeedBoard,
    kSignBoard,
    // the train description
    kBrakedMass,
    kCars,
    kSpeedLimit,
    kAdhesion,
    kClock,
    kSand,
    kSignal,
    kSlowdown,
    kCodeRow,
    kStation,
};

// The kinds a record was taken for: at most every record of one text's list (the train
// description's ten).
using RecordKinds = InlineList<RecordKind, 10>;

// A record as the loader read it: the keyword field, the kinds it was taken for, and every
// field read for those kinds, in order.
struct SourceRecord {
    SourceFile file = SourceFile::kLine;
    RecordField keyword;
    RecordKinds kinds;
    std::vector<RecordField> fields;

    bool is(RecordKind kind) const {
        for (const RecordKind k : kinds) {
            if (k == kind) return true;
        }
        return false;
    }
    SourceLocation location() const { return {file, keyword.line, keyword.column}; }
    // Where field i (0: the first after the keyword) began; the keyword's place when the
    // record was cut short before it.
    SourceLocation field_location(std::size_t i) const {
        if (i >= fields.size()) return location();
        return {file, fields[i].line, fields[i].column};
    }
};

// The two description texts as the loader read them; nullopt for a text it never read.
struct SourceTexts {
    std::optional<std::string> line;
    std::optional<std::string> train;

    const std::optional<std::string>& of(SourceFile file) const {
        return file == SourceFile::kLine ? line : train;
    }
};

}  // namespace railscen
