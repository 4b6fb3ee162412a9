#pragma once

#include <span>
#include <string_view>

namespace railscen {

// A line list holds the lines of one text file in output order, as Windows-1252 bytes without
// line ends. The list ends at the first line that equals the end marker; the marker itself is
// never written.
inline constexpr std::string_view kEndOfList = "riferimento fine del file";

// Lists hold at most this many lines before their marker.
inline constexpr std::size_t kMaxListLines = 1000;

using LineList = std::span<const std::string_view>;

}  // namespace railscen
