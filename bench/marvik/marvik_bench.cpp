// Benchmarks of the segmentation library on the real dictionary: load time and memory, and
// segmentation speed on running Chinese text. Each one fails when it misses its budget.
#include "internal.h"
#include "marvik/marvik.h"
#include "running_text.h"
#include "utf.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr double kLoadBudgetMs = 150;
constexpr double kMemoryBudgetMB = 60;
constexpr double kCharsPerSecondBudget = 10e6;
constexpr double kShortestJudgedRunSeconds = 0.1;

const std::string kDictDir = TREVIX_APP_DIR;
const std::u16string kNoCustomWords = u"/nonexistent/marvik-bench/custom.dic";

double residentMB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The most resident memory the process has had so far (VmHWM).
double peakResidentMB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:"))
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// Loads the real dictionary afresh, without the user's custom words unless customPath
// names a file. False (and the benchmark skipped) when it is missing or damaged.
bool loadFresh(benchmark::State &state, const std::u16string &customPath = kNoCustomWords) {
    if (!std::filesystem::exists(kDictDir + "/marvik.dic")) {
        state.SkipWithError(("no dictionary at " + kDictDir + "/marvik.dic").c_str());
        return false;
    }
    marvik::resetForTests();
    MarvikSetUserDictPath(customPath.c_str());
    if (MarvikLoad(marvik::utf8ToUtf16Lossy(kDictDir).c_str()) != MARVIK_OK) {
        state.SkipWithError(MarvikLastError());
        return false;
    }
    return true;
}

void BM_Load(benchmark::State &state) {
    // The first load in the process shows the memory the dictionary takes; later loads
    // (the framework calls this function more than once) reuse memory the allocator kept.
    static double growthMB = -1;
    static double peakGrowthMB = -1;
    const double before = residentMB();
    if (!loadFresh(state))
        return;
    if (growthMB < 0) {
        growthMB = residentMB() - before;
        peakGrowthMB = peakResidentMB() - before;
    }

    const std::u16string dir = marvik::utf8ToUtf16Lossy(kDictDir);
    std::chrono::duration<double, std::milli> total{0};
    for (auto _ : state) {
        state.PauseTiming();
        marvik::resetForTests();
        MarvikSetUserDictPath(kNoCustomWords.c_str());
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(MarvikLoad(dir.c_str()));
        total += std::chrono::steady_clock::now() - start;
    }
    const double ms = total.count() / double(state.iterations());
    state.counters["load_ms"] = ms;
    state.counters["resident_growth_MB"] = growthMB;
    state.counters["peak_growth_MB"] = peakGrowthMB;
    if (ms > kLoadBudgetMs || peakGrowthMB > kMemoryBudgetMB) {
        char message[160];
        std::snprintf(message, sizeof message,
                      "over budget: load %.1f ms (budget %.0f), memory %.1f MB (budget %.0f)", ms,
                      kLoadBudgetMs, peakGrowthMB, kMemoryBudgetMB);
        state.SkipWithError(message);
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// Segments text over and over; reports characters per second and checks the budget.
void segmentLoop(benchmark::State &state, const std::u16string &text, std::size_t calls) {
    std::u16string tags(text.size() + 1, u'\0');
    const std::u16string dir = marvik::utf8ToUtf16Lossy(kDictDir);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        chars += marvik::isLowSurrogate(text[i]) ? 0 : 1;
    std::string utf8;
    marvik::utf16ToUtf8(text, utf8);

    const std::size_t piece = text.size() / calls;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (std::size_t c = 0; c < calls; ++c) {
            const std::size_t begin = c * piece;
            const std::size_t len = c + 1 == calls ? text.size() - begin : piece;
            benchmark::DoNotOptimize(DivideSentence(dir.c_str(), text.data() + begin, int32_t(len),
                                                    tags.data() + begin,
                                                    int32_t(tags.size() - begin)));
        }
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const auto iterations = static_cast<int64_t>(state.iterations());
    state.SetItemsProcessed(iterations * int64_t(chars));
    state.SetBytesProcessed(iterations * int64_t(utf8.size()));
    state.counters["chars_per_second"] =
        benchmark::Counter(double(iterations) * double(chars), benchmark::Counter::kIsRate);
    const double rate = double(iterations) * double(chars) / elapsed.count();
    // The framework first runs a few iterations to size the measured run; judge only a run
    // long enough to be measured.
    if (elapsed.count() >= kShortestJudgedRunSeconds && rate < kCharsPerSecondBudget) {
        char message[120];
        std::snprintf(message, sizeof message,
                      "over budget: %.2f million characters/s (budget %.0f)", rate / 1e6,
                      kCharsPerSecondBudget / 1e6);
        state.SkipWithError(message);
    }
}

// The running text in one call.
void BM_SegmentRunningText(benchmark::State &state) {
    if (!loadFresh(state))
        return;
    segmentLoop(state, marvik::utf8ToUtf16Lossy(kRunningText), 1);
}
BENCHMARK(BM_SegmentRunningText);

// The running text in calls of about 20 characters, as a program segments sentence by
// sentence: shows the cost of each call.
void BM_SegmentShortPieces(benchmark::State &state) {
    if (!loadFresh(state))
        return;
    const std::u16string text = marvik::utf8ToUtf16Lossy(kRunningText);
    segmentLoop(state, text, text.size() / 20);
}
BENCHMARK(BM_SegmentShortPieces);

// The running text with a few hundred custom words, which are matched beside the
// dictionary.
void BM_SegmentWithCustomWords(benchmark::State &state) {
    char dirTemplate[] = "/tmp/marvik-bench-XXXXXX";
    if (!::mkdtemp(dirTemplate)) {
        state.SkipWithError("cannot make a temporary directory");
        return;
    }
    const std::string dir = dirTemplate;
    const std::string path = dir + "/custom.dic";
    {
        // Every run of four characters of the first part of the text becomes a custom word.
        const std::u16string text = marvik::utf8ToUtf16Lossy(kRunningText);
        std::ofstream out(path);
        std::string word;
        for (std::size_t i = 0; i + 4 <= text.size() && i < 1200; i += 3) {
            marvik::utf16ToUtf8(std::u16string_view(text).substr(i, 4), word);
            if (word.find_first_of(" \t\n") == std::string::npos)
                out << word << "\t1234\n";
        }
    }
    if (loadFresh(state, marvik::utf8ToUtf16Lossy(path)))
        segmentLoop(state, marvik::utf8ToUtf16Lossy(kRunningText), 1);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SegmentWithCustomWords);

} // namespace

BENCHMARK_MAIN();
