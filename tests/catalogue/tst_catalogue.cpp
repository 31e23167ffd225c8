// Keeps the English and Chinese catalogues complete: every text the window passes through tr()
// must have an English entry, and the Chinese catalogue must give each text back unchanged.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

// The catalogues are compiled into tiltgui (a static library), so their resource file must be
// registered by hand. Q_INIT_RESOURCE may not be used inside a namespace.
static void initCatalogueResources()
{
    Q_INIT_RESOURCE(translations);
}

namespace {

const char windowContext[] = "MainWindow";

struct TsMessage
{
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString translationType; // "unfinished", "vanished", "obsolete" or empty when finished
    bool hasTranslation = false;
};

QString sourceDir()
{
    return QStringLiteral(TILT_SOURCE_DIR);
}

QString catalogueFile(const char *name)
{
    return QDir(sourceDir()).filePath(QStringLiteral("src/resources/translations/") + name);
}

// Reads every message of a Qt Linguist file. On failure sets *error and returns what was read.
QVector<TsMessage> readTs(const QString &path, QString *error)
{
    QVector<TsMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage current;
    bool inMessage = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringRef name = xml.name();
            if (name == QLatin1String("context")) {
                context.clear();
            } else if (name == QLatin1String("name") && !inMessage) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                current = TsMessage();
                current.context = context;
                inMessage = true;
            } else if (inMessage && name == QLatin1String("source")) {
                current.source = xml.readElementText();
            } else if (inMessage && name == QLatin1String("comment")) {
                current.comment = xml.readElementText();
            } else if (inMessage && name == QLatin1String("translation")) {
                current.hasTranslation = true;
                current.translationType = xml.attributes().value(QLatin1String("type")).toString();
                current.translation =
                    xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages.append(current);
            inMessage = false;
        }
    }
    if (xml.hasError())
        *error = QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
    return messages;
}

// Makes leading and trailing blanks and line breaks visible in failure messages.
QString shown(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString messageKey(const TsMessage &m)
{
    return m.source + QChar(0) + m.comment;
}

QString translated(const QTranslator &translator, const TsMessage &m)
{
    const QByteArray source = m.source.toUtf8();
    const QByteArray comment = m.comment.toUtf8();
    return translator.translate(windowContext, source.constData(),
                                comment.isEmpty() ? nullptr : comment.constData());
}

QString report(const QString &heading, const QStringList &lines)
{
    return heading + QLatin1String(" (") + QString::number(lines.size()) + QLatin1String("):\n  ")
        + lines.join(QLatin1String("\n  "));
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void codeTextsHaveEntries();
    void codeTextsUseWindowContext();
    void keyEntries_data();
    void keyEntries();
    void englishCatalogueIsFinished();
    void chineseCatalogueMatchesEnglish();

private:
    QTranslator english;
    QTranslator chinese;
    QVector<TsMessage> codeTexts;
    QString scanError;
};

void TestCatalogue::initTestCase()
{
    initCatalogueResources();
    QVERIFY2(english.load(QStringLiteral(":/tr_en.qm")), "cannot load :/tr_en.qm");
    QVERIFY2(chinese.load(QStringLiteral(":/tr_zh.qm")), "cannot load :/tr_zh.qm");

    // Extract the texts of the sources as they stand now; a failure is reported by the tests
    // that need the result, so the others still run.
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString scanned = work.filePath(QStringLiteral("scan.ts"));
    const QString srcDir = QDir(sourceDir()).filePath(QStringLiteral("src"));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(LUPDATE_EXECUTABLE),
                  {srcDir, QStringLiteral("-extensions"), QStringLiteral("cpp,h,ui"),
                   QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-no-obsolete"), QStringLiteral("-ts"), scanned});
    if (!lupdate.waitForStarted(-1) || !lupdate.waitForFinished(-1)) {
        scanError = QStringLiteral("cannot run %1: %2")
                        .arg(QStringLiteral(LUPDATE_EXECUTABLE), lupdate.errorString());
        return;
    }
    const QString output = QString::fromLocal8Bit(lupdate.readAll());
    if (lupdate.exitStatus() != QProcess::NormalExit || lupdate.exitCode() != 0) {
        scanError = QStringLiteral("lupdate failed on %1:\n%2").arg(srcDir, output);
        return;
    }
    codeTexts = readTs(scanned, &scanError);
    if (scanError.isEmpty() && codeTexts.isEmpty())
        scanError =
            QStringLiteral("lupdate found no translatable text in %1:\n%2").arg(srcDir, output);
}

void TestCatalogue::codeTextsHaveEntries()
{
    QVERIFY2(scanError.isEmpty(), qUtf8Printable(scanError));
    QStringList noEnglish;
    QStringList notChinese;
    int windowTexts = 0;
    for (const TsMessage &m : qAsConst(codeTexts)) {
        if (m.context != QLatin1String(windowContext))
            continue;
        ++windowTexts;
        if (translated(english, m).isEmpty())
            noEnglish << shown(m.source);
        if (translated(chinese, m) != m.source)
            notChinese << shown(m.source);
    }
    QVERIFY2(windowTexts > 0, "the sources hold no text of the window context; the scan is broken");
    QVERIFY2(noEnglish.isEmpty(),
             qUtf8Printable(report("Texts in code without an English entry", noEnglish)));
    QVERIFY2(notChinese.isEmpty(),
             qUtf8Printable(report("Texts in code the Chinese catalogue does not give back",
                                   notChinese)));
}

void TestCatalogue::codeTextsUseWindowContext()
{
    // The catalogues hold one context only; a text under any other would never be translated.
    QVERIFY2(scanError.isEmpty(), qUtf8Printable(scanError));
    QStringList elsewhere;
    for (const TsMessage &m : qAsConst(codeTexts)) {
        if (m.context != QLatin1String(windowContext))
            elsewhere << m.context + QLatin1String(": ") + shown(m.source);
    }
    QVERIFY2(elsewhere.isEmpty(),
             qUtf8Printable(report("Texts outside the MainWindow context", elsewhere)));
}

void TestCatalogue::keyEntries_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("englishText");

    QTest::newRow("port open button") << QStringLiteral("打开") << QStringLiteral("Open");
    QTest::newRow("port close button") << QStringLiteral("关闭") << QStringLiteral("Close");
    QTest::newRow("port connected") << QStringLiteral("串口已连接") << QStringLiteral("bond");
    QTest::newRow("port disconnected") << QStringLiteral("串口已断开") << QStringLiteral("break");
    QTest::newRow("port open failure")
        << QStringLiteral("请选择正确的串口或串口被占用!")
        << QStringLiteral("Please select the correct serial port or the serial\nport is occupied!");
    QTest::newRow("device removed")
        << QStringLiteral("串口已断开：设备已移除")
        << QStringLiteral("Serial port closed: device removed");
    QTest::newRow("language label")
        << QStringLiteral("Select Language: English") << QStringLiteral("语言：中文");
    QTest::newRow("title, ten leading blanks")
        << QStringLiteral("          OrvexLoRaWAN无线倾角上位机")
        << QStringLiteral("          LoRaWAN Inclinometer Software");
    QTest::newRow("company") << QStringLiteral("Orvex") << QStringLiteral("Orvex");
    QTest::newRow("help e-mail")
        << QStringLiteral("邮箱：support@orvex.example")
        << QStringLiteral("Email:support@orvex.example");
    QTest::newRow("table header temperature")
        << QStringLiteral("Temp(℃)") << QStringLiteral("Temp(℃)");
    QTest::newRow("live view kind") << QStringLiteral("角度（姿态）") << QStringLiteral("Angle");
    QTest::newRow("module group, two leading blanks")
        << QStringLiteral("  LoRaWAN模块参数设置")
        << QStringLiteral("LoRaWAN module parameter settings");
    QTest::newRow("alarm label")
        << QStringLiteral(" 角度报警阈值：") << QStringLiteral("Angle Alarm Threshold：(0-30.00)");
    QTest::newRow("load template, zero-width non-joiner")
        << QStringLiteral("加载模板") << QStringLiteral("Load Template\u200c");
    QTest::newRow("reply timeout")
        << QStringLiteral("信息接收超时!") << QStringLiteral("Message reception timed out!");
    QTest::newRow("sensor one-key success, ASCII mark")
        << QStringLiteral("一键设置参数成功!")
        << QStringLiteral("One-Click  parameter setting succeeded!");
    QTest::newRow("module one-key success, full-width mark")
        << QStringLiteral("一键设置参数成功！")
        << QStringLiteral("One-Click  parameter setting succeeded!");
    QTest::newRow("one-key failure")
        << QStringLiteral("一键设置参数失败！！")
        << QStringLiteral("One-Click  parameter setting failed!");
    QTest::newRow("sensor factory question")
        << QStringLiteral("是否把传感器参数恢复到出厂设置?")
        << QStringLiteral("Do you restore the inclinometer parameter to \nthe factory settings?");
    QTest::newRow("band answer") << QStringLiteral("频段设置成功！")
                                 << QStringLiteral("Band setting succeeded!");
    QTest::newRow("readback count")
        << QStringLiteral("已读取数据%1组") << QStringLiteral("Data %1 sets have been read");
    QTest::newRow("delete question")
        << QStringLiteral("删除操作将删除传感器保存的数据，请谨慎操作！<br>删除过程用时大约6S，请耐心等待！")
        << QStringLiteral("The delete operation will delete Saved data, please <br>operate with "
                          "caution! The deletion process takes <br>about 6S, please be patient!");
    QTest::newRow("export button") << QStringLiteral(" 导出") << QStringLiteral("Export");
    QTest::newRow("firmware size") << QStringLiteral("固件大小：%1")
                                   << QStringLiteral("Firmware size: %1");
    QTest::newRow("firmware progress") << QStringLiteral("已发送%1%")
                                       << QStringLiteral("Already sent%1%");
    QTest::newRow("boot loader reply")
        << QStringLiteral("设备接收成功") << QStringLiteral("received successfully!");
    QTest::newRow("firmware model mismatch")
        << QStringLiteral("升级包版本型号和设备版本型号不匹配，升级失败!")
        << QStringLiteral("The upgrade packet version model does not match the\n device version "
                          "model, the upgrade fails!");
    QTest::newRow("sensor template question")
        << QStringLiteral("是否将当前参数保存为本地配置文件？<br>此操作不会修改传感器内部参数。")
        << QStringLiteral("Save parameters to app storage? <br>Sensor settings will not be "
                          "modified.");
    QTest::newRow("template write failure")
        << QStringLiteral("模板无法写入：%1")
        << QStringLiteral("The template could not be written: %1");
}

void TestCatalogue::keyEntries()
{
    QFETCH(QString, source);
    QFETCH(QString, englishText);
    const QByteArray key = source.toUtf8();
    QCOMPARE(english.translate(windowContext, key.constData()), englishText);
    QCOMPARE(chinese.translate(windowContext, key.constData()), source);
}

void TestCatalogue::englishCatalogueIsFinished()
{
    QString error;
    const QVector<TsMessage> messages = readTs(catalogueFile("tr_en.ts"), &error);
    QVERIFY2(error.isEmpty(), qUtf8Printable(error));
    QVERIFY2(!messages.isEmpty(), "tr_en.ts holds no message");

    QStringList problems;
    QSet<QString> seen;
    for (const TsMessage &m : messages) {
        if (m.context != QLatin1String(windowContext))
            problems << shown(m.source) + QLatin1String(" is in context ") + m.context;
        if (!m.hasTranslation || m.translation.isEmpty())
            problems << shown(m.source) + QLatin1String(" has no translation");
        else if (!m.translationType.isEmpty())
            problems << shown(m.source) + QLatin1String(" is ") + m.translationType;
        if (seen.contains(messageKey(m)))
            problems << shown(m.source) + QLatin1String(" appears twice");
        seen.insert(messageKey(m));
    }
    QVERIFY2(problems.isEmpty(), qUtf8Printable(report("Problems in tr_en.ts", problems)));
}

void TestCatalogue::chineseCatalogueMatchesEnglish()
{
    QString error;
    const QVector<TsMessage> en = readTs(catalogueFile("tr_en.ts"), &error);
    QVERIFY2(error.isEmpty(), qUtf8Printable(error));
    const QVector<TsMessage> zh = readTs(catalogueFile("tr_zh.ts"), &error);
    QVERIFY2(error.isEmpty(), qUtf8Printable(error));
    QVERIFY2(!zh.isEmpty(), "tr_zh.ts holds no message");

    QSet<QString> englishKeys;
    for (const TsMessage &m : en)
        englishKeys.insert(messageKey(m));

    QStringList problems;
    QSet<QString> chineseKeys;
    for (const TsMessage &m : zh) {
        chineseKeys.insert(messageKey(m));
        if (!englishKeys.contains(messageKey(m)))
            problems << shown(m.source) + QLatin1String(" is missing from tr_en.ts");
        if (m.context != QLatin1String(windowContext))
            problems << shown(m.source) + QLatin1String(" is in context ") + m.context;
        if (!m.hasTranslation || !m.translationType.isEmpty() || m.translation != m.source)
            problems << shown(m.source) + QLatin1String(" is not translated to itself");
    }
    for (const TsMessage &m : en) {
        if (!chineseKeys.contains(messageKey(m)))
            problems << shown(m.source) + QLatin1String(" is missing from tr_zh.ts");
    }
    QVERIFY2(problems.isEmpty(),
             qUtf8Printable(report("tr_zh.ts does not match tr_en.ts", problems)));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
