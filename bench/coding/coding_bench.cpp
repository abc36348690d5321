// Colouring, the character and word tables and code lookup on a 2000-character text
// with real segmentation tags, over the generated jtdb.dat of the application
// directory. Budgets: PrepareTestText under 20 ms; the character and word tables
// (buildTextTables) under 10 ms; the text saved as an example's RTF, and loaded
// from it into a document, each well under 20 ms. The open-per-lookup variant shows what keeping
// one connection saves.
#include "sample_text.h"

#include "coding/appstate.h"
#include "coding/codelookup.h"
#include "coding/marviklibrary.h"
#include "coding/rtf.h"
#include "coding/settings.h"
#include "coding/textcolouring.h"
#include "coding/texttables.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <memory>

namespace {

using namespace coding;

struct Bench {
    Bench() {
        const AppDirectory dir = AppDirectory::at(QStringLiteral(TREVIX_APP_DIR));
        state = std::make_unique<AppState>(
            dir,
            std::make_unique<MarvikLibrary>(dir.dictionaryDir(), userDir.filePath("none.dic")));
        text = QString::fromUtf8(kSampleText).remove(QLatin1Char('\n')).left(2000);
        LibraryError err;
        state->text.SegmentTags = state->library->divideSentence(text, &err);
        if (state->text.SegmentTags.size() != text.size())
            error = "segmentation failed: " + err.detail.toStdString();
        if (!openCodeDatabase(*state))
            error = ("code database: " + state->codeDatabase.error().path).toStdString();
        Settings::resetColors(state->settings);
        state->settings.NeedFc = true;
        for (qsizetype i = 0; i < text.size();) {
            const QChar t = state->text.SegmentTags.at(i);
            const qsizetype start = i;
            while (i < text.size() && state->text.SegmentTags.at(i) == t)
                ++i;
            if (t == QLatin1Char('0') || t == QLatin1Char('1'))
                words << text.mid(start, i - start);
        }
    }
    // A fresh connection, outside the timing: the first build of a run.
    void reopen(benchmark::State &st) {
        st.PauseTiming();
        state->codeDatabase.close();
        openCodeDatabase(*state);
        st.ResumeTiming();
    }
    static Bench &get() {
        static Bench b;
        return b;
    }
    QTemporaryDir userDir; // no custom words
    std::unique_ptr<AppState> state;
    QString text;
    QStringList words;
    std::string error;
};

void prepareTestText(benchmark::State &st, bool wholeItems) {
    Bench &b = Bench::get();
    if (!b.error.empty()) {
        st.SkipWithError(b.error.c_str());
        return;
    }
    b.state->settings.NeedJmTips = wholeItems;
    QTextDocument doc;
    for (auto _ : st) {
        st.PauseTiming();
        doc.setPlainText(b.text);
        st.ResumeTiming();
        PrepareTestText(*b.state, doc);
    }
    st.counters["chars"] = double(b.text.size());
    st.counters["words"] = double(b.words.size());
}

void BM_PrepareTestText_WholeItems(benchmark::State &st) {
    prepareTestText(st, true);
}
void BM_PrepareTestText_CharByChar(benchmark::State &st) {
    prepareTestText(st, false);
}

void BM_BuildCharAndWordTables(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.error.empty()) {
        st.SkipWithError(b.error.c_str());
        return;
    }
    for (auto _ : st) {
        b.reopen(st); // nothing remembered from the last round
        b.state->derived.textTables =
            buildTextTables(*b.state, b.text, b.state->text.SegmentTags, TableKind::TestText);
    }
    int words = 0;
    for (size_t c = 0; c < 5; ++c)
        words += b.state->derived.textTables->WordCount(c);
    st.counters["distinct_chars"] = double(b.state->derived.textTables->CharTableLast() + 1);
    st.counters["distinct_words"] = double(words);
}

// LookupCodes for every word of the text over the one open connection.
void BM_LookupWords_OneConnection(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.error.empty()) {
        st.SkipWithError(b.error.c_str());
        return;
    }
    QString stdCode, shortCode;
    for (auto _ : st) {
        b.reopen(st);
        for (const QString &w : b.words)
            benchmark::DoNotOptimize(LookupCodes(*b.state, w, stdCode, shortCode));
    }
    st.counters["lookups"] = double(b.words.size());
}

// The same lookups, opening the database for each one.
void BM_LookupWords_OpenPerLookup(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.error.empty()) {
        st.SkipWithError(b.error.c_str());
        return;
    }
    const QString path = b.state->appDir.dataFile(QStringLiteral("jtdb.dat"));
    CodePair codes;
    for (auto _ : st) {
        for (const QString &w : b.words) {
            CodeDatabase db;
            db.open(path);
            benchmark::DoNotOptimize(findItemCodes(db, b.state->library.get(), w, codes));
        }
    }
    st.counters["lookups"] = double(b.words.size());
}

// The coloured text with its hint marks, as the segmentation editor saves it.
QTextDocument &colouredDocument(Bench &b) {
    static QTextDocument doc;
    if (doc.isEmpty()) {
        b.state->settings.NeedJmTips = true;
        doc.setPlainText(b.text);
        PrepareTestText(*b.state, doc);
    }
    return doc;
}

void BM_RtfSaveExample(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.error.empty()) {
        st.SkipWithError(b.error.c_str());
        return;
    }
    const QTextDocument &doc = colouredDocument(b);
    qint64 bytes = 0;
    for (auto _ : st) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        writeRtf(doc, file);
        bytes = file.size();
    }
    st.counters["bytes"] = double(bytes);
    st.counters["runs"] = double(rtfTextFromDocument(doc).runs.size());
}

void BM_RtfLoadExample(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.error.empty()) {
        st.SkipWithError(b.error.c_str());
        return;
    }
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    writeRtf(colouredDocument(b), file);
    file.close();
    QTextDocument doc;
    for (auto _ : st) {
        file.open(QIODevice::ReadOnly);
        if (readRtf(file, doc))
            st.SkipWithError("the example does not read back");
        file.close();
    }
    st.counters["chars"] = double(doc.characterCount() - 1);
}

BENCHMARK(BM_RtfSaveExample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RtfLoadExample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareTestText_WholeItems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareTestText_CharByChar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildCharAndWordTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookupWords_OneConnection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookupWords_OpenPerLookup)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
