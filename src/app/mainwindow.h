#pragma once

#include <QByteArray>
#include <QMainWindow>

class QButtonGroup;
class QLabel;
class QStandardItemModel;
class QTimer;
class QTranslator;
class Serial;

namespace Ui {
class MainWindow;
}

/// The one window: every workflow of the tool is a slot here; the mechanics live in the core
/// library and in the small classes the window owns.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    /// Waits msec milliseconds on a monotonic clock while handling every event.
    void Delay_MSec_Suspend(int msec);

    // Serial terminal tab.
    void Serial_Show(QByteArray bytes);
    void Serial_Show_Recive(QByteArray rec);

    // Reception.
    void readSerialData();

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void on_openPortButton_clicked();
    void on_scanPortButton_clicked();
    void on_actionabout_triggered();
    void on_pushButton_Send_clicked();
    void on_pushButton_clear_clicked();
    void onPortLost();

private:
    // Port and language helpers shared by the slots above.
    void switchLanguage();
    void showPortOpen();
    void showPortClosed();
    bool portIsOpen() const;
    void showStatus(const QString &text);
    void retranslateTitle();
    void appendTerminalLine(const QString &line);

    Ui::MainWindow *ui;
    Serial *serial;
    QTimer *replyGapTimer;
    QTimer *replyTimeoutTimer;
    QTimer *sequenceTimer;
    QByteArray rxBuffer;
    int sequenceMode = 0;
    QStandardItemModel *model;
    QLabel *companyLabel;
    QLabel *versionLabel;
    QButtonGroup *readRangeGroup;
    QButtonGroup *readOrderGroup;
    QTranslator *switchTranslator = nullptr;
};
