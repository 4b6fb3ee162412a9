#pragma once

// What the driver's documents read of a compiled scenario, through named accessors on the
// compile's own records and slots. Names are Windows-1252 bytes as the texts hold them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/run.h"

namespace railscen::paper {

struct Station {
    std::string name;
    std::int64_t metres = 0;
    std::int64_t time = 0;   // seconds after midnight; 0 where the train has no timed call
    std::int64_t dwell = 0;  // seconds
    int category = 0;
};

// The stations in the order read (their slots), as many as the train text has station records.
std::vector<Station> stations(const Run& run);

// A station the train stops at, by the analyses' rule: a dwell and a stop cell.
bool stops_at(const Station& station);

// The stations a run stops at, by the analyses' rule (the first, every later stop, and the
// last, each beyond the one before); the last with no dwell.
std::vector<Station> run_stops(const Run& run);

struct SpeedBoard {
    std::int64_t metres = 0;
    // What the board shows: the highest of its speeds, of any rank on either side. (The line's
    // limit in force may differ: a one-sided board limits no train on the other track.)
    int kmh = 0;
};
std::vector<SpeedBoard> speed_boards(const Run& run);

struct TrainLimit {
    std::int64_t metres = 0;
    int kmh = 0;
};
std::vector<TrainLimit> train_limits(const Run& run);

struct SignBoard {
    std::int64_t metres = 0;
    std::string text;  // as written: "(   GALLERIA   )(  MONTE ALTO  )(   5000 m    )"
};
std::vector<SignBoard> sign_boards(const Run& run);

struct Slowdown {
    std::int64_t metres = 0;
    int kmh = 0;
    std::int64_t length = 0;
};
std::vector<Slowdown> slowdowns(const Run& run);

// The place a sign board names: its groups without their parentheses and padding, joined by one
// blank, leaving out a last group that holds a figure (a length, a height, a voltage), each
// word with a capital first letter: "Galleria Monte Alto".
std::string sign_board_name(std::string_view text);

// The kilometre point of a route position: from the kilometric progressive definition in force
// there, the first of the compile's ordered slots 81 to 83 whose origin lies at or before it,
// with the value its record gives (the flag's hundred taken off again).
std::int64_t kilometre_point(const Slots& slots, std::int64_t metres);

// The braked-mass percentage the train text sets; nullopt where it sets none.
std::optional<std::int64_t> braked_percentage(const Run& run);

// The clock's start the train text sets, seconds after midnight.
std::int64_t clock_start(const Run& run);

// The train's number: the last word of the train name ("R 40817" -> "40817").
std::string train_number(std::string_view train_name);

// The line's two place words: the line name's parts before and after its hyphen, trimmed
// ("VELARO-CUSTRA " -> "VELARO", "CUSTRA").
struct LinePlaces {
    std::string from;
    std::string to;
};
LinePlaces line_places(std::string_view line_name);

}  // namespace railscen::paper
