// The rolling-stock reader: files that break the format, named by field and line; and trains
// made into mass points, with the format's defaults and its rules for combining a formation,
// worked by hand.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "dynamics/rolling_stock.h"
#include "dynamics/train_dynamics.h"

namespace railscen::dynamics {
namespace {

constexpr double g = kGravity;

const std::string kHeader =
    "schema: https://railtoolkit.org/schema/rolling-stock.json\n"
    "schema_version: \"2022.05\"\n";

// One train of LOCO and CAR (its formation on line 6), then LOCO from line 8 with
// loco_extra from line 13, then CAR.
std::string file(const std::string& loco_extra, const std::string& formation = "[LOCO, CAR]") {
    return kHeader +
           "trains:\n"
           "  - id: T\n"
           "    name: Test train\n"
           "    formation: " +
           formation +
           "\n"
           "vehicles:\n"
           "  - id: LOCO\n"
           "    name: Locomotive\n"
           "    vehicle_type: traction unit\n"
           "    length: 19.5\n"
           "    mass: 84\n" +
           loco_extra +
           "  - id: CAR\n"
           "    name: Coach\n"
           "    vehicle_type: passenger\n"
           "    length: 26.4\n"
           "    mass: 40\n";
}

std::string message_of(const std::string& text) {
    try {
        parse_rolling_stock(text, "stock.yaml");
    } catch (const RollingStockError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(RollingStock, AFileThatBreaksTheFormatIsRefusedNamingTheFieldAndLine) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"schema: rolling_stock\nschema_version: \"2022.05\"\nvehicles: []\n",
         "stock.yaml:1: `schema`: must be \"https://railtoolkit.org/schema/rolling-stock.json\""},
        {"schema: https://railtoolkit.org/schema/rolling-stock.json\nschema_version: 2024.07\n",
         "stock.yaml:2: `schema_version`: must be \"2022.05\""},
        {kHeader, "stock.yaml:1: `vehicles`: missing"},
        {kHeader + "vehicles:\n  - id: A\n    name: A\n    vehicle_type: freight\n    mass: 20\n",
         "stock.yaml:4: `length`: missing"},
        {file("    speed_limit: -160\n"), "stock.yaml:13: `speed_limit`: must be greater than 0"},
        {file("    load_limit: heavy\n"), "stock.yaml:13: `load_limit`: must be a number"},
        {file("    mass_traction: 90\n"),
         "stock.yaml:13: `mass_traction`: must not exceed the vehicle's mass"},
        {file("    rotation_mass: 0.95\n"), "stock.yaml:13: `rotation_mass`: must be at least 1"},
        {file("    a_braking: 0.5\n"),
         "stock.yaml:13: `a_braking`: must be negative (a deceleration)"},
        {file("    power_type: nuclear\n"),
         "stock.yaml:13: `power_type`: must be one of \"diesel\", \"electric\", \"steam\""},
        {file("    tractive_effort: [[0, 300000], [100, 150000]]\n"),
         "stock.yaml:13: `tractive_effort`: must list at least 3 [speed, force] pairs"},
        {file("    tractive_effort:\n      - [0, 300000]\n      - [50, 300000, 1]\n"
              "      - [100, 150000]\n"),
         "stock.yaml:15: `tractive_effort`: each entry must be a [speed, force] pair"},
        {file("    tractive_effort:\n      - [0, 300000]\n      - [0, 250000]\n"
              "      - [100, 150000]\n"),
         "stock.yaml:15: `tractive_effort`: gives a speed twice"},
        {file("", "[LOCO, WAGON]"), "stock.yaml:6: `formation`: no vehicle \"WAGON\""},
        {file("", "[]"), "stock.yaml:6: `formation`: must be a non-empty list"},
        {file("  - id: LOCO\n    name: Again\n    vehicle_type: freight\n    length: 9\n"
              "    mass: 9\n"),
         "stock.yaml:13: `id`: vehicle id \"LOCO\" twice"},
        {kHeader + "vehicles:\n  - id: A\n    name: A\n    vehicle_type: locomotive\n",
         "stock.yaml:6: `vehicle_type`: must be one of \"traction unit\", \"multiple unit\", "
         "\"passenger\", \"freight\""},
        {kHeader + "vehicles: [\n", "stock.yaml:4: not YAML: end of sequence flow not found"},
    };
    for (const auto& c : cases) EXPECT_EQ(message_of(c.text), c.message) << c.text;
}

TEST(RollingStock, AValidFileKeepsWhatItGivesAndLeavesTheRestUnset) {
    const RollingStock stock = parse_rolling_stock(
        file("    speed_limit: 140\n    a_braking: -0.5\n"
             "    tractive_effort: [[140, 100000], [0, 250000], [60, 250000]]\n"),
        "stock.yaml");
    ASSERT_EQ(stock.vehicles.size(), 2u);
    const Vehicle& loco = stock.vehicles[0];
    EXPECT_EQ(loco.vehicle_type, VehicleType::kTractionUnit);
    EXPECT_EQ(loco.line, 8);
    EXPECT_EQ(loco.speed_limit, 140);
    EXPECT_EQ(loco.a_braking, -0.5);
    EXPECT_FALSE(loco.rotation_mass);
    EXPECT_FALSE(loco.base_resistance);
    ASSERT_EQ(loco.tractive_effort.size(), 3u);
    EXPECT_EQ(loco.tractive_effort[1].kmh, 60);  // put in order of speed
    EXPECT_EQ(stock.vehicles[1].load_limit, 0);
    ASSERT_NE(find_train(stock, ""), nullptr);
    EXPECT_EQ(find_train(stock, "")->formation, (std::vector<std::string>{"LOCO", "CAR"}));
    EXPECT_EQ(find_train(stock, "T"), find_train(stock, ""));
    EXPECT_EQ(find_train(stock, "U"), nullptr);
}

TrainDynamics dynamics_of(const std::string& text) {
    const RollingStock stock = parse_rolling_stock(text, "stock.yaml");
    return train_dynamics(stock, stock.trains.front(), "stock.yaml");
}

// A multiple unit of 100 t that gives only what the format requires: rotating mass 1.09, the
// passenger train's 0.375 m/s^2, 504 km/h, the adhesion 0.2 m g as its effort, no resistance.
TEST(TrainDynamics, TheFormatsDefaultsFillWhatAFileLeavesOut) {
    const TrainDynamics t = dynamics_of(kHeader +
                                        "trains: [{id: U, name: Unit, formation: [EMU]}]\n"
                                        "vehicles:\n"
                                        "  - {id: EMU, name: EMU, vehicle_type: multiple unit,\n"
                                        "     length: 70, mass: 100}\n");
    EXPECT_TRUE(t.passenger);
    EXPECT_DOUBLE_EQ(t.mass, 100'000);
    EXPECT_DOUBLE_EQ(t.rotation_mass, 1.09);
    EXPECT_DOUBLE_EQ(t.braking, 0.375);
    EXPECT_DOUBLE_EQ(t.speed_limit, 140);
    EXPECT_DOUBLE_EQ(tractive_effort(t, 0), 0.2 * 100'000 * g);
    EXPECT_DOUBLE_EQ(tractive_effort(t, 50), 0.2 * 100'000 * g);
    EXPECT_DOUBLE_EQ(running_resistance(t, 30), 0);

    const TrainDynamics freight = dynamics_of(
        kHeader + "trains: [{id: F, name: Freight, formation: [LOCO, WAGON]}]\nvehicles:\n" +
        "  - {id: LOCO, name: L, vehicle_type: traction unit, length: 20, mass: 80}\n" +
        "  - {id: WAGON, name: W, vehicle_type: freight, length: 15, mass: 25}\n");
    EXPECT_FALSE(freight.passenger);
    EXPECT_DOUBLE_EQ(freight.braking, 0.225);
    EXPECT_DOUBLE_EQ(freight.rotation_mass, (1.09 * 80 + 1.06 * 25) / 105);
}

// A locomotive and three coaches, worked by hand with v in km/h:
// - mass 84 + 3 (40 + 6) = 222 t; rotating mass (1.12 * 84 + 1.04 * 120) / 204;
// - locomotive: 2.5 per mille of 84 t + 2 per mille of 84 t ((v + 15) / 100)^2;
// - coaches (Sauthoff): 138 t (1.0 + 0.6 v / 100 + 0.8 ((v + 15) / 100)^2) per mille.
//   At 85 km/h: 210 + 168 + 138 (1.0 + 0.51 + 0.8) = 696.78 kg of weight;
//   at rest: 210 + 3.78 + 138 (1.0 + 0.018) = 354.264 kg of weight.
TEST(TrainDynamics, APassengerFormationCombinesItsVehiclesAsTheFormatSays) {
    const TrainDynamics t = dynamics_of(
        kHeader +
        "trains: [{id: RE, name: Regional, formation: [LOCO, CAR, CAR, CAR]}]\n"
        "vehicles:\n"
        "  - {id: LOCO, name: L, vehicle_type: traction unit, length: 19.5, mass: 84,\n"
        "     mass_traction: 84, speed_limit: 140, a_braking: -0.5, rotation_mass: 1.12,\n"
        "     base_resistance: 2.5, air_resistance: 2,\n"
        "     tractive_effort: [[0, 250000], [60, 250000], [140, 100000]]}\n"
        "  - {id: CAR, name: C, vehicle_type: passenger, length: 26.4, mass: 40,\n"
        "     load_limit: 6, speed_limit: 160, rotation_mass: 1.04,\n"
        "     base_resistance: 1.0, rolling_resistance: 0.6, air_resistance: 0.8}\n");
    EXPECT_TRUE(t.passenger);
    EXPECT_NEAR(t.length, 98.7, 1e-9);
    EXPECT_DOUBLE_EQ(t.mass, 222'000);
    EXPECT_DOUBLE_EQ(t.rotation_mass, (1.12 * 84 + 1.04 * 120) / 204);
    EXPECT_DOUBLE_EQ(t.speed_limit, 140 / 3.6);
    EXPECT_DOUBLE_EQ(t.braking, 0.5);
    EXPECT_NEAR(running_resistance(t, 85 / 3.6), 696.78 * g, 1e-6);
    EXPECT_NEAR(running_resistance(t, 0), 354.264 * g, 1e-6);
    EXPECT_DOUBLE_EQ(tractive_effort(t, 100 / 3.6), 175'000);
}

// Strahl's formula for freight wagons has no term in v, and no head wind:
// 90 t (1.2 + 0.5 (v / 100)^2) per mille, 153 kg of weight at 100 km/h. Two locomotives add
// their efforts where either curve bends: at 100 km/h 175 + 100 kN; at 130 km/h
// 118.75 kN and the second's last point, 80 kN.
TEST(TrainDynamics, AFreightFormationTakesStrahlsResistanceAndAddsItsUnitsEfforts) {
    const TrainDynamics t =
        dynamics_of(kHeader +
                    "trains: [{id: G, name: Goods, formation: [LOCO, LOCO2, WAGON]}]\n"
                    "vehicles:\n"
                    "  - {id: LOCO, name: L, vehicle_type: traction unit, length: 19, mass: 80,\n"
                    "     tractive_effort: [[0, 250000], [60, 250000], [140, 100000]]}\n"
                    "  - {id: LOCO2, name: L2, vehicle_type: traction unit, length: 16, mass: 64,\n"
                    "     tractive_effort: [[0, 200000], [100, 100000], [120, 80000]]}\n"
                    "  - {id: WAGON, name: W, vehicle_type: freight, length: 15, mass: 25,\n"
                    "     load_limit: 65, base_resistance: 1.2, rolling_resistance: 0.9,\n"
                    "     air_resistance: 0.5}\n");
    EXPECT_FALSE(t.passenger);
    EXPECT_NEAR(running_resistance(t, 100 / 3.6), 153 * g, 1e-6);
    EXPECT_NEAR(running_resistance(t, 0), 108 * g, 1e-6);
    const struct {
        double kmh;
        double newtons;
    } efforts[] = {{0, 450'000}, {60, 390'000}, {100, 275'000}, {130, 198'750}, {200, 180'000}};
    for (const auto& e : efforts) {
        EXPECT_NEAR(tractive_effort(t, e.kmh / 3.6), e.newtons, 1e-6) << e.kmh << " km/h";
    }
}

TEST(TrainDynamics, AFormationWithoutATractionUnitIsRefused) {
    const std::string text =
        kHeader + "trains: [{id: X, name: Coaches, formation: [CAR]}]\nvehicles:\n" +
        "  - {id: CAR, name: C, vehicle_type: passenger, length: 26, mass: 40}\n";
    const RollingStock stock = parse_rolling_stock(text, "stock.yaml");
    try {
        train_dynamics(stock, stock.trains.front(), "stock.yaml");
        FAIL() << "accepted";
    } catch (const RollingStockError& e) {
        EXPECT_STREQ(
            e.what(),
            "stock.yaml:3: `formation`: train \"X\" has no traction unit or multiple unit");
    }
}

// The shipped examples are valid files whose trains can run: each its loaded mass, and a
// starting acceleration of a real train, between 0.1 and 1 m/s^2.
TEST(RollingStock, TheShippedExamplesReadAndRun) {
    const struct {
        const char* file;
        double tonnes;
    } examples[] = {{"regional-emu.yaml", 330},
                    {"regional-loco-hauled.yaml", 314},
                    {"freight-train.yaml", 727}};
    for (const auto& e : examples) {
        SCOPED_TRACE(e.file);
        std::ifstream in(std::string(EXAMPLES_DIR) + "/" + e.file);
        std::stringstream text;
        text << in.rdbuf();
        const RollingStock stock = parse_rolling_stock(text.str(), e.file);
        ASSERT_EQ(stock.trains.size(), 1u);
        const TrainDynamics t = train_dynamics(stock, stock.trains.front(), e.file);
        EXPECT_NEAR(t.mass, e.tonnes * 1000, 1e-6);
        const double start =
            (tractive_effort(t, 0) - running_resistance(t, 0)) / (t.mass * t.rotation_mass);
        EXPECT_GT(start, 0.1);
        EXPECT_LT(start, 1.0);
    }
}

}  // namespace
}  // namespace railscen::dynamics
