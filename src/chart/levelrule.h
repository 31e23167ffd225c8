#pragma once

#include <QPointF>

/// The bubble level: where the bubble sits and whether the tilt is inside the target ring.
namespace LevelRule {

/// The ring sits at this share of the view's radius, so that tilts up to four rings show.
constexpr double ringShare = 0.25;

/// True when the tilt (X, Y in degrees) lies within `radius` degrees of level (edge included).
bool inside(double x, double y, double radius);

/// The bubble's place in a unit circle (X to the right, Y up) for a ring of `radius` degrees;
/// a tilt beyond the view stays on its edge, in its direction.
QPointF bubble(double x, double y, double radius);

} // namespace LevelRule
