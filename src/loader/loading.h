#pragma once

#include <cstdint>
#include <optional>

#include "grid/line_encoders.h"
#include "loader/description_source.h"
#include "model/file_io.h"
#include "model/run.h"
#include "source_text/field_reader.h"

namespace railscen {

// The working state of one load, shared by the line phase and the train phase.
class Loading {
  public:
    Loading(Run& run, DescriptionSource& source) : run_(run), source_(source) {}

    // False when the line phase returned early; the train phase then does not run.
    bool line_phase();
    void train_phase();

    // The unexpected-failure path: delete both texts, record 25.
    void fail_unexpectedly();

  private:
    // Where a record's field began, for diagnostics.
    struct Field {
        int line = 0;
        int column = 0;
    };

    Field here() const { return {reader_->field_line(), reader_->field_column()}; }
    void record(std::int32_t code, const Field& at);
    void record(std::int32_t code, std::int32_t position, const Field& at);

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
    std::uint8_t speed_value() const;

    std::string text_field(const char* what);
    // Reads the next keyword field, passing over up to `passes` hyphenated fields in a row.
    // False when the end of the text follows the field directly: that field is not processed.
    bool next_keyword(std::string& keyword, int passes);
    // After an encoder ran: any code, even one left by the line phase, ends the train phase.
    Next after_encoder(std::int32_t position, const Field& at);

    Run& run_;
    DescriptionSource& source_;
    std::optional<std::string> text_;
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
};

}  // namespace railscen
