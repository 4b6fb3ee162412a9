#include "model/plan.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace railscen {
namespace {

constexpr std::size_t kIntegerSize = 4;  // type code and 16-bit value
constexpr std::size_t kDoubleSize = 10;  // type code and 64-bit value
constexpr std::size_t kEmptySize = 2;    // type code only

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

}  // namespace

void Plan::Release::operator()(std::uint8_t* bytes) const {
    std::free(bytes);
}

// Uninitialised: every byte of an image is written once, when its row is. A long plan asks
// for huge pages, so that first writes fault once per 2 MiB rather than once per 4 KiB.
Plan::Image Plan::allocate(std::size_t size) {
    void* bytes = nullptr;
#ifdef __linux__
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (size >= kHugePage) {
        bytes = std::aligned_alloc(kHugePage, (size + kHugePage - 1) / kHugePage * kHugePage);
        if (bytes != nullptr) madvise(bytes, size, MADV_HUGEPAGE);  // a hint: failure is fine
    }
#endif
    if (bytes == nullptr) bytes = std::malloc(size == 0 ? 1 : size);
    if (bytes == nullptr) throw std::bad_alloc();
    return Image(static_cast<std::uint8_t*>(bytes));
}

Plan::Plan(const Plan& other)
    : capacity_(other.capacity_),
      size_(other.size_),
      rows_(other.rows_),
      filled_(other.filled_),
      laid_out_(other.laid_out_),
      settled_(other.settled_),
      offsets_(other.offsets_) {
    if (capacity_ == 0) return;
    bytes_ = allocate(capacity_);
    if (settled_) {
        std::memcpy(bytes_.get(), other.bytes_.get(), size_);
    } else {
        const std::size_t y = column_size(laid_out_);
        std::memcpy(bytes_.get(), other.bytes_.get(), prefix_size(filled_));
        std::memcpy(bytes_.get() + y, other.bytes_.get() + y, prefix_size(filled_));
    }
}

Plan::Plan(Plan&& other) noexcept
    : bytes_(std::move(other.bytes_)),
      capacity_(std::exchange(other.capacity_, 0)),
      size_(std::exchange(other.size_, 0)),
      rows_(std::exchange(other.rows_, 0)),
      filled_(std::exchange(other.filled_, 0)),
      laid_out_(std::exchange(other.laid_out_, 0)),
      settled_(std::exchange(other.settled_, true)),
      offsets_(std::move(other.offsets_)) {
    other.offsets_.clear();
}

Plan& Plan::operator=(Plan&& other) noexcept {
    if (this != &other) {
        bytes_ = std::move(other.bytes_);
        capacity_ = std::exchange(other.capacity_, 0);
        size_ = std::exchange(other.size_, 0);
        rows_ = std::exchange(other.rows_, 0);
        filled_ = std::exchange(other.filled_, 0);
        laid_out_ = std::exchange(other.laid_out_, 0);
        settled_ = std::exchange(other.settled_, true);
        offsets_ = std::move(other.offsets_);
        other.offsets_.clear();
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
    // Room for every row computed; the bytes are written once, as the rows are.
    plan.capacity_ = 2 * plan.column_size(plan.rows_);
    plan.bytes_ = allocate(plan.capacity_);
    plan.laid_out_ = plan.rows_ - 2;
    plan.settled_ = false;
    return plan;
}

Plan Plan::from_image(std::span<const std::uint8_t> image, std::vector<std::uint32_t> offsets) {
    Plan plan;
    plan.capacity_ = plan.size_ = image.size();
    plan.bytes_ = allocate(image.size());
    if (!image.empty()) std::memcpy(plan.bytes_.get(), image.data(), image.size());
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

std::size_t Plan::column_size(std::int64_t filled) const {
    return prefix_size(filled) + kEmptySize * static_cast<std::size_t>(rows_ - filled);
}

std::size_t Plan::offset(int column, std::int64_t row) const {
    if (!offsets_.empty()) return offsets_[static_cast<std::size_t>(column * rows_ + row)];
    const std::size_t base = column == 0 ? 0 : column_size(laid_out_);
    if (row < filled_)
        return base + (row < 2 ? kIntegerSize * static_cast<std::size_t>(row) : prefix_size(row));
    return base + prefix_size(filled_) + kEmptySize * static_cast<std::size_t>(row - filled_);
}

TaggedValue Plan::value_at(std::size_t at) const {
    const std::uint8_t* p = bytes_.get() + at;
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
    // Rows past the computed ones are Empty, whether or not their bytes are written yet.
    if (offsets_.empty() && row >= filled_) return {};
    return value_at(offset(0, row));
}

TaggedValue Plan::y(std::int64_t row) const {
    if (offsets_.empty() && row >= filled_) return {};
    return value_at(offset(1, row));
}

void Plan::start() {
    if (rows_ < 2 || !offsets_.empty()) throw std::logic_error("no plan to start");
    std::uint8_t* x = bytes_.get();
    std::uint8_t* y = x + column_size(laid_out_);
    put_integer(x, 0);
    put_integer(y, 0);
    put_integer(x + kIntegerSize, 0);
    put_integer(y + kIntegerSize, 1);
    filled_ = 2;
    settled_ = false;
}

void Plan::extend_straight(std::int64_t to) {
    extend<false>(to, 0.0);
}

void Plan::extend_curve(std::int64_t to, double k) {
    extend<true>(to, k);
}

template <bool kCurve>
void Plan::extend(std::int64_t to, double k) {
    if (filled_ < 2) throw std::logic_error("the plan is extended before it is started");
    // The one check that keeps every write inside the plan.
    to = std::min(to, last_row());
    if (to < filled_) return;
    if (to >= laid_out_) move_y_column(rows_);
    settled_ = false;

    double x1 = numeric(x(filled_ - 1));
    double x2 = numeric(x(filled_ - 2));
    double y1 = numeric(y(filled_ - 1));
    double y2 = numeric(y(filled_ - 2));
    std::uint8_t* px = bytes_.get() + prefix_size(filled_);
    std::uint8_t* py = px + column_size(laid_out_);
    for (std::int64_t row = filled_; row <= to; ++row) {
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
    filled_ = to + 1;
}

void Plan::move_y_column(std::int64_t laid_out_for) {
    std::uint8_t* bytes = bytes_.get();
    std::memmove(bytes + column_size(laid_out_for), bytes + column_size(laid_out_),
                 prefix_size(filled_));
    laid_out_ = laid_out_for;
}

void Plan::settle() {
    if (settled_ || !offsets_.empty()) return;
    if (laid_out_ != filled_) move_y_column(filled_);
    // The Empty rows after the computed ones, in both columns.
    const std::size_t column = column_size(filled_);
    const std::size_t empty = column - prefix_size(filled_);
    std::memset(bytes_.get() + prefix_size(filled_), 0, empty);
    std::memset(bytes_.get() + column + prefix_size(filled_), 0, empty);
    size_ = 2 * column;
    settled_ = true;
}

std::span<const std::uint8_t> Plan::image() const {
    if (!settled_) throw std::logic_error("the plan is read before it is settled");
    return {bytes_.get(), size_};
}

bool operator==(const Plan& a, const Plan& b) {
    const auto ia = a.image();
    const auto ib = b.image();
    return a.rows_ == b.rows_ && std::equal(ia.begin(), ia.end(), ib.begin(), ib.end());
}

}  // namespace railscen
