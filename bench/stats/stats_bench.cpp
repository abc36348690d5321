// The keystroke statistics of a 2000-character text typed whole. Budget: the four
// passes over the text's tables and over the typed text's tables together under
// 10 ms. The other two show what an opening of each keystroke dialog costs with the
// tables it needs, on a fresh database connection (opened outside the timing).
#include "sample_text.h"

#include "stats/keystrokes.h"
#include "stats/usertables.h"

#include "coding/appstate.h"
#include "coding/codelookup.h"
#include "coding/marviklibrary.h"
#include "coding/texttables.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

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
        if (state->text.SegmentTags.size() != text.size()) {
            error = "segmentation failed: " + err.detail.toStdString();
            return;
        }
        state->setText(text, state->text.SegmentTags);
        state->test.TypedText = text;
        state->derived.textTables =
            buildTextTables(*state, text, state->text.SegmentTags, TableKind::TestText);
        if (!state->derived.textTables ||
            stats::buildUserTables(*state, &err) != stats::UserTablesResult::Ok)
            error =
                "tables failed: " + (err.detail + state->codeDatabase.error().detail).toStdString();
    }
    bool ok(benchmark::State &st) const {
        if (!error.empty())
            st.SkipWithError(error.c_str());
        return error.empty();
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
    std::string error;
};

// The budgeted figure: DlgKeys' and DlgUserKeys' four passes each.
void BM_FourPassesTextAndTyped(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.ok(st))
        return;
    for (auto _ : st) {
        benchmark::DoNotOptimize(stats::countTextKeys(*b.state));
        benchmark::DoNotOptimize(stats::countUserKeys(b.state->derived.typed->tables));
    }
}
BENCHMARK(BM_FourPassesTextAndTyped)->Unit(benchmark::kMicrosecond);

// "更多信息(&M)" and DlgKeys: the character and word tables, then the counts.
void BM_TextTablesAndCounts(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.ok(st))
        return;
    for (auto _ : st) {
        b.reopen(st);
        b.state->derived.textTables =
            buildTextTables(*b.state, b.text, b.state->text.SegmentTags, TableKind::TestText);
        benchmark::DoNotOptimize(stats::countTextKeys(*b.state));
    }
}
BENCHMARK(BM_TextTablesAndCounts)->Unit(benchmark::kMillisecond);

// DlgUserKeys' first opening after a test: segmentation, both tables, the counts.
void BM_TypedTablesAndCounts(benchmark::State &st) {
    Bench &b = Bench::get();
    if (!b.ok(st))
        return;
    for (auto _ : st) {
        b.reopen(st);
        LibraryError err;
        stats::buildUserTables(*b.state, &err);
        benchmark::DoNotOptimize(stats::countUserKeys(b.state->derived.typed->tables));
    }
}
BENCHMARK(BM_TypedTablesAndCounts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
