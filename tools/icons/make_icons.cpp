// Draws every picture the main window uses: the push-button icons, the port-state picture,
// the window icon and the title banner. Everything is plain QPainter geometry so the set can
// be redrawn or restyled here instead of being edited by hand.
//
// Usage: tiltlink-icons <output folder>   (runs on the offscreen platform, no display needed)
//        tiltlink-icons --hicolor <folder> <name>   the window icon as <folder>/NxN/apps/<name>.png

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QVector>
#include <QtEndian>
#include <QtMath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// Icons are designed on a 64 x 64 grid; buttons show them at 16-24 px.
constexpr int kGrid = 64;
// One line weight for the whole set: 2.25 px at 24 px, 1.5 px at 16 px.
constexpr qreal kStroke = 6.0;

// One flat palette shared by every picture.
const QColor kBlue(0x2d, 0x7d, 0xd2);
const QColor kBlueDark(0x1d, 0x5c, 0xa6);
const QColor kBlueLight(0x9c, 0xc6, 0xee);
const QColor kGreen(0x2e, 0xa8, 0x5f);
const QColor kOrange(0xf3, 0xae, 0x3d);
const QColor kOrangeDark(0xd8, 0x8a, 0x1e);
const QColor kRed(0xe0, 0x4a, 0x3f);
const QColor kSlate(0x3d, 0x4b, 0x5c);
const QColor kMist(0xdc, 0xe5, 0xee);
const QColor kWhite(0xff, 0xff, 0xff);

using Drawer = std::function<void(QPainter &)>;

QPen linePen(const QColor &color, qreal width = kStroke)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPointF unit(const QPointF &v)
{
    const qreal len = std::hypot(v.x(), v.y());
    return len > 0 ? v / len : QPointF();
}

// Polygon whose corners are rounded by `radius`, so filled shapes match the round line joins.
QPainterPath roundedPolygon(const QVector<QPointF> &points, qreal radius)
{
    QPainterPath path;
    const int n = points.size();
    for (int i = 0; i < n; ++i) {
        const QPointF v = points[i];
        const QPointF prev = points[(i + n - 1) % n];
        const QPointF next = points[(i + 1) % n];
        const qreal rIn = qMin(radius, QLineF(v, prev).length() / 2);
        const qreal rOut = qMin(radius, QLineF(v, next).length() / 2);
        const QPointF a = v + unit(prev - v) * rIn;
        const QPointF b = v + unit(next - v) * rOut;
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        path.quadTo(v, b);
    }
    path.closeSubpath();
    return path;
}

void fillPolygon(QPainter &p, const QVector<QPointF> &points, qreal radius, const QColor &color)
{
    p.fillPath(roundedPolygon(points, radius), color);
}

void fillRoundedRect(QPainter &p, const QRectF &rect, qreal radius, const QColor &color)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    p.fillPath(path, color);
}

void fillCircle(QPainter &p, const QPointF &centre, qreal radius, const QColor &color)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    p.fillPath(path, color);
}

void drawLine(QPainter &p, const QPointF &a, const QPointF &b, const QColor &color)
{
    p.setPen(linePen(color));
    p.drawLine(a, b);
    p.setPen(Qt::NoPen);
}

// Filled, slightly rounded arrow head whose base centre is `base`, pointing along `dir`.
void drawArrowHead(QPainter &p, const QPointF &base, const QPointF &dir, qreal length,
    qreal halfWidth, const QColor &color)
{
    const QPointF d = unit(dir);
    const QPointF n(-d.y(), d.x());
    fillPolygon(p, { base + d * length, base + n * halfWidth, base - n * halfWidth }, 1.5, color);
}

// Straight arrow: a line of the common weight ending in a filled head at `tip`.
void drawArrow(QPainter &p, const QPointF &from, const QPointF &tip, const QColor &color,
    qreal headLength = 9, qreal headHalfWidth = 7)
{
    const QPointF d = unit(tip - from);
    const QPointF base = tip - d * headLength;
    drawLine(p, from, base + d * 1.0, color);
    drawArrowHead(p, base, d, headLength, headHalfWidth, color);
}

// Point on a circle for a Qt angle in degrees (counter-clockwise from three o'clock).
QPointF onCircle(const QPointF &centre, qreal radius, qreal degrees)
{
    const qreal a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qCos(a), -radius * qSin(a));
}

// Arc arrow from `startDeg` sweeping `sweepDeg` (negative = clockwise), head at the end.
void drawArcArrow(QPainter &p, const QPointF &centre, qreal radius, qreal startDeg, qreal sweepDeg,
    const QColor &color, qreal headLength = 10, qreal headHalfWidth = 7.5)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(box, startDeg);
    arc.arcTo(box, startDeg, sweepDeg);
    p.setPen(linePen(color));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);

    const qreal endDeg = startDeg + sweepDeg;
    const qreal a = qDegreesToRadians(endDeg);
    // Tangent in screen coordinates, following the direction of the sweep.
    QPointF tangent(-qSin(a), -qCos(a));
    if (sweepDeg < 0)
        tangent = -tangent;
    drawArrowHead(p, onCircle(centre, radius, endDeg) - unit(tangent) * 1.0, tangent, headLength,
        headHalfWidth, color);
}

// Round status badge in the lower right corner, set apart from the picture by a clear ring.
constexpr qreal kBadgeRadius = 14;
const QPointF kBadgeCentre(47, 47);

void drawBadge(QPainter &p, const QColor &color)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    fillCircle(p, kBadgeCentre, kBadgeRadius + 3, Qt::black);
    p.restore();
    fillCircle(p, kBadgeCentre, kBadgeRadius, color);
}

QPainterPath gearPath(const QPointF &centre, qreal outer, qreal root, qreal hole, int teeth)
{
    QVector<QPointF> points;
    const qreal step = 360.0 / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal mid = 90 + i * step;
        // Teeth narrow towards the tip, like a real spur gear.
        points << onCircle(centre, root, mid - step * 0.34)
               << onCircle(centre, outer, mid - step * 0.2)
               << onCircle(centre, outer, mid + step * 0.2)
               << onCircle(centre, root, mid + step * 0.34);
    }
    QPainterPath gear = roundedPolygon(points, 1.6);
    QPainterPath bore;
    bore.addEllipse(centre, hole, hole);
    return gear.subtracted(bore);
}

// Document with a folded top right corner and three lines of text.
void drawDocument(QPainter &p, const QRectF &r)
{
    const qreal fold = 11;
    fillPolygon(p,
        { r.topLeft(), QPointF(r.right() - fold, r.top()), QPointF(r.right(), r.top() + fold),
            r.bottomRight(), r.bottomLeft() },
        4, kBlue);
    fillPolygon(p,
        { QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
            QPointF(r.right(), r.top() + fold) },
        1.5, kBlueLight);
    const qreal left = r.left() + 8;
    drawLine(p, QPointF(left, r.top() + 20), QPointF(r.right() - 8, r.top() + 20), kWhite);
    drawLine(p, QPointF(left, r.top() + 29), QPointF(r.right() - 8, r.top() + 29), kWhite);
    drawLine(p, QPointF(left, r.top() + 38), QPointF(r.right() - 18, r.top() + 38), kWhite);
}

// Folder back with its tab; the front is drawn by the caller.
void drawFolderBack(QPainter &p, const QRectF &r)
{
    fillRoundedRect(p, QRectF(r.left(), r.top(), 22, 12), 3.5, kOrangeDark);
    fillRoundedRect(p, QRectF(r.left(), r.top() + 6, r.width(), r.height() - 6), 4.5, kOrangeDark);
}

// ---- The pictures -------------------------------------------------------------------------

// Port state: a plug seated in its socket, both tapering into their cables.
void drawConnection(QPainter &p)
{
    p.translate(32, 32);
    p.rotate(-45);
    drawLine(p, QPointF(-39, 0), QPointF(-26, 0), kSlate);
    drawLine(p, QPointF(39, 0), QPointF(24, 0), kSlate);
    drawLine(p, QPointF(-10, -6), QPointF(2, -6), kSlate);
    drawLine(p, QPointF(-10, 6), QPointF(2, 6), kSlate);
    fillPolygon(p,
        { QPointF(-29, -7), QPointF(-19, -13), QPointF(-10, -13), QPointF(-10, 13),
            QPointF(-19, 13), QPointF(-29, 7) },
        4, kGreen);
    fillPolygon(p,
        { QPointF(0, -15), QPointF(14, -15), QPointF(27, -7), QPointF(27, 7), QPointF(14, 15),
            QPointF(0, 15) },
        4, kBlue);
}

void drawRefresh(QPainter &p)
{
    const QPointF c(32, 32);
    drawArcArrow(p, c, 21, 125, -130, kBlue);
    drawArcArrow(p, c, 21, 305, -130, kBlue);
}

void drawUsbPlug(QPainter &p)
{
    fillRoundedRect(p, QRectF(21, 4, 22, 26), 3, kSlate);
    fillRoundedRect(p, QRectF(25.5, 10, 5, 6), 1, kWhite);
    fillRoundedRect(p, QRectF(33.5, 10, 5, 6), 1, kWhite);
    drawLine(p, QPointF(32, 50), QPointF(32, 61), kSlate);
    fillRoundedRect(p, QRectF(15, 24, 34, 28), 5, kBlue);
    // Grip ridges tell the body from the metal shell at small sizes.
    drawLine(p, QPointF(24, 34), QPointF(40, 34), kBlueLight);
    drawLine(p, QPointF(24, 42), QPointF(40, 42), kBlueLight);
}

void drawHome(QPainter &p)
{
    fillRoundedRect(p, QRectF(12, 26, 40, 33), 4, kBlue);
    fillPolygon(p, { QPointF(3, 32), QPointF(32, 6), QPointF(61, 32) }, 4.5, kOrange);
    // Door with a rounded top, standing on the bottom edge.
    fillRoundedRect(p, QRectF(26, 39, 12, 20), 3, kWhite);
    p.fillRect(QRectF(26, 47, 12, 12), kWhite);
}

void drawStart(QPainter &p)
{
    fillCircle(p, QPointF(32, 32), 28, kGreen);
    fillPolygon(p, { QPointF(25, 18), QPointF(47, 32), QPointF(25, 46) }, 4, kWhite);
}

void drawStop(QPainter &p)
{
    fillCircle(p, QPointF(32, 32), 28, kRed);
    fillRoundedRect(p, QRectF(21, 21, 22, 22), 4, kWhite);
}

QPainterPath pinPath(const QPointF &centre, qreal radius, qreal tipDistance)
{
    const QPointF tip = centre + QPointF(0, tipDistance);
    const qreal theta = qAcos(radius / tipDistance);
    const QPointF left = centre + QPointF(-radius * qSin(theta), radius * qCos(theta));
    const QPointF right = centre + QPointF(radius * qSin(theta), radius * qCos(theta));
    QPainterPath head;
    head.addEllipse(centre, radius, radius);
    return head.united(roundedPolygon({ left, right, tip }, 2.5));
}

// Record folder location: a folder with a map pin.
void drawFolderPin(QPainter &p)
{
    drawFolderBack(p, QRectF(2, 10, 48, 44));
    fillRoundedRect(p, QRectF(2, 22, 48, 32), 4.5, kOrange);
    const QPointF c(46, 25);
    QPainterPath pin = pinPath(c, 13, 34);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(linePen(Qt::black));
    p.drawPath(pin);
    p.restore();
    p.fillPath(pin, kRed);
    fillCircle(p, c, 5, kWhite);
}

void drawSaveTemplate(QPainter &p)
{
    drawDocument(p, QRectF(6, 3, 38, 54));
    drawBadge(p, kOrange);
    drawArrow(p, QPointF(39.5, 47), QPointF(56, 47), kWhite, 8, 6.5);
}

void drawLoadTemplate(QPainter &p)
{
    drawDocument(p, QRectF(6, 3, 38, 54));
    drawBadge(p, kGreen);
    drawArrow(p, QPointF(54.5, 47), QPointF(38, 47), kWhite, 8, 6.5);
}

// One-click setup: an open-ended wrench.
void drawWrench(QPainter &p)
{
    p.translate(32, 32);
    p.rotate(-45);
    QPainterPath wrench;
    wrench.addRoundedRect(QRectF(-30, -6.5, 44, 13), 6.5, 6.5);
    wrench.addEllipse(QPointF(15, 0), 16, 16);
    wrench.setFillRule(Qt::WindingFill);
    wrench = wrench.simplified();
    QPainterPath jaw;
    jaw.addRoundedRect(QRectF(9, -6, 30, 12), 6, 6);
    QPainterPath hole;
    hole.addEllipse(QPointF(-22.5, 0), 3, 3);
    p.fillPath(wrench.subtracted(jaw).subtracted(hole), kBlue);
}

// Factory reset: a gear inside a turning-back arrow.
void drawFactoryReset(QPainter &p)
{
    const QPointF c(32, 32);
    p.fillPath(gearPath(c, 16, 11.5, 5, 8), kSlate);
    drawArcArrow(p, c, 26, 290, 285, kOrange, 10, 7.5);
}

void drawDisk(QPainter &p)
{
    fillPolygon(p,
        { QPointF(7, 7), QPointF(46, 7), QPointF(57, 18), QPointF(57, 57), QPointF(7, 57) }, 5,
        kBlue);
    QPainterPath shutter;
    shutter.addRoundedRect(QRectF(18, 3, 25, 21), 3, 3);
    QPainterPath body;
    body.addRect(0, 7, 64, 64);
    p.fillPath(shutter.intersected(body), kMist);
    fillRoundedRect(p, QRectF(33, 10.5, 5.5, 9.5), 1.2, kBlue);
    fillRoundedRect(p, QRectF(15, 33, 34, 19), 3, kWhite);
    drawLine(p, QPointF(22, 42.5), QPointF(42, 42.5), kBlueLight);
}

// Clear: an eraser over the line it has wiped.
void drawEraser(QPainter &p)
{
    drawLine(p, QPointF(34, 58), QPointF(59, 58), kSlate);
    p.save();
    p.translate(31, 28);
    p.rotate(-45);
    fillRoundedRect(p, QRectF(-26, -12, 52, 24), 5, kBlue);
    QPainterPath tip;
    tip.addRoundedRect(QRectF(-26, -12, 52, 24), 5, 5);
    QPainterPath front;
    front.addRect(QRectF(-30, -14, 28, 28));
    p.fillPath(tip.intersected(front), kRed);
    p.restore();
}

void drawPaperPlane(QPainter &p)
{
    const QPointF tip(60, 5);
    const QPointF wing(4, 27);
    const QPointF fold(26, 37);
    const QPointF tail(37, 60);
    fillPolygon(p, { tip, wing, fold }, 2.5, kBlue);
    fillPolygon(p, { tip, fold, tail }, 2.5, kBlueDark);
    fillPolygon(p, { fold, QPointF(27, 52), QPointF(33, 46) }, 1.5, kBlueDark);
}

// Read records: a table receiving data.
void drawTableDownload(QPainter &p)
{
    fillRoundedRect(p, QRectF(3, 5, 46, 44), 5, kBlue);
    const qreal top = 18;
    const qreal rowHeight = 6.5;
    const qreal gap = 3.5;
    for (int row = 0; row < 3; ++row) {
        const qreal y = top + row * (rowHeight + gap);
        fillRoundedRect(p, QRectF(7.5, y, 16.5, rowHeight), 1, kWhite);
        fillRoundedRect(p, QRectF(27.5, y, 17, rowHeight), 1, kWhite);
    }
    drawBadge(p, kGreen);
    drawArrow(p, QPointF(47, 38.5), QPointF(47, 56), kWhite, 8, 6.5);
}

// Delete stored records: a waste bin.
void drawBin(QPainter &p)
{
    p.setPen(linePen(kRed));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(
        QPolygonF({ QPointF(25, 13), QPointF(25, 7.5), QPointF(39, 7.5), QPointF(39, 13) }));
    p.setPen(Qt::NoPen);
    fillRoundedRect(p, QRectF(7, 12, 50, 8), 4, kRed);
    fillPolygon(
        p, { QPointF(12, 23), QPointF(52, 23), QPointF(48, 59), QPointF(16, 59) }, 4.5, kRed);
    drawLine(p, QPointF(26, 31), QPointF(26.8, 51), kWhite);
    drawLine(p, QPointF(38, 31), QPointF(37.2, 51), kWhite);
}

void drawOpenFolder(QPainter &p)
{
    drawFolderBack(p, QRectF(5, 8, 48, 46));
    fillRoundedRect(p, QRectF(11, 17, 36, 24), 2.5, kWhite);
    fillPolygon(
        p, { QPointF(14, 27), QPointF(62, 27), QPointF(52, 55), QPointF(3, 55) }, 4, kOrange);
}

// Download to the device: an arrow into a tray.
void drawDownload(QPainter &p)
{
    drawArrow(p, QPointF(32, 5), QPointF(32, 44), kGreen, 15, 13);
    p.setPen(linePen(kSlate));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({ QPointF(8, 38), QPointF(8, 56), QPointF(56, 56), QPointF(56, 38) }));
    p.setPen(Qt::NoPen);
}

// Window icon: the tilt angle between a beam and its base, with the radio waves of the
// wireless link. Lines get heavier and the waves go at small sizes so the 16 px task bar icon
// keeps its shape.
void drawLogo(QPainter &p, int size)
{
    const qreal weight = qMax(kStroke + 0.5, 1.7 * kGrid / size);
    fillRoundedRect(p, QRectF(2, 2, 60, 60), 13, kBlue);
    const QPointF pivot(11, 49);
    const qreal tilt = 38;
    const qreal sector = 27;
    QPainterPath angle;
    angle.moveTo(pivot);
    angle.arcTo(QRectF(pivot.x() - sector, pivot.y() - sector, 2 * sector, 2 * sector), 0, tilt);
    angle.closeSubpath();
    p.fillPath(angle, kBlueLight);
    const QPointF end = onCircle(pivot, size >= 32 ? 33 : 42, tilt);
    p.setPen(linePen(kWhite, weight));
    p.setBrush(Qt::NoBrush);
    p.drawLine(pivot, QPointF(53, pivot.y()));
    p.drawLine(pivot, end);
    if (size >= 32) {
        for (qreal r : { 10.0, 19.0 })
            p.drawArc(QRectF(end.x() - r, end.y() - r, 2 * r, 2 * r), int(tilt - 45) * 16, 90 * 16);
    }
    p.setPen(Qt::NoPen);
}

// Title banner: the window stretches it far beyond its own width, so every column must carry
// the same top-to-bottom shading; the motif on the right only shows where it is drawn 1:1.
QImage drawBanner()
{
    const int w = 1200;
    const int h = 50;
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient shade(0, 0, 0, h);
    shade.setColorAt(0.0, QColor(0x34, 0x47, 0x5d));
    shade.setColorAt(1.0, QColor(0x1c, 0x27, 0x35));
    p.fillRect(image.rect(), shade);

    QImage motif(w, h, QImage::Format_ARGB32_Premultiplied);
    motif.fill(Qt::transparent);
    {
        QPainter m(&motif);
        m.setRenderHint(QPainter::Antialiasing);
        const QColor faint(255, 255, 255, 26);
        const QColor soft(255, 255, 255, 46);
        // Dot grid.
        for (int x = 610; x < w; x += 12)
            for (int y = 7; y < h - 3; y += 12)
                fillCircle(m, QPointF(x, y), 0.9, faint);
        // Protractor: rings, ticks and a tilted pointer.
        const QPointF c(1085, 48);
        m.setBrush(Qt::NoBrush);
        m.setPen(QPen(faint, 1.2));
        for (qreal r = 16; r <= 100; r += 14)
            m.drawEllipse(c, r, r);
        m.setPen(QPen(soft, 1.2));
        for (int deg = 10; deg < 180; deg += 10) {
            const qreal len = deg % 30 == 0 ? 8 : 4;
            m.drawLine(onCircle(c, 44, deg), onCircle(c, 44 - len, deg));
        }
        m.setPen(QPen(QColor(0x9c, 0xc6, 0xee, 110), 2, Qt::SolidLine, Qt::RoundCap));
        m.drawLine(c, onCircle(c, 62, 32));
        m.drawArc(QRectF(c.x() - 24, c.y() - 24, 48, 48), 0, 32 * 16);
        fillCircle(m, onCircle(c, 62, 32), 3, QColor(0x9c, 0xc6, 0xee, 150));
        // A rising chirp, the shape of a LoRa symbol.
        QPainterPath chirp;
        const qreal baseY = 26;
        for (int i = 0; i <= 300; ++i) {
            const qreal t = i / 300.0;
            const qreal x = 700 + t * 300;
            const qreal y = baseY - 9 * qSin(2 * M_PI * (3 * t + 4 * t * t));
            if (i == 0)
                chirp.moveTo(x, y);
            else
                chirp.lineTo(x, y);
        }
        m.setPen(QPen(soft, 1.5));
        m.drawPath(chirp);

        // Fade the motif in from the left so it never competes with the title text.
        m.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient fade(620, 0, 980, 0);
        fade.setColorAt(0, QColor(0, 0, 0, 0));
        fade.setColorAt(1, QColor(0, 0, 0, 255));
        m.fillRect(motif.rect(), fade);
    }
    p.drawImage(0, 0, motif);

    // Thin light edge on top and an accent rule at the bottom.
    p.fillRect(QRectF(0, 0, w, 1), QColor(255, 255, 255, 28));
    p.fillRect(QRectF(0, h - 2, w, 2), kBlue);
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage renderIcon(const Drawer &draw, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.scale(qreal(size) / kGrid, qreal(size) / kGrid);
    draw(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool writeImage(const QImage &image, const QString &path)
{
    QImageWriter writer(path, "png");
    if (!writer.write(image)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

// The ico writer leaves the padding bits of the transparency mask rows uninitialised; clear
// them so that every run writes the same bytes.
void clearMaskPadding(QByteArray &bitmap, int size)
{
    const int colourBytes = 40 + size * size * 4; // header and 32 bit rows, never padded
    const int maskRowBytes = (size + 31) / 32 * 4;
    if (bitmap.size() < colourBytes + maskRowBytes * size
        || qFromLittleEndian<quint16>(bitmap.constData() + 14) != 32)
        return;
    for (int row = 0; row < size; ++row) {
        char *line = bitmap.data() + colourBytes + row * maskRowBytes;
        for (int bit = size; bit < maskRowBytes * 8; ++bit)
            line[bit / 8] = char(line[bit / 8] & ~(0x80 >> (bit % 8)));
    }
}

// Qt's ico writer stores one image per file, so each size is written on its own and the
// directories are merged. The 256 px entry is stored as PNG, as the format allows since
// Windows Vista, to keep the file small.
bool writeIco(const QString &path)
{
    // A plain QPixmap load takes the first entry and the window paints it at 46 x 46, so
    // that size leads; the rest serve the window icon.
    const QVector<int> sizes = { 46, 16, 24, 32, 48, 64, 256 };
    QVector<QByteArray> entries;
    QVector<QByteArray> payloads;
    for (int size : sizes) {
        const QImage image = renderIcon([size](QPainter &p) { drawLogo(p, size); }, size);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (size == 256) {
            if (!image.save(&buffer, "png"))
                return false;
            QByteArray entry(16, '\0');
            entry[4] = 1; // colour planes
            entry[6] = 32; // bits per pixel
            entries << entry;
            payloads << bytes;
            continue;
        }
        QImageWriter writer(&buffer, "ico");
        if (!writer.write(image)) {
            std::fprintf(stderr, "ico writer: %s\n", qPrintable(writer.errorString()));
            return false;
        }
        // Single-image file: 6 byte header, one 16 byte entry, then the bitmap.
        if (bytes.size() < 22 || qFromLittleEndian<quint16>(bytes.constData() + 4) != 1)
            return false;
        const quint32 offset = qFromLittleEndian<quint32>(bytes.constData() + 18);
        entries << bytes.mid(6, 16);
        payloads << bytes.mid(int(offset));
        clearMaskPadding(payloads.last(), size);
    }

    QByteArray file(6, '\0');
    qToLittleEndian<quint16>(1, file.data() + 2); // type: icon
    qToLittleEndian<quint16>(quint16(entries.size()), file.data() + 4);
    quint32 offset = quint32(6 + 16 * entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        // Size and offset are rewritten for the merged file.
        QByteArray entry = entries[i];
        qToLittleEndian<quint32>(quint32(payloads[i].size()), entry.data() + 8);
        qToLittleEndian<quint32>(offset, entry.data() + 12);
        file += entry;
        offset += quint32(payloads[i].size());
    }
    for (const QByteArray &payload : payloads)
        file += payload;

    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(out.errorString()));
        return false;
    }
    return true;
}

// The window icon at the sizes of the desktop's icon theme, one folder per size.
bool writeThemeIcons(const QDir &dir, const QString &name)
{
    bool ok = true;
    for (int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        ok = dir.mkpath(folder)
            && writeImage(renderIcon([size](QPainter &p) { drawLogo(p, size); }, size),
                dir.filePath(folder + '/' + name + ".png"))
            && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--hicolor"))
        return writeThemeIcons(QDir(args.at(2)), args.at(3)) ? 0 : 1;
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tiltlink-icons <output folder>\n");
        return 2;
    }
    const QDir dir(args.at(1));
    if (!QDir().mkpath(dir.absolutePath())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.absolutePath()));
        return 1;
    }

    // File names are the resource names the form refers to.
    const QVector<QPair<QString, Drawer>> icons = {
        { "close.png", drawConnection },
        { "refresh.png", drawRefresh },
        { "USB3.png", drawUsbPlug },
        { "home.png", drawHome },
        { "start.png", drawStart },
        { "stop.png", drawStop },
        { "weizhi.png", drawFolderPin },
        { "daochu.png", drawSaveTemplate },
        { "daoru.png", drawLoadTemplate },
        { "tools.png", drawWrench },
        { "setting.png", drawFactoryReset },
        { "save.png", drawDisk },
        { "delete.png", drawEraser },
        { "data2.png", drawPaperPlane },
        { "trast.png", drawTableDownload },
        { "deletefolder.png", drawBin },
        { "open file.png", drawOpenFolder },
        { "download.png", drawDownload },
    };

    bool ok = true;
    for (const auto &icon : icons)
        ok = writeImage(renderIcon(icon.second, kGrid), dir.filePath(icon.first)) && ok;
    ok = writeImage(drawBanner(), dir.filePath("ovxt.png")) && ok;
    ok = writeIco(dir.filePath("logo.ico")) && ok;
    return ok ? 0 : 1;
}
