// CPU use of the window while it waits: the sensor one-key set sends nine commands with a
// 200 ms pause after each, and the pauses must keep handling events without spinning. A plain
// one-second pause is measured as well.
//
// Usage: bench_onekeywait [rounds]   (default 3)
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSettings>

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/resource.h>


namespace {

// The one-key set's commands, in the order they are sent.
const quint8 oneKeyCommands[] = {0x69, 0x05, 0x0C, 0x56, 0x6B, 0x53, 0x42, 0x6A, 0x65};

qint64 cpuMicroseconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000
        + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

struct Span {
    qint64 cpuUs = 0;
    qint64 wallMs = 0;

    double percent() const { return wallMs > 0 ? 100.0 * cpuUs / (1000.0 * wallMs) : 0; }
};

template <class F>
Span timed(F &&work)
{
    QElapsedTimer wall;
    const qint64 cpuBefore = cpuMicroseconds();
    wall.start();
    work();
    return {cpuMicroseconds() - cpuBefore, wall.elapsed()};
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 3;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QApplication app(argc, argv);
    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "onekeywait: no temporary folder\n");
        return 1;
    }
    // Keep the user's language choice out of reach.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path());
    startLikeMain();

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    if (!device.open()) {
        std::fprintf(stderr, "onekeywait: %s\n", qPrintable(device.errorString()));
        return 1;
    }
    MainWindow window;
    window.show();
    {
        // Set-up only: a message box would block the run, so answer it and give up.
        DialogRecorder boxes(QMessageBox::Yes);
        widget<QComboBox>(&window, "portComboBox")->setCurrentText(device.slaveName());
    widget<QAbstractButton>(&window, "openPortButton")->click();
        widget<QAbstractButton>(&window, "getAddrButton")->click();
        auto *address = widget<QLineEdit>(&window, "lineEditAddr");
        const QDeadlineTimer deadline(3000);
        while (address->text().isEmpty() && !deadline.hasExpired())
            QTest::qWait(10);
        if (address->text().isEmpty() || !boxes.boxes.isEmpty()) {
            std::fprintf(stderr, "onekeywait: no address from the simulated sensor\n");
            return 1;
        }
        QTest::qWait(200);
    }

    auto *oneKey = widget<QPushButton>(&window, "pushButton_ssetting");
    Span total;
    int failedRounds = 0;
    for (int round = 1; round <= rounds; ++round) {
        sensor.clearCounters();
        // The click returns when the last pause is over.
        const Span span = timed([oneKey] { oneKey->click(); });
        int received = 0;
        for (quint8 command : oneKeyCommands)
            received += sensor.receivedCount(command) > 0 ? 1 : 0;
        const bool succeeded =
            window.statusBar()->currentMessage() == QString::fromUtf8("一键设置参数成功!");
        if (!succeeded)
            ++failedRounds;
        std::printf("onekeywait round %d: %d/9 commands received, %s, %lld ms wall, "
                    "%.2f ms CPU, %.2f%% of one core\n",
                    round, received, succeeded ? "acknowledged" : "NOT acknowledged",
                    qlonglong(span.wallMs), span.cpuUs / 1000.0, span.percent());
        total.cpuUs += span.cpuUs;
        total.wallMs += span.wallMs;
    }
    std::printf("onekeywait one-key set: %d rounds, %.1f ms wall each, %.2f ms CPU each, "
                "%.2f%% of one core during the waits\n",
                rounds, double(total.wallMs) / rounds, total.cpuUs / 1000.0 / rounds,
                total.percent());

    const Span pause = timed([&window] { window.Delay_MSec_Suspend(1000); });
    std::printf("onekeywait Delay_MSec_Suspend(1000): %lld ms wall, %.2f ms CPU, "
                "%.2f%% of one core\n",
                qlonglong(pause.wallMs), pause.cpuUs / 1000.0, pause.percent());
    return failedRounds == 0 ? 0 : 1;
}
