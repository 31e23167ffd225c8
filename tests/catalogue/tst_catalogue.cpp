// Keeps the catalogues complete: every text the sources pass through tr() has a finished
// English entry, and the Chinese catalogue gives each text back unchanged.
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

// The messages of a Qt Linguist file as "context|source|comment|translation", with
// "|unfinished" after a translation that is not finished.
static QStringList readTs(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly); // a missing file shows up as a parse error
    QXmlStreamReader xml(&file);
    QStringList messages;
    QString context, part[3]; // source, comment, translation
    bool finished = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const int at
            = QStringList { "source", "comment", "translation" }.indexOf(xml.name().toString());
        if (xml.isEndElement() && xml.name() == QLatin1String("message"))
            messages << context + '|' + part[0] + '|' + part[1] + '|' + part[2]
                    + (finished ? "" : "|unfinished");
        else if (xml.isStartElement() && xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("message"))
            part[0] = part[1] = part[2] = QString();
        else if (xml.isStartElement() && at >= 0) {
            finished = at < 2 ? finished : xml.attributes().value("type").isEmpty();
            part[at] = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    return xml.hasError() ? QStringList { path + ": " + xml.errorString() } : messages;
}

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void textsHaveFinishedEntries()
    {
        Q_INIT_RESOURCE(translations); // compiled into tiltgui, a static library
        QTranslator english, chinese;
        QVERIFY(english.load(":/tr_en.qm") && chinese.load(":/tr_zh.qm"));
        QTemporaryDir work;
        QProcess lupdate; // the texts of the sources as they stand now
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(LUPDATE_EXECUTABLE,
            { TILT_SOURCE_DIR "/src", "-extensions", "cpp,h,ui", "-locations", "none", "-ts",
                work.filePath("scan.ts") });
        QVERIFY2(
            lupdate.waitForFinished(-1) && lupdate.exitCode() == 0, lupdate.readAll().constData());
        QStringList problems;
        const QStringList texts = readTs(work.filePath("scan.ts"));
        for (const QString &m : texts) {
            const QByteArray source = m.section('|', 1, 1).toUtf8(),
                             note = m.section('|', 2, 2).toUtf8();
            const QByteArray context = m.section('|', 0, 0).toUtf8();
            if (english.translate(context, source, note).isEmpty()
                || chinese.translate(context, source, note) != source)
                problems << "not covered: " + m;
        }
        // The committed catalogues: both finished, with the same texts, Chinese giving them back.
        const QString dir = TILT_SOURCE_DIR "/src/resources/translations/";
        const QStringList en = readTs(dir + "tr_en.ts"), zh = readTs(dir + "tr_zh.ts");
        for (int i = 0; i < qMax(en.size(), zh.size()); ++i)
            if (en.value(i).endsWith("|unfinished") || en.value(i).section('|', 3).isEmpty()
                || zh.value(i)
                    != zh.value(i).section('|', 0, 2) + '|' + zh.value(i).section('|', 1, 1)
                || en.value(i).section('|', 0, 2) != zh.value(i).section('|', 0, 2))
                problems << "committed: " + en.value(i) + " / " + zh.value(i);
        QVERIFY(!texts.isEmpty() && !en.isEmpty());
        QVERIFY2(problems.isEmpty(), qUtf8Printable(problems.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
