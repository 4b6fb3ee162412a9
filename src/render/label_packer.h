#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace railscen::render {

// Width in pixels a sans-serif text takes at the font size, estimated generously from its
// characters (wide capitals, narrow blanks), so that packed labels keep clear of each other.
double text_width(std::string_view utf8, double font_size);

// Labels along one band: each goes to the first of a few staggered levels where it keeps a gap
// to the label before it; a label no level can take is left to its object's title. Labels are
// offered from left to right by their left edge.
class IntervalPacker {
  public:
    IntervalPacker(int levels, double gap);

    // The level taken (0 the first), or nullopt when none has room.
    std::optional<int> place(double left, double right);

  private:
    std::vector<double> ends_;
    double gap_;
};

struct Box {
    double left;
    double top;
    double right;
    double bottom;

    bool overlaps(const Box& other, double gap) const {
        return left < other.right + gap && other.left < right + gap && top < other.bottom + gap &&
               other.top < bottom + gap;
    }
};

// Labels on a picture: a box is placed only where it meets no box placed or reserved before.
class BoxPacker {
  public:
    explicit BoxPacker(double gap) : gap_(gap) {}

    void reserve(const Box& box) { boxes_.push_back(box); }
    bool place(const Box& box);

  private:
    std::vector<Box> boxes_;
    double gap_;
};

}  // namespace railscen::render
