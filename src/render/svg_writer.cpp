#include "render/svg_writer.h"

#include <cmath>
#include <cstdio>

#include "model/text_encoding.h"

namespace railscen::render {
namespace {

std::string attribute(std::string_view name, double value) {
    return " " + std::string(name) + "=\"" + svg_number(value) + "\"";
}

}  // namespace

std::string svg_number(double value) {
    if (std::fabs(value) < 0.05) return "0";
    char text[40];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string s = text;
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
    return s;
}

SvgDocument::SvgDocument(double width, double height, std::string_view background)
    : background_(background), width_(width), height_(height) {}

void SvgDocument::resize(double width, double height) {
    width_ = width;
    height_ = height;
}

// An element closed at once, or holding its title when it has one.
void SvgDocument::element(std::string_view open, std::string_view tooltip) {
    body_ += open;
    if (tooltip.empty()) {
        body_ += "/>\n";
        return;
    }
    const std::string_view name = open.substr(1, open.find(' ') - 1);
    body_ += "><title>" + xml_escaped(tooltip) + "</title></" + std::string(name) + ">\n";
}

void SvgDocument::line(Point from, Point to, std::string_view style, std::string_view tooltip) {
    element("<line" + attribute("x1", from.x) + attribute("y1", from.y) + attribute("x2", to.x) +
                attribute("y2", to.y) + " " + std::string(style),
            tooltip);
}

void SvgDocument::rect(Point corner, double width, double height, std::string_view style,
                       std::string_view tooltip) {
    element("<rect" + attribute("x", corner.x) + attribute("y", corner.y) +
                attribute("width", width) + attribute("height", height) + " " + std::string(style),
            tooltip);
}

void SvgDocument::circle(Point centre, double radius, std::string_view style,
                         std::string_view tooltip) {
    element("<circle" + attribute("cx", centre.x) + attribute("cy", centre.y) +
                attribute("r", radius) + " " + std::string(style),
            tooltip);
}

void SvgDocument::text(Point at, std::string_view utf8, std::string_view style) {
    body_ += "<text" + attribute("x", at.x) + attribute("y", at.y) + " " + std::string(style) +
             ">" + xml_escaped(utf8) + "</text>\n";
}

void SvgDocument::polyline(const std::vector<Point>& points, std::string_view style,
                           std::string_view id, std::string_view tooltip) {
    std::string open = "<polyline";
    if (!id.empty()) open += " id=\"" + std::string(id) + "\"";
    open += " " + std::string(style) + " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) open += ' ';
        open += svg_number(points[i].x) + "," + svg_number(points[i].y);
    }
    open += "\"";
    element(open, tooltip);
}

void SvgDocument::path(std::string_view d, std::string_view style, std::string_view tooltip) {
    element("<path d=\"" + std::string(d) + "\" " + std::string(style), tooltip);
}

void SvgDocument::begin_group(std::string_view css_class, std::string_view tooltip) {
    body_ += "<g class=\"" + std::string(css_class) + "\">";
    if (!tooltip.empty()) body_ += "<title>" + xml_escaped(tooltip) + "</title>";
    body_ += "\n";
}

void SvgDocument::end_group() {
    body_ += "</g>\n";
}

std::string SvgDocument::str() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           svg_number(width_) + "\" height=\"" + svg_number(height_) + "\" viewBox=\"0 0 " +
           svg_number(width_) + " " + svg_number(height_) + "\" font-family=\"sans-serif\">\n" +
           "<rect" + attribute("x", 0) + attribute("y", 0) + attribute("width", width_) +
           attribute("height", height_) + " fill=\"" + background_ + "\"/>\n" + body_ + "</svg>\n";
}

}  // namespace railscen::render
