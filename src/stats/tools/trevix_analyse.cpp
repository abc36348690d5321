// trevix-analyse: what texts cost in keystrokes, without the windows. For each text
// file it runs the program's own path (reading, cleaning, the 2000-character cap,
// segmentation, widening, the filters of the open-file dialog, the counts, the
// character and word tables) and prints the segmentation, the character classes and
// the 24 whole-text keystroke counts as the statistics report gives them. An
// example (FILE.sav) is read with its companion as the test window opens it: its
// text as it stands, segmented by the companion's tags.
#include "textanalysis.h"

#include "coding/appdirectory.h"
#include "coding/appstate.h"
#include "coding/codelookup.h"
#include "coding/marviklibrary.h"
#include "stats/keyplan.h"
#include "stats/reportfiles.h"
#include "widgets/messages.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    // The program's names, so that the user's custom words are the program's.
    QCoreApplication::setOrganizationName(QStringLiteral("Trevix2006"));
    QCoreApplication::setApplicationName(QStringLiteral("Trevix2006"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Segments each text file as the test window would and prints its keystroke counts."));
    parser.addHelpOption();
    const QCommandLineOption keepAlnum(
        QStringLiteral("keep-alnum"),
        QStringLiteral("Keep letters and digits (过滤字母与数字 off)."));
    const QCommandLineOption keepSymbols(
        QStringLiteral("keep-symbols"),
        QStringLiteral("Keep the filter symbols of filter.dat (过滤符号 off)."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print JSON: an array, one object per file."));
    const QCommandLineOption appDir(
        QStringLiteral("app-dir"),
        QStringLiteral("Application directory with jtdb.dat, marvik.dic and filter.dat."),
        QStringLiteral("DIR"));
    const QCommandLineOption fcr(
        QStringLiteral("fcr"),
        QStringLiteral("Write the text's segmentation result file (its word list, *.fcr) to OUT, "
                       "as the test window saves it."),
        QStringLiteral("OUT"));
    const QCommandLineOption report(
        QStringLiteral("report"),
        QStringLiteral("Write the text's statistics report to OUT, as the test window saves it "
                       "after the keystroke dialog, before any test."),
        QStringLiteral("OUT"));
    const QCommandLineOption plan(
        QStringLiteral("plan"),
        QStringLiteral("After the counts, print the way of typing the text with the fewest keys: "
                       "its items, each with the code to type in parentheses, then 最少键数."));
    parser.addOptions({keepAlnum, keepSymbols, json, appDir, fcr, report, plan});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Text files (*.txt) or examples (*.sav, with "
                                                "their companion *.ext)."),
                                 QStringLiteral("FILE..."));
    parser.process(application);

    QTextStream err(stderr);
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        err << "trevix-analyse: no text file given\n" << parser.helpText();
        return 2;
    }
    const bool writesFiles = parser.isSet(fcr) || parser.isSet(report);
    if (writesFiles && files.size() != 1) {
        err << "trevix-analyse: --fcr and --report take exactly one text file\n";
        return 2;
    }

    coding::AppDirectory dir = coding::AppDirectory::resolve();
    if (parser.isSet(appDir)) {
        const QString path = parser.value(appDir);
        if (!QFileInfo(path).isDir()) {
            err << "trevix-analyse: " << QDir::toNativeSeparators(path) << "：目录不存在！\n";
            return 2;
        }
        dir = coding::AppDirectory::at(QFileInfo(path).absoluteFilePath());
    }
    // The user's custom words, as the program and trevix-seg use them.
    coding::AppState state(dir, std::make_unique<coding::MarvikLibrary>(
                                    dir.dictionaryDir(), coding::defaultCustomDictionaryPath()));
    coding::LibraryError error;
    if (!state.library->ensureLoaded(&error)) {
        err << "trevix-analyse: " << widgets::libraryMessage(error) << '\n';
        return 2;
    }

    stats::AnalyseOptions options;
    options.filterAlphaNum = !parser.isSet(keepAlnum);
    options.filterSymbols = !parser.isSet(keepSymbols);

    QTextStream out(stdout);
    QJsonArray results;
    int failed = 0;
    bool first = true;
    for (const QString &file : files) {
        QString why;
        const auto analysis = stats::analyseFile(state, file, options, &why);
        if (!analysis) {
            err << "trevix-analyse: " << why << '\n';
            err.flush();
            ++failed;
            continue;
        }
        // The files of the test window, from the state the analysis leaves.
        const auto save = [&](const QCommandLineOption &option, const QStringList &lines) {
            if (!parser.isSet(option))
                return true;
            QString why;
            if (stats::saveWholeFile(parser.value(option), stats::fileBytes(lines), &why))
                return true;
            err << "trevix-analyse: " << why << '\n';
            return false;
        };
        if (!save(fcr, stats::wordListLines(*state.derived.textTables)) ||
            !save(report, stats::statisticsReportLines(state))) {
            ++failed;
            continue;
        }
        std::optional<stats::KeyPlan> best;
        if (parser.isSet(plan)) {
            QString why;
            if (coding::openCodeDatabase(state))
                best = stats::planFewestKeys(state.codeDatabase, state.text.text,
                                             state.text.SegmentTags, &why);
            if (!best) {
                err << "trevix-analyse: "
                    << (why.isEmpty() ? widgets::codeDatabaseMessage(state.codeDatabase.error())
                                      : why)
                    << '\n';
                ++failed;
                continue;
            }
        }
        if (parser.isSet(json)) {
            QJsonObject o = stats::analysisToJson(*analysis);
            o.insert(QStringLiteral("file"), file);
            if (best) {
                o.insert(QStringLiteral("plan"), stats::formatPlan(*best));
                o.insert(QStringLiteral("fewestKeys"), best->total);
            }
            results.append(o);
            continue;
        }
        if (!first)
            out << '\n';
        first = false;
        out << stats::formatAnalysis(*analysis);
        if (best)
            out << stats::formatPlan(*best) << '\n'
                << QStringLiteral("最少键数：") << best->total << '\n';
        out.flush();
    }
    if (parser.isSet(json))
        out << QJsonDocument(results).toJson(QJsonDocument::Indented);
    return failed ? 1 : 0;
}
