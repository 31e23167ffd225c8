#include "app/mainwindow.h"

#include "app/startup.h"
#include "chart/charttab.h"
#include "records/recordtablemodel.h"
#include "records/rownumberheader.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    initTiltResources();
    ui->setupUi(this);
    for (QLabel *label : {ui->label_web, ui->label_lan, ui->label_addr}) {
        label->installEventFilter(this);
        label->setMouseTracking(true);
    }
    // Linux users also reach sensors through links and pseudo-terminals: let them type a name.
    ui->portComboBox->setEditable(true);
#ifndef Q_OS_WIN
    // The form's default record folder exists only on Windows.
    ui->lineEdit_Save->setText(QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
#endif
    defaultRecordFolder = ui->lineEdit_Save->text();

    companyLabel = new QLabel(tr("Orvex"));
    versionLabel = new QLabel(QStringLiteral("Version：V1.0.4"));
    ui->statusBar->addPermanentWidget(companyLabel);
    ui->statusBar->addPermanentWidget(versionLabel);

    QFont titleFont(QStringLiteral("Microsoft YaHei UI"), 19);
    titleFont.setWeight(QFont::Bold);
    ui->label_pix->setFont(titleFont);
    QPalette titlePalette = ui->label_pix->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    ui->label_pix->setPalette(titlePalette);
    retranslateTitle();

    ui->pushButtonStart->setIcon(QIcon(QStringLiteral(":/start.png")));
    for (QLabel *label : {ui->lable_tip, ui->lable_tip2, ui->label_17}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        label->setPalette(palette);
    }

    const QDateTime now = QDateTime::currentDateTime();
    ui->lineEdit_y->setText(now.toString(QStringLiteral("yy")));
    ui->lineEdit_m->setText(now.toString(QStringLiteral("MM")));
    ui->lineEdit_d->setText(now.toString(QStringLiteral("dd")));
    ui->lineEdit_h->setText(now.toString(QStringLiteral("hh")));
    ui->lineEdit_mm->setText(now.toString(QStringLiteral("mm")));
    ui->lineEdit_s->setText(now.toString(QStringLiteral("ss")));

    serial = new Serial(this);
    replyGapTimer = new QTimer(this);
    replyGapTimer->setTimerType(Qt::PreciseTimer);
    replyTimeoutTimer = new QTimer(this);
    sequenceTimer = new QTimer(this);
    sequenceTimer->setTimerType(Qt::PreciseTimer);

    ui->portComboBox->addItems(serial->listPorts());
    ui->baudComboBox->setCurrentIndex(4);

    connect(serial, &Serial::readSignal, this, &MainWindow::readSerialData);
    connect(serial, &Serial::serialshowSignal, this, &MainWindow::Serial_Show);
    connect(serial, &Serial::portLostSignal, this, &MainWindow::onPortLost);
    connect(replyGapTimer, &QTimer::timeout, this, &MainWindow::timeUpdate);
    connect(replyTimeoutTimer, &QTimer::timeout, this, &MainWindow::timeoutUpdate);
    connect(sequenceTimer, &QTimer::timeout, this, &MainWindow::timeIAPUpdate);
    setUpReconnect();

    readRangeGroup = new QButtonGroup(this);
    readRangeGroup->addButton(ui->radioButtonALL, 0);
    readRangeGroup->addButton(ui->radioButtonPoint, 1);
    readOrderGroup = new QButtonGroup(this);
    readOrderGroup->addButton(ui->radioButtonTimeUp, 0);
    readOrderGroup->addButton(ui->radioButtonTimeDown, 1);
    ui->radioButtonALL->setChecked(true);
    ui->radioButtonTimeUp->setChecked(true);
    ui->lineEditBegin->setEnabled(false);
    ui->lineEditEnd->setEnabled(false);
    ui->lineEditBegin->setText(QStringLiteral("1"));
    ui->lineEditEnd->setText(QStringLiteral("60000"));

    const QStringList headers = {tr("Date"), tr("Time"), tr("X(°)"), tr("Y(°)"), tr("Z(°)"),
                                 tr("X(g)"), tr("Y(g)"), tr("Z(g)"), tr("Temp(℃)"), tr("Power")};
    model = new RecordTableModel(headers, this);
    tableRedrawTimer = new QTimer(this);
    tableRedrawTimer->setSingleShot(true);
    connect(tableRedrawTimer, &QTimer::timeout, this, [this] { showTableEnd(true); });
    ui->tableView->setVerticalHeader(new RowNumberHeader(ui->tableView));
    ui->tableView->setModel(model);
    chartTab = new ChartTab(model);
    ui->tabWidget->addTab(chartTab, ChartTab::title());
    ui->tableView->horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section {color: black;padding-left: 4px;border: 1px solid #6c6c6c;}"));
    ui->tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int widths[] = {90, 55, 58, 58, 58, 58, 58, 58, 57, 40};
    QHeaderView *header = ui->tableView->horizontalHeader();
    for (int column = 0; column < headers.size(); ++column) {
        ui->tableView->setColumnWidth(column, widths[column]);
        const bool fixed = column == 0 || column == headers.size() - 1;
        header->setSectionResizeMode(column, fixed ? QHeaderView::Fixed : QHeaderView::Stretch);
    }
}

// The children (port, timers, model) and the translator go with the window.
MainWindow::~MainWindow() = default;

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (busy.exchanges == 0) {
        event->accept();
        return;
    }
    // Quitting now would cut an exchange short and leave the device half set: it ends within
    // seconds, and the window closes then.
    event->ignore();
    closeWhenIdle = true;
    showStatus(tr("正在完成与设备的交换，完成后关闭窗口……"));
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    QPainter painter(this);
    // Every live-label update repaints the window behind it: the pictures are loaded and the
    // banner scaled once per width, not on every paint.
    if (bannerPixmap.width() != width())
        bannerPixmap = QPixmap(QStringLiteral(":/ovxt.png"))
                           .scaled(width(), 50, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (logoPixmap.isNull())
        logoPixmap = QPixmap(QStringLiteral(":/logo.ico"))
                         .scaled(46, 46, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawPixmap(0, 0, bannerPixmap);
    painter.drawPixmap(0, 1, logoPixmap);
}

void MainWindow::retranslateTitle()
{
    ui->label_pix->setText(tr("          OrvexLoRaWAN无线倾角上位机"));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    const bool helpLabel = label
                           && (label == ui->label_web || label == ui->label_lan
                               || label == ui->label_addr);
    if (!helpLabel)
        return QMainWindow::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave: {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText,
                         event->type() == QEvent::Enter ? Qt::darkCyan : Qt::black);
        label->setPalette(palette);
        return true;
    }
    case QEvent::MouseButtonPress:
        if (label == ui->label_web)
            QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + label->text()));
        else if (label == ui->label_addr)
            QDesktopServices::openUrl(QUrl::fromLocalFile(ui->lineEdit_Save->text()));
        else
            switchLanguage();
        return QMainWindow::eventFilter(watched, event);
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void MainWindow::Delay_MSec_Suspend(int msec)
{
    // A local event loop on a monotonic timer: handles serial input, timers and painting while
    // it waits, uses no CPU, and is not fooled by the clock crossing midnight.
    QEventLoop loop;
    QTimer::singleShot(qMax(0, msec), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::AllEvents);
}

void MainWindow::runExchange(const Exchange &exchange, QWidget *button, bool pauseLive,
                             const ExchangeVerdict &verdict)
{
    ++busy.exchanges;
    if (button)
        button->setEnabled(false);
    if (pauseLive)
        pauseLivePolling();
    if (verdict.answers)
        *verdict.answers = 0;
    // Answers are received and counted while each pause runs. When the port goes meanwhile the
    // rest is not sent, not even to the device when it comes back.
    const int session = portSession;
    for (const ExchangeStep &step : exchange) {
        if (session != portSession)
            break;
        serial->sendData(step.bytes);
        if (step.pauseMs > 0)
            Delay_MSec_Suspend(step.pauseMs);
    }
    if (verdict.answers) {
        if (session == portSession) // else the status says that the port went
            showStatus(
                *verdict.answers == expectedAnswers(exchange) ? verdict.success : verdict.failure);
        *verdict.answers = 0;
    }
    resumeLivePolling();
    if (button)
        button->setEnabled(true);
    if (--busy.exchanges == 0 && closeWhenIdle)
        QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::showStatus(const QString &text)
{
    ui->statusBar->showMessage(text);
}
