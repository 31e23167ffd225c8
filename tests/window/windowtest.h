// Helpers shared by the window tests.
#pragma once

#include "dialogrecorder.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

// What the label, button or line edit (text) or combo box (current item) of this name shows.
inline QString textOf(QWidget *root, const char *name)
{
    QObject *found = root->findChild<QObject *>(QString::fromLatin1(name));
    if (!found)
        return QStringLiteral("<no widget %1>").arg(QLatin1String(name));
    const QVariant text = found->property("text");
    return text.isValid() ? text.toString() : found->property("currentText").toString();
}

// Those of the named widgets that are enabled.
inline QStringList enabledOf(QWidget *root, const QStringList &names)
{
    QStringList on;
    for (const QString &name : names)
        if (const QWidget *found = root->findChild<QWidget *>(name); found && found->isEnabled())
            on << name;
    return on;
}

// Compares what a recorded message box showed.
inline void compareBox(const RecordedBox &box, const QString &title, const QString &text,
                       QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.buttons, buttons);
}
