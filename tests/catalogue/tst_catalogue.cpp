// Keeps the English and Chinese catalogues complete: every text the window passes through tr()
// needs an English entry, and the Chinese catalogue gives each text back unchanged.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

static const char windowContext[] = "MainWindow";

struct TsMessage
{
    QString context, source, comment, translation;
    bool finished = false; // has a translation element without a type ("unfinished", ...)

    QString in(const QTranslator &catalogue) const
    {
        return catalogue.translate(windowContext, source.toUtf8(),
                                   comment.isEmpty() ? nullptr : comment.toUtf8().constData());
    }
    // Source with line breaks made visible, and comment, for failure messages.
    QString shown() const { return '"' + QString(source).replace('\n', "\\n") + "\" " + comment; }
};

// Every message of a Qt Linguist file; a file that cannot be read or parsed sets *error.
static QVector<TsMessage> readTs(const QString &path, QString *error)
{
    QVector<TsMessage> messages;
    QFile file(path);
    file.open(QIODevice::ReadOnly); // a missing file shows up as a parse error below
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage m;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringRef name = xml.name();
        if (xml.isEndElement() && name == QLatin1String("message"))
            messages.append(m);
        if (!xml.isStartElement())
            continue;
        if (name == QLatin1String("name"))
            context = xml.readElementText();
        else if (name == QLatin1String("message"))
            m = TsMessage{context, {}, {}, {}, false};
        else if (name == QLatin1String("source"))
            m.source = xml.readElementText();
        else if (name == QLatin1String("comment"))
            m.comment = xml.readElementText();
        else if (name == QLatin1String("translation")) {
            m.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    if (xml.hasError())
        *error = QStringLiteral("%1:%2: %3 %4").arg(path).arg(xml.lineNumber())
                     .arg(xml.errorString(), file.errorString());
    return messages;
}

class TestCatalogue : public QObject
{
    Q_OBJECT

    QTranslator english;
    QTranslator chinese;

private slots:
    void initTestCase()
    {
        // The catalogues are compiled into tiltgui, a static library: register them by hand.
        Q_INIT_RESOURCE(translations);
        QVERIFY2(english.load(":/tr_en.qm"), "cannot load :/tr_en.qm");
        QVERIFY2(chinese.load(":/tr_zh.qm"), "cannot load :/tr_zh.qm");
    }

    // Extracts the texts of the sources as they stand now and looks each up in both catalogues.
    void codeTextsHaveEntries()
    {
        QTemporaryDir work;
        const QString scanned = work.filePath("scan.ts");
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(LUPDATE_EXECUTABLE,
                      {TILT_SOURCE_DIR "/src", "-extensions", "cpp,h,ui", "-locations", "none",
                       "-no-obsolete", "-ts", scanned});
        QVERIFY2(lupdate.waitForFinished(-1), qPrintable(lupdate.errorString()));
        const QString output = QString::fromLocal8Bit(lupdate.readAll());
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 qUtf8Printable(output));
        QString error;
        const QVector<TsMessage> texts = readTs(scanned, &error);
        QVERIFY2(error.isEmpty(), qUtf8Printable(error));
        QVERIFY2(!texts.isEmpty(), qUtf8Printable("lupdate found no text in src/:\n" + output));

        QStringList problems;
        for (const TsMessage &m : texts) {
            // The catalogues hold one context only; a text under any other is never translated.
            if (m.context != QLatin1String(windowContext))
                problems << m.shown() + "is in context " + m.context;
            else if (m.in(english).isEmpty())
                problems << m.shown() + "has no English entry";
            else if (m.in(chinese) != m.source)
                problems << m.shown() + "is not given back by the Chinese catalogue";
        }
        QVERIFY2(problems.isEmpty(), qUtf8Printable("Not covered:\n  " + problems.join("\n  ")));
    }

    void keyEntries_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("englishText");
        QTest::newRow("language label") << "Select Language: English" << "语言：中文";
        QTest::newRow("ten leading blanks") << "          OrvexLoRaWAN无线倾角上位机"
                                            << "          LoRaWAN Inclinometer Software";
        QTest::newRow("line break") << "请选择正确的串口或串口被占用!"
            << "Please select the correct serial port or the serial\nport is occupied!";
        QTest::newRow("two leading blanks")
            << "  LoRaWAN模块参数设置" << "LoRaWAN module parameter settings";
        QTest::newRow("leading blank") << " 角度报警阈值：" << "Angle Alarm Threshold：(0-30.00)";
        QTest::newRow("zero-width non-joiner")
            << "加载模板" << QString::fromUtf8("Load Template\u200c");
        QTest::newRow("two inner blanks") << "一键设置参数" << "One-Click  settings";
        QTest::newRow("ASCII mark")
            << "一键设置参数成功!" << "One-Click  parameter setting succeeded!";
        QTest::newRow("full-width mark")
            << "一键设置参数成功！" << "One-Click  parameter setting succeeded!";
        QTest::newRow("markup")
            << "删除操作将删除传感器保存的数据，请谨慎操作！<br>删除过程用时大约6S，请耐心等待！"
            << "The delete operation will delete Saved data, please <br>operate with caution! "
               "The deletion process takes <br>about 6S, please be patient!";
        QTest::newRow("percent after argument") << "已发送%1%" << "Already sent%1%";
        QTest::newRow("argument") << "模板无法写入：%1" << "The template could not be written: %1";
    }

    void keyEntries()
    {
        QFETCH(QString, source);
        QFETCH(QString, englishText);
        const QByteArray key = source.toUtf8();
        QCOMPARE(english.translate(windowContext, key.constData()), englishText);
        QCOMPARE(chinese.translate(windowContext, key.constData()), source);
    }

    // The committed catalogues: every message finished, and both hold the same sources.
    void committedCataloguesAgree()
    {
        QString error;
        const QString dir = TILT_SOURCE_DIR "/src/resources/translations/";
        const QVector<TsMessage> en = readTs(dir + "tr_en.ts", &error);
        const QVector<TsMessage> zh = readTs(dir + "tr_zh.ts", &error);
        QVERIFY2(error.isEmpty(), qUtf8Printable(error));
        QStringList problems, enSources, zhSources;
        for (const bool chineseFile : {false, true}) {
            for (const TsMessage &m : chineseFile ? zh : en) {
                (chineseFile ? zhSources : enSources) << m.shown();
                const bool right =
                    chineseFile ? m.translation == m.source : !m.translation.isEmpty();
                if (!m.finished || !right || m.context != QLatin1String(windowContext))
                    problems << (chineseFile ? "tr_zh.ts " : "tr_en.ts ") + m.shown() + "is wrong";
            }
        }
        for (const QString &source : enSources + zhSources)
            if (!enSources.contains(source) || !zhSources.contains(source))
                problems << source + "is in one catalogue only";
        QVERIFY2(problems.isEmpty(),
                 qUtf8Printable("Committed catalogues:\n  " + problems.join("\n  ")));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
