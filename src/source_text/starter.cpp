#include "source_text/starter.h"

#include <initializer_list>

#include "source_text/text_layout.h"

namespace railscen {
namespace {

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (const std::string_view line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace

StarterTexts starter_scenario(std::string_view line_name, std::string_view train_name) {
    StarterTexts texts;
    // A comment is a line whose first field holds a hyphen and that has no comma.
    texts.line_text =
        "- line " + std::string(line_name) + " made by railscen new: a 12 km line\r\n" +
        crlf({
            "- railscen explain RECORD tells every field of a record",
            "[generale]",
            "lunghezza percorso,            12000",
            "- kilometric progressives: origin (m) - value (m) - flag (1 adds 100)",
            "progressiva chilometrica uno,      0,  0,  0",
            "progressiva chilometrica due,      0,  0,  0",
            "progressiva chilometrica tre,      0,  0,  0",
            "sfondo uno,                        0",
            "sfondo due,                        1",
            "sfondo tre,                        0",
            "- signal repetition with 4 codes: start (m) - end (m)",
            "ripetizione segnali 4 codici,    500,  11000",
            "[curve]",
            "- curve: s left or d right and the class 1 (radius 10000 m) to 6 (333 m) - start - "
            "length",
            "curvas3,  2000,  300",
            "curvad4,  6000,  400",
            "[pendenze]",
            "- gradient: position (m) - per mille up to the next row",
            "pendenza,     0,   0",
            "pendenza,  3000,   5",
            "pendenza,  8000,  -3",
            "[montagne]",
            "- mountain or tunnel: start (m) - end (m) - kind (above 10 with spacer cells)",
            "montagna,  4000,  4500,  11",
            "[cartelli]",
            "- speed board: position - three speeds and stripes on the left - the same on the "
            "right",
            "indicatori_vmax,  800,  100,  100,  100,  0,  ,  ,  ,  0",
            "[indicazioni]",
            "- sign board: position - its text (no comma)",
            "cartello_indicatore,  3950,  ( GALLERIA )( 500 m )",
            "[fine]",
        });
    texts.train_text =
        "- train " + std::string(train_name) + " on " + std::string(line_name) +
        " made by railscen new\r\n" +
        crlf({
            "- railscen explain RECORD tells every field of a record",
            "",
            "[generale]",
            "percentuale massa frenata,  100",
            "numero vetture,               5",
            "sabbia,                     100",
            "- the clock at the start: hour minute second",
            "orologio,  7  0  0",
            "[aderenze]",
            "- adhesion: position (m) - value up to the next row",
            "aderenza,  0,  100",
            "[vel_limite]",
            "- speed limit: position (m) - km/h up to the next row",
            "velocita,      0,  100",
            "velocita,  11000,   30",
            "[stazioni]",
            "- station: position - category - length - 10 settings - hour minute second - name",
            "stazione,      0,  8,  400,  0,  0,  0,  1,  1,  0,  3,  1,  1,  1,  7,   0,  0,  "
            "ORIGINE",
            "stazione,  10000,  4,  600,  1,  0,  1,  1,  1,  0,  2,  1,  1,  0,  7,  12,  0,  "
            "ARRIVO",
            "[rallentamenti]",
            "- slowdown: start (m) - km/h - length (m) - f_tt - f_ta - d_v",
            "rallentamento,  5000,  60,  500,  0,  0,  0",
            "[segnali]",
            "- signal: position - left head sx s1 s2 s3 - rapp - right head dx d1 d2 d3 - tempo",
            "segnale,  1800,  2,  3,  0,  0,  0,  0,  0,  0,  0,  0",
            "segnale,  9000,  2,  4,  0,  0,  0,  0,  0,  0,  0,  0",
            "[codici]",
            "- cab code drop: position (m) - value",
            "abbattimento,  600,  280",
            "[fine]",
        });
    // Laid out as fmt lays it out: fmt --check passes on a new pair.
    texts.line_text = laid_out_text(texts.line_text);
    texts.train_text = laid_out_text(texts.train_text);
    return texts;
}

}  // namespace railscen
