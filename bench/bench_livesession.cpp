// CPU cost of a live measurement session, end to end: the window (shown on the offscreen
// platform) polls a sensor on a real pseudo-terminal at 10 Hz, reassembles and dispatches each
// reply, updates the labels and appends a line to the record file.
//
// Two runs are made. In the first the simulated sensor answers from inside this process, so its
// work is part of the figure. In the second a bare responder in a child process answers, so the
// figure is the program's own; the difference is the simulator's share.
//
// Usage: bench_livesession [seconds per run]   (default 10)
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "protocol/checksum.h"
#include "sim/livereadings.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSettings>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>


namespace {

constexpr quint8 readAddressCommand = 0x1F;
constexpr quint8 readLiveCommand = 0x03;
constexpr quint8 liveReplyCode = 0x83;

qint64 cpuMicroseconds(int who = RUSAGE_SELF)
{
    rusage usage {};
    getrusage(who, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000
        + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

void writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            return;
    }
}

// The least a sensor must do for a live session: answer the address query and the live poll,
// with readings that change like the simulator's. It runs in a child process, started before
// the application object exists, so none of its CPU time is counted for the window.
class ResponderProcess
{
public:
    bool start();
    QString slaveName() const { return slave; }
    /// Ends the child and collects what it counted and the CPU time it used.
    void finish();

    int polls = 0;
    int replies = 0;
    qint64 cpuUs = 0;

private:
    [[noreturn]] static void serve(int master, int stopFd, int resultFd);

    pid_t pid = -1;
    int stopWrite = -1;
    int resultRead = -1;
    QString slave;
};

bool ResponderProcess::start()
{
    int master = -1;
    int ownSlave = -1;
    char name[128] = {};
    termios raw {};
    cfmakeraw(&raw);
    int stopPipe[2];
    int resultPipe[2];
    if (openpty(&master, &ownSlave, name, &raw, nullptr) != 0)
        return false;
    if (pipe(stopPipe) != 0 || pipe(resultPipe) != 0)
        return false;
    pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        // The child keeps its slave descriptor so that the window closing the port is no hang-up.
        ::close(stopPipe[1]);
        ::close(resultPipe[0]);
        serve(master, stopPipe[0], resultPipe[1]);
    }
    ::close(master);
    ::close(ownSlave);
    ::close(stopPipe[0]);
    ::close(resultPipe[1]);
    stopWrite = stopPipe[1];
    resultRead = resultPipe[0];
    slave = QString::fromLocal8Bit(name);
    return true;
}

void ResponderProcess::serve(int master, int stopFd, int resultFd)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray input;
    int polled = 0;
    int answered = 0;
    for (;;) {
        pollfd fds[2] = {{master, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents != 0)
            break; // the parent closed the pipe: done
        char buffer[512];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        input.append(buffer, int(n));
        while (input.size() >= 2) {
            const int size = quint8(input.at(1)) + 1;
            if (quint8(input.at(0)) != 0x77 || size < 8) {
                input.remove(0, 1);
                continue;
            }
            if (input.size() < size)
                break;
            const QByteArray request = input.left(size);
            input.remove(0, size);
            QByteArray reply;
            const quint8 command = quint8(request.at(6));
            if (command == readAddressCommand) {
                reply = QByteArray::fromHex("770b000000001f00000001");
            } else if (command == readLiveCommand) {
                ++polled;
                const QByteArray data = LiveReadings::wandering(clock.elapsed()).encode();
                reply = QByteArray(1, '\x77') + char(7 + data.size()) + request.mid(2, 4)
                    + char(liveReplyCode) + data;
                ++answered;
            } else {
                continue;
            }
            reply.append(char(Checksum::additive(reply, reply.size())));
            writeAll(master, reply);
        }
    }
    const QByteArray report = QByteArray::number(polled) + ' ' + QByteArray::number(answered);
    writeAll(resultFd, report);
    _exit(0);
}

void ResponderProcess::finish()
{
    if (pid <= 0)
        return;
    ::close(stopWrite);
    QByteArray report;
    char buffer[64];
    ssize_t n;
    while ((n = ::read(resultRead, buffer, sizeof buffer)) != 0) {
        if (n > 0)
            report.append(buffer, int(n));
        else if (errno != EINTR)
            break;
    }
    ::close(resultRead);
    const qint64 childrenBefore = cpuMicroseconds(RUSAGE_CHILDREN);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    cpuUs = cpuMicroseconds(RUSAGE_CHILDREN) - childrenBefore;
    const QList<QByteArray> fields = report.split(' ');
    polls = fields.value(0).toInt();
    replies = fields.value(1).toInt();
}

// Runs the event loop for msec milliseconds without adding timers of its own.
void runFor(int msec)
{
    QEventLoop loop;
    QTimer::singleShot(msec, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int countLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return int(file.readAll().count('\n'));
}

struct Session {
    int polls = 0;
    int replies = 0;
    int lines = 0;
    qint64 cpuUs = 0;
    qint64 wallMs = 0;
};

QString percentOfCore(qint64 cpuUs, qint64 wallMs)
{
    return QString::number(wallMs > 0 ? 100.0 * double(cpuUs) / (1000.0 * double(wallMs)) : 0,
                           'f', 2);
}

QString msPerSample(qint64 cpuUs, int samples)
{
    return QString::number(samples > 0 ? double(cpuUs) / 1000.0 / samples : 0, 'f', 3);
}

// Opens the port, fetches the address and ticks recording; false (with a message) on failure.
bool prepare(MainWindow &window, const QString &portName, const QString &recordFolder)
{
    // Set-up only: a message box here would block the run, so answer it and report it.
    DialogRecorder boxes(QMessageBox::Yes);
    widget<QComboBox>(&window, "portComboBox")->setCurrentText(portName);
    widget<QAbstractButton>(&window, "openPortButton")->click();
    if (widget<QPushButton>(&window, "openPortButton")->text() != QString::fromUtf8("关闭")) {
        std::fprintf(stderr, "livesession: cannot open %s\n", qPrintable(portName));
        return false;
    }
    auto *address = widget<QLineEdit>(&window, "lineEditAddr");
    widget<QAbstractButton>(&window, "getAddrButton")->click();
    const QDeadlineTimer deadline(3000);
    while (address->text().isEmpty() && !deadline.hasExpired())
        QTest::qWait(10);
    if (address->text().isEmpty()) {
        std::fprintf(stderr, "livesession: no address from the sensor on %s\n",
                     qPrintable(portName));
        return false;
    }
    widget<QComboBox>(&window, "comboBoxGayo")->setCurrentIndex(0);
    widget<QCheckBox>(&window, "checkBox_Save")->setChecked(true);
    widget<QLineEdit>(&window, "lineEdit_Save")->setText(QDir::toNativeSeparators(recordFolder));
    QTest::qWait(200); // let the address reply and repaints settle before measuring
    if (!boxes.boxes.isEmpty()) {
        std::fprintf(stderr, "livesession: unexpected message box \"%s\"\n",
                     qPrintable(boxes.boxes.first()));
        return false;
    }
    return true;
}

// One measured session from the start click to the stop click; the port is closed after it.
bool measure(MainWindow &window, int msec, const QString &recordFolder, Session &session)
{
    auto *start = widget<QPushButton>(&window, "pushButtonStart");
    QElapsedTimer wall;
    const qint64 cpuBefore = cpuMicroseconds();
    wall.start();
    start->click();
    if (start->text() != QString::fromUtf8("停止")) {
        std::fprintf(stderr, "livesession: live measurement did not start\n");
        return false;
    }
    runFor(msec);
    start->click();
    session.cpuUs = cpuMicroseconds() - cpuBefore;
    session.wallMs = wall.elapsed();
    QTest::qWait(300); // the answer to the last poll may still be on its way
    session.lines = countLines(QDir(recordFolder).filePath(QStringLiteral("Orvex_Record.txt")));
    widget<QAbstractButton>(&window, "openPortButton")->click(); // close
    return true;
}

void report(const char *label, const Session &s, const QString &extra = QString())
{
    std::printf("livesession %s: %d polls, %d replies, %d lines, %s ms CPU/sample, "
                "%s%% of one core%s\n",
                label, s.polls, s.replies, s.lines, qPrintable(msPerSample(s.cpuUs, s.lines)),
                qPrintable(percentOfCore(s.cpuUs, s.wallMs)), qPrintable(extra));
}

// CPU time the simulated sensor spends taking one live poll and producing its reply.
double simulatorMicrosecondsPerPoll()
{
    constexpr int polls = 20000;
    SimulatedSensor sensor;
    int replies = 0;
    QObject::connect(&sensor, &SimulatedSensor::transmit, [&replies](const QByteArray &) {
        ++replies;
    });
    const QByteArray poll = QByteArray::fromHex("77070000000103" "0b");
    const qint64 before = cpuMicroseconds();
    for (int i = 0; i < polls; ++i)
        sensor.receive(poll);
    const qint64 used = cpuMicroseconds() - before;
    return replies == polls ? double(used) / polls : 0.0;
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 10;

    // Forked before any thread or application object exists.
    ResponderProcess responder;
    if (!responder.start()) {
        std::fprintf(stderr, "livesession: cannot start the responder process\n");
        return 1;
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QApplication app(argc, argv);
    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "livesession: no temporary folder\n");
        return 1;
    }
    // Keep the user's language choice out of reach.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.filePath(QStringLiteral("settings")));
    startLikeMain();

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    if (!device.open()) {
        std::fprintf(stderr, "livesession: %s\n", qPrintable(device.errorString()));
        return 1;
    }
    int liveReplies = 0;
    QObject::connect(&sensor, &SimulatedSensor::transmit, [&liveReplies](const QByteArray &b) {
        if (b.size() > 6 && quint8(b.at(6)) == liveReplyCode)
            ++liveReplies;
    });

    MainWindow window;
    window.show();
    QTest::qWait(200);

    std::printf("livesession: %d s per run at 10 Hz, window shown (offscreen), record file on, "
                "angles view\n", seconds);

    // A short unmeasured run first, so that neither measured run pays for first-time set-up
    // (glyph caches, the record file's creation).
    Session session;
    const QString warmFolder = work.filePath(QStringLiteral("warm-up"));
    QDir().mkpath(warmFolder);
    if (!prepare(window, device.slaveName(), warmFolder)
        || !measure(window, 1000, warmFolder, session))
        return 1;

    const QString simFolder = work.filePath(QStringLiteral("simulator"));
    QDir().mkpath(simFolder);
    Session withSimulator;
    if (!prepare(window, device.slaveName(), simFolder))
        return 1;
    sensor.clearCounters();
    liveReplies = 0;
    if (!measure(window, seconds * 1000, simFolder, withSimulator))
        return 1;
    withSimulator.polls = sensor.receivedCount(readLiveCommand);
    withSimulator.replies = liveReplies;
    report("with simulator in process", withSimulator, QStringLiteral(" (includes the simulator)"));

    const QString ownFolder = work.filePath(QStringLiteral("responder"));
    QDir().mkpath(ownFolder);
    Session programOnly;
    if (!prepare(window, responder.slaveName(), ownFolder))
        return 1;
    if (!measure(window, seconds * 1000, ownFolder, programOnly))
        return 1;
    responder.finish();
    programOnly.polls = responder.polls;
    programOnly.replies = responder.replies;
    report("program only (responder in a child process)", programOnly,
           QStringLiteral(" (responder: %1 ms CPU, not counted)")
               .arg(QString::number(double(responder.cpuUs) / 1000.0, 'f', 1)));

    // The difference of the two runs is small next to their run-to-run spread, so the
    // simulator's own work per poll is also measured directly (without its pty I/O).
    const qint64 shareUs = withSimulator.cpuUs - programOnly.cpuUs;
    const double aloneUs = simulatorMicrosecondsPerPoll();
    const double responderUs =
        responder.polls > 0 ? double(responder.cpuUs) / responder.polls : 0.0;
    std::printf("livesession simulator share: %.4f ms CPU/poll for its own work measured alone, "
                "plus its pty I/O (a bare responder process used %.3f ms/poll); "
                "difference of the two runs %+.3f ms/sample\n",
                aloneUs / 1000.0, responderUs / 1000.0,
                withSimulator.lines > 0 ? double(shareUs) / 1000.0 / withSimulator.lines : 0.0);

    // Baseline: the window with nothing to do.
    const qint64 idleCpu = cpuMicroseconds();
    QElapsedTimer idleWall;
    idleWall.start();
    runFor(2000);
    std::printf("livesession idle window (port closed, no polling): %s%% of one core\n",
                qPrintable(percentOfCore(cpuMicroseconds() - idleCpu, idleWall.elapsed())));

    const double percent = percentOfCore(programOnly.cpuUs, programOnly.wallMs).toDouble();
    std::printf("livesession target: under 2%% of one core at 10 Hz with recording: %s (%.2f%%)\n",
                percent < 2.0 ? "met" : "NOT met", percent);
    return 0;
}
