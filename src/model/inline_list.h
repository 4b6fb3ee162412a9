#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <stdexcept>

namespace railscen {

// A short list held in place: the few records a keyword matches, the kinds a record was taken
// for. Read for every line of a description, such lists cost an allocation each as vectors.
// Pushing past the capacity is a std::length_error.
template <typename T, std::size_t N>
class InlineList {
  public:
    using value_type = T;
    using const_iterator = const T*;
    using iterator = const_iterator;

    InlineList() = default;
    InlineList(std::initializer_list<T> values) {
        for (const T& v : values) push_back(v);
    }

    void push_back(const T& value) {
        if (size_ == N) throw std::length_error("an inline list is full");
        items_[size_++] = value;
    }

    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    static constexpr std::size_t capacity() { return N; }
    const T& front() const { return items_[0]; }  // not empty
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + size_; }

    friend bool operator==(const InlineList& a, const InlineList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

  private:
    std::array<T, N> items_{};
    std::size_t size_ = 0;
};

}  // namespace railscen
