#include "cli/svg_writer.h"

#include <cmath>
#include <cstdio>

#include "model/text_encoding.h"

namespace railscen::cli {
namespace {

std::string attribute(std::string_view name, double value) {
    return " " + std::string(name) + "=\"" + svg_number(value) + "\"";
}

std::string title(std::string_view tooltip) {
    return tooltip.empty() ? std::string() : "<title>" + xml_escaped(tooltip) + "</title>";
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
    : width_(width), height_(height) {
    rect({0, 0}, width, height, "fill=\"" + std::string(background) + "\"");
}

void SvgDocument::line(Point from, Point to, std::string_view style) {
    body_ += "<line" + attribute("x1", from.x) + attribute("y1", from.y) + attribute("x2", to.x) +
             attribute("y2", to.y) + " " + std::string(style) + "/>\n";
}

void SvgDocument::rect(Point corner, double width, double height, std::string_view style) {
    body_ += "<rect" + attribute("x", corner.x) + attribute("y", corner.y) +
             attribute("width", width) + attribute("height", height) + " " + std::string(style) +
             "/>\n";
}

void SvgDocument::circle(Point centre, double radius, std::string_view style,
                         std::string_view tooltip) {
    body_ += "<circle" + attribute("cx", centre.x) + attribute("cy", centre.y) +
             attribute("r", radius) + " " + std::string(style) + ">" + title(tooltip) +
             "</circle>\n";
}

void SvgDocument::text(Point at, std::string_view utf8, std::string_view style) {
    body_ += "<text" + attribute("x", at.x) + attribute("y", at.y) + " " + std::string(style) +
             ">" + xml_escaped(utf8) + "</text>\n";
}

void SvgDocument::polyline(const std::vector<Point>& points, std::string_view style,
                           std::string_view id) {
    body_ += "<polyline";
    if (!id.empty()) body_ += " id=\"" + std::string(id) + "\"";
    body_ += " " + std::string(style) + " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) body_ += ' ';
        body_ += svg_number(points[i].x) + "," + svg_number(points[i].y);
    }
    body_ += "\"/>\n";
}

void SvgDocument::path(std::string_view d, std::string_view style, std::string_view tooltip) {
    body_ += "<path d=\"" + std::string(d) + "\" " + std::string(style) + ">" + title(tooltip) +
             "</path>\n";
}

std::string SvgDocument::str() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           svg_number(width_) + "\" height=\"" + svg_number(height_) + "\" viewBox=\"0 0 " +
           svg_number(width_) + " " + svg_number(height_) + "\" font-family=\"sans-serif\">\n" +
           body_ + "</svg>\n";
}

}  // namespace railscen::cli
