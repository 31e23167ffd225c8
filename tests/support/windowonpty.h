// A fresh window and a raw pseudo-terminal for every test function: the base of the tests that
// drive the whole window through a real port.
#pragma once

#include "app/mainwindow.h"
#include "pseudoterminal.h"
#include "windowfixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class WindowOnPty
{
protected:
    /// Start-up as the program does it, with the settings store in a temporary folder.
    void startApp()
    {
        useTemporarySettings(settingsDir.path());
        startLikeMain(*qApp);
    }
    void openWindow()
    {
        pty = new PseudoTerminal;
        QVERIFY(pty->isValid());
        window = new MainWindow;
        window->show();
    }
    void closeWindow()
    {
        delete window;
        window = nullptr;
        delete pty;
        pty = nullptr;
    }
    /// Opens the port (the raw pseudo-terminal unless named) and types the working address.
    void openPort(const QString &address = QStringLiteral("00000001"), QString port = {})
    {
        openPortNamed(window, port.isEmpty() ? pty->slaveName() : port);
        QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("关闭"));
        widget<QLineEdit>(window, "lineEditAddr")->setText(address);
    }
    QString status() const { return window->statusBar()->currentMessage(); }

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
    PseudoTerminal *pty = nullptr;
};
