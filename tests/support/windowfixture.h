// What the window tests share: a fresh window and a pseudo-terminal for each test function,
// widgets by object name, message boxes recorded and answered, and every send with its time.
#pragma once

#include "app/mainwindow.h"
#include "pseudoterminal.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

/// The program's start-up steps; removeTranslators() takes their translator away again.
void startLikeMain();
void removeTranslators();

/// Records each message box as "title|text|icon|buttons|default button" (buttons in hex: 400
/// Ok, 4000 Yes, 10000 No) and presses `answer` in it, or else its first button.
class DialogRecorder : public QObject {
public:
    explicit DialogRecorder(QMessageBox::StandardButton answer = QMessageBox::NoButton);
    QMessageBox::StandardButton answer;
    QStringList boxes;

private:
    QTimer timer;
};

/// Answers each file dialog that opens with the path `fileName` holds at that moment.
class FileDialogAnswer : public QObject {
public:
    explicit FileDialogAnswer(const QString *fileName);

private:
    QTimer timer;
};

/// Every send from now on, as the terminal tab logs it just before the bytes go out: when,
/// what, and whether the watched widget was enabled then.
class SendLog : public QObject {
public:
    struct Send {
        qint64 ms;
        QByteArray bytes;
        bool watchedEnabled;
        int at; // index in sends
        bool isPoll() const { return bytes.size() == 8 && bytes.at(6) == 0x03; }
    };
    explicit SendLog(QWidget *window, QWidget *watched = nullptr);
    QList<Send> sends;
    QList<Send> select(bool polls) const; // the live-data polls, or all the other sends
    static QList<qint64> gaps(const QList<Send> &sends); // between neighbours

private:
    QElapsedTimer clock;
    int seenBlock = -1;
};

/// Empty when the shortest of the gaps lies in [low, high), else what it is. A pause never ends
/// early and load only makes it longer: the shortest of several tells a pause from a longer one.
QString shortestIn(const QList<qint64> &gaps, qint64 low, qint64 high);

class WindowFixture {
protected:
    WindowFixture(); // starts like the program, with the settings store in settingsDir
    void openWindow();
    void closeWindow();
    /// Opens the port (the fixture's terminal unless named); then reads a non-empty address
    /// from the device with the address button, the fixture's terminal answering it.
    void openPort(const QString &address = QStringLiteral("00000001"), const QString &port = {});
    template <class T = QWidget> T *widget(QString id) const { return window->findChild<T *>(id); }
    QString status() const { return window->statusBar()->currentMessage(); }
    void click(const QString &name) { widget<QAbstractButton>(name)->click(); }
    /// A widget's text; a combo box gives its current index.
    QString text(const QString &name) const;
    /// Applies "objectName=value" pairs: a combo box takes an index, a check box 0 or 1.
    void fill(const QStringList &pairs);
    /// The pairs as the widgets show them now; those of the named widgets that are enabled.
    QStringList shown(const QStringList &pairs) const;
    QStringList enabled(const QStringList &names) const;

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
    PseudoTerminal *pty = nullptr;
};
