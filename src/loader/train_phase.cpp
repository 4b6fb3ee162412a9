#include "grid/train_encoders.h"
#include "loader/loading.h"
#include "model/cell_index.h"
#include "model/record_format.h"
#include "source_text/keywords.h"

namespace railscen {

void Loading::train_phase() {
    file_ = SourceFile::kTrain;
    reader_.reset();  // it views the line text, which is replaced here
    try {
        run_.texts.train = source_.train_text();
    } catch (const FileError& e) {
        throw LoadFailure(e.what());
    }
    if (!run_.texts.train) throw LoadFailure("train description missing");
    start_reading(*run_.texts.train);

    // Everything before "[generale]" is preamble. A file without it loads nothing.
    for (;;) {
        const std::string field = reader_->read_text();
        if (reader_->at_end() || opens_general_section(field)) break;
    }
    station_counter_ = kFirstStationSlot;
    speed_cursor_ = 0;
    adhesion_cursor_ = 0;

    if (!train_records()) return;
    train_end_steps();
}

bool Loading::train_records() {
    std::string kw;
    // At most two hyphenated fields in a row are passed over; a third is the keyword.
    while (next_keyword(kw, 2)) {
        const TrainMatches matches = train_matches(kw);
        begin_record(kw, matches);
        for (const TrainRecord record_kind : matches) {
            Next next = Next::kGoOn;
            ScenarioSlot& route = run_.slots[kRouteSlot];
            ScenarioSlot& train = run_.slots[kTrainSlot];
            switch (record_kind) {
                case TrainRecord::kBrakedMass:
                    route.start = reader_->read_long();
                    break;
                case TrainRecord::kCars:
                    route.position = reader_->read_long();
                    break;
                case TrainRecord::kSpeedLimit:
                    next = speed_row();
                    break;
                case TrainRecord::kAdhesion:
                    next = adhesion_row();
                    break;
                case TrainRecord::kClock:
                    train.word3 = reader_->read_integer();
                    train.word4 = reader_->read_integer();
                    train.word5 = reader_->read_integer();
                    break;
                case TrainRecord::kSand:
                    train.word1 = reader_->read_integer();
                    break;
                case TrainRecord::kSignal:
                    next = signal_row();
                    break;
                case TrainRecord::kSlowdown:
                    next = slowdown_row();
                    break;
                case TrainRecord::kCodeRow:
                    next = code_row();
                    break;
                case TrainRecord::kStation:
                    next = station_row();
                    break;
            }
            if (next == Next::kClosing) return true;
            if (next == Next::kReturn) return false;
        }
    }
    return true;  // the end of the text
}

std::uint8_t Loading::speed_value() const {
    const std::int64_t value = round_even(current_speed_ / 5.0);
    if (value < 0 || value > 255) throw LoadFailure("speed limit / 5 does not fit a byte");
    return static_cast<std::uint8_t>(value);
}

Loading::Next Loading::speed_row() {
    const std::int32_t p = reader_->read_long();
    const Field at = here();
    const std::int32_t s = reader_->read_long();
    if (beyond_grid(p, 100)) return refuse(p, at);
    Cells& grid = cells();
    const std::int64_t n = cell_index::profile_break(p);
    if (n > 0) {
        do {
            if (speed_cursor_ >= grid.upper_bound()) break;
            if (grid.contains(speed_cursor_)) grid[speed_cursor_].speed_limit = speed_value();
            ++speed_cursor_;
        } while (speed_cursor_ < n);
    }
    current_speed_ = s;
    return Next::kGoOn;
}

Loading::Next Loading::adhesion_row() {
    const std::int32_t p = reader_->read_long();
    const Field at = here();
    const std::int32_t a = reader_->read_long();
    if (beyond_grid(p, 100)) return refuse(p, at);
    Cells& grid = cells();
    const std::int64_t n = cell_index::profile_break(p);
    if (n > 0) {
        do {
            if (grid.contains(adhesion_cursor_)) {
                grid[adhesion_cursor_].adhesion = static_cast<std::uint8_t>(current_adhesion_);
            }
            ++adhesion_cursor_;
        } while (adhesion_cursor_ < n);
    }
    current_adhesion_ = a;
    return Next::kGoOn;
}

Loading::Next Loading::signal_row() {
    SignalRow row;
    row.posizione = reader_->read_long();
    const Field at = here();
    for (std::int32_t* v : {&row.sx, &row.s1, &row.s2, &row.s3, &row.rapp, &row.dx, &row.d1,
                            &row.d2, &row.d3, &row.tempo}) {
        *v = reader_->read_long();
    }
    if (beyond_grid(row.posizione, 100) || cell_index::signal(row.posizione) < 0) {
        return refuse(row.posizione, at);
    }
    const std::size_t before = run_.diagnostics.size();
    memo_segnale(run_, row);
    return after_encoder(row.posizione, at, before);
}

Loading::Next Loading::after_encoder(std::int32_t position, const Field& at,
                                     std::size_t diagnostics_before) {
    if (run_.error_code == 0) return Next::kGoOn;
    source_.delete_train();
    locate_encoder_code(position, at, diagnostics_before);
    return Next::kReturn;
}

Loading::Next Loading::slowdown_row() {
    SlowdownRow row;
    row.x = reader_->read_long();
    const Field at = here();
    for (std::int32_t* v : {&row.v, &row.l, &row.f_tt, &row.f_ta, &row.d_v}) {
        *v = reader_->read_long();
    }
    const std::int64_t end_cell = cell_index::slowdown_end(row.x, row.l);
    if (beyond_grid(row.x, 100) || cell_index::slowdown_start(row.x) < 0) return refuse(row.x, at);
    if (end_cell < 0 || end_cell > cells().upper_bound()) {
        // The start lies in the grid, the end does not: the length is what to mend.
        const Next next = refuse(row.x, current_record().field_location(2));
        run_.diagnostics.back().reason =
            "its end, " + std::to_string(std::int64_t{row.x} + row.l) +
            " m, lies past the grid, which takes a slowdown's end up to " +
            std::to_string(cell_index::positions_in(cells().upper_bound(), 1).last) + " m";
        return next;
    }
    const std::size_t before = run_.diagnostics.size();
    memo_rallentamento(run_, row);
    // An occupied end cell comes from the length: the caret goes under it.
    const Field length_at = current_record().field_location(2);
    return after_encoder(row.x, run_.error_code == 19 ? length_at : at, before);
}

Loading::Next Loading::code_row() {
    const std::int32_t p = reader_->read_long();
    const Field at = here();
    const std::int32_t w = reader_->read_long();
    const std::int64_t c = cell_index::code_row(p);
    if (beyond_grid(p, 100) || c < 0) return refuse(p, at);
    Cells& grid = cells();
    if (!grid.free_at(c)) {
        source_.delete_train();
        describe_occupant(run_, record(7, p, at), c);
        return Next::kReturn;
    }
    if (w > 0) {
        grid[c].kind = kCodeDrop;
        grid[c].param1 = static_cast<std::int16_t>(w);
    } else {
        grid[c].kind = kCodeDropNoValue;
    }
    note_placed(run_, c);
    return Next::kGoOn;
}

Loading::Next Loading::station_row() {
    const std::int32_t i = station_counter_;
    const Field keyword = here();
    // With every slot taken by sign texts, slot 1 already holds one: refuse before writing.
    if (i > board_cursor_) {
        source_.delete_train();
        record(10, keyword);
        return Next::kReturn;
    }
    ScenarioSlot& slot = run_.slots[static_cast<std::size_t>(i)];
    slot.position = reader_->read_long();
    const Field at = here();
    if (beyond_grid(slot.position, 800)) return refuse(slot.position, at);
    if (slot.position % 50 != 0) {
        source_.delete_train();
        record(8, slot.position, at);
        return Next::kReturn;
    }
    slot.category = reader_->read_byte();
    const std::int32_t length = reader_->read_long();
    if (length % 100 != 0) {
        source_.delete_train();
        record(9, slot.position, here());
        return Next::kReturn;
    }
    slot.flag = reader_->read_byte();
    slot.byte4 = reader_->read_byte();
    slot.byte3 = reader_->read_byte();
    slot.word1 = reader_->read_integer();
    slot.word2 = reader_->read_integer();
    slot.byte1 = reader_->read_byte();
    slot.word3 = reader_->read_integer();
    slot.word4 = reader_->read_integer();
    slot.word5 = reader_->read_integer();
    slot.byte2 = reader_->read_byte();
    const std::int64_t hour = reader_->read_long();
    const std::int64_t minute = reader_->read_long();
    const std::int64_t second = reader_->read_long();
    const std::int64_t time = (hour * 60 + minute) * 60 + second;
    if (time < INT32_MIN || time > INT32_MAX) throw LoadFailure("station time out of range");
    slot.time = static_cast<std::int32_t>(time);
    slot.text = text_field("station name");

    // The station zone, by category.
    const std::int64_t position = slot.position;
    std::int64_t start = 0;
    std::int64_t finish = 0;
    if (slot.category == 5 || slot.category == 6) {
        start = position - length;
        finish = position + 150;
        slot.byte3 = 0;
    } else if (slot.category == 7 || slot.category == 8) {
        start = position - length;
        finish = position + length;
        slot.byte3 = 0;
    } else {
        start = position - length / 2;
        finish = position + length / 2 + (slot.byte3 != 0 ? 50 : 0);
    }
    if (start < INT32_MIN || start > INT32_MAX || finish < INT32_MIN || finish > INT32_MAX) {
        throw LoadFailure("station zone out of range");
    }
    slot.start = static_cast<std::int32_t>(start);
    slot.finish = static_cast<std::int32_t>(finish);
    if (length < 600) slot.byte4 = 0;
    // After the zone: the first station keeps the extra 50 m of its sixth field.
    if (i == 1) {
        slot.byte3 = 0;
        slot.byte4 = 0;
    }

    Cells& grid = cells();
    const bool stops = slot.category < 25;
    const std::int64_t stop_cell = finish / 50 - 1;
    if (stops && stop_cell > grid.upper_bound()) return refuse(slot.position, at);
    if (stops && slot.category != 5 && slot.category != 6) {
        for (int b = 1; b <= 4; ++b) {
            const std::int64_t a = finish / 50 - 1 - b;
            if (a > 1) grid[a].approach = static_cast<std::uint8_t>(80 + b);
        }
    }
    if (stops) {
        if (stop_cell <= 1) {
            source_.delete_train();
            record(24, at);
            return Next::kReturn;
        }
        // A stop point replaces whatever object stands in its cell.
        grid[stop_cell].kind = kStationStop;
        grid[stop_cell].param1 = static_cast<std::int16_t>(i);
        note_placed(run_, stop_cell);
    }
    const ScenarioSlot& before = run_.slots[static_cast<std::size_t>(i - 1)];
    if (i > 1 && start - 350 < before.finish) {
        source_.delete_train();
        Diagnostic& d = record(22, slot.position, at);
        const auto previous = static_cast<std::size_t>(i - 2);  // the station before, 0-based
        if (previous < station_records_.size()) {
            const SourceRecord& other = run_.records[station_records_[previous]];
            d.related.push_back(
                {other.field_location(0),
                 "the station before, whose zone ends at " + std::to_string(before.finish) + " m"});
        }
        // Zones that overlap because two records were swapped: say it is their order.
        for (std::size_t k = 0; k < station_records_.size(); ++k) {
            const ScenarioSlot& earlier = run_.slots[k + 1];
            if (earlier.position <= slot.position) continue;
            d.reason = "the stations are out of order: this one at " +
                       std::to_string(slot.position) + " m is listed after one at " +
                       std::to_string(earlier.position) +
                       " m; stations go in the order they lie along the line";
            d.related.push_back({run_.records[station_records_[k]].field_location(0),
                                 "the station listed earlier, which lies further along"});
            break;
        }
        return Next::kReturn;
    }
    station_records_.push_back(run_.records.size() - 1);
    ++station_counter_;
    if (station_counter_ >= board_cursor_) {
        source_.delete_train();
        record(10, keyword);
        return Next::kReturn;
    }
    return Next::kGoOn;
}

void Loading::train_end_steps() {
    source_.delete_train();
    Cells& grid = cells();
    // The last three cells keep speed and adhesion 0.
    do {
        if (grid.contains(speed_cursor_)) grid[speed_cursor_].speed_limit = speed_value();
        ++speed_cursor_;
    } while (speed_cursor_ < grid.upper_bound() - 2);
    do {
        if (grid.contains(adhesion_cursor_)) {
            grid[adhesion_cursor_].adhesion = static_cast<std::uint8_t>(current_adhesion_);
        }
        ++adhesion_cursor_;
    } while (adhesion_cursor_ < grid.upper_bound() - 2);

    for (int i : {kProgressiveTre, kProgressiveDue, kProgressiveUno}) {
        const ScenarioSlot& p = run_.slots[static_cast<std::size_t>(i)];
        if (p.start % 50 != 0 || p.finish % 50 != 0) {
            record(2, progressive_field(p));
        }
    }
}

Loading::Field Loading::progressive_field(const ScenarioSlot& slot) const {
    // The ordering moved the records' values between the slots: find the record by them.
    for (const SourceRecord& r : run_.records) {
        if (!r.is(RecordKind::kProgressive) || r.fields.size() < 3) continue;
        const std::optional<std::int64_t> origin = r.fields[0].number;
        const std::optional<std::int64_t> value = r.fields[1].number;
        const std::optional<std::int64_t> flag = r.fields[2].number;
        if (!origin || !value || !flag || *origin != slot.start) continue;
        const auto raised = static_cast<std::uint32_t>(*value) + (*flag == 1 ? 100u : 0u);
        if (static_cast<std::int32_t>(raised) != slot.finish) continue;
        return r.field_location(slot.start % 50 != 0 ? 0 : 1);
    }
    return {SourceFile::kLine, 0, 0};
}

void Loading::fail_unexpectedly(const std::string& reason) {
    source_.delete_line();
    source_.delete_train();
    // Before the text was read there is no field: the diagnostic names the text as a whole.
    Diagnostic& d = record(25, reader_ ? here() : Field{file_, 0, 0});
    d.reason = reason;
}

void Loading::fail_reading(const std::string& reason) {
    fail_unexpectedly(reason);
    Diagnostic& d = run_.diagnostics.back();
    const std::optional<std::string>& text = run_.texts.of(file_);
    if (text && text->empty()) {
        d.reason = std::string(file_ == SourceFile::kLine ? "the line" : "the train") +
                   " description is empty (0 bytes): \"[generale]\" and its records belong in it";
        return;
    }
    place_field_failure(run_.records, d);
}

RecordKind record_kind(GeneralRecord kind) {
    switch (kind) {
        case GeneralRecord::kLength:
            return RecordKind::kLength;
        case GeneralRecord::kProgressiveTre:
        case GeneralRecord::kProgressiveDue:
        case GeneralRecord::kProgressiveUno:
            return RecordKind::kProgressive;
        case GeneralRecord::kBackgroundUno:
        case GeneralRecord::kBackgroundDue:
        case GeneralRecord::kBackgroundTre:
            return RecordKind::kBackground;
        case GeneralRecord::kSignalRepetition:
            return RecordKind::kSignalRepetition;
    }
    return RecordKind::kLength;
}

RecordKind record_kind(ObjectRecord kind) {
    // The object kinds follow each other in both lists.
    return static_cast<RecordKind>(static_cast<int>(RecordKind::kGradient) +
                                   static_cast<int>(kind));
}
static_assert(static_cast<int>(RecordKind::kSignBoard) - static_cast<int>(RecordKind::kGradient) ==
              static_cast<int>(ObjectRecord::kSignBoard));

RecordKind record_kind(TrainRecord kind) {
    return static_cast<RecordKind>(static_cast<int>(RecordKind::kBrakedMass) +
                                   static_cast<int>(kind));
}
static_assert(static_cast<int>(RecordKind::kStation) - static_cast<int>(RecordKind::kBrakedMass) ==
              static_cast<int>(TrainRecord::kStation));

void memorizza_dati(Run& run, DescriptionSource& source) {
    Loading loading(run, source);
    try {
        if (loading.line_phase()) loading.train_phase();
    } catch (const ReadFailure& e) {
        loading.fail_reading(e.what());
    } catch (const LoadFailure& e) {
        loading.fail_unexpectedly(e.what());
    }
}

}  // namespace railscen
