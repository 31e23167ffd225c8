// Template files. The program reads them as plain text itself; QSettings only rewrites a group,
// and it decodes typed values ("@Variant(...)" through QDataStream, which trusts the lengths in
// the file) when it reads the file first. Qt is not instrumented, so the target makes that path
// visible: whenever the program calls a file free of typed values, QSettings must find nothing
// but text in it, and a file with typed values must be refused before QSettings opens it.
#include "fuzzinput.h"

#include "templates/inigroup.h"
#include "templates/parametertemplate.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QTemporaryDir *folder = nullptr;

bool onlyText(const QVariant &value)
{
    if (value.userType() == QMetaType::QVariantList) {
        for (const QVariant &item : value.toList())
            if (item.userType() != QMetaType::QString)
                return false;
        return true;
    }
    return !value.isValid() || value.userType() == QMetaType::QString
        || value.userType() == QMetaType::QStringList;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static const QTemporaryDir files; // removed again at the end of the run
    folder = &files;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A new name each time: QSettings keeps files it has read in a cache by name.
    static int run = 0;
    const QString path = folder->filePath(QStringLiteral("t%1.ini").arg(++run));
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    ParameterTemplates::hasGroup(path, QStringLiteral("Sensor"));
    ParameterTemplates::hasGroup(path, QStringLiteral("Module"));
    const LoadedTemplate<SensorForm> sensor = ParameterTemplates::loadSensor(path);
    const LoadedTemplate<ModuleForm> module = ParameterTemplates::loadModule(path);
    FUZZ_CHECK(sensor.values.uploadMode >= 0 && sensor.values.uploadMode < 2);
    FUZZ_CHECK(module.values.band >= 0 && module.values.band < 7);

    if (IniGroup::fileHasTypedValues(content)) {
        FUZZ_CHECK(!ParameterTemplates::saveModule(path, module.values));
    } else {
        {
            QSettings file(path, QSettings::IniFormat);
            for (const QString &key : file.allKeys()) {
                if (!onlyText(file.value(key))) {
                    std::fprintf(
                        stderr, "QSettings decoded a typed value for '%s'\n", qPrintable(key));
                    FUZZ_CHECK(false);
                }
            }
        }
        // Rewriting costs a file write: one input in sixteen.
        if (content.size() % 16 == 0)
            ParameterTemplates::saveSensor(path, sensor.values);
    }
    QFile::remove(path);
    return 0;
}
