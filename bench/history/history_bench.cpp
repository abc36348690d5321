// The history window over a learner's years of practice: 50 000 tests, recorded
// once into a temporary database (three years, about 45 a day). Budget: opening
// the window (reading every test, the table, the summary and the chart, grouped by
// week) under 200 ms.
#include "history/frmhistory.h"
#include "history/resultshistory.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int kTests = 50000;

struct Recorded {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("history.sqlite"));
    std::unique_ptr<coding::AppState> state;

    Recorded() {
        state = std::make_unique<coding::AppState>(coding::AppDirectory::at(dir.path()), nullptr);
        history::ResultsHistory h(path);
        QString error;
        if (!h.open(&error))
            qFatal("%s", qPrintable(error));
        // One transaction for all, through SQLite directly: recording each test on its
        // own would take minutes and is not what is measured.
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(path);
        db.open();
        db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral(
            "INSERT INTO tests (ended_ms, text_hash, text_head, duration_ms, total, right_count, "
            "wrong_count, accuracy, speed, eff_speed, key_presses, keys_per_char, bursts1, "
            "bursts2, "
            "bursts3, bursts4, bursts5) VALUES (?, ?, ?, 120000, 200, 190, 10, 95, ?, ?, 600, 3, "
            "50, 40, 10, 5, 1)"));
        const qint64 start = QDateTime(QDate(2024, 1, 1), QTime(8, 0)).toMSecsSinceEpoch();
        const qint64 step = 3LL * 365 * 24 * 3600 * 1000 / kTests;
        for (int i = 0; i < kTests; ++i) {
            q.addBindValue(start + i * step);
            q.addBindValue(QString::number(i % 40));
            q.addBindValue(QStringLiteral("第%1篇练习文本，我们学习分词输入").arg(i % 40));
            q.addBindValue(40 + i % 30);
            q.addBindValue(38 + i % 30);
            q.exec();
        }
        db.commit();
        q.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    }
};

Recorded &recorded() {
    static Recorded r;
    return r;
}

void BM_HistoryWindowOpens50000Tests(benchmark::State &bench) {
    Recorded &r = recorded();
    for (auto _ : bench) {
        history::ResultsHistory h(r.path);
        history::frmHistory window(*r.state, h);
        if (!window.load() || window.model->rowCount() != kTests)
            bench.SkipWithError("the tests did not load");
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.model->rowCount());
    }
}
BENCHMARK(BM_HistoryWindowOpens50000Tests)->Unit(benchmark::kMillisecond);

// Every figure of every test, as the CSV export reads them.
void BM_HistoryReadsEveryFigureOf50000Tests(benchmark::State &bench) {
    Recorded &r = recorded();
    history::ResultsHistory h(r.path);
    QString error;
    for (auto _ : bench) {
        auto entries = h.entries(&error);
        benchmark::DoNotOptimize(entries->size());
    }
}
BENCHMARK(BM_HistoryReadsEveryFigureOf50000Tests)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
