#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns Ctrl-C (SIGINT) into a Qt signal delivered in the event loop; a second Ctrl-C ends
/// the program at once.
class InterruptNotifier : public QObject {
    Q_OBJECT

public:
    explicit InterruptNotifier(QObject *parent = nullptr);

signals:
    void interrupted();

private:
    QSocketNotifier *notifier = nullptr;
};
