#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
// metres. The plan file holds column x, then column y, each value a 2-byte type code followed
// by its bytes.
//
// A computed plan starts with two Integer points, the origin heading along +y (+x lies to its
// right), continues with Double points up to the last computed row and ends in Empty rows.
// It is held as the steps that compute it (straight on, or turning by k per metre, up to a
// row), not as its points: a million-row plan is 20 MB of file but a few hundred steps. Its
// points are computed when the file is written, a block of rows at a time, or when they are
// first read (the whole image, kept until the plan is extended). A plan read from a file is
// held as that file's bytes and holds any values.
//
// Reading the points of a computed plan fills a cache: one thread at a time per plan.
class Plan {
  public:
    // Where a piece of the file goes and its bytes.
    using PutBytes = std::function<void(std::uint64_t offset, std::span<const std::uint8_t>)>;

    Plan() = default;
    Plan(Plan&& other) noexcept;  // leaves other without rows
    Plan& operator=(Plan&& other) noexcept;
    Plan(const Plan& other);
    Plan& operator=(const Plan& other);
    ~Plan();

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
    // metre.
    void start();
    void extend_straight(std::int64_t to);
    void extend_curve(std::int64_t to, double k);
    std::int64_t filled() const { return filled_; }

    // The plan file's size, and its bytes handed to `put` in pieces of at most a few hundred
    // KiB, computed into one fixed buffer: every byte of the file exactly once, column x's
    // and column y's pieces of the same rows in turn.
    std::uint64_t file_size() const;
    void produce(const PutBytes& put) const;

    // The plan file's bytes, whole.
    std::span<const std::uint8_t> image() const;

    friend bool operator==(const Plan& a, const Plan& b);

  private:
    struct Step {
        std::int64_t to;  // the last row it computes
        double k;         // the turn per metre; 0 and !curve: straight on
        bool curve;
    };
    struct Piece;
    class Pieces;
    struct Release {
        void operator()(std::uint8_t* bytes) const;
    };
    using Image = std::unique_ptr<std::uint8_t[], Release>;
    static Image allocate(std::size_t size);

    void extend(std::int64_t to, double k, bool curve);
    std::size_t column_size() const;
    std::size_t offset(int column, std::int64_t row) const;
    TaggedValue value_at(std::size_t at) const;
    const std::uint8_t* points() const;

    std::int64_t rows_ = 0;
    std::int64_t filled_ = 0;  // computed plans: rows 0 to filled_ - 1 hold points
    std::vector<Step> steps_;  // after the first two points, in order

    // A plan read from a file: its bytes and where each value starts. A computed plan: the
    // image of its points once read (empty until then, and again when extended).
    mutable Image image_;
    mutable std::size_t image_size_ = 0;
    std::vector<std::uint32_t> offsets_;
};

}  // namespace railscen
