// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon: a microphone whose stand ends in a USB plug, on a rounded blue tile.
// The drawing is a list of shapes on a 256-unit canvas; the same list is written as SVG and
// painted into the PNG sizes, so the two never drift apart.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <string>
#include <vector>

#include "artwork_tool.h"
#include "gui/artwork_palette.h"

namespace artwork {

namespace {

constexpr double kCanvas = 256.0;

// A filled rounded rectangle with a top-to-bottom gradient (top == bottom for a plain colour).
struct Plate {
    QRectF rect;
    double radius;
    QColor top;
    QColor bottom;
};

// An open stroke: a start point, then line segments (one point) or cubic curves (three points).
struct Stroke {
    QPointF start;
    std::vector<std::vector<QPointF>> segments;
    QColor colour;
    double width;
};

struct Shape {
    enum class Kind { Plate, Stroke } kind;
    Plate plate;
    Stroke stroke;
};

Shape MakePlate(QRectF rect, double radius, QColor top, QColor bottom) {
    return {Shape::Kind::Plate, {rect, radius, top, bottom}, {}};
}

Shape MakeStroke(QPointF start, std::vector<std::vector<QPointF>> segments, QColor colour, double width) {
    return {Shape::Kind::Stroke, {}, {start, std::move(segments), colour, width}};
}

std::vector<Shape> IconShapes() {
    using namespace palette;
    const QColor steel = kSteel;
    return {
        // Tile.
        MakePlate({16, 16, 224, 224}, 48, kBlueTop, kBlueBottom),
        // Microphone head and its grille.
        MakePlate({94, 36, 68, 108}, 34, kSilverTop, kSilverBottom),
        MakeStroke({104, 74}, {{{152, 74}}}, steel, 5),
        MakeStroke({100, 92}, {{{156, 92}}}, steel, 5),
        MakeStroke({104, 110}, {{{152, 110}}}, steel, 5),
        // Cradle and stem.
        MakeStroke({72, 100}, {{{72, 186}, {184, 186}, {184, 100}}}, kWhite, 10),
        MakeStroke({128, 164}, {{{128, 180}}}, kWhite, 10),
        // USB plug: body, metal shell, the two contact windows.
        MakePlate({100, 178, 56, 22}, 5, kWhite, kSilverBottom),
        MakePlate({108, 200, 40, 28}, 2, kSilverTop, kSilverBottom),
        MakePlate({116, 208, 9, 8}, 1, kBlueBottom, kBlueBottom),
        MakePlate({131, 208, 9, 8}, 1, kBlueBottom, kBlueBottom),
    };
}

QString Number(double value) { return QString::number(value, 'g', 6); }

QString SvgColour(const QColor& colour) { return colour.name(QColor::HexRgb); }

QString IconSvg(const std::vector<Shape>& shapes) {
    QString defs;
    QString body;
    int gradientCount = 0;
    for (const Shape& shape : shapes) {
        if (shape.kind == Shape::Kind::Plate) {
            const Plate& p = shape.plate;
            QString fill = SvgColour(p.top);
            if (p.top != p.bottom) {
                const QString id = QString("g%1").arg(++gradientCount);
                defs += QString(
                            "    <linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
                            "      <stop offset=\"0\" stop-color=\"%2\"/>\n"
                            "      <stop offset=\"1\" stop-color=\"%3\"/>\n"
                            "    </linearGradient>\n")
                            .arg(id, SvgColour(p.top), SvgColour(p.bottom));
                fill = QString("url(#%1)").arg(id);
            }
            body += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
                        .arg(Number(p.rect.x()), Number(p.rect.y()), Number(p.rect.width()), Number(p.rect.height()),
                             Number(p.radius), fill);
        } else {
            const Stroke& s = shape.stroke;
            QString d = QString("M%1 %2").arg(Number(s.start.x()), Number(s.start.y()));
            for (const auto& segment : s.segments) {
                d += segment.size() == 1 ? " L" : " C";
                for (const QPointF& point : segment) d += QString(" %1 %2").arg(Number(point.x()), Number(point.y()));
            }
            body += QString(
                        "  <path d=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
                        "stroke-linecap=\"round\"/>\n")
                        .arg(d, SvgColour(s.colour), Number(s.width));
        }
    }
    return QString(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n  <defs>\n%1  </defs>\n%2</svg>\n")
        .arg(defs, body);
}

QImage PaintIcon(const std::vector<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kCanvas, size / kCanvas);
    for (const Shape& shape : shapes) {
        if (shape.kind == Shape::Kind::Plate) {
            const Plate& p = shape.plate;
            QLinearGradient fill(p.rect.topLeft(), p.rect.bottomLeft());
            fill.setColorAt(0, p.top);
            fill.setColorAt(1, p.bottom);
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
            painter.drawRoundedRect(p.rect, p.radius, p.radius);
        } else {
            const Stroke& s = shape.stroke;
            QPainterPath path(s.start);
            for (const auto& segment : s.segments) {
                if (segment.size() == 1) path.lineTo(segment[0]);
                else path.cubicTo(segment[0], segment[1], segment[2]);
            }
            painter.setPen(QPen(s.colour, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
    }
    return image;
}

}  // namespace

bool DrawIcon(const std::filesystem::path& resDir) {
    const std::vector<Shape> shapes = IconShapes();
    const std::filesystem::path dir = resDir / "icons";
    bool ok = SaveText(IconSvg(shapes), dir / "songloader.svg");
    for (int size : {48, 128, 256}) {
        ok = SavePng(PaintIcon(shapes, size), dir / ("songloader-" + std::to_string(size) + ".png")) && ok;
    }
    return ok;
}

}  // namespace artwork
