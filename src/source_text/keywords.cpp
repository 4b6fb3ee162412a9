#include "source_text/keywords.h"

#include "source_text/field_reader.h"

namespace railscen {

GeneralMatches general_matches(std::string_view kw) {
    GeneralMatches found;
    auto test = [&](bool holds, GeneralRecord record) {
        if (holds) found.push_back(record);
    };
    test(contains_any_case(kw, "percorso") && contains_any_case(kw, "lunghezza"),
         GeneralRecord::kLength);
    test(contains_exact(kw, "tre") && contains_exact(kw, "progressiva"),
         GeneralRecord::kProgressiveTre);
    test(contains_exact(kw, "due") && contains_exact(kw, "progressiva"),
         GeneralRecord::kProgressiveDue);
    test(contains_exact(kw, "uno") && contains_exact(kw, "progressiva"),
         GeneralRecord::kProgressiveUno);
    test(contains_exact(kw, "sfondo") && contains_exact(kw, "uno"), GeneralRecord::kBackgroundUno);
    test(contains_exact(kw, "sfondo") && contains_exact(kw, "due"), GeneralRecord::kBackgroundDue);
    test(contains_exact(kw, "sfondo") && contains_exact(kw, "tre"), GeneralRecord::kBackgroundTre);
    test(contains_exact(kw, "segnali") && contains_exact(kw, "ripetizione"),
         GeneralRecord::kSignalRepetition);
    return found;
}

ObjectMatches object_matches(std::string_view kw, bool with_plan) {
    ObjectMatches found;
    auto test = [&](bool holds, ObjectRecord record) {
        if (holds) found.push_back(record);
    };
    test(contains_any_case(kw, "pendenza"), ObjectRecord::kGradient);
    // Without a plan, curves are not read: their fields become keyword fields of their own.
    test(with_plan && contains_any_case(kw, "curva"), ObjectRecord::kCurve);
    test(contains_any_case(kw, "montagna"), ObjectRecord::kMountain);
    test(contains_any_case(kw, "indicatori_v"), ObjectRecord::kSpeedBoard);
    test(contains_any_case(kw, "cartello") && contains_any_case(kw, "indicat"),
         ObjectRecord::kSignBoard);
    return found;
}

TrainMatches train_matches(std::string_view kw) {
    TrainMatches found;
    auto test = [&](bool holds, TrainRecord record) {
        if (holds) found.push_back(record);
    };
    test(contains_any_case(kw, "frenata") && contains_any_case(kw, "massa"),
         TrainRecord::kBrakedMass);
    test(contains_any_case(kw, "vetture"), TrainRecord::kCars);
    test(contains_any_case(kw, "velocit"), TrainRecord::kSpeedLimit);
    test(contains_any_case(kw, "aderenza"), TrainRecord::kAdhesion);
    test(contains_any_case(kw, "orologio"), TrainRecord::kClock);
    test(contains_any_case(kw, "sabbia"), TrainRecord::kSand);
    test(contains_any_case(kw, "segnale"), TrainRecord::kSignal);
    test(contains_any_case(kw, "rallentamento"), TrainRecord::kSlowdown);
    test(contains_any_case(kw, "abbattimento"), TrainRecord::kCodeRow);
    test(contains_any_case(kw, "stazione"), TrainRecord::kStation);
    return found;
}

bool ends_general_section(std::string_view kw) {
    if (!contains_exact(kw, "[") || !contains_exact(kw, "]")) return false;
    const std::size_t first = kw.find_first_not_of(' ');
    return first == std::string_view::npos || kw[first] != '-';
}

bool is_comment_field(std::string_view field) {
    return contains_exact(field, "-");
}

bool opens_general_section(std::string_view field) {
    return contains_any_case(field, "[generale]");
}

std::optional<double> curve_curvature(std::string_view kw) {
    static constexpr double kPerClass[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
    for (int digit = 1; digit <= 6; ++digit) {
        if (kw.find(static_cast<char>('0' + digit)) != std::string_view::npos) {
            const double k = kPerClass[digit - 1];
            return contains_any_case(kw, "s") ? -k : k;
        }
    }
    return std::nullopt;
}

std::optional<int> repetition_code_count(std::string_view kw) {
    if (contains_exact(kw, "4")) return 4;
    if (contains_exact(kw, "9")) return 9;
    return std::nullopt;
}

std::span<const std::string_view> line_keywords() {
    static constexpr std::string_view kWords[] = {
        "lunghezza percorso",
        "progressiva chilometrica",
        "sfondo",
        "ripetizione segnali",
        "pendenza",
        "curva",
        "montagna",
        "indicatori_vmax",
        "cartello_indicatore",
    };
    return kWords;
}

std::span<const std::string_view> train_keywords() {
    static constexpr std::string_view kWords[] = {
        "percentuale massa frenata",
        "numero vetture",
        "velocita",
        "aderenza",
        "orologio",
        "sabbia",
        "segnale",
        "rallentamento",
        "abbattimento",
        "stazione",
    };
    return kWords;
}

}  // namespace railscen
