// What the whole-window tests share: a fresh window and a raw pseudo-terminal for every test
// function, and the replies the device side plays.
#pragma once

#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "windowonpty.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

// Angles -12.3456, 123.4567, -0.1000; accelerations 0.981234, -1, 0.000001; 25.50 degrees;
// power 87.
inline const QByteArray liveA = QByteArray::fromHex(
    "772300000001831012345601234567f000100000981234110000000000000100255057df");
// Angles 0.1000, -0.0001, 9.0000; accelerations 1, 0, -0.5; -5.00 degrees; power 100.
inline const QByteArray liveB = QByteArray::fromHex(
    "7723000000018300001000100000010009000001000000000000001050000010050064ab");
inline const QByteArray uploadModeAck = QByteArray::fromHex("7707000000016971");
inline const QByteArray pollTo00000001 = QByteArray::fromHex("770700000001030b");

class E2eWindow : public WindowOnPty
{
protected:
    // A label or line edit text; a combo box gives its index.
    QString text(const QString &name) const
    {
        if (auto *label = window->findChild<QLabel *>(name))
            return label->text();
        if (auto *edit = window->findChild<QLineEdit *>(name))
            return edit->text();
        if (auto *combo = window->findChild<QComboBox *>(name))
            return QString::number(combo->currentIndex());
        return "<no widget " + name + ">";
    }
    // Applies "objectName=value" pairs: a combo box takes the value as its index.
    void fill(const QStringList &inputs)
    {
        for (const QString &input : inputs) {
            const QString name = input.section('=', 0, 0);
            const QString value = input.section('=', 1);
            if (auto *combo = window->findChild<QComboBox *>(name))
                combo->setCurrentIndex(value.toInt());
            else if (auto *edit = window->findChild<QLineEdit *>(name))
                edit->setText(value);
            else
                QFAIL(qPrintable("no input " + name));
        }
    }
    // The same pairs as the widgets now show them.
    QStringList shown(const QStringList &inputs) const
    {
        QStringList now;
        for (const QString &input : inputs)
            now << input.section('=', 0, 0) + "=" + text(input.section('=', 0, 0));
        return now;
    }
    // Every box shown, as "title|text|icon|buttons" (icon 3: critical; 4000: the Yes button).
    static QStringList boxTexts(const DialogRecorder &boxes)
    {
        QStringList list;
        for (const RecordedBox &box : boxes.boxes())
            list << box.title + '|' + box.text + '|' + QString::number(box.icon) + '|'
                        + QString::number(int(box.buttons), 16);
        return list;
    }
};
