#include "render/label_packer.h"

namespace railscen::render {

double text_width(std::string_view utf8, double font_size) {
    double ems = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte of the character before
        if (c == ' ') {
            ems += 0.34;
        } else if (c == 'M' || c == 'W' || c == 'm' || c == 'w') {
            ems += 0.95;
        } else if (c >= 'A' && c <= 'Z') {
            ems += 0.76;
        } else if (c >= 'a' && c <= 'z') {
            ems +=
                c == 'i' || c == 'l' || c == 'j' || c == 'f' || c == 't' || c == 'r' ? 0.42 : 0.64;
        } else if (c >= '0' && c <= '9') {
            ems += 0.66;
        } else if (c < 0x80) {
            ems += 0.5;  // punctuation
        } else {
            ems += 0.8;  // any other character: as wide as a capital
        }
    }
    return ems * font_size;
}

IntervalPacker::IntervalPacker(int levels, double gap)
    : ends_(static_cast<std::size_t>(levels > 0 ? levels : 0), -1e300), gap_(gap) {}

std::optional<int> IntervalPacker::place(double left, double right) {
    for (std::size_t level = 0; level < ends_.size(); ++level) {
        if (ends_[level] + gap_ <= left) {
            ends_[level] = right;
            return static_cast<int>(level);
        }
    }
    return std::nullopt;
}

bool BoxPacker::place(const Box& box) {
    for (const Box& other : boxes_) {
        if (box.overlaps(other, gap_)) return false;
    }
    boxes_.push_back(box);
    return true;
}

}  // namespace railscen::render
