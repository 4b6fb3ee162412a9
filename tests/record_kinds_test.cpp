// The kind a record is taken for, from its keyword: what the loader stores on every record and
// what the editor's hover tells general records apart by.

#include "loader/record_kinds.h"

#include <gtest/gtest.h>

#include <vector>

namespace railscen {
namespace {

std::vector<RecordKind> general_kinds(std::string_view keyword) {
    std::vector<RecordKind> kinds;
    for (const GeneralRecord g : general_matches(keyword)) kinds.push_back(record_kind(g));
    return kinds;
}

TEST(RecordKinds, GeneralKeywordsShareAKindPerSetting) {
    struct Case {
        const char* keyword;
        std::vector<RecordKind> kinds;
    };
    using K = RecordKind;
    const Case cases[] = {
        {"lunghezza percorso", {K::kLength}},
        {"progressiva chilometrica uno", {K::kProgressive}},
        {"progressiva chilometrica due", {K::kProgressive}},
        {"progressiva chilometrica tre", {K::kProgressive}},
        {"sfondo uno", {K::kBackground}},
        {"sfondo due", {K::kBackground}},
        {"sfondo tre", {K::kBackground}},
        {"ripetizione segnali 4 codici", {K::kSignalRepetition}},
        // A keyword that several tests take is each of their records, in test order.
        {"sfondo uno progressiva due",
         {K::kProgressive, K::kProgressive, K::kBackground, K::kBackground}},
        {"curvas3", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(general_kinds(c.keyword), c.kinds) << c.keyword;
}

}  // namespace
}  // namespace railscen
