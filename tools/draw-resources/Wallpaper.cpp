#include "Wallpaper.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 290;
constexpr int kScale = 2;

// A gentle wave across the page, as on watermarked paper.
QPainterPath Wave(double baseline, double amplitude, double wavelength, double phase) {
    QPainterPath path;
    path.moveTo(-4, baseline + amplitude * std::sin(phase));
    for (double x = -4; x <= kWidth + 4; x += 2) {
        path.lineTo(x,
                    baseline + amplitude * std::sin(phase + 2 * std::numbers::pi * x / wavelength));
    }
    return path;
}

// One beat of a heart trace from `x` on `baseline`, `width` wide.
void Beat(QPainterPath& path, double x, double baseline, double width) {
    const double u = width / 20.0;
    path.lineTo(x + 4 * u, baseline);
    path.quadTo(x + 5 * u, baseline - 3 * u, x + 6 * u, baseline);  // P
    path.lineTo(x + 7.5 * u, baseline);
    path.lineTo(x + 8.2 * u, baseline + 2 * u);   // Q
    path.lineTo(x + 9.2 * u, baseline - 14 * u);  // R
    path.lineTo(x + 10.2 * u, baseline + 4 * u);  // S
    path.lineTo(x + 11 * u, baseline);
    path.lineTo(x + 13 * u, baseline);
    path.quadTo(x + 15 * u, baseline - 5 * u, x + 17 * u, baseline);  // T
    path.lineTo(x + width, baseline);
}

}  // namespace

QImage WallpaperPicture() {
    QImage image(kWidth * kScale, kHeight * kScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);

    // Pale paper, a little cooler towards the bottom.
    QLinearGradient paper(0, 0, 0, kHeight);
    paper.setColorAt(0.0, QColor(250, 247, 251));
    paper.setColorAt(1.0, QColor(238, 243, 250));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), paper);

    // A soft light from the upper left.
    QRadialGradient light(QPointF(40, 30), 170);
    light.setColorAt(0.0, QColor(255, 255, 255, 150));
    light.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), light);

    // Watermark waves.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 7; ++i) {
        const double baseline = 26.0 + 40.0 * i;
        p.setPen(QPen(QColor(226, 231, 244), 0.8));
        p.drawPath(Wave(baseline, 3.5, 150.0 + 12 * i, 0.7 * i));
        p.setPen(QPen(QColor(240, 230, 242), 0.6));
        p.drawPath(Wave(baseline + 5, 2.5, 110.0 + 9 * i, 1.3 * i + 1.0));
    }

    // A faint heart trace low on the page.
    QPainterPath trace;
    const double baseline = 262;
    trace.moveTo(-2, baseline);
    for (double x = 0; x < kWidth; x += 60) Beat(trace, x, baseline, 60);
    p.setPen(QPen(QColor(232, 214, 228), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);

    // A faint cross in the lower right corner.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(242, 226, 234));
    const QPointF c(214, 232);
    p.drawRoundedRect(QRectF(c.x() - 4, c.y() - 12, 8, 24), 1.5, 1.5);
    p.drawRoundedRect(QRectF(c.x() - 12, c.y() - 4, 24, 8), 1.5, 1.5);
    p.end();
    return image;
}
