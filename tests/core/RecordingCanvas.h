#pragma once

#include "RasterCanvas.h"

#include <vector>

namespace gyrodex::test {

// A canvas that records what is drawn, with fixed text metrics (7 wide per character, 13 high).
class RecordingCanvas : public RasterCanvas {
public:
    struct Polygon {
        std::vector<QPoint> points;
        Colour brush, pen;
        int penWidth;
    };
    struct Text {
        QPoint at;
        QString text;
        Colour colour;
        int escapement;
    };
    struct Line {
        QPoint from, to;
        Colour pen;
        int width;
    };

    RecordingCanvas(int w = 1024, int h = 768) : w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }
    void setPen(Colour c, int w) override {
        pen = c;
        penWidth = w;
    }
    void setBrush(Colour c) override { brush = c; }
    void setFont(const QString& name, int, unsigned, Colour colour, int esc) override {
        fontName = name;
        fontColour = colour;
        escapement = esc;
    }
    void setFontColour(Colour c) override { fontColour = c; }
    void fillRect(const QRect& r) override { fills.push_back({r, brush}); }
    void polygon(std::span<const QPoint> pts) override {
        polygons.push_back({{pts.begin(), pts.end()}, brush, pen, penWidth});
    }
    void moveTo(QPoint p) override { pos = p; }
    void lineTo(QPoint p) override {
        lines.push_back({pos, p, pen, penWidth});
        pos = p;
    }
    void textOut(int x, int y, const QString& t) override {
        texts.push_back({{x, y}, t, fontColour, escapement});
    }
    QSize textExtent(const QString& t) override { return {7 * static_cast<int>(t.size()), 13}; }
    Colour pixel(int, int) const override { return 0; }

    struct Fill {
        QRect rect;
        Colour brush;
    };
    std::vector<Fill> fills;
    std::vector<Polygon> polygons;
    std::vector<Text> texts;
    std::vector<Line> lines;
    Colour pen = 0, brush = 0, fontColour = 0;
    int penWidth = 1, escapement = 0;
    QString fontName;
    QPoint pos;

private:
    int w_, h_;
};

} // namespace gyrodex::test
