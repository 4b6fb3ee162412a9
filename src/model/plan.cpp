#include "model/plan.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace railscen {
namespace {

constexpr std::size_t kIntegerSize = 4;  // type code and 16-bit value
constexpr std::size_t kDoubleSize = 10;  // type code and 64-bit value
constexpr std::size_t kEmptySize = 2;    // type code only

// A piece of one column when the file is produced: large enough that the file system takes
// the file in few calls (each call costs it a fixed amount), small enough to stay in the cache
// between computing and copying, and to need little fresh memory.
constexpr std::size_t kPieceBytes = std::size_t{256} << 10;
constexpr std::size_t kLongPieceBytes = std::size_t{512} << 10;
constexpr std::uint64_t kLongFrom = std::uint64_t{4} << 20;  // file size

void put_u16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t get_u16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

// A Double value: its type code, then the number's bytes, little-endian.
void put_double(std::uint8_t* at, double v) {
    put_u16(at, static_cast<std::uint16_t>(TypeCode::kDouble));
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at + 2, &v, sizeof v);
    } else {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i) at[2 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

double get_double(const std::uint8_t* at) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= std::uint64_t{at[i]} << (8 * i);
    return std::bit_cast<double>(bits);
}

void put_integer(std::uint8_t* at, std::int16_t v) {
    put_u16(at, static_cast<std::uint16_t>(TypeCode::kInteger));
    put_u16(at + 2, static_cast<std::uint16_t>(v));
}

// The bytes of the computed rows 0 to filled - 1 of one column.
std::size_t prefix_size(std::int64_t filled) {
    return filled == 0 ? 0 : 2 * kIntegerSize + kDoubleSize * static_cast<std::size_t>(filled - 2);
}

// The last two points, from which each next one follows: straight on, the step from the point
// before to the last one again; turning, that step turned by k. Every row is computed in this
// order of operations, so the plan's bytes never depend on how its rows are split up.
struct Chain {
    double x1 = 0.0;  // row 1: (0, 1), row 0: (0, 0)
    double x2 = 0.0;
    double y1 = 1.0;
    double y2 = 0.0;
};

// The next n points into both columns. Kept out of line, with the chain passed in and returned
// by value: inlined into the producer, GCC kept the four numbers on the stack through the loop,
// which doubled its time.
template <bool kCurve>
[[gnu::noinline]] Chain run(Chain c, std::uint8_t* px, std::uint8_t* py, std::size_t n, double k) {
    double x1 = c.x1;
    double x2 = c.x2;
    double y1 = c.y1;
    double y2 = c.y2;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x1 - x2;
        const double dy = y1 - y2;
        double nx;
        double ny;
        if constexpr (kCurve) {
            nx = x1 + dx + k * dy;
            ny = y1 + dy - k * dx;
        } else {
            nx = x1 + dx;
            ny = y1 + dy;
        }
        put_double(px, nx);
        put_double(py, ny);
        px += kDoubleSize;
        py += kDoubleSize;
        x2 = x1;
        x1 = nx;
        y2 = y1;
        y1 = ny;
    }
    return {x1, x2, y1, y2};
}

}  // namespace

void Plan::Release::operator()(std::uint8_t* bytes) const {
    std::free(bytes);
}

// Uninitialised: every byte of an image is written once.
Plan::Image Plan::allocate(std::size_t size) {
    void* bytes = std::malloc(size == 0 ? 1 : size);
    if (bytes == nullptr) throw std::bad_alloc();
    return Image(static_cast<std::uint8_t*>(bytes));
}

Plan::~Plan() = default;

Plan::Plan(const Plan& other)
    : rows_(other.rows_),
      filled_(other.filled_),
      steps_(other.steps_),
      image_size_(other.image_size_),
      offsets_(other.offsets_) {
    if (!other.image_) return;
    image_ = allocate(image_size_);
    if (image_size_ > 0) std::memcpy(image_.get(), other.image_.get(), image_size_);
}

Plan::Plan(Plan&& other) noexcept
    : rows_(std::exchange(other.rows_, 0)),
      filled_(std::exchange(other.filled_, 0)),
      steps_(std::exchange(other.steps_, {})),
      image_(std::move(other.image_)),
      image_size_(std::exchange(other.image_size_, 0)),
      offsets_(std::exchange(other.offsets_, {})) {}

Plan& Plan::operator=(Plan&& other) noexcept {
    if (this != &other) {
        rows_ = std::exchange(other.rows_, 0);
        filled_ = std::exchange(other.filled_, 0);
        steps_ = std::exchange(other.steps_, {});
        image_ = std::move(other.image_);
        image_size_ = std::exchange(other.image_size_, 0);
        offsets_ = std::exchange(other.offsets_, {});
    }
    return *this;
}

Plan& Plan::operator=(const Plan& other) {
    if (this != &other) *this = Plan(other);
    return *this;
}

Plan Plan::for_route(std::int32_t route_length) {
    Plan plan;
    plan.rows_ = std::int64_t{route_length} + 7001;
    return plan;
}

Plan Plan::from_image(std::span<const std::uint8_t> image, std::vector<std::uint32_t> offsets) {
    Plan plan;
    plan.image_size_ = image.size();
    plan.image_ = allocate(image.size());
    if (!image.empty()) std::memcpy(plan.image_.get(), image.data(), image.size());
    plan.rows_ = static_cast<std::int64_t>(offsets.size() / 2);
    plan.offsets_ = std::move(offsets);
    return plan;
}

Plan Plan::from_values(std::span<const TaggedValue> x, std::span<const TaggedValue> y) {
    std::vector<std::uint8_t> image;
    std::vector<std::uint32_t> offsets;
    for (const auto column : {x, y}) {
        for (const TaggedValue& v : column.first(std::min(x.size(), y.size()))) {
            offsets.push_back(static_cast<std::uint32_t>(image.size()));
            std::uint8_t bytes[kDoubleSize];
            std::size_t size = kEmptySize;
            put_u16(bytes, 0);
            if (const auto* i = std::get_if<std::int16_t>(&v)) {
                put_integer(bytes, *i);
                size = kIntegerSize;
            } else if (const auto* d = std::get_if<double>(&v)) {
                put_double(bytes, *d);
                size = kDoubleSize;
            }
            image.insert(image.end(), bytes, bytes + size);
        }
    }
    return from_image(image, std::move(offsets));
}

std::size_t Plan::column_size() const {
    return prefix_size(filled_) + kEmptySize * static_cast<std::size_t>(rows_ - filled_);
}

std::size_t Plan::offset(int column, std::int64_t row) const {
    if (!offsets_.empty()) return offsets_[static_cast<std::size_t>(column * rows_ + row)];
    const std::size_t base = column == 0 ? 0 : column_size();
    if (row < filled_)
        return base + (row < 2 ? kIntegerSize * static_cast<std::size_t>(row) : prefix_size(row));
    return base + prefix_size(filled_) + kEmptySize * static_cast<std::size_t>(row - filled_);
}

TaggedValue Plan::value_at(std::size_t at) const {
    const std::uint8_t* p = points() + at;
    switch (static_cast<std::int16_t>(get_u16(p))) {
        case static_cast<std::int16_t>(TypeCode::kInteger):
            return static_cast<std::int16_t>(get_u16(p + 2));
        case static_cast<std::int16_t>(TypeCode::kDouble):
            return get_double(p + 2);
        default:
            return {};
    }
}

TaggedValue Plan::x(std::int64_t row) const {
    // Rows past the computed ones are Empty, with no need to compute the others.
    if (offsets_.empty() && row >= filled_) return {};
    return value_at(offset(0, row));
}

TaggedValue Plan::y(std::int64_t row) const {
    if (offsets_.empty() && row >= filled_) return {};
    return value_at(offset(1, row));
}

void Plan::start() {
    if (rows_ < 2 || !offsets_.empty()) throw std::logic_error("no plan to start");
    filled_ = 2;
    steps_.clear();
    image_.reset();
    image_size_ = 0;
}

void Plan::extend_straight(std::int64_t to) {
    extend(to, 0.0, false);
}

void Plan::extend_curve(std::int64_t to, double k) {
    extend(to, k, true);
}

void Plan::extend(std::int64_t to, double k, bool curve) {
    if (filled_ < 2) throw std::logic_error("the plan is extended before it is started");
    // The one check that keeps every row inside the plan.
    to = std::min(to, last_row());
    if (to < filled_) return;
    steps_.push_back({to, k, curve});
    filled_ = to + 1;
    image_.reset();  // the points read so far are no longer the whole plan
    image_size_ = 0;
}

std::uint64_t Plan::file_size() const {
    if (!offsets_.empty() || image_) return image_size_;
    if (rows_ <= 0) return 0;
    return 2 * std::uint64_t{column_size()};
}

// The file's pieces in order, each the same rows of both columns: column x's piece goes at
// x_at, column y's at y_at.
struct Plan::Piece {
    std::uint64_t x_at = 0;
    std::uint64_t y_at = 0;
    std::size_t size = 0;
};

class Plan::Pieces {
  public:
    Pieces(const Plan& plan, std::size_t piece_bytes)
        : plan_(plan),
          piece_bytes_(piece_bytes),
          y_at_(plan.column_size()),
          empty_(kEmptySize * static_cast<std::size_t>(plan.rows_ - plan.filled_)) {}

    // Computes the next piece into xs and ys (piece_bytes each); false when none is left.
    bool next(std::uint8_t* xs, std::uint8_t* ys, Piece& piece) {
        std::size_t used = 0;
        if (!started_ && plan_.filled_ >= 2) {
            put_integer(xs, 0);
            put_integer(xs + kIntegerSize, 0);
            put_integer(ys, 0);
            put_integer(ys + kIntegerSize, 1);
            used = 2 * kIntegerSize;
        }
        started_ = true;
        const std::vector<Step>& steps = plan_.steps_;
        while (step_ < steps.size() && piece_bytes_ - used >= kDoubleSize) {
            const Step& step = steps[step_];
            if (row_ > step.to) {
                ++step_;
                continue;
            }
            const std::size_t n = std::min(static_cast<std::size_t>(step.to - row_ + 1),
                                           (piece_bytes_ - used) / kDoubleSize);
            chain_ = step.curve ? run<true>(chain_, xs + used, ys + used, n, step.k)
                                : run<false>(chain_, xs + used, ys + used, n, 0.0);
            used += n * kDoubleSize;
            row_ += static_cast<std::int64_t>(n);
        }
        // The Empty rows after the computed ones: their type code only.
        if (step_ == steps.size() && empty_ > 0) {
            const std::size_t n = std::min(empty_, piece_bytes_ - used);
            std::memset(xs + used, 0, n);
            std::memset(ys + used, 0, n);
            used += n;
            empty_ -= n;
        }
        if (used == 0) return false;
        piece = {x_at_, y_at_, used};
        x_at_ += used;
        y_at_ += used;
        return true;
    }

  private:
    const Plan& plan_;
    std::size_t piece_bytes_;
    bool started_ = false;
    Chain chain_;
    std::size_t step_ = 0;
    std::int64_t row_ = 2;
    std::uint64_t x_at_ = 0;
    std::uint64_t y_at_;
    std::size_t empty_;
};

void Plan::produce(const PutBytes& put) const {
    if (!offsets_.empty() || image_) {
        if (image_size_ > 0) put(0, {image_.get(), image_size_});
        return;
    }
    if (rows_ <= 0) return;
    // Each piece is handed over while it is still in the cache. Computing on a second thread
    // while this one hands over was slower on the two-core virtual machines this runs on: the
    // system kept both threads on one core, where they took turns.
    const std::size_t piece_bytes = file_size() < kLongFrom ? kPieceBytes : kLongPieceBytes;
    Pieces pieces(*this, piece_bytes);
    const Image buffer = allocate(2 * piece_bytes);
    Piece piece;
    while (pieces.next(buffer.get(), buffer.get() + piece_bytes, piece)) {
        put(piece.x_at, {buffer.get(), piece.size});
        put(piece.y_at, {buffer.get() + piece_bytes, piece.size});
    }
}

const std::uint8_t* Plan::points() const {
    if (!image_) {
        const std::size_t size = file_size();
        Image image = allocate(size);
        produce([&](std::uint64_t at, std::span<const std::uint8_t> bytes) {
            std::memcpy(image.get() + at, bytes.data(), bytes.size());
        });
        image_ = std::move(image);
        image_size_ = size;
    }
    return image_.get();
}

std::span<const std::uint8_t> Plan::image() const {
    return {points(), image_size_};
}

bool operator==(const Plan& a, const Plan& b) {
    const auto ia = a.image();
    const auto ib = b.image();
    return a.rows_ == b.rows_ && std::equal(ia.begin(), ia.end(), ib.begin(), ib.end());
}

}  // namespace railscen
