#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace railscen::cli {

struct Point {
    double x;
    double y;
};

// Numbers for coordinates: one decimal, no exponent.
std::string svg_number(double value);

// An SVG document built element by element. Styles are attribute text written as given
// (stroke="#000" fill="none"); texts are UTF-8 and escaped here.
class SvgDocument {
  public:
    SvgDocument(double width, double height, std::string_view background);

    void line(Point from, Point to, std::string_view style);
    void rect(Point corner, double width, double height, std::string_view style);
    void circle(Point centre, double radius, std::string_view style, std::string_view tooltip = {});
    void text(Point at, std::string_view utf8, std::string_view style);
    void polyline(const std::vector<Point>& points, std::string_view style,
                  std::string_view id = {});
    void path(std::string_view d, std::string_view style, std::string_view tooltip = {});

    // The finished document, closing tag included.
    std::string str() const;

  private:
    std::string body_;
    double width_;
    double height_;
};

}  // namespace railscen::cli
