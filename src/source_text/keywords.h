#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "model/inline_list.h"

namespace railscen {

// Records of the line description's general section, in the order of their tests.
enum class GeneralRecord {
    kLength,
    kProgressiveTre,
    kProgressiveDue,
    kProgressiveUno,
    kBackgroundUno,
    kBackgroundDue,
    kBackgroundTre,
    kSignalRepetition,
};

// Records of the line description after the general section, in test order.
enum class ObjectRecord { kGradient, kCurve, kMountain, kSpeedBoard, kSignBoard };

// Records of the train description, in test order.
enum class TrainRecord {
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

// Every test is applied to the same keyword field, with no "else": a field may match several
// records, and each handler then runs in test order. A list holds room for every test of its
// kind.
using GeneralMatches = InlineList<GeneralRecord, 8>;
using ObjectMatches = InlineList<ObjectRecord, 5>;
using TrainMatches = InlineList<TrainRecord, 10>;

GeneralMatches general_matches(std::string_view keyword);
ObjectMatches object_matches(std::string_view keyword, bool with_plan);
TrainMatches train_matches(std::string_view keyword);

// A keyword field that contains "[" and "]" and does not begin with "-" (after leading blanks)
// closes the general section.
bool ends_general_section(std::string_view keyword);

bool is_comment_field(std::string_view field);  // contains a hyphen
bool opens_general_section(std::string_view field);

// Signed curvature of a curve keyword: the first class digit of "1" to "6" gives k per metre,
// an "s" in any case makes it a left curve (-k). nullopt without a class digit.
std::optional<double> curve_curvature(std::string_view keyword);

// Code count of the signal repetition keyword: 4, else 9, else nullopt.
std::optional<int> repetition_code_count(std::string_view keyword);

// The words a well-formed keyword field is written with, for spelling suggestions.
std::span<const std::string_view> line_keywords();
std::span<const std::string_view> train_keywords();

}  // namespace railscen
