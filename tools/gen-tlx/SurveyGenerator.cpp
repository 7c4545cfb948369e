#include "SurveyGenerator.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "Geodesy.h"

namespace gentlx {
namespace {

constexpr int64_t kCell = 30000;  // mm of ground per feature
constexpr int kDirections = 44;

// Unit vectors (a/c, b/c) of Pythagorean triples in angular order over one
// quadrant, so that shapes stay exact in whole millimetres and deterministic.
struct Triple {
    int a, b, c;
};
constexpr Triple kQuadrant[11] = {{1, 0, 1},    {24, 7, 25}, {12, 5, 13}, {15, 8, 17}, {4, 3, 5},  {21, 20, 29},
                                  {20, 21, 29}, {3, 4, 5},   {8, 15, 17}, {5, 12, 13}, {7, 24, 25}};

struct PropertySeed {
    const char* name;
    int type, width, precision, vocabulary;
};
constexpr PropertySeed kProperties[] = {
    {"Материал", 0, 20, 0, 0}, {"Этажность", 2, 0, 0, 0},  {"Площадь", 3, 10, 2, 0},      {"Год постройки", 1, 0, 0, 0},
    {"Высота", 4, 0, 0, 0},    {"Азимут", 5, 0, 0, 0},     {"Примечание", 0, 40, 0, 1},   {"Состояние", 0, 12, 0, 2},
    {"Глубина", 3, 6, 2, 0},   {"Диаметр", 3, 5, 2, 0},    {"Порода", 0, 24, 0, 3},       {"Ширина", 4, 0, 0, 0},
    {"Покрытие", 0, 16, 0, 4}, {"Количество", 1, 0, 0, 0}, {"Угол поворота", 5, 0, 0, 0}, {"Номер", 2, 0, 0, 0},
};

struct LayerSeed {
    int number, parent;
    const char* name;
};
constexpr LayerSeed kLayers[] = {
    {1, 0, "Геодезия"},        {2, 0, "Здания"},      {3, 0, "Дороги"},      {4, 0, "Растительность"},
    {5, 0, "Инженерные сети"}, {6, 0, "Гидрография"}, {7, 3, "Бордюры"},     {8, 2, "Строящиеся"},
    {9, 0, "Ограждения"},      {10, 0, "Рельеф"},     {11, 5, "Сети связи"}, {12, 0, "Прочее"},
};

struct CodeSeed {
    const char* text;
    const char* name;
    int layer;  // layer number
};
constexpr CodeSeed kPointCodes[] = {{"ДЕР", "Дерево", 4}, {"КОЛ", "Колодец", 5}, {"ОП", "Опора", 5},
                                    {"ЗН", "Знак", 1},    {"ГИД", "Гидрант", 5}, {"СТБ", "Столб", 11}};
constexpr CodeSeed kLineCodes[] = {{"БОРД", "Бордюр", 7},      {"ЗАБ", "Забор", 9},      {"КАБ", "Кабель", 11},
                                   {"ТРУБ", "Трубопровод", 5}, {"ОСЬ", "Ось дороги", 3}, {"БРОВ", "Бровка", 10}};
constexpr CodeSeed kAreaCodes[] = {{"ЗДН", "Здание", 2},      {"ГАЗ", "Газон", 4},  {"ПЛОЩ", "Площадка", 12},
                                   {"СООР", "Сооружение", 8}, {"ВОД", "Водоём", 6}, {"ПАШ", "Пашня", 12}};

constexpr const char* kPointWords[] = {"",       "угол",    "ось",   "бровка", "дерево", "опора",
                                       "бордюр", "колодец", "забор", "пикет",  "люк",    "знак"};
enum Word { kNumber, kCorner, kAxis, kEdge, kTree, kPole, kKerb, kWell, kFence, kSpot };

constexpr int64_t kColours[] = {0, 255, 32768, 16711680, 8421504, 12632256, 4210752, 33023, 16776960, 65280};
constexpr int kCodeCount = 48;

std::string TypeText(const PropertySeed& p) {
    static const char* names[] = {"Char", "Integer", "Smallint", "Decimal", "Float", "Angular"};
    std::string t = names[p.type];
    if (p.type == 0) t += "(" + std::to_string(p.width) + ")";
    if (p.type == 3) t += "(" + std::to_string(p.width) + "," + std::to_string(p.precision) + ")";
    return t;
}

}  // namespace

CSurveyGenerator::CSurveyGenerator(const GeneratorOptions& options) : m_options(options), m_rnd(options.seed) {
    if (m_options.features < 0) m_options.features = m_options.points / 10;
}

GeneratedSurvey CSurveyGenerator::Generate() {
    if (m_options.points < 10) throw std::runtime_error("at least 10 points are needed");
    m_survey = GeneratedSurvey{};
    m_survey.seed = m_options.seed;
    m_survey.points.reserve(static_cast<size_t>(m_options.points));
    int64_t cells = static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(m_options.features) + 1)));
    m_extent = cells * kCell;
    MakeLayers();
    MakeProperties();
    MakeCodes();
    MakePointWords();
    MakeControlPoints();
    MakeFeatures();
    MakeLoosePoints();
    return std::move(m_survey);
}

void CSurveyGenerator::MakeLayers() {
    for (const auto& l : kLayers) m_survey.layers.push_back({l.number, l.parent, MakeText(l.name)});
    for (int n = static_cast<int>(std::size(kLayers)) + 1; n <= m_options.layers; ++n)
        m_survey.layers.push_back({n, 12, MakeText("Участок " + std::to_string(n))});
}

void CSurveyGenerator::MakeProperties() {
    for (const auto& p : kProperties)
        m_survey.properties.push_back({MakeText(p.name), p.type, p.width, p.precision, p.vocabulary, TypeText(p)});
}

void CSurveyGenerator::MakeCodes() {
    const int propertyCount = static_cast<int>(std::size(kProperties));
    const int extraLayers = static_cast<int>(m_survey.layers.size() - std::size(kLayers));
    m_codeCount = kCodeCount + 3 * extraLayers;
    for (int k = 0; k < m_codeCount; ++k) {
        GenCode c;
        c.number = 101 + k;
        c.family = static_cast<Family>(k % 3);
        const CodeSeed& seed = (c.family == Family::Point  ? kPointCodes
                                : c.family == Family::Line ? kLineCodes
                                                           : kAreaCodes)[(k / 3) % 6];
        c.layer = seed.layer - 1;  // the layer table is in number order
        if (k >= kCodeCount) c.layer = static_cast<int>(std::size(kLayers)) + (k - kCodeCount) / 3;
        c.text = MakeText(std::string(seed.text) + std::to_string(k + 1));
        c.name = MakeText(std::string(seed.name) + " " + std::to_string(k / 18 + 1));
        auto colour = [&] { return std::to_string(kColours[m_rnd.Below(std::size(kColours))]); };
        if (k % 16 != 15) {  // a few codes come without any style
            if (c.family == Family::Point) {
                c.styles = "/Symbol(" + std::to_string(m_rnd.Between(32, 67)) + ",\"MapInfo Symbols\",0,0," +
                           std::to_string(m_rnd.Between(8, 18)) + "," + colour() + ")";
                if (k % 4 == 0) c.styles += " /Pen(0,1," + colour() + ")";
            } else {
                c.styles = "/Pen(" + std::to_string(m_rnd.Below(16)) + "," + std::to_string(m_rnd.Between(1, 3)) + "," +
                           colour() + ")";
                if (c.family == Family::Area)
                    c.styles += " /Brush(" + std::to_string(m_rnd.Below(8)) + "," + colour() + "," + colour() + ")";
            }
        }
        int count = (k % 16 == 7) ? 0 : 1 + k % 5;  // now and then a code without properties
        for (int i = 0; i < count; ++i) c.properties.push_back((k * 3 + i) % propertyCount);
        m_survey.codes.push_back(std::move(c));
    }
}

void CSurveyGenerator::MakePointWords() {
    for (const char* w : kPointWords) m_survey.pointWords.push_back(MakeText(w));
}

void CSurveyGenerator::MakeControlPoints() {
    m_controlCount = std::max<int64_t>(4, m_options.points / 200);
    m_controlColumns = static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(m_controlCount))));
    int64_t spacing = m_extent / m_controlColumns;
    for (int64_t i = 0; i < m_controlCount; ++i) {
        Spot at{kOriginNorth + (i / m_controlColumns) * spacing + spacing / 2 + m_rnd.Between(-2000, 2000),
                kOriginEast + (i % m_controlColumns) * spacing + spacing / 2 + m_rnd.Between(-2000, 2000)};
        GenPoint p;
        p.x = at.x;
        p.y = at.y;
        p.h = Terrain(at);
        int r = static_cast<int>(m_rnd.Below(100));
        p.flags = r < 70 ? (kHorizontal | kVertical) : r < 85 ? kHorizontal : kVertical;
        p.geo = true;
        m_survey.points.push_back(p);
    }
}

void CSurveyGenerator::MakeFeatures() {
    const int64_t columns = m_extent / kCell;
    m_survey.features.reserve(static_cast<size_t>(m_options.features));
    for (int64_t f = 0; f < m_options.features; ++f) {
        if (static_cast<int64_t>(m_survey.points.size()) + 40 > m_options.points)
            throw std::runtime_error(std::to_string(m_options.points) + " points are too few for " +
                                     std::to_string(m_options.features) +
                                     " features (each needs about 5 points of its own)");
        Spot centre{kOriginNorth + (f / columns) * kCell + kCell / 2 + m_rnd.Between(-3000, 3000),
                    kOriginEast + (f % columns) * kCell + kCell / 2 + m_rnd.Between(-3000, 3000)};
        int r = static_cast<int>(m_rnd.Below(100));
        Kind kind = r < 25   ? Kind::Point
                    : r < 33 ? Kind::Line
                    : r < 58 ? Kind::Polyline
                    : r < 80 ? Kind::Polygon
                    : r < 85 ? Kind::Arc
                    : r < 93 ? Kind::Circle
                             : Kind::Multiple;
        Family family = kind == Kind::Point                                                   ? Family::Point
                        : (kind == Kind::Line || kind == Kind::Polyline || kind == Kind::Arc) ? Family::Line
                                                                                              : Family::Area;
        m_survey.features.push_back(MakeFeature(kind, centre, CodeOf(family)));
    }
}

GenFeature CSurveyGenerator::MakeFeature(Kind kind, Spot centre, int code) {
    GenFeature f;
    f.kind = kind;
    f.code = code;
    if (kind != Kind::Multiple) {
        AddShape(f, kind, centre);
        return f;
    }
    int parts = static_cast<int>(m_rnd.Between(2, 3));
    int direction = static_cast<int>(m_rnd.Below(kDirections));
    for (int i = 0; i < parts; ++i) {
        int r = static_cast<int>(m_rnd.Below(10));
        Kind partKind = r < 7 ? Kind::Polygon : r < 9 ? Kind::Polyline : Kind::Point;
        GenFeature part;
        part.kind = partKind;
        part.code = code;
        AddShape(part, partKind, Offset(centre, direction + i * 15, 7000));
        f.parts.push_back(std::move(part));
    }
    return f;
}

void CSurveyGenerator::AddShape(GenFeature& f, Kind kind, Spot c) {
    int d = static_cast<int>(m_rnd.Below(kDirections));
    switch (kind) {
    case Kind::Point: f.points.push_back(NewPoint(c, m_rnd.Percent(50) ? kTree : kPole, true)); break;
    case Kind::Line:
        f.points.push_back(NewPoint(Offset(c, d, m_rnd.Between(3000, 12000)), kFence, true));
        f.points.push_back(NewPoint(Offset(c, d + kDirections / 2, m_rnd.Between(3000, 12000)), kFence, true));
        break;
    case Kind::Polyline: {
        int n = static_cast<int>(m_rnd.Between(3, 12));
        Spot at = Offset(c, d + kDirections / 2, 10000);
        int heading = static_cast<int>(m_rnd.Below(kDirections));
        int word = m_rnd.Percent(50) ? kAxis : kEdge;
        for (int i = 0; i < n; ++i) {
            f.points.push_back(NewPoint(at, word, true));
            heading += static_cast<int>(m_rnd.Between(-3, 3));
            at = Offset(at, heading, m_rnd.Between(2000, 8000));
        }
        int r = static_cast<int>(m_rnd.Below(10));
        f.smooth = r < 3;
        f.spline = r == 3 ? static_cast<int>(m_rnd.Between(2, 4)) : 0;
        break;
    }
    case Kind::Polygon: {
        int m = static_cast<int>(m_rnd.Between(4, 10));
        int64_t radius = m_rnd.Between(4000, 12000);
        int spacing = kDirections / m;  // at least 4, so the jitter keeps the order
        for (int i = 0; i < m; ++i) {
            int dir = d + (i * kDirections) / m + static_cast<int>(m_rnd.Below(spacing / 2));
            f.points.push_back(NewPoint(Offset(c, dir, radius * m_rnd.Between(70, 100) / 100), kCorner, true));
        }
        f.points.push_back(f.points.front());
        break;
    }
    case Kind::Arc: {
        int64_t radius = m_rnd.Between(3000, 15000);
        int d2 = d + static_cast<int>(m_rnd.Between(2, 5));
        int d3 = d2 + static_cast<int>(m_rnd.Between(4, 8));
        for (int dir : {d, d2, d3}) f.points.push_back(NewPoint(Offset(c, dir, radius), kKerb, true));
        break;
    }
    case Kind::Circle: {
        f.form = static_cast<int>(m_rnd.Below(4));
        int64_t radius = m_rnd.Between(500, 5000);
        if (f.form == 0) {
            f.points.push_back(NewPoint(c, kWell, true));
            f.radius = m_rnd.Between(300, 2000);
        } else if (f.form == 1) {
            f.points.push_back(NewPoint(c, kWell, true));
            f.points.push_back(NewPoint(Offset(c, d, radius), kWell, true));
        } else if (f.form == 2) {
            f.points.push_back(NewPoint(Offset(c, d, radius), kWell, true));
            f.points.push_back(NewPoint(Offset(c, d + kDirections / 2, radius), kWell, true));
        } else {
            int d2 = d + static_cast<int>(m_rnd.Between(10, 16));
            int d3 = d + static_cast<int>(m_rnd.Between(24, 34));
            for (int dir : {d, d2, d3}) f.points.push_back(NewPoint(Offset(c, dir, radius), kWell, true));
        }
        break;
    }
    case Kind::Multiple: break;
    }
}

void CSurveyGenerator::MakeLoosePoints() {
    while (static_cast<int64_t>(m_survey.points.size()) < m_options.points) {
        Spot at{kOriginNorth + m_rnd.Below(m_extent), kOriginEast + m_rnd.Below(m_extent)};
        int slot = NewPoint(at, m_rnd.Percent(30) ? kSpot : kNumber, false);
        if (m_rnd.Percent(40)) m_survey.points[slot].flags |= kRelief;
    }
}

int CSurveyGenerator::NewPoint(Spot at, int word, bool feature) {
    GenPoint p;
    p.x = at.x;
    p.y = at.y;
    p.h = Terrain(at);
    p.ref = StationOf(at);
    p.word = static_cast<uint8_t>(m_rnd.Percent(50) ? word : kNumber);
    p.hasH = !m_rnd.Percent(feature ? 3 : 4);
    if (feature && m_rnd.Percent(10)) p.flags |= kRelief;
    p.geo = m_rnd.Percent(m_options.geoPercent);
    m_survey.points.push_back(p);
    return static_cast<int>(m_survey.points.size()) - 1;
}

int CSurveyGenerator::StationOf(Spot at) const {
    int64_t spacing = m_extent / m_controlColumns;
    auto clamp = [&](int64_t v) { return std::min(std::max<int64_t>(v, 0), m_controlColumns - 1); };
    int64_t row = clamp((at.x - kOriginNorth) / spacing), column = clamp((at.y - kOriginEast) / spacing);
    return static_cast<int>(std::min(row * m_controlColumns + column, m_controlCount - 1));
}

int64_t CSurveyGenerator::Terrain(Spot at) {
    // a gentle ridge-and-valley surface plus a few centimetres of noise
    int64_t t = ((at.x - kOriginNorth) / 40 + (at.y - kOriginEast) / 60) % 40000;
    return 140000 + (t < 20000 ? t : 40000 - t) + m_rnd.Between(-300, 300);
}

int CSurveyGenerator::CodeOf(Family family) {
    // codes are laid out family by family, k % 3 == family
    int perFamily = m_codeCount / 3;
    return static_cast<int>(m_rnd.Below(perFamily)) * 3 + static_cast<int>(family);
}

CSurveyGenerator::Spot CSurveyGenerator::Offset(Spot from, int direction, int64_t distance) const {
    direction = ((direction % kDirections) + kDirections) % kDirections;
    const Triple& t = kQuadrant[direction % 11];
    int64_t a = distance * t.a / t.c, b = distance * t.b / t.c;
    switch (direction / 11) {
    case 0: return {from.x + a, from.y + b};
    case 1: return {from.x - b, from.y + a};
    case 2: return {from.x - a, from.y - b};
    default: return {from.x + b, from.y - a};
    }
}

}  // namespace gentlx
