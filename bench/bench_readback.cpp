// Host time of reading 60 000 stored records into the table.
//
// 1. The window's dispatch path: pages of 255 36-byte records, as the sensor would send them, go
//    through the same slot the serial port feeds, with the table shown; each page's handling and
//    the repaint after it are timed, and the memory the filled table takes is read from the
//    process's resident size.
// 2. For comparison, the naive fill of a QStandardItemModel with the view attached: one item per
//    cell, a page at a time, with the same repaints.
// 3. End to end: the simulated sensor on a pseudo-terminal, from the click to the last record.
//
// Usage: bench_readback [records] [naive rows]   (default 60000 and 60000; naive 0 skips it)
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "sim/storedrecords.h"
#include "windowfixture.h"

#include <QApplication>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// A window with the table tab in front and a port open on `port`, address 00000001.
void prepare(MainWindow &window, const QString &port)
{
    window.show();
    auto *tabs = window.findChild<QTabWidget *>();
    tabs->setCurrentWidget(widget<QWidget>(&window, "tab_3"));
    widget<QComboBox>(&window, "portComboBox")->setCurrentText(port);
    widget<QAbstractButton>(&window, "openPortButton")->click();
    widget<QLineEdit>(&window, "lineEditAddr")->setText(QStringLiteral("00000001"));
    QTest::qWait(200);
}

int recordsShown(MainWindow &window)
{
    QAbstractItemModel *model = widget<QTableView>(&window, "tableView")->model();
    int rows = model->rowCount();
    while (rows > 0 && model->index(rows - 1, 0).data().toString().isEmpty())
        --rows;
    return rows;
}

void dispatchPath(int records)
{
    PseudoTerminal pty; // takes the page requests; nothing answers them
    MainWindow window;
    prepare(window, pty.slaveName());
    DialogRecorder boxes; // answers the box at the end
    QTest::qWait(300);
    const double idleMb = residentMb();
    // The last page ends in a message box: its page is timed up to the moment the box shows.
    struct BoxWatch : QObject {
        QElapsedTimer *page = nullptr;
        double shownAt = -1;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show && shownAt < 0
                && qobject_cast<QMessageBox *>(watched))
                shownAt = page->nsecsElapsed() / 1e6;
            return false;
        }
    } boxWatch;
    qApp->installEventFilter(&boxWatch);

    StoredRecords memory;
    memory.setCount(records);
    memory.setPageSize(StoredRecords::maxPageSize);
    widget<QAbstractButton>(&window, "pushButtonRead")->click();
    QByteArray page = memory.read(0x61, 0x00, 1, records);
    double total = 0, longest = 0, last = 0;
    int pages = 0;
    const double cpuBefore = cpuMs();
    while (!page.isEmpty()) {
        const bool final = quint8(page.at(7)) == 0xFF;
        QElapsedTimer wall;
        boxWatch.page = &wall;
        wall.start();
        window.readSerialData(page);
        QCoreApplication::processEvents(); // the view's layout and repaint after the page
        const double ms = final ? boxWatch.shownAt : wall.nsecsElapsed() / 1e6;
        total += ms;
        longest = qMax(longest, ms);
        last = ms;
        ++pages;
        pty.readAvailable();
        page = final ? QByteArray() : memory.read(0x61, 0x10);
    }
    const double cpu = cpuMs() - cpuBefore;
    qApp->removeEventFilter(&boxWatch);
    QTest::qWait(100);
    const double filledMb = residentMb();
    std::printf("readback dispatch: %d records in %d pages of up to 255 (36 bytes each), table "
                "shown: %.0f ms wall (%.0f ms CPU, with the message box at the end); longest page "
                "%.2f ms; last page %.2f ms up to its message box\n",
        recordsShown(window), pages, total, cpu, longest, last);
    std::printf("readback memory: idle window %.1f MB, filled table %.1f MB, +%.1f MB\n", idleMb,
        filledMb, filledMb - idleMb);
    std::printf("readback targets: total under 500 ms: %s; every page under 10 ms: %s; "
                "under 50 MB more: %s\n",
        total < 500 ? "met" : "MISSED", longest < 10 ? "met" : "MISSED",
        filledMb - idleMb < 50 ? "met" : "MISSED");
}

void naiveFill(int rows)
{
    QTableView view;
    QStandardItemModel model;
    model.setColumnCount(10);
    model.setRowCount(18);
    view.setModel(&model);
    view.resize(700, 500);
    view.show();
    StoredRecords memory;
    memory.setCount(rows);
    memory.setPageSize(StoredRecords::maxPageSize);
    const double cpuBefore = cpuMs();
    QElapsedTimer wall;
    wall.start();
    int row = 0;
    for (QByteArray page = memory.read(0x61, 0x00, 1, rows); !page.isEmpty();) {
        const int n = quint8(page.at(1));
        for (int i = 0; i < n; ++i, ++row)
            for (int column = 0; column < 10; ++column)
                model.setItem(row, column, new QStandardItem(QString::number(row * 10 + column)));
        view.scrollToBottom();
        QCoreApplication::processEvents();
        page = quint8(page.at(7)) == 0xFF ? QByteArray() : memory.read(0x61, 0x10);
    }
    std::printf("readback naive fill (an item per cell, view attached): %d rows, %.0f ms wall, "
                "%.0f ms CPU\n",
        row, double(wall.elapsed()), cpuMs() - cpuBefore);
}

void endToEnd(int records)
{
    SimulatedSensor sensor;
    sensor.setStoredRecords(records);
    sensor.setPageSize(StoredRecords::maxPageSize);
    PtyDevice device(&sensor);
    if (!device.open()) {
        std::fprintf(stderr, "readback: %s\n", qPrintable(device.errorString()));
        return;
    }
    MainWindow window;
    prepare(window, device.slaveName());
    DialogRecorder boxes;
    const double cpuBefore = cpuMs();
    QElapsedTimer wall;
    wall.start();
    widget<QAbstractButton>(&window, "pushButtonRead")->click();
    // Waits in an event loop (it sleeps between events) until the box at the end shows.
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!boxes.boxes.isEmpty())
            loop.quit();
    });
    check.start(1);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    std::printf("readback end to end (simulated sensor in this process, pseudo-terminal): "
                "%d records, %.0f ms wall, %.0f ms CPU for both; target under 5 s: %s\n",
        recordsShown(window), double(wall.elapsed()), cpuMs() - cpuBefore,
        wall.elapsed() < 5000 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    const int records = argc > 1 ? qBound(1, QByteArray(argv[1]).toInt(), 60000) : 60000;
    const int naiveRows = argc > 2 ? qBound(0, QByteArray(argv[2]).toInt(), 60000) : 60000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QApplication app(argc, argv);
    QTemporaryDir work;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path());
    startLikeMain();

    dispatchPath(records);
    endToEnd(records);
    if (naiveRows > 0)
        naiveFill(naiveRows);
    return 0;
}
