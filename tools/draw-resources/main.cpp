// Draws the factory pictures of the installation folder with QPainter and saves them as JPEG:
//   HelloBitmap.jpg        the start-up picture, 240 x 320
//   Patients Icons.jpg     24 patient icons of 16 x 16 in one row (384 x 16)
//   Scroll list icons.jpg  40 page icons of 16 x 16 in one row (640 x 16), icon i for page i,
//                          36 the neutral page, 39 the arrow of location headings
//   the nine pictures of the drawing areas (BodyPictures.cpp)
//   PDBackground.jpg       the wallpaper of the form pages (Wallpaper.cpp)
// Usage: draw-resources <output folder>

#include "BodyPictures.h"
#include "Wallpaper.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr int kIcon = 16;

using DrawIcon = std::function<void(QPainter&)>;

QColor Rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

// ---- Building blocks, all in a 16 x 16 box -----------------------------------------------------

void Person(QPainter& p, const QColor& body, double scale = 1.0) {
    p.save();
    p.translate(8, 16);
    p.scale(scale, scale);
    p.setPen(QPen(body.darker(150), 1));
    p.setBrush(body);
    p.drawEllipse(QPointF(0, -11.5), 3.2, 3.2);
    QPainterPath shoulders;
    shoulders.moveTo(-6.5, 0);
    shoulders.cubicTo(-6.5, -7.5, 6.5, -7.5, 6.5, 0);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.restore();
}

void Page(QPainter& p, const QColor& paper = Qt::white, const QColor& edge = Rgb(90, 90, 110)) {
    p.setPen(QPen(edge, 1));
    p.setBrush(paper);
    QPolygonF sheet({{2.5, 0.5}, {10.5, 0.5}, {13.5, 3.5}, {13.5, 15.5}, {2.5, 15.5}});
    p.drawPolygon(sheet);
    p.drawLine(QPointF(10.5, 0.5), QPointF(10.5, 3.5));
    p.drawLine(QPointF(10.5, 3.5), QPointF(13.5, 3.5));
}

void Lines(QPainter& p, const QColor& ink, int from = 5, int to = 13) {
    p.setPen(QPen(ink, 1));
    for (int y = from; y <= to; y += 2) p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
}

void Sun(QPainter& p, QPointF c, double r, const QColor& colour = Rgb(240, 170, 20)) {
    p.setPen(QPen(colour, 1.2));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(45.0 * i);
        p.drawLine(QPointF(0, r + 1.0), QPointF(0, r + 2.6));
        p.restore();
    }
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(Rgb(255, 210, 40));
    p.drawEllipse(c, r, r);
}

void Check(QPainter& p, QPointF at, double size, const QColor& colour = Rgb(30, 150, 60),
           double width = 2.0) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF tick({at + QPointF(0, size * 0.5), at + QPointF(size * 0.35, size * 0.85),
                    at + QPointF(size, 0)});
    p.drawPolyline(tick);
}

void Envelope(QPainter& p, const QColor& paper = Rgb(250, 240, 200)) {
    p.setPen(QPen(Rgb(120, 100, 50), 1));
    p.setBrush(paper);
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawPolyline(QPolygonF({{1.5, 4.5}, {8, 10}, {14.5, 4.5}}));
}

void Disc(QPainter& p, const QColor& colour, double r = 5.5) {
    QRadialGradient shade(QPointF(6.5, 6.5), r * 1.6);
    shade.setColorAt(0, colour.lighter(160));
    shade.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(shade);
    p.drawEllipse(QPointF(8, 8), r, r);
}

void Digits(QPainter& p, const QString& text, const QColor& ink, QRectF box, int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(box, Qt::AlignCenter, text);
}

void Bed(QPainter& p, bool taken) {
    p.setPen(QPen(Rgb(80, 80, 90), 1.2));
    p.drawLine(QPointF(1.5, 5), QPointF(1.5, 14));
    p.drawLine(QPointF(14.5, 9), QPointF(14.5, 14));
    p.setBrush(Rgb(170, 200, 235));
    p.drawRect(QRectF(1.5, 9.5, 13, 2.5));
    if (taken) {
        p.setBrush(Rgb(230, 120, 120));
        p.setPen(QPen(Rgb(160, 60, 60), 1));
        p.drawEllipse(QPointF(4.5, 7.5), 2, 2);
        p.setBrush(Rgb(120, 160, 220));
        p.drawRoundedRect(QRectF(6.5, 6.5, 8, 3), 1, 1);
    } else {
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(2.5, 7, 4, 2.5), 1, 1);
    }
}

void RedCross(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Rgb(215, 35, 35));
    p.drawRect(QRectF(6, 2, 4, 12));
    p.drawRect(QRectF(2, 6, 12, 4));
}

void Heart(QPainter& p, const QColor& colour = Rgb(215, 40, 70)) {
    QPainterPath heart;
    heart.moveTo(8, 14.5);
    heart.cubicTo(-1, 8, 2, 1, 8, 5);
    heart.cubicTo(14, 1, 17, 8, 8, 14.5);
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(colour);
    p.drawPath(heart);
}

void Star(QPainter& p, const QColor& colour = Rgb(245, 190, 20)) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 ? 3.0 : 7.0;
        double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
    }
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawPolygon(star);
}

void Warning(QPainter& p) {
    p.setPen(QPen(Rgb(170, 30, 30), 1));
    p.setBrush(Rgb(235, 60, 50));
    p.drawPolygon(QPolygonF({{8, 1}, {15, 14.5}, {1, 14.5}}));
    Digits(p, QStringLiteral("!"), Qt::white, QRectF(1, 4, 14, 11), 10);
}

void Clock(QPainter& p) {
    p.setPen(QPen(Rgb(60, 70, 100), 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
    p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
}

void House(QPainter& p) {
    p.setPen(QPen(Rgb(120, 70, 40), 1));
    p.setBrush(Rgb(210, 90, 60));
    p.drawPolygon(QPolygonF({{1, 8}, {8, 1.5}, {15, 8}}));
    p.setBrush(Rgb(245, 230, 190));
    p.drawRect(QRectF(3.5, 8, 9, 6.5));
    p.setBrush(Rgb(120, 80, 50));
    p.drawRect(QRectF(7, 10.5, 2.5, 4));
}

void Flask(QPainter& p, const QColor& liquid = Rgb(60, 170, 200)) {
    p.setPen(QPen(Rgb(70, 80, 100), 1));
    p.setBrush(Qt::white);
    QPolygonF flask({{6, 1.5}, {10, 1.5}, {10, 6}, {14, 14.5}, {2, 14.5}, {6, 6}});
    p.drawPolygon(flask);
    p.setPen(Qt::NoPen);
    p.setBrush(liquid);
    p.drawPolygon(QPolygonF({{4.2, 10}, {11.8, 10}, {13.2, 14}, {2.8, 14}}));
}

void Pill(QPainter& p) {
    p.save();
    p.translate(8, 8);
    p.rotate(-45);
    p.setPen(QPen(Rgb(90, 60, 120), 1));
    p.setBrush(Rgb(230, 90, 110));
    p.drawChord(QRectF(-7, -3, 6, 6), 90 * 16, 180 * 16);
    p.drawRect(QRectF(-4, -3, 4, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0, -3, 4, 6));
    p.drawChord(QRectF(1, -3, 6, 6), -90 * 16, 180 * 16);
    p.restore();
}

void Question(QPainter& p) {
    Disc(p, Rgb(70, 110, 200), 6.5);
    Digits(p, QStringLiteral("?"), Qt::white, QRectF(0, 0, 16, 16), 11);
}

void Flag(QPainter& p) {
    p.setPen(QPen(Rgb(70, 70, 70), 1.4));
    p.drawLine(QPointF(3, 1), QPointF(3, 15));
    p.setPen(QPen(Rgb(30, 110, 50), 1));
    p.setBrush(Rgb(50, 170, 80));
    p.drawPolygon(QPolygonF({{3.5, 2}, {14, 4.5}, {3.5, 8}}));
}

void Card(QPainter& p, const QColor& band) {
    p.setPen(QPen(Rgb(80, 90, 120), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRect(QRectF(1, 3, 14, 2.5));
    p.setBrush(Rgb(150, 160, 190));
    p.drawEllipse(QPointF(4.5, 9.5), 2.2, 2.2);
    p.setPen(QPen(Rgb(120, 120, 140), 1));
    p.drawLine(QPointF(8, 8.5), QPointF(13.5, 8.5));
    p.drawLine(QPointF(8, 11.5), QPointF(12, 11.5));
}

void Arrow(QPainter& p, const QColor& colour) {
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(colour);
    p.drawPolygon(
        QPolygonF({{1.5, 6}, {8, 6}, {8, 2.5}, {14.5, 8}, {8, 13.5}, {8, 10}, {1.5, 10}}));
}

// ---- The strips ---------------------------------------------------------------------------------

std::vector<DrawIcon> PatientIcons() {
    std::vector<DrawIcon> icons = {
        [](QPainter& p) { Person(p, Rgb(150, 150, 160)); },
        [](QPainter& p) { Person(p, Rgb(70, 120, 210)); },
        [](QPainter& p) { Person(p, Rgb(225, 110, 160)); },
        [](QPainter& p) { Person(p, Rgb(60, 170, 90)); },
        [](QPainter& p) { Person(p, Rgb(240, 150, 40)); },
        [](QPainter& p) { Person(p, Rgb(215, 50, 50)); },
        [](QPainter& p) { Person(p, Rgb(140, 80, 190)); },
        [](QPainter& p) { Person(p, Rgb(60, 170, 190), 0.72); },  // child
        [](QPainter& p) { Bed(p, false); },
        [](QPainter& p) { Bed(p, true); },
        [](QPainter& p) { RedCross(p); },
        [](QPainter& p) { Heart(p); },
        [](QPainter& p) { Star(p); },
        [](QPainter& p) { Warning(p); },
        [](QPainter& p) {
            Check(p, {2, 3}, 12, Rgb(30, 150, 60), 2.6);
        },
        [](QPainter& p) { Clock(p); },
        [](QPainter& p) { House(p); },
        [](QPainter& p) { Flask(p); },
        [](QPainter& p) { Pill(p); },
        [](QPainter& p) { Question(p); },
        [](QPainter& p) { Disc(p, Rgb(50, 180, 70)); },
        [](QPainter& p) { Disc(p, Rgb(240, 200, 30)); },
        [](QPainter& p) { Disc(p, Rgb(220, 50, 40)); },
        [](QPainter& p) { Flag(p); },
    };
    return icons;
}

std::vector<DrawIcon> ScrollListIcons() {
    std::vector<DrawIcon> icons(40);
    icons[0] = [](QPainter& p) { Card(p, Rgb(70, 120, 210)); };  // identity, navigation
    for (int page = 1; page <= 18; ++page) {
        icons[page] = [page](QPainter& p) {  // form pages: a sheet with its number
            Page(p, Rgb(235, 243, 255));
            Digits(p, QString::number(page), Rgb(30, 70, 150), QRectF(2, 3, 12, 12),
                   page < 10 ? 9 : 7);
        };
    }
    icons[19] = [](QPainter& p) {  // tasks
        Page(p);
        Check(p, {4, 3}, 4, Rgb(30, 150, 60), 1.2);
        Check(p, {4, 8}, 4, Rgb(30, 150, 60), 1.2);
        p.setPen(QPen(Rgb(120, 120, 140), 1));
        p.drawLine(QPointF(9, 5.5), QPointF(12, 5.5));
        p.drawLine(QPointF(9, 10.5), QPointF(12, 10.5));
    };
    icons[20] = [](QPainter& p) { Sun(p, {8, 8}, 3.6); };  // problems
    icons[21] = [](QPainter& p) {                          // day summary
        Page(p);
        Sun(p, {8, 9}, 2.4);
    };
    icons[22] = [](QPainter& p) {  // problem summary
        Page(p);
        Digits(p, QStringLiteral("P"), Rgb(200, 120, 0), QRectF(2, 3, 12, 12), 9);
    };
    icons[23] = [](QPainter& p) {  // tasks of all patients
        Page(p, Rgb(240, 250, 240));
        Check(p, {3.5, 3}, 4, Rgb(30, 150, 60), 1.2);
        Check(p, {3.5, 7}, 4, Rgb(30, 150, 60), 1.2);
        Check(p, {3.5, 11}, 3.5, Rgb(30, 150, 60), 1.2);
    };
    icons[24] = [](QPainter& p) { Flask(p); };  // exams
    icons[25] = [](QPainter& p) {               // entry summary
        Page(p);
        Lines(p, Rgb(90, 140, 210));
    };
    icons[26] = [](QPainter& p) { Envelope(p); };  // out letter
    icons[27] = [](QPainter& p) { Pill(p); };      // order sheets
    icons[28] = [](QPainter& p) {                  // free fields 1
        Page(p, Rgb(255, 250, 230));
        Lines(p, Rgb(200, 150, 60), 5, 9);
    };
    icons[29] = [](QPainter& p) {  // free fields 2
        Page(p, Rgb(255, 250, 230));
        Lines(p, Rgb(200, 150, 60), 9, 13);
    };
    icons[30] = [](QPainter& p) { Card(p, Rgb(60, 170, 90)); };  // identity form
    icons[31] = [](QPainter& p) {                                // send
        Envelope(p);
        p.setPen(QPen(Rgb(30, 130, 60), 1.6));
        p.drawLine(QPointF(9, 14.5), QPointF(15, 14.5));
        p.drawLine(QPointF(12.5, 12.5), QPointF(15, 14.5));
    };
    icons[32] = [](QPainter& p) {  // mail manager
        p.save();
        p.translate(-1, -2);
        Envelope(p, Rgb(235, 225, 190));
        p.restore();
        p.translate(1, 2);
        Envelope(p);
    };
    icons[33] = [](QPainter& p) {  // server
        p.setPen(QPen(Rgb(60, 60, 80), 1));
        for (int y : {1, 6, 11}) {
            p.setBrush(Rgb(190, 195, 210));
            p.drawRect(QRectF(2.5, y + 0.5, 11, 4));
            p.setBrush(Rgb(60, 200, 80));
            p.drawEllipse(QPointF(11, y + 2.5), 1, 1);
        }
    };
    icons[34] = [](QPainter& p) {  // all patients
        p.save();
        p.translate(-3, 0);
        Person(p, Rgb(150, 150, 200), 0.8);
        p.restore();
        p.save();
        p.translate(3, 0);
        Person(p, Rgb(200, 150, 150), 0.8);
        p.restore();
        Person(p, Rgb(70, 120, 210), 0.95);
    };
    icons[35] = [](QPainter& p) {  // summary manager
        p.setPen(QPen(Rgb(150, 110, 30), 1));
        p.setBrush(Rgb(245, 205, 90));
        p.drawPolygon(
            QPolygonF({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}}));
    };
    icons[36] = [](QPainter& p) { Page(p, Rgb(245, 245, 245), Rgb(150, 150, 150)); };  // neutral
    icons[37] = [](QPainter& p) {  // quick notes
        p.setPen(QPen(Rgb(170, 150, 40), 1));
        p.setBrush(Rgb(255, 240, 130));
        p.drawRect(QRectF(1.5, 2.5, 11, 12));
        Lines(p, Rgb(170, 150, 40), 5, 11);
        p.setPen(QPen(Rgb(60, 60, 60), 2));
        p.drawLine(QPointF(9, 12), QPointF(14.5, 4));
    };
    icons[38] = [](QPainter& p) {  // evolution
        p.setPen(QPen(Rgb(80, 80, 90), 1));
        p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
        p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
        p.setPen(QPen(Rgb(215, 50, 50), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{3, 12}, {6, 8}, {9, 10}, {14, 3}}));
    };
    icons[39] = [](QPainter& p) { Arrow(p, Rgb(70, 150, 220)); };  // location heading
    return icons;
}

QImage Strip(const std::vector<DrawIcon>& icons) {
    QImage strip(kIcon * static_cast<int>(icons.size()), kIcon, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (size_t i = 0; i < icons.size(); ++i) {
        p.save();
        p.translate(kIcon * static_cast<int>(i), 0);
        p.setClipRect(0, 0, kIcon, kIcon);
        icons[i](p);
        p.restore();
    }
    return strip;
}

// ---- The start-up picture -------------------------------------------------------------------

QImage HelloPicture() {
    QImage image(240, 320, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 320);
    sky.setColorAt(0, Rgb(232, 242, 252));
    sky.setColorAt(1, Rgb(170, 205, 235));
    p.fillRect(image.rect(), sky);

    // Emblem: a white disc with a soft ring, a green leaf and a red cross.
    QPointF centre(120, 118);
    p.setPen(QPen(Rgb(60, 120, 180), 3));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 58, 58);
    QPainterPath leaf;
    leaf.moveTo(centre + QPointF(-32, 30));
    leaf.cubicTo(centre + QPointF(-40, -20), centre + QPointF(10, -45), centre + QPointF(36, -34));
    leaf.cubicTo(centre + QPointF(30, 10), centre + QPointF(0, 38), centre + QPointF(-32, 30));
    QLinearGradient leafShade(centre + QPointF(-30, 30), centre + QPointF(30, -30));
    leafShade.setColorAt(0, Rgb(60, 150, 80));
    leafShade.setColorAt(1, Rgb(140, 205, 120));
    p.setPen(QPen(Rgb(40, 110, 60), 1.5));
    p.setBrush(leafShade);
    p.drawPath(leaf);
    p.setPen(QPen(Rgb(40, 110, 60), 2));
    p.drawLine(centre + QPointF(-30, 28), centre + QPointF(22, -22));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Rgb(210, 40, 45));
    QPainterPath cross;
    cross.addRoundedRect(QRectF(centre.x() + 8, centre.y() + 4, 10, 30), 2, 2);
    cross.addRoundedRect(QRectF(centre.x() - 2, centre.y() + 14, 30, 10), 2, 2);
    cross.setFillRule(Qt::WindingFill);
    p.drawPath(cross.simplified());

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Rgb(30, 70, 120));
    p.drawText(QRectF(0, 190, 240, 50), Qt::AlignCenter, QStringLiteral("Pondrel"));

    QFont line(QStringLiteral("DejaVu Sans"));
    line.setPixelSize(13);
    p.setFont(line);
    p.setPen(Rgb(50, 80, 110));
    p.drawText(QRectF(0, 238, 240, 20), Qt::AlignCenter,
               QStringLiteral("Patient records at the bedside"));

    p.setPen(QPen(Rgb(120, 160, 200), 1));
    p.drawLine(QPointF(50, 266.5), QPointF(190, 266.5));

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(10);
    p.setFont(small);
    p.setPen(Rgb(70, 95, 125));
    p.drawText(QRectF(0, 275, 240, 16), Qt::AlignCenter, QStringLiteral("Starting..."));
    p.drawText(QRectF(0, 298, 240, 16), Qt::AlignCenter,
               QStringLiteral("Free software under the GNU GPL"));
    return image;
}

bool Save(const QImage& image, const QDir& folder, const QString& name) {
    QString path = folder.filePath(name);
    if (!image.save(path, "JPEG", 95)) {
        QTextStream(stderr) << "draw-resources: cannot write " << path << "\n";
        return false;
    }
    QTextStream(stdout) << "wrote " << path << " (" << image.width() << "x" << image.height()
                        << ")\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: draw-resources <output folder>\n";
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        QTextStream(stderr) << "draw-resources: cannot create " << folder.path() << "\n";
        return 1;
    }
    bool ok = Save(HelloPicture(), folder, QStringLiteral("HelloBitmap.jpg"));
    ok = Save(Strip(PatientIcons()), folder, QStringLiteral("Patients Icons.jpg")) && ok;
    ok = Save(Strip(ScrollListIcons()), folder, QStringLiteral("Scroll list icons.jpg")) && ok;
    for (const auto& [name, picture] : BodyPictures()) ok = Save(picture, folder, name) && ok;
    ok = Save(WallpaperPicture(), folder, QStringLiteral("PDBackground.jpg")) && ok;
    return ok ? 0 : 1;
}
