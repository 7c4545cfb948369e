#include "mif/MIFObjects.h"

#include "mif/MIFText.h"

namespace tvk {
namespace {

void AppendSquare(std::string& out, double cx, double cy, double r) {
    out += ' ';
    AppendMIFXY(out, cx - r, cy - r);
    out += ' ';
    AppendMIFXY(out, cx + r, cy + r);
    out += '\n';
}

}  // namespace

void AppendPointObject(std::string& out, double x, double y) {
    out += "Point ";
    AppendMIFXY(out, x, y);
    out += '\n';
}

void AppendLineObject(std::string& out, double x1, double y1, double x2, double y2) {
    out += "Line ";
    AppendMIFXY(out, x1, y1);
    out += ' ';
    AppendMIFXY(out, x2, y2);
    out += '\n';
}

void AppendPlineHead(std::string& out, int count) {
    out += "Pline ";
    AppendMIFInt(out, count);
    out += '\n';
}

void AppendRegionHead(std::string& out, int count) {
    out += "Region 1\n";
    AppendMIFInt(out, count);
    out += '\n';
}

void AppendVertex(std::string& out, double x, double y) {
    AppendMIFXY(out, x, y);
    out += '\n';
}

void AppendSmoothClause(std::string& out) { out += "\tSmooth\n"; }

void AppendArcObject(std::string& out, double cx, double cy, double r, double startDegrees, double endDegrees) {
    out += "Arc";
    AppendSquare(out, cx, cy, r);
    AppendMIFXY(out, startDegrees, endDegrees);
    out += '\n';
}

void AppendEllipseObject(std::string& out, double cx, double cy, double r) {
    out += "Ellipse";
    AppendSquare(out, cx, cy, r);
}

}  // namespace tvk
