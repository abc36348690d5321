// trevix-analyse against the program: a small text opened through the open-file
// dialog, coloured and counted as the test window does, its tables built as the
// result dialog's "更多信息(&M)" does and DlgKeys opened, gives the numbers that the
// tool prints for the same file. Both use the real library and the generated
// jtdb.dat of the build's application directory.
#include "stats/dlgkeys.h"
#include "stats/keystrokes.h"
#include "textanalysis.h"

#include "coding/codelookup.h"
#include "coding/marviklibrary.h"
#include "coding/textcolouring.h"
#include "coding/texttables.h"
#include "prepare/examplefile.h"
#include "prepare/frmopenfile.h"
#include "prepare/textpreparation.h"
#include "stats/reportfiles.h"
#include "support/fakeservices.h"

#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

// The test window's part of opening a text: the text into mainText, coloured by its
// tags.
class TestWindowReceiver : public prepare::TextReceiver {
public:
    explicit TestWindowReceiver(coding::AppState &state) : m_state(state) {}
    QTextEdit mainText;
    void receiveText(const prepare::PreparedText &prepared,
                     const prepare::ProgressCallback &) override {
        mainText.clear();
        mainText.setPlainText(prepared.text);
        coding::PrepareTestText(m_state, *mainText.document());
    }

private:
    coding::AppState &m_state;
};

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun runTool(const QStringList &arguments) {
    QProcess tool;
    tool.start(QStringLiteral(TREVIX_ANALYSE_PATH), arguments);
    ToolRun run;
    if (!tool.waitForFinished(60000))
        return run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

// The text: words, punctuation of both widths, letters and digits, a symbol of the
// filter list (◎) and one that is not on it (★), a repeated word, a long word.
const char kText[] = "我们学习分词输入，这是一个很好的方法。Windows系统有123个文件！◎★\r\n"
                     "学习学习再学习。中华人民共和国成立了, 计算机很好用.";

} // namespace

class AnalyseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sameNumbersAsDlgKeys_data();
    void sameNumbersAsDlgKeys();
    void jsonHasTheSameFigures();
    void filesThatCannotBeUsed_data();
    void filesThatCannotBeUsed();
    void anExampleIsReadAsItStands();
    void writesTheFilesOfTheTestWindow();
    void damagedExamplesAreRefused_data();
    void damagedExamplesAreRefused();
    void planPrintsTheFewestKeys();

private:
    QTemporaryDir m_dir;
    QString m_appDir, m_text;
};

void AnalyseTest::initTestCase() {
    // An application directory of our own: the build's data and a filter list that
    // holds only ◎.
    const QString build = qEnvironmentVariable("TREVIX_TEST_APP_DIR");
    m_appDir = m_dir.filePath(QStringLiteral("app"));
    QVERIFY(QDir().mkpath(m_appDir));
    for (const char *name : {"jtdb.dat", "marvik.dic"})
        QVERIFY2(QFile::copy(build + QLatin1Char('/') + QLatin1String(name),
                             m_appDir + QLatin1Char('/') + QLatin1String(name)),
                 name);
    QFile filter(m_appDir + QStringLiteral("/filter.dat"));
    QVERIFY(filter.open(QIODevice::WriteOnly));
    filter.write(QStringEncoder("GB18030").encode(QStringLiteral("◎      双圆圈\r\n")));
    filter.close();

    m_text = m_dir.filePath(QStringLiteral("text.txt"));
    QFile text(m_text);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(kText);
}

void AnalyseTest::sameNumbersAsDlgKeys_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("filterSymbols");
    QTest::addColumn<bool>("filterAlphaNum");
    QTest::newRow("both_filters_as_the_dialog_starts") << QStringList{} << true << true;
    QTest::newRow("keep_letters_and_digits") << QStringList{"--keep-alnum"} << true << false;
    QTest::newRow("keep_symbols") << QStringList{"--keep-symbols"} << false << true;
}

void AnalyseTest::sameNumbersAsDlgKeys() {
    QFETCH(QStringList, options);
    QFETCH(bool, filterSymbols);
    QFETCH(bool, filterAlphaNum);

    const ToolRun run = runTool(options + QStringList{"--app-dir", m_appDir, m_text});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 4 + 24);

    // The program: open the file, the hand-over colours and counts it, then the
    // tables of "更多信息(&M)" and DlgKeys.
    QTemporaryDir userDir;
    coding::AppDirectory dir = coding::AppDirectory::at(m_appDir);
    coding::AppState state(dir, std::make_unique<coding::MarvikLibrary>(
                                    dir.dictionaryDir(), userDir.filePath("custom.dic")));
    coding::FakeMessages messages;
    coding::FakeFiles files;
    state.services.setMessages(&messages);
    state.services.setFiles(&files);
    TestWindowReceiver receiver(state);
    prepare::frmOpenFile open(state, receiver);
    open.findChild<QCheckBox *>("chkUseFilter")->setChecked(filterSymbols);
    open.findChild<QCheckBox *>("chkAlpha")->setChecked(filterAlphaNum);
    files.openAnswers.enqueue(m_text);
    QTest::mouseClick(open.findChild<QPushButton *>("cmdSelectFile"), Qt::LeftButton);
    QTest::mouseClick(open.findChild<QPushButton *>("cmdOpenFile"), Qt::LeftButton);
    QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.lastText()));
    const QString shown = receiver.mainText.toPlainText();
    QVERIFY(!shown.isEmpty());
    state.derived.textTables =
        coding::buildTextTables(state, shown, state.text.SegmentTags, coding::TableKind::TestText);
    QVERIFY(state.derived.textTables);
    stats::DlgKeys keys(state);

    // Line 1: the words separated by blanks.
    QCOMPARE(lines[0], prepare::insertSeparators({shown, state.text.SegmentTags}).text);
    QCOMPARE(lines[0].contains(QStringLiteral("◎")), !filterSymbols);
    QCOMPARE(lines[0].contains(QStringLiteral("Windows")), !filterAlphaNum);
    QVERIFY(lines[0].contains(QStringLiteral("★")));
    // The character classes.
    const QStringList classes{
        QStringLiteral("文本中的总字数：%1")
            .arg(state.text.HzCount + state.text.SymCount + state.text.AlphaCount),
        QStringLiteral("文本中的汉字数：%1").arg(state.text.HzCount),
        QStringLiteral("文本中的标点符号数：%1").arg(state.text.SymCount),
        QStringLiteral("文本中的字母数字数：%1").arg(state.text.AlphaCount)};
    QCOMPARE(lines.mid(1, 4), classes);
    // The 24 counts, as DlgKeys shows them.
    for (int i = 0; i < 24; ++i) {
        const stats::KeyCountLine &line = stats::keyCountLines()[size_t(i)];
        const QString value =
            keys.findChild<QLabel *>(QStringLiteral("lblkeys(%1)").arg(line.index))->text();
        QVERIFY(!value.isEmpty());
        QCOMPARE(lines[5 + i], line.label + value);
    }
    QVERIFY((*state.derived.textKeys)[stats::CharStdTotal] > 0);
}

void AnalyseTest::jsonHasTheSameFigures() {
    const ToolRun text = runTool({"--app-dir", m_appDir, m_text, m_text});
    const ToolRun json = runTool({"--json", "--app-dir", m_appDir, m_text});
    QCOMPARE(text.exitCode, 0);
    QCOMPARE(json.exitCode, 0);
    // Two files: two reports, a blank line between them.
    const QStringList reports = text.out.split(QStringLiteral("\n\n"));
    QCOMPARE(reports.size(), 2);
    QCOMPARE(reports[0] + QLatin1Char('\n'), reports[1]);
    const QStringList lines = reports[0].split(QLatin1Char('\n'));

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.array().size(), 1);
    const QJsonObject o = doc.array().at(0).toObject();
    QCOMPARE(o.value("file").toString(), m_text);
    QCOMPARE(o.value("segmentation").toString(), lines[0]);
    const QJsonObject c = o.value("characters").toObject();
    QCOMPARE(lines[1], QStringLiteral("文本中的总字数：%1").arg(c.value("total").toInt()));
    QCOMPARE(lines[2], QStringLiteral("文本中的汉字数：%1").arg(c.value("hz").toInt()));
    QCOMPARE(lines[3], QStringLiteral("文本中的标点符号数：%1").arg(c.value("symbols").toInt()));
    QCOMPARE(lines[4], QStringLiteral("文本中的字母数字数：%1").arg(c.value("alphanum").toInt()));
    const QJsonArray keys = o.value("keys").toArray();
    QCOMPARE(keys.size(), 24);
    for (int i = 0; i < 24; ++i) {
        const QJsonObject k = keys.at(i).toObject();
        QCOMPARE(k.value("index").toInt(), stats::keyCountLines()[size_t(i)].index);
        QCOMPARE(lines[5 + i],
                 k.value("label").toString() + QString::number(k.value("value").toInt()));
    }
}

void AnalyseTest::filesThatCannotBeUsed_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: no such file
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("无法读取此文件！");
    QTest::newRow("too_short") << QByteArray("我们学习。\r\n共十九个字。一二三四五六七")
                               << QStringLiteral("此文件中的汉字太少，不适于进行分词测试！");
    // Letters and digits are filtered: what is left are widened full stops.
    QTest::newRow("no_chinese_character")
        << QByteArray("The quick brown fox jumps over the lazy dog. It was a sunny day. "
                      "Nobody saw it. The end.\r\n")
        << QStringLiteral("此文件中的汉字太少，不适于进行分词测试！");
    QTest::newRow("binary") << QByteArray("\x7f"
                                          "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0",
                                          16)
                                   .repeated(200)
                            << QStringLiteral("此文件不是文本文件，不能进行分词测试！");
}

void AnalyseTest::filesThatCannotBeUsed() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(QStringLiteral("bad-%1.txt").arg(QTest::currentDataTag()));
    if (!bytes.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // The good file after the bad one is still analysed; the exit code tells.
    const ToolRun run = runTool({"--app-dir", m_appDir, path, m_text});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(path) && run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 29);

    // Without a usable application directory nothing is analysed.
    const ToolRun noDir = runTool({"--app-dir", m_dir.filePath("none"), m_text});
    QCOMPARE(noDir.exitCode, 2);
    QVERIFY(noDir.out.isEmpty());
}

// An example segmented by hand: 我们学习 as one word, letters and a filter symbol
// that opening a text file would remove.
const QString kExampleText = QStringLiteral("我们学习分词输入，这是一个很好的方法。ABC◎");
const QString kExampleTags = QStringLiteral("0000") + "11" + "00" + "2" + "11" + "00" + "11" + "0" +
                             "11" + "2" + "444" + "2";

void AnalyseTest::anExampleIsReadAsItStands() {
    const QString path = m_dir.filePath(QStringLiteral("例文.sav"));
    coding::RtfText text;
    text.text = kExampleText;
    text.runs = {{0, kExampleText.size(), {}}};
    QVERIFY(prepare::writeExample(path, text, kExampleTags, nullptr));

    const ToolRun run = runTool({"--app-dir", m_appDir, path});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 4 + 24);
    // The companion's segmentation, nothing cleaned, widened or filtered away.
    QCOMPARE(lines[0], QStringLiteral("我们学习 分词 输入 ， 这是 一个 很好 的 方法 。 ABC ◎"));
    QCOMPARE(lines[1], QStringLiteral("文本中的总字数：23"));
    QCOMPARE(lines[2], QStringLiteral("文本中的汉字数：17"));
    QCOMPARE(lines[3], QStringLiteral("文本中的标点符号数：3"));
    QCOMPARE(lines[4], QStringLiteral("文本中的字母数字数：3"));

    // The counts are those of the same text and tags handed to the test window.
    coding::AppState state(coding::AppDirectory::at(m_appDir),
                           std::make_unique<coding::MarvikLibrary>(
                               m_appDir, m_dir.filePath(QStringLiteral("custom.dic"))));
    QString why;
    const auto analysis = stats::analysePrepared(state, {kExampleText, kExampleTags}, &why);
    QVERIFY2(analysis, qPrintable(why));
    QCOMPARE(run.out, stats::formatAnalysis(*analysis));
}

void AnalyseTest::writesTheFilesOfTheTestWindow() {
    const QString fcr = m_dir.filePath(QStringLiteral("text.fcr"));
    const QString report = m_dir.filePath(QStringLiteral("report.txt"));
    const ToolRun run = runTool({"--app-dir", m_appDir, "--fcr", fcr, "--report", report, m_text});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);

    // The same as the window's writers give for the state the test window has
    // after the keystroke dialog.
    coding::AppState state(coding::AppDirectory::at(m_appDir),
                           std::make_unique<coding::MarvikLibrary>(
                               m_appDir, m_dir.filePath(QStringLiteral("custom.dic"))));
    QString why;
    QVERIFY2(stats::analyseFile(state, m_text, {}, &why), qPrintable(why));
    const auto bytesOf = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray words = bytesOf(fcr);
    QCOMPARE(words, stats::fileBytes(stats::wordListLines(*state.derived.textTables)));
    QVERIFY(words.startsWith("\""));
    QVERIFY(words.endsWith("\"\r\n"));
    const QByteArray lines = bytesOf(report);
    QCOMPARE(lines, stats::fileBytes(stats::statisticsReportLines(state)));
    QVERIFY(lines.contains(stats::fileBytes({QStringLiteral("关于全部文本的键数信息：")})));
    QVERIFY(!lines.contains(
        stats::fileBytes({QStringLiteral("以下是关于用户所输入的文本的键数信息：")})));

    // One text only.
    QCOMPARE(runTool({"--app-dir", m_appDir, "--fcr", fcr, m_text, m_text}).exitCode, 2);
}

void AnalyseTest::damagedExamplesAreRefused_data() {
    QTest::addColumn<QByteArray>("companion"); // empty: none
    QTest::addColumn<QString>("message");
    QTest::newRow("no_companion") << QByteArray()
                                  << QStringLiteral("辅助文件不存在，不能打开此文件！");
    QTest::newRow("tags_do_not_fit")
        << QByteArray("\"0011\"\r\n") << QStringLiteral("分词例文与辅助文件不一致");
}

void AnalyseTest::damagedExamplesAreRefused() {
    QFETCH(QByteArray, companion);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(QStringLiteral("bad-%1.sav").arg(QTest::currentDataTag()));
    QFile main(path);
    QVERIFY(main.open(QIODevice::WriteOnly));
    main.write(coding::writeRtf(coding::RtfText{kExampleText, {{0, kExampleText.size(), {}}}}));
    main.close();
    if (!companion.isEmpty()) {
        QFile tags(prepare::companionPath(path));
        QVERIFY(tags.open(QIODevice::WriteOnly));
        tags.write(companion);
    }
    const ToolRun run = runTool({"--app-dir", m_appDir, path});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

QTEST_MAIN(AnalyseTest)
#include "analyse_test.moc"

void AnalyseTest::planPrintsTheFewestKeys() {
    const ToolRun run = runTool({"--plan", "--app-dir", m_appDir, m_text});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 4 + 24 + 2);
    // The usual lines first, then the plan: the items with their codes, the text
    // again when the blanks and codes are taken out.
    const QString plan = lines.at(lines.size() - 2);
    QString items = plan;
    items.remove(QRegularExpression(QStringLiteral("\\([0-9]+\\)"))).remove(QLatin1Char(' '));
    QString segmented = lines.first();
    QCOMPARE(items, segmented.remove(QLatin1Char(' ')));
    QVERIFY2(plan.contains(QLatin1Char('(')), qPrintable(plan));
    const QString last = lines.last();
    QVERIFY2(last.startsWith(QStringLiteral("最少键数：")), qPrintable(last));
    const int fewest = last.mid(5).toInt();
    // Never more than the cheapest of the four ways.
    for (const QString &line : lines) {
        if (line.contains(QStringLiteral("输入时的总键数：")))
            QVERIFY2(fewest <= line.section(QStringLiteral("："), 1).toInt(), qPrintable(line));
    }
    QVERIFY(fewest > 0);
}
