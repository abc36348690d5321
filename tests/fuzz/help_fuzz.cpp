// Opens arbitrary bytes as the help file, through the child process that reads it with
// chmlib: whatever chmlib does there, this process must get a file or nothing, in time.
// (The child's own side is fuzzed in-process by help_child_fuzz.)
#include "fuzzsupport.h"

#include "app/chmfile.h"

#include <chrono>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = fuzz::writeScratch(QStringLiteral("help.chm"), fuzz::bytesOf(data, size));
    const auto started = std::chrono::steady_clock::now();
    const auto chm = app::ChmFile::open(path);
    fuzz::check(std::chrono::steady_clock::now() - started <
                    app::ChmFile::kDeadline + std::chrono::seconds(2),
                "the help file took longer than its deadline");
    if (chm) {
        if (!chm->defaultTopic().isEmpty())
            fuzz::check(chm->read(chm->defaultTopic()).has_value(), "a default topic not held");
        if (!chm->contentsFile().isEmpty())
            chm->read(chm->contentsFile());
    }
    return 0;
}
