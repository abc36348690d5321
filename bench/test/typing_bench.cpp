// The typing check at the end of a 2000-character text: one committed character
// compared, recoloured, counted and the mark moved on. Budget: under 1 ms.
//
// The text is one paragraph, as in the test window, coloured word by word, and laid
// out at the width of the window's text view so that every change of format is
// laid out again as it is on screen.
#include "sample_text.h"

#include "coding/appstate.h"
#include "coding/colorref.h"
#include "coding/textcolouring.h"
#include "test/typingcheck.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

namespace {

class SteadyClock : public coding::Clock {
public:
    SteadyClock() { m_timer.start(); }
    qint64 tickMs() const override { return m_timer.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer m_timer;
};

struct Fixture {
    explicit Fixture(bool laidOut) {
        state = std::make_unique<coding::AppState>(coding::AppDirectory::at(dir.path()), nullptr);
        state->services.clock = &clock;
        state->RightColor = 0x00FF00;
        state->ErrorColor = 0x0000FF;
        text = QString::fromUtf8(kSampleText).remove(QLatin1Char('\n')).left(2000);
        doc.setDefaultFont(QFont(QString::fromUtf16(coding::kKaiFontName), 16));
        doc.setPlainText(text);
        // Words of two characters in alternating colours, every fourth underlined.
        QTextCursor cursor(&doc);
        cursor.beginEditBlock();
        for (int i = 0; i < text.size(); i += 2) {
            cursor.setPosition(i);
            cursor.setPosition(std::min(i + 2, int(text.size())), QTextCursor::KeepAnchor);
            QTextCharFormat f;
            f.setForeground(coding::colorFromColorRef((i / 2) % 2 ? 0xFF0000 : 0x000000));
            f.setFontUnderline(i % 8 == 0);
            cursor.mergeCharFormat(f);
        }
        cursor.endEditBlock();
        if (laidOut) {
            doc.setTextWidth(640);
            doc.documentLayout()->documentSize();
        }
    }
    QTemporaryDir dir;
    SteadyClock clock;
    std::unique_ptr<coding::AppState> state;
    QString text;
    QTextDocument doc;
};

void checkLastCharacter(benchmark::State &st, bool laidOut) {
    Fixture f(laidOut);
    test::TypingCheck check(*f.state, f.doc);
    const int last = int(f.text.size()) - 1;
    const QString right = f.text.mid(last, 1);
    for (auto _ : st) {
        st.PauseTiming();
        check.start();
        check.moveTo(last);
        st.ResumeTiming();
        const bool ended = check.checkTyped(right);
        benchmark::DoNotOptimize(ended);
    }
    if (f.state->RightCount != 1)
        st.SkipWithError("the last character was not counted right");
}

void checkNextToLast(benchmark::State &st) {
    // A character that does not end the text: the mark moves on to the next one.
    Fixture f(true);
    test::TypingCheck check(*f.state, f.doc);
    const int at = int(f.text.size()) - 2;
    const QString right = f.text.mid(at, 1);
    check.start();
    for (auto _ : st) {
        st.PauseTiming();
        check.moveTo(at);
        st.ResumeTiming();
        benchmark::DoNotOptimize(check.checkTyped(right));
    }
}

void BM_CheckLastCharacter(benchmark::State &st) {
    checkLastCharacter(st, true);
}
void BM_CheckLastCharacterNoLayout(benchmark::State &st) {
    checkLastCharacter(st, false);
}
void BM_CheckNextToLastCharacter(benchmark::State &st) {
    checkNextToLast(st);
}

BENCHMARK(BM_CheckLastCharacter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckNextToLastCharacter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckLastCharacterNoLayout)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    coding::installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
