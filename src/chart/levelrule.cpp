#include "chart/levelrule.h"

#include <cmath>

bool LevelRule::inside(double x, double y, double radius)
{
    return std::hypot(x, y) <= radius;
}

QPointF LevelRule::bubble(double x, double y, double radius)
{
    if (!(radius > 0))
        return QPointF();
    const double scale = ringShare / radius;
    QPointF at(x * scale, y * scale);
    const double length = std::hypot(at.x(), at.y());
    return length > 1 ? at / length : at;
}
