#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

/// What one message box showed.
struct RecordedBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

/// Watches for modal message boxes (and other modal dialogs), records them and answers them,
/// so that tests can drive slots that show static message boxes.
class DialogRecorder : public QObject
{
    Q_OBJECT

public:
    /// answer: the button to press; NoButton presses the box's default (or Escape).
    explicit DialogRecorder(QMessageBox::StandardButton answer = QMessageBox::NoButton);

    void setAnswer(QMessageBox::StandardButton answer) { reply = answer; }
    const QList<RecordedBox> &boxes() const { return recorded; }
    void clear() { recorded.clear(); }
    /// Number of modal dialogs that were not message boxes (rejected when seen).
    int otherDialogs() const { return others; }

private:
    void poll();

    QTimer timer;
    QMessageBox::StandardButton reply;
    QList<RecordedBox> recorded;
    int others = 0;
};
