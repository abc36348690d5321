// Budgets: opening, cleaning, segmenting, filtering and preparing a 2000-character
// text within 50 ms (the dictionary is loaded once beforehand), and a 1 GB file
// opening as quickly as a small one.
#include "prepare/filterfiles.h"
#include "prepare/handover.h"
#include "prepare/textfilereader.h"
#include "prepare/textpreparation.h"

#include "coding/marviklibrary.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString Paragraph =
    QStringLiteral("学习输入法的时候，最重要的是坚持练习。我们每天打一篇文章，先看清楚每个词，"
                   "再按照词组的编码输入。Windows系统自带的记事本可以保存UTF-8文本，2006年以后"
                   "的电脑大多也能直接打开GBK编码的文件。“熟能生巧”这句话说得很对：只要把常用的"
                   "词语记住，速度自然就会提高，正确率也会随之上升。\r\n");

class Texts {
public:
    Texts() {
        QString text;
        while (prepare::cleanText(text).size() < 2100)
            text += Paragraph;
        m_small = write("small.txt", text.toUtf8());
        // 1 GB, sparse: a megabyte of text, then a hole.
        QByteArray head;
        while (head.size() < 1024 * 1024)
            head += Paragraph.toUtf8();
        m_huge = write("huge.txt", head);
        QFile huge(m_huge);
        huge.resize(qint64(1) << 30);
        QFile filters(m_dir.filePath("filter.dat"));
        filters.open(QIODevice::WriteOnly);
        filters.write("#      x\r\n*      y\r\n");
    }
    QString small() const { return m_small; }
    QString huge() const { return m_huge; }
    QString dir() const { return m_dir.path(); }

private:
    QString write(const QString &name, const QByteArray &bytes) {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }
    QTemporaryDir m_dir; // removed with everything in it at the end
    QString m_small, m_huge;
};

Texts *texts = nullptr;

coding::MarvikLibrary &library() {
    static coding::MarvikLibrary lib(QStringLiteral(TREVIX_APP_DIR));
    return lib;
}

void BM_OpenAndPrepare2000(benchmark::State &state) {
    QString error;
    coding::LibraryError libraryError;
    if (!library().ensureLoaded(&libraryError)) {
        state.SkipWithError(libraryError.detail.toStdString().c_str());
        return;
    }
    const prepare::FilterFiles filterFiles(coding::AppDirectory::at(texts->dir()));
    qsizetype characters = 0;
    for (auto _ : state) {
        const prepare::TextFile file = prepare::readTextFile(texts->small());
        prepare::FilterList filters;
        filterFiles.load(&filters, &error);
        prepare::PrepareOptions options{true, true, filters.symbols()};
        auto prepared = prepare::segmentAndPrepare(library(), file.text, options, &libraryError);
        if (!prepared) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        characters = file.text.size();
        // The editor's hand-over does the most: the separators.
        auto separated = prepare::insertSeparators(*prepared);
        benchmark::DoNotOptimize(separated);
    }
    state.counters["characters"] = double(characters);
}
BENCHMARK(BM_OpenAndPrepare2000)->Unit(benchmark::kMillisecond);

// A filter list of 500 000 one-character symbols (a hand-edited or generated
// filter.dat): preparing a 2000-character text looks symbols up by their first
// character, so the list's length costs little.
void BM_PrepareWithManySymbols(benchmark::State &state) {
    const prepare::TextFile file = prepare::readTextFile(texts->small());
    coding::LibraryError libraryError;
    const QString tags = library().divideSentence(file.text, &libraryError);
    if (tags.size() != file.text.size()) {
        state.SkipWithError("segmentation failed");
        return;
    }
    prepare::PrepareOptions options{true, true, {}};
    options.symbols.reserve(500000);
    for (int i = 0; i < 500000; ++i)
        options.symbols << QString(QChar(char16_t(0x4E00 + i % 20000)));
    options.symbols << QStringLiteral("，");
    for (auto _ : state)
        benchmark::DoNotOptimize(prepare::prepareText(file.text, tags, options));
    state.counters["symbols"] = double(options.symbols.size());
}
BENCHMARK(BM_PrepareWithManySymbols)->Unit(benchmark::kMillisecond);

void BM_OpenFile(benchmark::State &state) {
    const QString path = state.range(0) ? texts->huge() : texts->small();
    state.SetLabel(state.range(0) ? "1 GB file" : "small file");
    for (auto _ : state) {
        const prepare::TextFile file = prepare::readTextFile(path);
        if (file.status != prepare::TextFile::Status::Ok)
            state.SkipWithError("not read");
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(BM_OpenFile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Texts files;
    texts = &files;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    texts = nullptr;
    return 0;
}
