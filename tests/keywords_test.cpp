#include "source_text/keywords.h"

#include <gtest/gtest.h>

namespace railscen {
namespace {

TEST(Keywords, GeneralRecordsByTheirTestsInOrder) {
    using G = GeneralRecord;
    using V = GeneralMatches;
    EXPECT_EQ(general_matches("LUNGHEZZA PERCORSO"), V{G::kLength});
    EXPECT_EQ(general_matches("Progressiva chilometrica uno"), V{});  // exact case
    EXPECT_EQ(general_matches("progressiva chilometrica tre"), V{G::kProgressiveTre});
    EXPECT_EQ(general_matches("sfondo due"), V{G::kBackgroundDue});
    EXPECT_EQ(general_matches("ripetizione segnali 4 codici"), V{G::kSignalRepetition});
    // No "else": a field passing two tests runs both handlers in test order.
    EXPECT_EQ(general_matches("progressiva uno sfondo"),
              (V{G::kProgressiveUno, G::kBackgroundUno}));
}

TEST(Keywords, ObjectRecordsAndCurvesOnlyWithAPlan) {
    using O = ObjectRecord;
    using V = ObjectMatches;
    EXPECT_EQ(object_matches("PENDENZA", true), V{O::kGradient});
    EXPECT_EQ(object_matches("curvas3", true), V{O::kCurve});
    EXPECT_EQ(object_matches("curvas3", false), V{});
    EXPECT_EQ(object_matches("indicatori_vmax", true), V{O::kSpeedBoard});
    EXPECT_EQ(object_matches("cartello_indicatore", true), V{O::kSignBoard});
    EXPECT_EQ(object_matches("cartello", true), V{});
    for (const char* header :
         {"[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]", "[fine]"}) {
        EXPECT_EQ(object_matches(header, true), V{}) << header;
    }
}

TEST(Keywords, TrainRecordsIgnoreCaseAndMatchPrefixes) {
    using T = TrainRecord;
    using V = TrainMatches;
    EXPECT_EQ(train_matches("STAZIONE"), V{T::kStation});
    EXPECT_EQ(train_matches("velocitaXYZ"), V{T::kSpeedLimit});
    EXPECT_EQ(train_matches("percentuale massa frenata"), V{T::kBrakedMass});
    EXPECT_EQ(train_matches("frenata"), V{});
    for (const char* header : {"[aderenze]", "[vel_limite]", "[stazioni]", "[rallentamenti]",
                               "[segnali]", "[codici]", "[fine]"}) {
        EXPECT_EQ(train_matches(header), V{}) << header;
    }
}

// A keyword holding every word of a list passes every test, in test order: the lists hold
// room for all of them.
TEST(Keywords, AKeywordWithEveryWordMatchesEveryRecord) {
    using G = GeneralRecord;
    EXPECT_EQ(general_matches("lunghezza percorso progressiva tre due uno sfondo segnali "
                              "ripetizione"),
              (GeneralMatches{G::kLength, G::kProgressiveTre, G::kProgressiveDue,
                              G::kProgressiveUno, G::kBackgroundUno, G::kBackgroundDue,
                              G::kBackgroundTre, G::kSignalRepetition}));
    using O = ObjectRecord;
    EXPECT_EQ(
        object_matches("pendenza curva montagna indicatori_v cartello", true),
        (ObjectMatches{O::kGradient, O::kCurve, O::kMountain, O::kSpeedBoard, O::kSignBoard}));
    using T = TrainRecord;
    EXPECT_EQ(train_matches("massa frenata vetture velocita aderenza orologio sabbia segnale "
                            "rallentamento abbattimento stazione"),
              (TrainMatches{T::kBrakedMass, T::kCars, T::kSpeedLimit, T::kAdhesion, T::kClock,
                            T::kSand, T::kSignal, T::kSlowdown, T::kCodeRow, T::kStation}));
}

TEST(Keywords, CurveClassIsTheFirstDigitOneToSixAndSideIsAnS) {
    struct Case {
        const char* keyword;
        std::optional<double> k;
    };
    const Case cases[] = {
        {"curvas3", -0.0004}, {"curvaS2", -0.0002},     {"curva2", 0.0002},
        {"curvad12", 0.0001}, {"curvad4", 0.001},       {"curvas6", -0.003},
        {"curvad5", 0.002},   {"curvad", std::nullopt}, {"curvad7", std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(curve_curvature(c.keyword), c.k) << c.keyword;
}

TEST(Keywords, SectionRulesAndCodeCount) {
    EXPECT_TRUE(ends_general_section("[curve]"));
    EXPECT_TRUE(ends_general_section("  x]y[  "));
    EXPECT_FALSE(ends_general_section("  -[commento]"));
    EXPECT_FALSE(ends_general_section("[curve"));
    EXPECT_TRUE(opens_general_section("xx[GENERALE]"));
    EXPECT_TRUE(is_comment_field("--- note"));
    EXPECT_EQ(repetition_code_count("ripetizione segnali 4 codici"), 4);
    EXPECT_EQ(repetition_code_count("ripetizione segnali 9 codici"), 9);
    EXPECT_EQ(repetition_code_count("ripetizione segnali 49"), 4);
    EXPECT_EQ(repetition_code_count("ripetizione segnali"), std::nullopt);
}

}  // namespace
}  // namespace railscen
