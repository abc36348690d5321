// Feeds arbitrary bytes to the settings file. The eleven settings always load (a value
// that is not plain text gives the default); whatever is saved is read back the same, and
// every line that was not changed stays as it was.
#include "fuzzsupport.h"

#include "coding/settings.h"
#include "coding/settingsfile.h"

#include <QFile>

#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    using coding::SettingsFile;

    SettingsFile file(QStringLiteral("/nonexistent"));
    file.parse(bytes);
    // Written and read again, a file stays as it was written.
    SettingsFile again(QStringLiteral("/nonexistent"));
    again.parse(file.bytes());
    fuzz::check(again.bytes() == file.bytes(), "a file changes each time it is written");

    // Any text set reads back as it was set.
    const QString group = QStringLiteral("用户设置");
    const QString text = QString::fromUtf8(bytes.left(40));
    file.setValue(group, QStringLiteral("交替颜色一"), text);
    SettingsFile reread(QStringLiteral("/nonexistent"));
    reread.parse(file.bytes());
    const auto back = reread.value(group, QStringLiteral("交替颜色一"));
    if (!back || *back != text)
        std::fprintf(stderr, "set:  %s\nback: %s\nfile: %s\n", qPrintable(text),
                     back ? qPrintable(*back) : "(none)", file.bytes().constData());
    fuzz::check(back.has_value() && *back == text, "a value reads back different");

    const QString path = fuzz::writeScratch(QStringLiteral("Trevix2006.conf"), bytes);
    coding::SettingValues values;
    {
        coding::Settings settings(path);
        settings.seedDefaults();
        settings.loadInto(values);
        fuzz::check(values.LimitTimeLen >= -32768 && values.LimitTimeLen <= 32767,
                    "a time limit out of range");
        if (settings.loadError().isEmpty())
            fuzz::check(settings.saveAll(values), "settings that were read cannot be saved");
    }
    coding::SettingValues reloaded;
    coding::Settings settings(path);
    settings.loadInto(reloaded);
    fuzz::check(reloaded == values, "saved settings load different");
    return 0;
}
