// The typing check at the end of a 2000-character text: one committed character
// compared, recoloured, counted and the mark moved on. Budget: under 1 ms.
//
// The text is one paragraph, as in the test window, coloured word by word. Three
// settings: the document alone (the check itself), the document laid out at the
// width of the window's text view (every change of format is laid out again, as
// on screen), and the document in a shown QTextEdit as in the test window.
#include "sample_text.h"

#include "coding/appstate.h"
#include "coding/colorref.h"
#include "coding/textcolouring.h"
#include "stats/resultfigures.h"
#include "typing/typingcheck.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace {

struct Fixture {
    explicit Fixture(bool laidOut) {
        state = std::make_unique<coding::AppState>(coding::AppDirectory::at(dir.path()), nullptr);
        state->services.setClock(&clock);
        state->settings.RightColor = 0x00FF00;
        state->settings.ErrorColor = 0x0000FF;
        text = QString::fromUtf8(kSampleText).remove(QLatin1Char('\n')).left(2000);
        doc.setDefaultFont(typing::testTextFont());
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
    coding::SystemClock clock;
    std::unique_ptr<coding::AppState> state;
    QString text;
    QTextDocument doc;
};

enum class Setting {
    Document,   // the document alone: the check itself
    LaidOut,    // the document laid out at the text view's width
    TextView,   // the document in a shown QTextEdit, as in the test window
    AfterTyping // as TextView, with everything before the position typed right
};

// Checks the character at (length - fromEnd): the last one ends the text, the one
// before it moves the mark on to the last.
void checkNearTheEnd(benchmark::State &st, Setting setting, int fromEnd) {
    Fixture f(setting == Setting::LaidOut);
    const int at = int(f.text.size()) - fromEnd;
    if (setting == Setting::AfterTyping) {
        // Typed right: the text before the position carries the right colour (the
        // hint marks stay).
        QTextCursor cursor(&f.doc);
        cursor.setPosition(0);
        cursor.setPosition(at, QTextCursor::KeepAnchor);
        QTextCharFormat right;
        right.setForeground(coding::colorFromColorRef(f.state->settings.RightColor));
        cursor.mergeCharFormat(right);
    }
    std::unique_ptr<QTextEdit> view;
    if (setting == Setting::TextView || setting == Setting::AfterTyping) {
        view = std::make_unique<QTextEdit>();
        view->setDocument(&f.doc);
        view->setReadOnly(true);
        view->resize(640, 540);
        view->show();
        QCoreApplication::processEvents();
    }
    typing::TypingCheck check(*f.state, f.doc);
    const QString right = f.text.mid(at, 1);
    for (auto _ : st) {
        st.PauseTiming();
        check.start();
        check.moveTo(at);
        st.ResumeTiming();
        benchmark::DoNotOptimize(check.checkTyped(right));
    }
    if (f.state->test.RightCount != 1)
        st.SkipWithError("the character was not counted right");
}

void BM_CheckLastCharacter(benchmark::State &st) {
    checkNearTheEnd(st, Setting(st.range(0)), 1);
}
void BM_CheckNextToLastCharacter(benchmark::State &st) {
    checkNearTheEnd(st, Setting(st.range(0)), 2);
}

// Argument: 0 document alone, 1 laid out, 2 in a text view, 3 in a text view after
// typing the text before.
BENCHMARK(BM_CheckLastCharacter)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckNextToLastCharacter)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The status bar's live figures, renewed once a second while a test runs (never
// by a typed character): computed and shown in a shown window's status bar, laid
// out and painted.
void BM_LiveFiguresRenewed(benchmark::State &st) {
    QMainWindow window;
    auto *label = new QLabel;
    window.statusBar()->addWidget(new QLabel(QStringLiteral("欢迎")), 1);
    window.statusBar()->addPermanentWidget(label);
    window.resize(800, 600);
    window.show();
    QApplication::processEvents();
    int right = 0;
    for (auto _ : st) {
        ++right;
        label->setText(stats::liveFiguresText(95000 + right, right, 3));
        label->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LiveFiguresRenewed)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    coding::installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
