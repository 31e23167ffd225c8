#include "chart/levelview.h"

#include "chart/levelrule.h"

#include <QPainter>

namespace {

const QColor levelColour(0x2e, 0xa0, 0x43);
const QColor offColour(0x9a, 0x6a, 0x1c);
const QColor idleColour(0x55, 0x55, 0x55);

} // namespace

LevelView::LevelView(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(160, 160);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void LevelView::setTilt(double x, double y)
{
    hasTilt = true;
    tiltX = x;
    tiltY = y;
    update();
}

void LevelView::clearTilt()
{
    hasTilt = false;
    update();
}

void LevelView::setRingRadius(double degrees)
{
    ring = degrees;
    update();
}

void LevelView::update()
{
    levelNow = hasTilt && LevelRule::inside(tiltX, tiltY, ring);
    QWidget::update();
}

void LevelView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height()) - 4;
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double radius = side / 2.0;
    const QColor face = !hasTilt ? idleColour : levelNow ? levelColour : offColour;

    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(face);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
    painter.drawLine(
        QPointF(centre.x() - radius, centre.y()), QPointF(centre.x() + radius, centre.y()));
    painter.drawLine(
        QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
    const double ringRadius = radius * LevelRule::ringShare;
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, ringRadius, ringRadius);

    if (hasTilt) {
        const QPointF at = LevelRule::bubble(tiltX, tiltY, ring);
        // Screen y grows downwards; a positive Y tilt moves the bubble up.
        const QPointF bubbleCentre(centre.x() + at.x() * (radius - radius * 0.1),
            centre.y() - at.y() * (radius - radius * 0.1));
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawEllipse(bubbleCentre, radius * 0.1, radius * 0.1);
    }
}
