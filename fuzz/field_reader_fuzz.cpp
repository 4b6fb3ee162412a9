// Fuzzes the field reader alone: the input is a program of reads and a text, split at the first
// NUL byte (each program byte picks a read; without a NUL the reads take turns). No input may
// crash, hang or read outside the text, and every read either gives a value or a ReadFailure.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "source_text/field_reader.h"
#include "source_text/keywords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view program = split == std::string_view::npos ? "" : input.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? input : input.substr(split + 1);

    railscen::FieldReader reader(text);
    // Every read takes at least one byte or ends the text, so this many reads reach the end.
    const std::size_t reads = 2 * text.size() + 8;
    for (std::size_t i = 0; i < reads && !reader.at_end(); ++i) {
        const unsigned op = program.empty()
                                ? static_cast<unsigned>(i % 4)
                                : static_cast<unsigned char>(program[i % program.size()]) % 4;
        try {
            switch (op) {
                case 0: {
                    const std::string field = reader.read_text();
                    railscen::general_matches(field);
                    railscen::object_matches(field, true);
                    railscen::train_matches(field);
                    railscen::curve_curvature(field);
                    break;
                }
                case 1:
                    reader.read_long();
                    break;
                case 2:
                    reader.read_integer();
                    break;
                default:
                    reader.read_byte();
                    break;
            }
        } catch (const railscen::ReadFailure&) {
            break;
        }
        reader.line_text(reader.field_line());
        reader.line_text(reader.field_line() + 1);
    }
    return 0;
}
