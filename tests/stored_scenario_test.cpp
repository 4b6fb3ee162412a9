// The stored scenario lists, taken as the files they become: each line followed by CR LF, up to
// the end marker.

#include "scenario/stored_scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace railscen {
namespace {

// The lines a list writes: everything before the end marker.
std::vector<std::string_view> lines_of(LineList list) {
    std::vector<std::string_view> out;
    for (std::string_view line : list) {
        if (line == kEndOfList) return out;
        out.push_back(line);
    }
    ADD_FAILURE() << "list without end marker";
    return out;
}

std::string file_of(LineList list) {
    std::string bytes;
    for (std::string_view line : lines_of(list)) {
        bytes.append(line);
        bytes.append("\r\n");
    }
    return bytes;
}

std::vector<std::string_view> fields_of(std::string_view row) {
    std::vector<std::string_view> out;
    for (std::size_t start = 0;;) {
        std::size_t comma = row.find(',', start);
        std::string_view field = row.substr(start, comma - start);
        while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
        while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
        out.push_back(field);
        if (comma == std::string_view::npos) return out;
        start = comma + 1;
    }
}

int number(std::string_view field) {
    return std::atoi(std::string(field).c_str());
}

// Rows first..first+count-1 (1-based line numbers) of a file's lines.
std::vector<std::string_view> section(const std::vector<std::string_view>& lines, int first,
                                      int count) {
    return {lines.begin() + first - 1, lines.begin() + first - 1 + count};
}

constexpr char kEGrave = '\xE8';

// ------------------------------------------------------------------------- whole files

std::string golden(const char* name) {
    std::ifstream in(std::filesystem::path(RAILSCEN_SOURCE_DIR) / "tests" / "golden" / name,
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first line where two files part, for a message shorter than the files.
std::string first_difference(const std::string& made, const std::string& expected) {
    std::size_t line = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < std::min(made.size(), expected.size()); ++i) {
        if (made[i] != expected[i]) {
            return "line " + std::to_string(line) + ": \"" +
                   made.substr(start, made.find('\n', start) - start) +
                   "\" where the golden copy has \"" +
                   expected.substr(start, expected.find('\n', start) - start) + "\"";
        }
        if (made[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    return made.size() == expected.size() ? "" : "the lengths differ";
}

// Each file the stored lists become, byte for byte (Windows-1252, CR LF), against its golden
// copy.
TEST(StoredFiles, EqualTheirGoldenCopies) {
    struct Case {
        LineList list;
        const char* golden;
    };
    const Case cases[] = {
        {stored_line_description(), "VELARO-CUSTRA _linea.txt"},
        {stored_train_description(), "VELARO-CUSTRA _R 40817-.txt"},
        {stored_timetable_sheet(), "VELARO-CUSTRA _R 40817_scheda_treno.txt"},
        {stored_slowdown_form(), "VELARO-CUSTRA _R 40817_rallentamenti.txt"},
    };
    for (const Case& c : cases) {
        const std::string expected = golden(c.golden);
        ASSERT_FALSE(expected.empty()) << c.golden;
        const std::string made = file_of(c.list);
        EXPECT_TRUE(made == expected) << c.golden << ": " << first_difference(made, expected);
    }
}

// ------------------------------------------------------------------------- line description

class LineDescription : public ::testing::Test {
  protected:
    std::vector<std::string_view> lines = lines_of(stored_line_description());
};

TEST_F(LineDescription, FileHas642LinesAnd17053Bytes) {
    EXPECT_EQ(lines.size(), 642u);
    EXPECT_EQ(file_of(stored_line_description()).size(), 17053u);
    EXPECT_EQ(lines.front(), "[generale]");
    EXPECT_EQ(lines.back(), "[fine]");
}

TEST_F(LineDescription, QuotedRowsArePresent) {
    auto has = [&](std::string_view row) {
        return std::find(lines.begin(), lines.end(), row) != lines.end();
    };
    EXPECT_TRUE(has("curvad4,  800,  650"));
    EXPECT_TRUE(has("indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0"));
    EXPECT_TRUE(has("indicatori_vmax,  3450,  140,  155,  155,  2,  140,  155,  155,  2"));
    auto pair = std::find(lines.begin(), lines.end(), "montagna,   65100,  65250,  12");
    ASSERT_NE(pair, lines.end());
    EXPECT_EQ(*(pair + 1), "montagna,   65300,  67300,  11");
}

struct Section {
    int first;  // line number of the first row
    int count;
    std::string_view keyword;
    int min_position, max_position;
};

constexpr std::array kSections = {
    Section{11, 122, "curva", 500, 106800},
    Section{134, 445, "pendenza", 0, 104100},
    Section{580, 13, "montagna", 46650, 106600},
    Section{594, 32, "indicatori_vmax", 800, 102950},
    Section{627, 15, "cartello_indicatore", 46450, 104050},
};

TEST_F(LineDescription, SectionPositionsAscendInFiftiesWithinBounds) {
    for (const Section& s : kSections) {
        SCOPED_TRACE(s.keyword);
        int previous = -1;
        std::vector<int> positions;
        for (std::string_view row : section(lines, s.first, s.count)) {
            ASSERT_TRUE(row.starts_with(s.keyword)) << row;
            int position = number(fields_of(row)[1]);
            EXPECT_GT(position, previous) << row;
            EXPECT_EQ(position % 50, 0) << row;
            positions.push_back(position);
            previous = position;
        }
        EXPECT_EQ(positions.front(), s.min_position);
        EXPECT_EQ(positions.back(), s.max_position);
    }
}

TEST_F(LineDescription, EveryCommaIsFollowedByTwoToFourBlanks) {
    for (std::string_view row : lines) {
        for (std::size_t at = row.find(','); at != std::string_view::npos;
             at = row.find(',', at + 1)) {
            std::size_t blanks = row.find_first_not_of(' ', at + 1);
            if (blanks == std::string_view::npos) blanks = row.size();
            blanks -= at + 1;
            EXPECT_TRUE(blanks >= 2 && blanks <= 4) << row;
        }
    }
}

TEST_F(LineDescription, CurvesHaveTheirKeywordCountsAndDoNotOverlap) {
    const std::map<std::string_view, int> expected = {
        {"curvas1", 17}, {"curvas2", 11}, {"curvas3", 19}, {"curvas4", 16}, {"curvas5", 4},
        {"curvad1", 4},  {"curvad2", 5},  {"curvad3", 18}, {"curvad4", 23}, {"curvad5", 5}};
    std::map<std::string_view, int> counts;
    int end = 0, shortest = 1 << 30, longest = 0;
    for (std::string_view row : section(lines, 11, 122)) {
        auto f = fields_of(row);
        ++counts[f[0]];
        int start = number(f[1]), length = number(f[2]);
        EXPECT_GE(start, end) << row;
        EXPECT_EQ(length % 50, 0) << row;
        end = start + length;
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(shortest, 50);
    EXPECT_EQ(longest, 1800);
}

TEST_F(LineDescription, GradientsMountainsAndBoardsKeepTheirRanges) {
    int low = 0, high = 0;
    for (std::string_view row : section(lines, 134, 445)) {
        int value = number(fields_of(row)[2]);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    EXPECT_EQ(low, -27);
    EXPECT_EQ(high, 30);

    std::map<int, int> kinds;
    for (std::string_view row : section(lines, 580, 13)) {
        auto f = fields_of(row);
        EXPECT_GE(number(f[2]), 51650) << row;
        EXPECT_LE(number(f[2]), 106950) << row;
        ++kinds[number(f[3])];
    }
    EXPECT_EQ(kinds, (std::map<int, int>{{11, 9}, {12, 4}}));

    int one_sided = 0;
    for (std::string_view row : section(lines, 594, 32)) {
        auto f = fields_of(row);
        ASSERT_EQ(f.size(), 10u) << row;
        if (f[6].empty() && f[7].empty() && f[8].empty()) ++one_sided;
        for (int i : {2, 3, 4, 6, 7, 8}) {
            if (f[i].empty()) continue;
            int speed = number(f[i]);
            EXPECT_TRUE(speed >= 30 && speed <= 155 && speed % 5 == 0) << row;
        }
        for (int i : {5, 9}) EXPECT_TRUE(number(f[i]) >= 0 && number(f[i]) <= 2) << row;
    }
    EXPECT_EQ(one_sided, 12);
}

TEST_F(LineDescription, SignTextsAreTwoOrThreeBracketedGroups) {
    std::map<int, int> by_groups;
    for (std::string_view row : section(lines, 627, 15)) {
        auto f = fields_of(row);
        ASSERT_EQ(f.size(), 3u) << row;  // no comma inside the text
        std::string_view text = f[2];
        int groups = static_cast<int>(std::count(text.begin(), text.end(), '('));
        EXPECT_EQ(std::count(text.begin(), text.end(), ')'), groups) << row;
        EXPECT_TRUE(text.starts_with("(") && text.ends_with(")")) << row;
        ++by_groups[groups];
    }
    EXPECT_EQ(by_groups, (std::map<int, int>{{2, 6}, {3, 9}}));
    EXPECT_EQ(lines[627 - 1],
              "cartello_indicatore,  46450,  "
              "(   GALLERIA   )(  MONTE ALTO  )(   5000 m    )");
}

// --------------------------------------------------------------------------- e grave

TEST(StoredDescriptions, EGraveIsOneByteInOneRowOfEachFile) {
    struct Case {
        LineList list;
        std::string_view keyword;
    };
    for (const Case& c : {Case{stored_line_description(), "cartello_indicatore"},
                          Case{stored_train_description(), "stazione"}}) {
        std::string bytes = file_of(c.list);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), kEGrave), 1);
        for (std::string_view row : lines_of(c.list)) {
            if (row.find(kEGrave) != std::string_view::npos) {
                EXPECT_TRUE(row.starts_with(c.keyword)) << row;
            }
        }
    }
}

// ------------------------------------------------------------------------ train description

class TrainDescription : public ::testing::Test {
  protected:
    std::vector<std::string_view> lines = lines_of(stored_train_description());
};

TEST_F(TrainDescription, FileHas128LinesWithTheEmptyThirdAndTheBlankEndedEighth) {
    ASSERT_EQ(lines.size(), 128u);
    EXPECT_TRUE(lines[2].empty());
    EXPECT_EQ(lines[7], "orologio,    16              39            30 ");
    EXPECT_NE(lines[0].find("40817"), std::string_view::npos);
    std::string bytes = file_of(stored_train_description());
    EXPECT_EQ(bytes.find("[generale]"), bytes.find("\r\n\r\n") + 4);  // nothing before it
}

TEST_F(TrainDescription, SectionsHoldTheirRows) {
    const std::map<int, std::string_view> headers = {
        {4, "[generale]"},       {9, "[aderenze]"}, {14, "[vel_limite]"}, {29, "[stazioni]"},
        {54, "[rallentamenti]"}, {55, "[segnali]"}, {122, "[codici]"},    {128, "[fine]"}};
    for (const auto& [number, text] : headers) EXPECT_EQ(lines[number - 1], text) << number;
    struct Rows {
        int first, count;
        std::string_view keyword;
    };
    for (const Rows& r :
         {Rows{10, 4, "aderenza,"}, Rows{15, 14, "velocita,"}, Rows{30, 24, "stazione,"},
          Rows{56, 66, "segnale,"}, Rows{123, 5, "abbattimento,"}}) {
        int previous = -1;
        for (std::string_view row : section(lines, r.first, r.count)) {
            ASSERT_TRUE(row.starts_with(r.keyword)) << row;
            int position = number(fields_of(row)[1]);
            EXPECT_GT(position, previous) << row;
            EXPECT_EQ(position % 50, 0) << row;
            previous = position;
        }
    }
}

TEST_F(TrainDescription, StationsCarryTheirFieldsAndTimes) {
    auto numbers = [](std::string_view row) {
        auto f = fields_of(row);
        std::vector<int> out;
        for (std::size_t i = 1; i + 1 < f.size(); ++i) out.push_back(number(f[i]));
        return out;
    };
    auto stations = section(lines, 30, 24);
    EXPECT_EQ(numbers(stations.front()),
              (std::vector<int>{0, 8, 400, 0, 0, 0, 1, 1, 0, 3, 1, 1, 1, 16, 40, 0}));
    EXPECT_TRUE(stations.front().ends_with(", VELARO SAN MARTINO"));
    const std::vector<int> call = {45350, 4, 500, 1, 0, 0, 6, 1, 1, 2, 1, 1, 60, 17, 10, 0};
    EXPECT_EQ(std::count_if(stations.begin(), stations.end(),
                            [&](std::string_view row) { return numbers(row) == call; }),
              1);

    std::map<int, int> categories, field13;
    int timed = 0, previous_time = 0;
    for (std::string_view row : stations) {
        auto n = numbers(row);
        ASSERT_EQ(n.size(), 16u) << row;
        ++categories[n[1]];
        ++field13[n[12]];
        EXPECT_TRUE(n[2] >= 200 && n[2] <= 600 && n[2] % 100 == 0) << row;
        if (n[13] == 0) continue;
        ++timed;
        int time = n[13] * 60 + n[14];
        EXPECT_GT(time, previous_time) << row;
        previous_time = time;
    }
    EXPECT_EQ(categories,
              (std::map<int, int>{
                  {4, 3}, {8, 1}, {11, 1}, {12, 8}, {21, 1}, {22, 1}, {25, 1}, {26, 3}, {28, 5}}));
    EXPECT_EQ(field13, (std::map<int, int>{{0, 16}, {1, 1}, {60, 6}, {115, 1}}));
    EXPECT_EQ(timed, 8);
}

TEST_F(TrainDescription, SignalsStandApartWithinTheirValueRanges) {
    int previous = -600, with_time = 0;
    for (std::string_view row : section(lines, 56, 66)) {
        auto f = fields_of(row);
        ASSERT_EQ(f.size(), 12u) << row;
        int position = number(f[1]);
        EXPECT_GE(position - previous, 600) << row;
        previous = position;
        int sx = number(f[2]), dx = number(f[7]);
        EXPECT_TRUE(sx == 1 || sx == 2) << row;
        EXPECT_EQ(number(f[6]), 0) << row;  // rapp
        EXPECT_TRUE(dx >= 0 && dx <= 2) << row;
        if (dx == 0) {
            EXPECT_TRUE(f[8] == "0" && f[9] == "0" && f[10] == "0") << row;
        }
        if (number(f[11]) != 0) ++with_time;
    }
    EXPECT_EQ(with_time, 2);
}

// ------------------------------------------------------------------------------- documents

TEST(NotesSheet, HasNoLines) {
    EXPECT_EQ(stored_notes_sheet().front(), kEndOfList);
    EXPECT_TRUE(file_of(stored_notes_sheet()).empty());
}

TEST(SlowdownForm, IsWrittenByteForByte) {
    const std::string_view row =
        " |   |                            |            |          |         |            |";
    const std::string_view rule =
        " |___|____________________________|____________|__________|_________|____________|";
    std::vector<std::string_view> expected = {
        "",
        "                               Modulo M. 3",
        "                           ORDINE DI RALLENTAMENTO",
        " ________________________________________________________________________________",
        "  Linea  VELARO  CUSTRA",
        "  Si ordina al macchinista del treno 40817 di effettuare i seguenti rallentamenti",
        "  _______________________________________________________________________________",
        " |   |                            |Inizio dopo |          |         |            |",
        " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
        " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
        rule,
        row,
        " |   |  nessun rallentamento      |            |          |         |            |",
    };
    expected.insert(expected.end(), 24, row);
    expected.insert(expected.end(),
                    {rule, "", "              Prescrizioni specifiche",
                     " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
                     " B - Interessa anche la stazione di.......",
                     " D - Rallentamneto N. ... e N. ...  sono contigui",
                     " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
                     "     i giorni esclusi i seguenti:........."});
    EXPECT_EQ(lines_of(stored_slowdown_form()), expected);
    EXPECT_EQ(file_of(stored_slowdown_form()).size(), 3281u);
}

class TimetableSheet : public ::testing::Test {
  protected:
    std::vector<std::string_view> lines = lines_of(stored_timetable_sheet());
};

TEST_F(TimetableSheet, FileHas73LinesAnd4710Bytes) {
    EXPECT_EQ(lines.size(), 73u);
    EXPECT_EQ(file_of(stored_timetable_sheet()).size(), 4710u);
}

TEST_F(TimetableSheet, TableLinesKeepTheirColumnBars) {
    auto bars = [](std::string_view row) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (row[i] == '|') at.push_back(i);
        }
        return at;
    };
    const std::vector<std::size_t> header = {1, 7, 13, 24, 30, 59, 76, 82};
    for (int n = 14; n <= 59; ++n) {
        std::string_view row = lines[n - 1];
        std::vector<std::size_t> expected = header;
        std::size_t size = 83;
        if (n == 57) {
            expected.pop_back();
            size = 96;
        } else if (n == 45) {
            size = 84;
        }
        EXPECT_EQ(bars(row), expected) << n;
        EXPECT_EQ(row.size(), size) << n;
    }
}

TEST_F(TimetableSheet, TimesNeverDecrease) {
    std::string previous = "16:40";
    int count = 0;
    for (int n = 17; n <= 57; ++n) {
        std::string_view cell = lines[n - 1].substr(60, 16);
        for (std::size_t at = cell.find(':'); at != std::string_view::npos;
             at = cell.find(':', at + 1)) {
            std::string time(cell.substr(at - 2, 5));
            EXPECT_GE(time, previous) << n;
            previous = time;
            ++count;
        }
    }
    EXPECT_EQ(previous, "18:10");
    EXPECT_EQ(count, 41 + 6);  // one time per row, two at each of the six stops
}

}  // namespace
}  // namespace railscen
