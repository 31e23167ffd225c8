#pragma once

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QPixmap>

class QButtonGroup;
class QLabel;
class QStandardItemModel;
class QTimer;
class QTranslator;
class Protocol;
class Serial;
struct AtStep;
struct Reply;
struct SensorForm;
struct SensorRequest;

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

    // Reception and dispatch.
    void readSerialData();
    void timeoutUpdate();
    void timeUpdate();

    // Live measurement and the record file.
    void timeIAPUpdate();
    void Save_Data_File();

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void on_openPortButton_clicked();
    void on_scanPortButton_clicked();
    void on_actionabout_triggered();
    void on_pushButton_Send_clicked();
    void on_pushButton_clear_clicked();
    void onPortLost();

    void on_getAddrButton_clicked();
    void on_pushButtonStart_clicked();
    void on_pushButton_Change_clicked();

    void on_Dev_Button_Addr_clicked();
    void on_Dev_Button_Baud_clicked();
    void on_Dev_Button_Send_clicked();
    void on_Dev_Button_Zero_clicked();
    void on_Dev_Button_ZeroF_clicked();
    void on_Dev_Button_Auto_clicked();
    void on_Dev_Button_Sleep_clicked();
    void on_Dev_Button_SleepF_clicked();
    void on_pushButtonAlarm_clicked();
    void on_Dev_Button_Sport_clicked();
    void on_Dev_Button_Yu_clicked();
    void on_Dev_Button_Date_clicked();
    void on_Dev_Button_DateF_clicked();
    void on_Dev_Button_Instal_clicked();
    void on_Dev_Button_Save_clicked();
    void on_Dev_Button_Default_clicked();
    void on_pushButton_ssetting_clicked();

    void on_Lw_Button_Band_clicked();
    void on_Lw_Button_BandF_clicked();
    void on_Lw_Button_Heart_clicked();
    void on_Lw_Button_HeartF_clicked();
    void on_Lw_Button_Chanel_clicked();
    void on_Lw_Button_ChanelF_clicked();
    void on_Lw_Button_Deveui_clicked();
    void on_Lw_Button_Appeui_clicked();
    void on_Lw_Button_Appkey_clicked();
    void on_pushButton_lsetting_clicked();
    void on_Button_Default_LW_clicked();
    void on_Button_Save_LW_clicked();

    void on_pushButton_daochu_clicked();
    void on_pushButton_daoru_clicked();
    void on_pushButton_ldaochu_clicked();
    void on_pushButton_ldaoru_clicked();

private:
    // Port and language helpers shared by the slots above.
    void switchLanguage();
    void showPortOpen();
    void showPortClosed();
    bool portIsOpen() const;
    void showStatus(const QString &text);
    void retranslateTitle();
    void appendTerminalLine(const QString &line);

    // Reception: one complete reply taken off rxBuffer and acted on; false when none was there.
    bool handleReadData();
    void applyReply(const Reply &reply, const QByteArray &bytes);
    void countSensorAck();
    void showLiveData();

    // Sensor requests: the checks every request makes, pausing live polling around a command,
    // and sending one frame to the working address.
    bool liveRunning() const;
    bool sensorRequestAllowed();
    void pauseLivePolling();
    void resumeLivePolling();
    void sendSensorFrame(const SensorRequest &request);
    void runSensorCommand(const QString &status, const SensorRequest &request);
    bool confirmFactoryReset(const QString &question);
    SensorForm sensorForm() const;
    /// Shows a sensor form's values (all but the date and time) in the widgets.
    void showSensorForm(const SensorForm &form);

    // Templates: the question before, and the result after saving.
    bool askTemplateQuestion(const QString &question);
    void reportTemplateSaved(bool written, const QString &success);

    // Radio-module exchanges: the button is held disabled and live polling paused meanwhile.
    void runModuleSteps(QWidget *button, const QList<AtStep> &steps);
    void runModuleCommand(const QString &status, QWidget *button,
                          const QList<QByteArray> &commands);

    Ui::MainWindow *ui;
    Serial *serial;
    QTimer *replyGapTimer;
    QTimer *replyTimeoutTimer;
    QTimer *sequenceTimer;
    Protocol *protocol;
    QByteArray rxBuffer;
    QByteArray lastReply;
    int waitingReply = 0;
    int sequenceMode = 0;
    int dataKind = 0;
    int oneKeySensorOkCount = 0;
    int oneKeyModuleOkCount = 0;
    bool recordWriteFailing = false;
    QStandardItemModel *model;
    QLabel *companyLabel;
    QLabel *versionLabel;
    QButtonGroup *readRangeGroup;
    QButtonGroup *readOrderGroup;
    QTranslator *switchTranslator = nullptr;
    QPixmap bannerPixmap;
    QPixmap logoPixmap;
};
