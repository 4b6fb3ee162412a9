#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <variant>
#include <vector>

namespace railscen {

// A value together with its type: Empty, Integer (16-bit) or Double. The plan file stores
// each as a 2-byte type code followed by the value's bytes.
using TaggedValue = std::variant<std::monostate, std::int16_t, double>;

enum class TypeCode : std::int16_t { kEmpty = 0, kInteger = 2, kDouble = 5 };

inline TypeCode type_code(const TaggedValue& v) {
    switch (v.index()) {
        case 1:
            return TypeCode::kInteger;
        case 2:
            return TypeCode::kDouble;
        default:
            return TypeCode::kEmpty;
    }
}

// Numeric value of a tagged value; Empty counts as 0.
inline double numeric(const TaggedValue& v) {
    if (const auto* i = std::get_if<std::int16_t>(&v)) return *i;
    if (const auto* d = std::get_if<double>(&v)) return *d;
    return 0.0;
}

// The smaller of two values; ties give the first.
inline TaggedValue minimo(const TaggedValue& x, const TaggedValue& y) {
    return numeric(x) > numeric(y) ? y : x;
}

// The plan view of the track, one point per route metre, rows 0 to last_row(), x and y in
// metres. It is held as the plan file's own bytes: column x, then column y, each value a
// 2-byte type code followed by its bytes, so writing the file is one block.
//
// A computed plan starts with two Integer points, the origin heading along +y (+x lies to its
// right), continues with Double points up to the last computed row and ends in Empty rows.
// Its y column is laid out for the usual end, every row computed but the last two; settle()
// moves it when the plan ends elsewhere. A plan read from a file holds any values.
class Plan {
  public:
    Plan() = default;
    Plan(Plan&& other) noexcept;  // leaves other without rows
    Plan& operator=(Plan&& other) noexcept;
    Plan(const Plan& other);
    Plan& operator=(const Plan& other);

    // Rows 0 to route_length + 7000, all Empty.
    static Plan for_route(std::int32_t route_length);
    // The plan of a file image; offsets says where each value starts, column x then column y
    // (an even count). The image is taken as valid.
    static Plan from_image(std::span<const std::uint8_t> image, std::vector<std::uint32_t> offsets);
    // The plan of two columns of equal length.
    static Plan from_values(std::span<const TaggedValue> x, std::span<const TaggedValue> y);

    bool exists() const { return rows_ > 0; }
    std::int64_t rows() const { return rows_; }
    std::int64_t last_row() const { return rows_ - 1; }

    TaggedValue x(std::int64_t row) const;
    TaggedValue y(std::int64_t row) const;

    // Computing: start() puts the first two points; each extend computes rows filled() to
    // `to` (never past last_row()) from the two points before, straight on or turning by k per
    // metre. settle() makes the image whole; a plan is settled again before it is read.
    void start();
    void extend_straight(std::int64_t to);
    void extend_curve(std::int64_t to, double k);
    std::int64_t filled() const { return filled_; }
    void settle();

    // The plan file's bytes; the plan must be settled.
    std::span<const std::uint8_t> image() const;

    friend bool operator==(const Plan& a, const Plan& b);

  private:
    template <bool kCurve>
    void extend(std::int64_t to, double k);
    std::size_t column_size(std::int64_t filled) const;
    std::size_t offset(int column, std::int64_t row) const;
    TaggedValue value_at(std::size_t at) const;
    void move_y_column(std::int64_t laid_out_for);

    struct Release {
        void operator()(std::uint8_t* bytes) const;
    };
    using Image = std::unique_ptr<std::uint8_t[], Release>;
    static Image allocate(std::size_t size);

    Image bytes_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;  // of the settled image
    std::int64_t rows_ = 0;
    std::int64_t filled_ = 0;    // computed plans: rows 0 to filled_ - 1 hold points
    std::int64_t laid_out_ = 0;  // the filled count the y column is placed for
    bool settled_ = true;
    std::vector<std::uint32_t> offsets_;  // plans read from a file
};

}  // namespace railscen
