// The pictures of the eight drawing areas: clean line drawings on white (the chest film on
// black), drawn at twice the size of their area so that they stay sharp at zoom 2.

#include "BodyPictures.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>
#include <vector>

namespace {

constexpr int kScale = 2;  // pixels of the picture per pixel of the area

const QColor kInk(60, 60, 70);
const QColor kFaint(170, 175, 190);

// A smooth curve through `points` (Catmull-Rom turned into cubic Bézier segments).
QPainterPath Smooth(const std::vector<QPointF>& points, bool closed) {
    QPainterPath path;
    const size_t n = points.size();
    if (n < 2) return path;
    auto at = [&](long i) {
        if (closed) return points[static_cast<size_t>((i % static_cast<long>(n) + n) % n)];
        return points[static_cast<size_t>(std::clamp<long>(i, 0, static_cast<long>(n) - 1))];
    };
    path.moveTo(points[0]);
    const long segments = closed ? static_cast<long>(n) : static_cast<long>(n) - 1;
    for (long i = 0; i < segments; ++i) {
        const QPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    if (closed) path.closeSubpath();
    return path;
}

struct BodyShape {
    double shoulder, chest, waist, hip, thigh;
    bool lady;
};

// The outline of a standing body seen from the front or back, `height` pixels high, feet
// together, arms a little apart, centred on `centreX`, top at `top`.
void Body(QPainter& p, double centreX, double top, double height, const BodyShape& s,
          bool back) {
    auto P = [&](double x, double y) { return QPointF(centreX + x * height, top + y * height); };
    // The right half from the neck down to the crotch; the left half is its mirror.
    const std::vector<std::pair<double, double>> half{
        {0.028, 0.125}, {0.06, 0.16},   {s.shoulder, 0.175}, {s.shoulder + 0.035, 0.21},
        {s.shoulder + 0.05, 0.30},  {s.shoulder + 0.065, 0.40}, {s.shoulder + 0.075, 0.48},
        {s.shoulder + 0.07, 0.535}, {s.shoulder + 0.045, 0.545}, {s.shoulder + 0.04, 0.49},
        {s.shoulder + 0.03, 0.40},  {s.shoulder + 0.01, 0.30}, {s.chest, 0.25},
        {s.waist, 0.37},           {s.hip, 0.47},            {s.thigh, 0.56},
        {s.thigh - 0.015, 0.68},    {0.055, 0.78},            {0.05, 0.88},
        {0.045, 0.955},             {0.07, 0.985},            {0.015, 0.99},
        {0.017, 0.90},              {0.02, 0.78},             {0.016, 0.64},
        {0.0, 0.525}};
    std::vector<QPointF> outline;
    for (const auto& [x, y] : half) outline.push_back(P(x, y));
    for (auto it = half.rbegin() + 1; it != half.rend(); ++it) outline.push_back(P(-it->first, it->second));
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Smooth(outline, false));
    // The head and, for the lady, the hair down to the shoulders.
    p.drawEllipse(P(0, 0.065), 0.045 * height, 0.06 * height);
    if (s.lady) {
        p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(Smooth({P(-0.05, 0.14), P(-0.058, 0.07), P(-0.035, 0.012), P(0, 0.0),
                           P(0.035, 0.012), P(0.058, 0.07), P(0.05, 0.14)},
                          false));
    }
    p.setPen(QPen(kFaint, 1.4, Qt::SolidLine, Qt::RoundCap));
    if (!back) {
        // Face, collar bones, navel; the lady's breasts, the man's pectorals.
        p.drawEllipse(P(-0.016, 0.058), 0.004 * height, 0.004 * height);
        p.drawEllipse(P(0.016, 0.058), 0.004 * height, 0.004 * height);
        p.drawArc(QRectF(P(-0.015, 0.07), P(0.015, 0.095)), 200 * 16, 140 * 16);
        p.drawLine(P(-0.05, 0.175), P(-0.01, 0.185));
        p.drawLine(P(0.05, 0.175), P(0.01, 0.185));
        if (s.lady) {
            p.drawArc(QRectF(P(-0.075, 0.215), P(-0.005, 0.285)), 180 * 16, 180 * 16);
            p.drawArc(QRectF(P(0.005, 0.215), P(0.075, 0.285)), 180 * 16, 180 * 16);
        } else {
            p.drawArc(QRectF(P(-0.07, 0.22), P(-0.01, 0.27)), 190 * 16, 160 * 16);
            p.drawArc(QRectF(P(0.01, 0.22), P(0.07, 0.27)), 190 * 16, 160 * 16);
        }
        p.drawEllipse(P(0, 0.40), 0.005 * height, 0.005 * height);
        p.drawLine(P(-0.03, 0.70), P(-0.028, 0.73));  // knees
        p.drawLine(P(0.03, 0.70), P(0.028, 0.73));
    } else {
        // Spine, shoulder blades, buttocks.
        p.drawLine(P(0, 0.15), P(0, 0.46));
        p.drawArc(QRectF(P(-0.075, 0.19), P(-0.02, 0.27)), 90 * 16, 180 * 16);
        p.drawArc(QRectF(P(0.02, 0.19), P(0.075, 0.27)), 270 * 16, 180 * 16);
        p.drawArc(QRectF(P(-0.08, 0.46), P(0.0, 0.54)), 180 * 16, 180 * 16);
        p.drawArc(QRectF(P(0.0, 0.46), P(0.08, 0.54)), 180 * 16, 180 * 16);
    }
}

QImage White(int width, int height) {
    QImage image(width * kScale, height * kScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void Caption(QPainter& p, const QRectF& box, const QString& text, const QColor& colour = kFaint) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9 * kScale);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, text);
}

QImage Skin(bool lady) {
    QImage image = White(204, 268);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const BodyShape shape = lady ? BodyShape{0.085, 0.085, 0.062, 0.105, 0.09, true}
                                 : BodyShape{0.105, 0.095, 0.08, 0.085, 0.08, false};
    const double h = 250 * kScale;
    Body(p, 51 * kScale, 4 * kScale, h, shape, false);
    Body(p, 153 * kScale, 4 * kScale, h, shape, true);
    Caption(p, QRectF(0, 0, 102 * kScale, 266 * kScale), QStringLiteral("front"));
    Caption(p, QRectF(102 * kScale, 0, 102 * kScale, 266 * kScale), QStringLiteral("back"));
    return image;
}

// The trunk from the neck to the hips, `w` x `h` at (x, y).
void Trunk(QPainter& p, double x, double y, double w, double h) {
    auto P = [&](double u, double v) { return QPointF(x + u * w, y + v * h); };
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Smooth({P(0.42, 0.0), P(0.40, 0.08), P(0.15, 0.14), P(0.05, 0.22), P(0.08, 0.55),
                       P(0.12, 0.85), P(0.10, 1.0)},
                      false));
    p.drawPath(Smooth({P(0.58, 0.0), P(0.60, 0.08), P(0.85, 0.14), P(0.95, 0.22), P(0.92, 0.55),
                       P(0.88, 0.85), P(0.90, 1.0)},
                      false));
}

void Mark(QPainter& p, QPointF at, const QString& text) {
    p.setPen(QPen(QColor(90, 110, 170), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, 5.0 * kScale, 5.0 * kScale);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(7 * kScale);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(at.x() - 5 * kScale, at.y() - 5 * kScale, 10 * kScale, 10 * kScale),
               Qt::AlignCenter, text);
}

QImage Heart() {
    QImage image = White(204, 132);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = kScale;
    Trunk(p, 22 * s, 4 * s, 160 * s, 150 * s);
    // The heart in the chest, apex to the lower left of the picture's right (the patient's left).
    QPainterPath heart = Smooth({QPointF(92 * s, 48 * s), QPointF(112 * s, 42 * s),
                                 QPointF(128 * s, 56 * s), QPointF(132 * s, 80 * s),
                                 QPointF(122 * s, 102 * s), QPointF(100 * s, 98 * s),
                                 QPointF(86 * s, 80 * s), QPointF(84 * s, 60 * s)},
                                true);
    p.setPen(QPen(QColor(190, 80, 90), 2.0));
    p.drawPath(heart);
    p.setPen(QPen(kFaint, 1.5));
    p.drawLine(QPointF(96 * s, 48 * s), QPointF(96 * s, 26 * s));   // the great vessels
    p.drawLine(QPointF(110 * s, 44 * s), QPointF(114 * s, 26 * s));
    // The four places of auscultation.
    Mark(p, QPointF(88 * s, 36 * s), QStringLiteral("A"));
    Mark(p, QPointF(118 * s, 36 * s), QStringLiteral("P"));
    Mark(p, QPointF(98 * s, 88 * s), QStringLiteral("T"));
    Mark(p, QPointF(126 * s, 96 * s), QStringLiteral("M"));
    return image;
}

void Lungs(QPainter& p, double cx, double top, double s) {
    p.setPen(QPen(QColor(80, 120, 170), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        auto P = [&](double u, double v) { return QPointF(cx + side * u * s, top + v * s); };
        p.drawPath(Smooth({P(6, 8), P(14, 0), P(28, 12), P(38, 50), P(40, 92), P(22, 96),
                           P(8, 86), P(6, 40)},
                          true));
    }
    p.setPen(QPen(kFaint, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx, top - 12 * s), QPointF(cx, top + 22 * s));  // trachea
    p.drawLine(QPointF(cx, top + 22 * s), QPointF(cx - 8 * s, top + 32 * s));
    p.drawLine(QPointF(cx, top + 22 * s), QPointF(cx + 8 * s, top + 32 * s));
}

QImage PulmonaryPicture() {
    QImage image = White(204, 132);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = kScale;
    Trunk(p, 2 * s, 4 * s, 98 * s, 150 * s);
    Trunk(p, 104 * s, 4 * s, 98 * s, 150 * s);
    Lungs(p, 51 * s, 22 * s, 0.95 * s);
    Lungs(p, 153 * s, 22 * s, 0.95 * s);
    Caption(p, QRectF(0, 0, 102 * s, 130 * s), QStringLiteral("front"));
    Caption(p, QRectF(102 * s, 0, 102 * s, 130 * s), QStringLiteral("back"));
    return image;
}

QImage Abdomen() {
    QImage image = White(204, 132);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = kScale;
    auto P = [&](double x, double y) { return QPointF(x * s, y * s); };
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(Smooth({P(40, 2), P(36, 40), P(38, 80), P(30, 112), P(24, 130)}, false));
    p.drawPath(Smooth({P(164, 2), P(168, 40), P(166, 80), P(174, 112), P(180, 130)}, false));
    // Costal margins, the inguinal folds and the navel.
    p.drawPath(Smooth({P(44, 30), P(70, 22), P(96, 6), P(102, 4)}, false));
    p.drawPath(Smooth({P(160, 30), P(134, 22), P(108, 6), P(102, 4)}, false));
    p.drawLine(P(40, 106), P(92, 128));
    p.drawLine(P(164, 106), P(112, 128));
    p.drawEllipse(P(102, 66), 2.5 * s, 2.5 * s);
    // The nine regions.
    QPen dashed(kFaint, 1.4, Qt::DashLine);
    p.setPen(dashed);
    p.drawLine(P(78, 4), P(78, 128));
    p.drawLine(P(126, 4), P(126, 128));
    p.drawLine(P(38, 44), P(166, 44));
    p.drawLine(P(36, 88), P(168, 88));
    return image;
}

QImage DetailedStatus() {
    QImage image = White(204, 132);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = kScale;
    // A whole body, front and side, small.
    Body(p, 40 * s, 4 * s, 124 * s, BodyShape{0.1, 0.092, 0.078, 0.085, 0.08, false}, false);
    // The head in profile with the ear, for the eyes, ears, mouth and neck.
    auto P = [&](double x, double y) { return QPointF(x * s, y * s); };
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(Smooth({P(150, 112), P(148, 96), P(130, 90), P(120, 78), P(122, 66), P(118, 60),
                       P(122, 56), P(120, 44), P(126, 24), P(146, 12), P(170, 14), P(186, 30),
                       P(188, 56), P(180, 78), P(176, 96), P(178, 112)},
                      false));
    p.setPen(QPen(kFaint, 1.6));
    p.drawEllipse(P(168, 50), 6 * s, 9 * s);     // ear
    p.drawEllipse(P(134, 42), 2 * s, 2 * s);     // eye
    p.drawLine(P(122, 72), P(130, 72));          // mouth
    return image;
}

QImage ThoraxFilm() {
    QImage image(204 * kScale, 268 * kScale, QImage::Format_RGB32);
    image.fill(QColor(18, 18, 22));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = kScale;
    auto P = [&](double x, double y) { return QPointF(x * s, y * s); };
    // Soft tissue of the chest wall.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 76));
    p.drawPath(Smooth({P(20, 40), P(70, 20), P(134, 20), P(184, 40), P(196, 140), P(190, 250),
                       P(14, 250), P(8, 140)},
                      true));
    // The lung fields, darker.
    p.setBrush(QColor(34, 34, 40));
    for (int side : {-1, 1}) {
        auto Q = [&](double u, double v) { return P(102 + side * u, v); };
        p.drawPath(Smooth({Q(14, 44), Q(40, 30), Q(72, 50), Q(84, 130), Q(82, 212), Q(50, 200),
                           Q(22, 206), Q(16, 120)},
                          true));
    }
    // The mediastinum and the heart shadow, bright.
    p.setBrush(QColor(190, 190, 196));
    p.drawPath(Smooth({P(92, 30), P(112, 30), P(116, 100), P(142, 150), P(146, 196),
                       P(110, 214), P(70, 206), P(66, 160), P(86, 110)},
                      true));
    // The spine down the middle.
    p.setPen(QPen(QColor(150, 150, 158), 1.2 * s));
    for (int v = 0; v < 12; ++v) {
        p.drawRoundedRect(QRectF(P(96, 24 + v * 18.5), P(108, 38 + v * 18.5)), 2 * s, 2 * s);
    }
    // Ribs as arcs from the spine, clavicles, diaphragm domes.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 200, 206), 1.6 * s, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 9; ++i) {
        const double y = 46 + i * 18;
        for (int side : {-1, 1}) {
            p.drawPath(Smooth({P(102 + side * 8, y), P(102 + side * 50, y - 12),
                               P(102 + side * 82, y + 6), P(102 + side * 70, y + 30)},
                              false));
        }
    }
    p.drawLine(P(34, 36), P(92, 30));
    p.drawLine(P(170, 36), P(112, 30));
    p.setPen(QPen(QColor(210, 210, 216), 1.8 * s));
    p.drawArc(QRectF(P(20, 196), P(100, 240)), 20 * 16, 140 * 16);
    p.drawArc(QRectF(P(104, 200), P(184, 244)), 20 * 16, 140 * 16);
    // The side marker of a film.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12 * kScale);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(230, 230, 230));
    p.drawText(QRectF(P(176, 4), P(200, 22)), Qt::AlignCenter, QStringLiteral("L"));
    return image;
}

// Squared paper for the department's own findings.
QImage Custom(int number) {
    QImage image = White(164, 36);
    QPainter p(&image);
    p.setPen(QPen(QColor(215, 225, 240), 1));
    for (int x = 0; x < image.width(); x += 8 * kScale) p.drawLine(x, 0, x, image.height());
    for (int y = 0; y < image.height(); y += 8 * kScale) p.drawLine(0, y, image.width(), y);
    Caption(p, QRectF(0, 0, 160 * kScale, 34 * kScale), QStringLiteral("custom %1").arg(number));
    return image;
}

}  // namespace

std::vector<std::pair<QString, QImage>> BodyPictures() {
    return {
        {QStringLiteral("Skin inspection man.jpg"), Skin(false)},
        {QStringLiteral("Skin inspection lady.jpg"), Skin(true)},
        {QStringLiteral("Cardiac auscultation.jpg"), Heart()},
        {QStringLiteral("Pulmonary auscultation.jpg"), PulmonaryPicture()},
        {QStringLiteral("Abdomen palpation.jpg"), Abdomen()},
        {QStringLiteral("Detailed status.jpg"), DetailedStatus()},
        {QStringLiteral("Thorax film.jpg"), ThoraxFilm()},
        {QStringLiteral("Custom1.jpg"), Custom(1)},
        {QStringLiteral("Custom2.jpg"), Custom(2)},
    };
}
