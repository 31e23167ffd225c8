#pragma once

#include <QWidget>

/// A round bubble level: the X and Y tilt of the last sample as a bubble, and a target ring of a
/// radius the user sets; the face turns green with the bubble inside.
class LevelView : public QWidget {
    Q_OBJECT

public:
    explicit LevelView(QWidget *parent = nullptr);

    /// The last tilt in degrees.
    void setTilt(double x, double y);
    /// No tilt to show (no sample yet, or a measurement that gives no angles).
    void clearTilt();
    void setRingRadius(double degrees);
    /// True when a tilt is shown and it lies inside the ring.
    bool level() const { return levelNow; }

    QSize sizeHint() const override { return QSize(240, 240); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void update();

    bool hasTilt = false;
    double tiltX = 0;
    double tiltY = 0;
    double ring = 0.5;
    bool levelNow = false;
};
