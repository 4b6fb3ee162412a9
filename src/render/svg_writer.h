#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace railscen::render {

struct Point {
    double x;
    double y;
};

// Numbers for coordinates: one decimal, no exponent.
std::string svg_number(double value);

// An SVG document built element by element. Styles are attribute text written as given
// (stroke="#000" fill="none"); texts are UTF-8 and escaped here. A tooltip becomes the
// element's <title>, which a browser shows on hover.
class SvgDocument {
  public:
    SvgDocument(double width, double height, std::string_view background);

    // The canvas grows with the drawing; the viewBox is the final size.
    void resize(double width, double height);
    double width() const { return width_; }
    double height() const { return height_; }

    void line(Point from, Point to, std::string_view style, std::string_view tooltip = {});
    void rect(Point corner, double width, double height, std::string_view style,
              std::string_view tooltip = {});
    void circle(Point centre, double radius, std::string_view style, std::string_view tooltip = {});
    void text(Point at, std::string_view utf8, std::string_view style);
    void polyline(const std::vector<Point>& points, std::string_view style,
                  std::string_view id = {}, std::string_view tooltip = {});
    void path(std::string_view d, std::string_view style, std::string_view tooltip = {});

    // A group of elements that belong to one drawn object: its class names the object's kind
    // and its title says what it is and where.
    void begin_group(std::string_view css_class, std::string_view tooltip = {});
    void end_group();

    // The finished document, closing tag included.
    std::string str() const;

  private:
    void element(std::string_view open, std::string_view tooltip);

    std::string body_;
    std::string background_;
    double width_;
    double height_;
};

}  // namespace railscen::render
