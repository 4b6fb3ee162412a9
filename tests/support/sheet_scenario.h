#pragma once

// A small scenario that holds every kind of object the route sheet draws: stations, signals,
// speed boards, a sign board, mountain stretches, curves to both sides, a slowdown with its
// warning point, cab-code rows with and without a value (and the drop points the compiler
// adds), the signal repetition, and every profile.

#include <string>

#include "support/test_support.h"

namespace railscen::testing {

inline constexpr const char* kSheetLineFile = "PROVA_linea.txt";
inline constexpr const char* kSheetTrainFile = "PROVA_T 1-.txt";

inline std::string sheet_line_text() {
    return lines({
        "[generale]",
        "lunghezza percorso,    12000",
        "progressiva chilometrica uno,    0,    0,    0",
        "progressiva chilometrica due,    0,    0,    0",
        "progressiva chilometrica tre,    0,    0,    0",
        "ripetizione segnali 4 codici,    500,    11000",
        "[curve]",
        "curvas3,  1000,  400",
        "curvad5,  3000,  300",
        "curvas6,  6000,  200",
        "[pendenze]",
        "pendenza,   0,    0",
        "pendenza,  2000,   12",
        "pendenza,  5000,   -8",
        "pendenza,  8000,   0",
        "[montagne]",
        "montagna,   4000,  5000,  11",
        "montagna,   7000,  7300,  12",
        "[cartelli]",
        "indicatori_vmax,  800,  60,  60,  70,  0,  ,  ,  ,  0",
        "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0",
        "indicatori_vmax,  6500,  80,  80,  80,  1,  80,  80,  80,  1",
        "[indicazioni]",
        "cartello_indicatore,  3900,  (   GALLERIA   )(  PROVA  )(   1000 m    )",
        "[fine]",
    });
}

// The train description; third_signal puts the last signal elsewhere (6500 m is the speed
// board's cell: error 16 there stops the loading).
inline std::string sheet_train_text(const std::string& third_signal = "9600") {
    const std::string signal =
        "segnale,    " + third_signal + ",   1, 2, 0,  0, 0,    0,  0,0,0, 0";
    return lines({
        "Prova",
        "autore",
        "",
        "[generale]",
        "numero vetture,    5",
        "percentuale massa frenata,    100",
        "sabbia,    100",
        "orologio,    10  00  00 ",
        "[aderenze]",
        "aderenza,   0,    100",
        "aderenza,    6000,    70",
        "[vel_limite]",
        "velocita,   0,    60",
        "velocita,     2000,    100",
        "velocita,     9000,    80",
        "[stazioni]",
        "stazione,  0, 8, 400, 0, 0, 0, 1, 1, 0, 3, 1, 1, 1, 10, 0, 0, ALFA",
        "stazione,  5500, 4, 500, 1, 0, 0, 6, 1, 1, 2, 1, 1, 60, 10, 5, 0, BETA",
        "stazione,  11000, 4, 600, 1, 0, 1, 1,1,0, 2,1,1, 0, 10,10, 0, GAMMA",
        "[rallentamenti]",
        "rallentamento,  8000, 30, 500, 1, 1, 0",
        "[segnali]",
        "segnale,    1800,   2, 3, 0,  0, 0,    0,  0,0,0, 0",
        "segnale,    4500,   2, 4, 0,  0, 0,    2,  2,0,0, 255",
        signal,
        "[codici]",
        "abbattimento,     600,   280",
        "abbattimento,    3000,   0",
        "[fine]",
    });
}

}  // namespace railscen::testing
