// The format reference: one table of every record, the document made from it, and the forms
// a message quotes.

#include <gtest/gtest.h>

#include <filesystem>

#include "model/record_format.h"
#include "support/test_support.h"

namespace railscen {
namespace {

TEST(RecordFormat, TheDocumentIsTheTable) {
    const std::string document =
        testing::read_bytes(std::filesystem::path(SOURCE_DIR) / "docs" / "format.md");
    EXPECT_EQ(document, format_reference_markdown())
        << "docs/format.md and the record table differ: railscen explain --markdown > "
           "docs/format.md";
}

TEST(RecordFormat, EveryRecordKindHasItsFields) {
    struct Case {
        const char* word;
        RecordKind kind;
        std::size_t fields;
    };
    const Case cases[] = {
        {"stazione", RecordKind::kStation, 17},
        {"station", RecordKind::kStation, 17},
        {"segnale", RecordKind::kSignal, 11},
        {"orologio", RecordKind::kClock, 3},
        {"indicatori_vmax", RecordKind::kSpeedBoard, 9},
        {"curva", RecordKind::kCurve, 2},
        {"rallentamento", RecordKind::kSlowdown, 6},
        {"montagna", RecordKind::kMountain, 3},
    };
    for (const Case& c : cases) {
        const RecordFormat* r = find_record_format(c.word);
        ASSERT_NE(r, nullptr) << c.word;
        EXPECT_EQ(r->kind, c.kind) << c.word;
        EXPECT_EQ(r->fields.size(), c.fields) << c.word;
    }
    // "progressiva" begins three records' keywords: it names none of them.
    EXPECT_EQ(find_record_format("progressiva"), nullptr);
    for (const RecordKind kind :
         {RecordKind::kLength, RecordKind::kGradient, RecordKind::kSignBoard,
          RecordKind::kBrakedMass, RecordKind::kCars, RecordKind::kSpeedLimit,
          RecordKind::kAdhesion, RecordKind::kSand, RecordKind::kCodeRow}) {
        EXPECT_NE(record_format(kind), nullptr);
    }
}

TEST(RecordFormat, FormsSayWhatTheFieldsAre) {
    EXPECT_EQ(record_form(*find_record_format("orologio")),
              "the clock is three whole numbers: hour, minute, second");
    EXPECT_EQ(record_form(*find_record_format("cartello_indicatore")),
              "the sign board is a whole number and a text: position, text");
    const std::string station = record_reference(*find_record_format("stazione"));
    EXPECT_NE(station.find("  17. name"), std::string::npos) << station;
    EXPECT_NE(station.find("25 and above"), std::string::npos) << station;
    EXPECT_NE(record_reference(*find_record_format("curva")).find("6      333.3 m"),
              std::string::npos);
}

}  // namespace
}  // namespace railscen
