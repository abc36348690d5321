// Budget: start-up to the main window within 500 ms. One iteration builds the main
// window, runs its start-up (input method through a fake framework, the three
// pictures written into an empty application directory, the background read and
// scaled) and shows it until it is painted.
#include "app/frmmain.h"
#include "support/fakeinputmethodbackend.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

namespace {

void BM_StartupToMainWindow(benchmark::State &st) {
    for (auto _ : st) {
        st.PauseTiming();
        QTemporaryDir dir;
        coding::FakeMessages messages;
        ime::FakeInputMethodBackend ime;
        ime.installed = {{QStringLiteral("qorvan"), QStringLiteral("Qorvan输入法第四版")}};
        coding::AppState state(coding::AppDirectory::at(dir.path()),
                               std::make_unique<coding::FakeLibrary>());
        state.services.setMessages(&messages);
        st.ResumeTiming();

        app::frmMain window(state);
        if (window.Form_Load(&ime) != app::frmMain::StartupResult::Ready) {
            st.SkipWithError("start-up failed");
            break;
        }
        window.show();
        window.repaint(); // painted with its background
        QApplication::processEvents();

        st.PauseTiming();
        window.hide();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToMainWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
