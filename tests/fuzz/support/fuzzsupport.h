// What the fuzzers share: a failed check aborts (a finding), Qt is started once, and
// inputs that must be files are written into a scratch folder of the process.
#pragma once
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Aborts with what when ok is false: libFuzzer keeps the input as a crash.
void check(bool ok, const char *what);

// Starts Qt once: a QGuiApplication on the offscreen platform when gui, else a
// QCoreApplication.
void startQt(int *argc, char ***argv, bool gui);

inline QByteArray bytesOf(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A folder of this process's own, made on first use and removed when it ends.
QString scratchDir();

// Writes bytes as the file name in the scratch folder (replacing it) and gives its path.
QString writeScratch(const QString &name, const QByteArray &bytes);

// The small dictionary of the segmentation library that the fuzzers load.
QString fixtureDir();

} // namespace fuzz
