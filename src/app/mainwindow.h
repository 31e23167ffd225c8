#pragma once

#include "firmware/firmwarefile.h"
#include "firmware/firmwareupgrade.h"
#include "protocol/exchange.h"
#include "records/recordreadback.h"
#include "serial/portwatch.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPixmap>

#include <memory>

class ChartTab;
class QButtonGroup;
class QLabel;
class QTextEdit;
class QTimer;
class QTranslator;
class RecordTableModel;
class Serial;
struct LiveSample;
struct ModuleForm;
struct Reply;
struct SensorForm;
struct SensorRequest;

/// How a window exchange is judged: the answer counter it resets and reads, and the status
/// texts for "every counted answer came" and otherwise.
struct ExchangeVerdict
{
    int *answers = nullptr;
    QString success;
    QString failure;
};

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
    void readSerialData(const QByteArray &chunk);
    void timeoutUpdate();
    void timeUpdate();

    // Live measurement and the record file.
    void timeIAPUpdate();
    void Save_Data_File(const LiveSample &sample);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_openPortButton_clicked();
    void on_scanPortButton_clicked();
    void on_actionabout_triggered();
    void on_pushButton_Send_clicked();
    void on_pushButton_clear_clicked();
    void onPortLost();
    void on_autoReconnectCheckBox_toggled(bool on);
    void reconnectTick();

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

    void on_radioButtonALL_clicked();
    void on_radioButtonPoint_clicked();
    void on_radioButtonTimeUp_clicked();
    void on_radioButtonTimeDown_clicked();
    void on_pushButtonRead_clicked();
    void on_pushButtonStop_clicked();
    void on_pushButtonClear_clicked();
    void on_pushButtonDelete_clicked();
    void on_pushButtonExcel_clicked();

    void on_iapLoadFileButton_clicked();
    void on_iapDownLoadButton_clicked();
    void on_iapClearButton_clicked();

private:
    /// What the window is busy with. The buttons' texts, icons and enabled states follow it
    /// (showBusyState); nothing reads them back. The record readback and the firmware upgrade
    /// keep their own state.
    struct BusyState
    {
        bool portOpen = false;
        bool live = false;
        int exchanges = 0; // multi-step exchanges running (module exchanges may interleave)
    };

    /// Shows the busy state: texts, icons, colours and enabled widgets.
    void showBusyState();
    void switchLanguage();
    void closePort(const QString &status);
    /// Creates the reconnect timer and ticks the box as the settings store remembers it.
    void setUpReconnect();
    void stopWatch();
    void showStatus(const QString &text);
    void retranslateTitle();
    /// Appends a line to a log view as plain text: markup in it is shown, not rendered.
    void appendPlainLine(QTextEdit *view, const QString &line);

    // Reception: one complete reply taken off rxBuffer and acted on; false when none was there.
    bool handleReadData();
    void applyReply(const Reply &reply, const QByteArray &bytes);
    void showLiveSample(const LiveSample &sample);

    // Firmware upgrade: the loaded file, one tick of the transfer, a boot-loader reply.
    void LoadFile(bool addrF);
    void firmwareTick();
    void handleFirmwareReply(const QByteArray &reply, bool versionInfo);

    // Record readback: a page taken, a request sent with its reply time-out.
    void handleRecordPage(const QByteArray &page);
    /// Scrolls the table to its last record, now or at the next redraw.
    void showTableEnd(bool now);
    void sendReadbackRequest(const QByteArray &request, int timeoutMs);

    // Sensor requests: the checks every request makes, pausing live polling around a command,
    // and sending one frame to the working address.
    bool sensorRequestAllowed();
    quint32 workingAddress() const;
    void pauseLivePolling();
    void resumeLivePolling();
    void runSensorCommand(const QString &status, const SensorRequest &request);
    bool confirmFactoryReset(const QString &question);
    SensorForm sensorForm() const;
    /// Shows a sensor form's values (all but the date and time) in the widgets.
    void showSensorForm(const SensorForm &form);
    ModuleForm moduleForm() const;
    void showModuleForm(const ModuleForm &form);

    // Templates: the question before, and the result after saving or loading.
    bool askTemplateQuestion(const QString &question);
    void reportTemplateSaved(bool written, const QString &success);
    void reportTemplateLoaded(const QStringList &invalidKeys, const QString &success);

    /// Runs an exchange step by step with `button` (if any) held disabled and, when pauseLive, live
    /// polling paused. With `answers`, the counter is reset first and the verdict texts are
    /// shown after the last step: success when every counted answer came. Returns at the end.
    void runExchange(const Exchange &exchange, QWidget *button, bool pauseLive,
                     const ExchangeVerdict &verdict = {});
    void runModuleCommand(const QString &status, QWidget *button, const Exchange &exchange);

    std::unique_ptr<Ui::MainWindow> ui;
    Serial *serial;
    QTimer *replyGapTimer;
    QTimer *replyTimeoutTimer;
    QTimer *sequenceTimer;
    QTimer *reconnectTimer;
    PortWatch portWatch; // for the device lost last, while it is not back
    int portSession = 0; // counts closes: an exchange stops when its port went
    QByteArray rxBuffer;
    BusyState busy;
    bool closeWhenIdle = false; // the user closed the window while an exchange ran
    quint32 liveAddress = 0; // where live polling goes: taken at start, moved by a new address
    int waitingReply = 0;
    int sequenceMode = 0;
    int dataKind = 0;
    int oneKeySensorOkCount = 0;
    int oneKeyModuleOkCount = 0;
    QString defaultRecordFolder; // created when missing; a folder the user chose is not
    bool recordWriteFailing = false;
    RecordReadback readback;
    FirmwareUpgrade upgrade;
    FirmwareImage firmware; // the file loaded last
    QString firmwarePath;
    QString firmwareVersion;
    bool versionChecked = false; // the loader's version was judged in this upgrade
    RecordTableModel *model;
    ChartTab *chartTab; // the fifth tab
    QTimer *tableRedrawTimer;
    QElapsedTimer tableRedrawn;
    static constexpr int tableRedrawMs = 100;
    QLabel *companyLabel;
    QLabel *versionLabel;
    QButtonGroup *readRangeGroup;
    QButtonGroup *readOrderGroup;
    std::unique_ptr<QTranslator> switchTranslator;
    QPixmap bannerPixmap;
    QPixmap logoPixmap;
};
