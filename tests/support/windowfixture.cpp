#include "windowfixture.h"

#include "app/startup.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QSettings>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTranslator>

#include <numeric>

static QList<QTranslator *> startupTranslators;

void startLikeMain()
{
    initTiltResources();
    startupTranslators << installStartupTranslator(*qApp);
    applyStyleSheet(*qApp);
}

void removeTranslators()
{
    qDeleteAll(startupTranslators); // which uninstalls them
    startupTranslators.clear();
}

DialogRecorder::DialogRecorder(QMessageBox::StandardButton answer)
    : answer(answer)
{
    connect(&timer, &QTimer::timeout, this, [this] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("recorded").toBool())
            return;
        box->setProperty("recorded", true);
        const auto hex = [](int flags) { return QString::number(flags, 16); };
        boxes << box->windowTitle() + '|' + box->text() + '|' + hex(box->icon()) + '|'
                + hex(box->standardButtons()) + '|'
                + hex(box->standardButton(box->defaultButton()));
        QAbstractButton *press = box->button(this->answer);
        QMetaObject::invokeMethod(
            press ? press : box->buttons().first(), &QAbstractButton::click, Qt::QueuedConnection);
    });
    timer.start(10);
}

FileDialogAnswer::FileDialogAnswer(const QString *fileName)
{
    connect(&timer, &QTimer::timeout, this, [fileName] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            // Typed, as selectFile() leaves a focused name field alone.
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(*fileName);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    timer.start(10);
}

SendLog::SendLog(QWidget *window, QWidget *watched)
{
    auto *log = window->findChild<QTextBrowser *>("text_Serial");
    window->findChild<QAbstractButton *>("checkBox_active")->setChecked(true);
    window->findChild<QAbstractButton *>("checkBox_hexshow")->setChecked(true);
    clock.start();
    connect(log, &QTextBrowser::textChanged, this, [=] {
        const QTextBlock last = log->document()->lastBlock();
        const int at = last.text().indexOf(QStringLiteral("send\u2192 "));
        if (at < 0 || last.blockNumber() == seenBlock)
            return;
        seenBlock = last.blockNumber();
        sends.append({ clock.elapsed(), QByteArray::fromHex(last.text().mid(at + 6).toLatin1()),
            !watched || watched->isEnabled(), int(sends.size()) });
    });
}

QList<SendLog::Send> SendLog::select(bool polls) const
{
    QList<Send> list;
    std::copy_if(sends.begin(), sends.end(), std::back_inserter(list),
        [=](const Send &send) { return send.isPoll() == polls; });
    return list;
}

QList<qint64> SendLog::gaps(const QList<Send> &sends)
{
    QList<qint64> list;
    for (int i = 1; i < sends.size(); ++i)
        list << sends.at(i).ms - sends.at(i - 1).ms;
    return list;
}

QString shortestIn(const QList<qint64> &gaps, qint64 low, qint64 high)
{
    const qint64 shortest = gaps.isEmpty() ? -1 : *std::min_element(gaps.begin(), gaps.end());
    return shortest >= low && shortest < high ? QString() : QString::number(shortest) + " ms";
}

WindowFixture::WindowFixture()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    startLikeMain();
}

void WindowFixture::openWindow()
{
    window = new MainWindow;
    window->show();
    pty = new PseudoTerminal;
}

void WindowFixture::closeWindow()
{
    delete window;
    delete pty;
}

void WindowFixture::openPort(const QString &address, const QString &port)
{
    widget<QComboBox>("portComboBox")->setCurrentText(port.isEmpty() ? pty->slaveName() : port);
    click("openPortButton");
    QCOMPARE(text("openPortButton"), QString("关闭"));
    if (address.isEmpty())
        return;
    click("getAddrButton");
    if (port.isEmpty()) {
        QCOMPARE(pty->readAtLeast(8).toHex(), QByteArray("7707000000001f26"));
        // From address 0, code 1F, the address, then the sum of the bytes after the header.
        const QByteArray reply = QByteArray::fromHex("770b000000001f" + address.toLatin1());
        pty->write(reply + char(std::accumulate(reply.begin() + 1, reply.end(), 0)));
    }
    QTRY_COMPARE(text("lineEditAddr"), address);
}

QString WindowFixture::text(const QString &name) const
{
    const QObject *found = window->findChild<QObject *>(name);
    const QVariant text = found ? found->property("text") : "<no widget " + name + ">";
    return (text.isValid() ? text : found->property("currentIndex")).toString();
}

void WindowFixture::fill(const QStringList &pairs)
{
    for (const QString &pair : pairs) {
        QObject *found = window->findChild<QObject *>(pair.section('=', 0, 0));
        auto *box = qobject_cast<QAbstractButton *>(found);
        if (box && box->isCheckable())
            box->setChecked(pair.endsWith("=1"));
        else if (!found
            || !found->setProperty(
                found->property("text").isValid() ? "text" : "currentIndex", pair.section('=', 1)))
            QFAIL(qPrintable("cannot set " + pair));
    }
}

QStringList WindowFixture::shown(const QStringList &pairs) const
{
    QStringList now;
    for (const QString &pair : pairs)
        now << pair.section('=', 0, 0) + '=' + text(pair.section('=', 0, 0));
    return now;
}

QStringList WindowFixture::enabled(const QStringList &names) const
{
    QStringList on;
    for (const QString &name : names)
        if (widget(name)->isEnabled())
            on << name;
    return on;
}
