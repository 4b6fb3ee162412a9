#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "grid/line_encoders.h"
#include "loader/description_source.h"
#include "loader/record_kinds.h"
#include "model/file_io.h"
#include "model/run.h"
#include "source_text/field_reader.h"
#include "source_text/keywords.h"

namespace railscen {

// The working state of one load, shared by the line phase and the train phase.
class Loading {
  public:
    Loading(Run& run, DescriptionSource& source) : run_(run), source_(source) {}

    // False when the line phase returned early; the train phase then does not run.
    bool line_phase();
    void train_phase();

    // The unexpected-failure path: delete both texts, record 25 with what failed.
    void fail_unexpectedly(const std::string& reason);
    // A field the reader could not read: recorded as fail_unexpectedly does, then told at its
    // place (the record's form, a record short of fields on its own line, an empty text).
    void fail_reading(const std::string& reason);

  private:
    // Where a record's field began, for diagnostics.
    using Field = SourceLocation;

    Field here() const { return {file_, reader_->field_line(), reader_->field_column()}; }
    Diagnostic& record(std::int32_t code, const Field& at);
    Diagnostic& record(std::int32_t code, std::int32_t position, const Field& at);

    // A keyword field was read: it starts a record that keeps every field read until the next
    // keyword; kinds are what the keyword was taken for.
    template <typename Kind, std::size_t N>
    void begin_record(const std::string& keyword, const InlineList<Kind, N>& kinds);
    // Reads text from its start, with room made for a record per line.
    void start_reading(std::string_view text);
    void stop_record() { reader_->trace_into(nullptr); }
    const SourceRecord& current_record() const { return run_.records.back(); }

    Cells& cells();  // the grid, or an unexpected failure when none was created
    // The grid rule: (position + margin) / 50 must not pass the last cell index.
    bool beyond_grid(std::int32_t position, int margin);
    // What a record handler leaves the loader to do next.
    enum class Next {
        kGoOn,     // read the next record
        kClosing,  // the grid rule refused a row: leave the record loop for the closing steps
        kReturn,   // a code was recorded and the text deleted: return at once
    };
    Next refuse(std::int32_t position, const Field& at);  // records 15

    // Line phase pieces; each returns false when the phase must return at once.
    bool seek_general_section();
    bool general_section();
    bool object_part();  // false: return; true: go on to the closing steps
    Next gradient_row();
    Next curve_row(std::string_view keyword);
    Next mountain_row();
    Next speed_board_row();
    Next sign_board_row();
    void close_line_phase();

    // Train phase pieces.
    bool train_records();  // false: return at once (the file is already deleted)
    Next speed_row();
    Next adhesion_row();
    Next signal_row();
    Next slowdown_row();
    Next code_row();
    Next station_row();
    void train_end_steps();
    // Where the progressive record that ended up in a slot gives the value that failed.
    Field progressive_field(const ScenarioSlot& slot) const;
    std::uint8_t speed_value() const;

    std::string text_field(const char* what);
    // Reads the next keyword field, passing over up to `passes` hyphenated fields in a row.
    // False when the end of the text follows the field directly: that field is not processed.
    bool next_keyword(std::string& keyword, int passes);
    // After an encoder ran: any code, even one left by the line phase, ends the train phase.
    Next after_encoder(std::int32_t position, const Field& at, std::size_t diagnostics_before);
    // An encoder's code gets the record's field; a code it did not record itself (one left
    // by the line phase) is recorded at that field.
    void locate_encoder_code(std::int32_t position, const Field& at, std::size_t before);

    Run& run_;
    DescriptionSource& source_;
    std::optional<FieldReader> reader_;
    SourceFile file_ = SourceFile::kLine;

    // Line phase
    std::int32_t board_cursor_ = 80;
    std::int64_t gradient_cursor_ = 0;
    std::int32_t current_gradient_ = 0;
    std::int64_t plan_cursor_ = 2;
    MountainState mountains_;

    // Train phase
    std::int32_t station_counter_ = 1;
    std::int64_t speed_cursor_ = 0;
    std::int64_t adhesion_cursor_ = 0;
    std::int32_t current_speed_ = 0;
    std::int32_t current_adhesion_ = 0;
    std::vector<std::size_t> station_records_;  // the record of each station, in slot order
};

template <typename Kind, std::size_t N>
void Loading::begin_record(const std::string& keyword, const InlineList<Kind, N>& kinds) {
    static_assert(N <= RecordKinds::capacity());
    SourceRecord& r = run_.records.emplace_back();
    r.file = file_;
    r.keyword = {keyword, reader_->field_line(), reader_->field_column(), std::nullopt};
    for (const Kind k : kinds) r.kinds.push_back(record_kind(k));
    run_.placing = run_.records.size() - 1;
    reader_->trace_into(&r.fields);
}

}  // namespace railscen
