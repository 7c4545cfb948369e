// The text of MapInfo graphic objects, built from plain coordinates. Numbers
// use the interchange number format; x always comes before y.
#pragma once
#include <string>

namespace tvk {

// Contract: "Point x y\n".
void AppendPointObject(std::string& out, double x, double y);
// Contract: "Line x1 y1 x2 y2\n".
void AppendLineObject(std::string& out, double x1, double y1, double x2, double y2);
// Contract: "Pline n\n"; the n vertices follow.
void AppendPlineHead(std::string& out, int count);
// Contract: "Region 1\nn\n"; the n vertices follow.
void AppendRegionHead(std::string& out, int count);
// Contract: one vertex line "x y\n".
void AppendVertex(std::string& out, double x, double y);
// Contract: "\tSmooth\n".
void AppendSmoothClause(std::string& out);
// Contract: "Arc" and the square bounding the circle of centre (cx, cy) and
// radius r, then a line with the start and end angles in decimal degrees,
// in the number format of the coordinates.
void AppendArcObject(std::string& out, double cx, double cy, double r, double startDegrees, double endDegrees);
// Contract: "Ellipse" and the square bounding the circle.
void AppendEllipseObject(std::string& out, double cx, double cy, double r);

}  // namespace tvk
