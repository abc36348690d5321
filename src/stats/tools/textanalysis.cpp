#include "textanalysis.h"

#include "coding/appstate.h"
#include "coding/codelookup.h"
#include "coding/texttables.h"
#include "prepare/examplefile.h"
#include "prepare/filterfiles.h"
#include "prepare/textfilereader.h"
#include "prepare/textpreparation.h"
#include "widgets/messages.h"

#include <QDir>
#include <QJsonArray>

namespace stats {

namespace {

std::optional<TextAnalysis> fail(QString *error, const QString &message) {
    if (error)
        *error = message;
    return std::nullopt;
}

struct ClassLine {
    QString label;
    int value;
};

std::array<ClassLine, 4> classLines(const TextAnalysis &a) {
    return {{
        {QStringLiteral("文本中的总字数："), a.HzCount + a.SymCount + a.AlphaCount},
        {QStringLiteral("文本中的汉字数："), a.HzCount},
        {QStringLiteral("文本中的标点符号数："), a.SymCount},
        {QStringLiteral("文本中的字母数字数："), a.AlphaCount},
    }};
}

} // namespace

std::optional<TextAnalysis> analyseFile(coding::AppState &state, const QString &path,
                                        const AnalyseOptions &options, QString *error) {
    const QString name = QDir::toNativeSeparators(path);
    if (isExampleFile(path)) {
        prepare::ExampleError exampleError;
        const auto example = prepare::readExample(path, &exampleError);
        if (!example)
            return fail(error,
                        name + QStringLiteral("：") + prepare::exampleErrorMessage(exampleError));
        QString why;
        auto analysis = analysePrepared(state, {example->text.text, example->tags}, &why);
        if (!analysis)
            return fail(error, name + QStringLiteral("：") + why);
        return analysis;
    }
    const prepare::TextFile file = prepare::readTextFile(path);
    switch (file.status) {
    case prepare::TextFile::Status::Ok:
        break;
    case prepare::TextFile::Status::TooShort:
        return fail(error, name + QStringLiteral("：此文件中的汉字太少，不适于进行分词测试！"));
    case prepare::TextFile::Status::Unreadable:
        return fail(error, name + QStringLiteral("：无法读取此文件！") +
                               (file.error.isEmpty() ? QString()
                                                     : QStringLiteral("（%1）").arg(file.error)));
    case prepare::TextFile::Status::Binary:
        return fail(error, name + QStringLiteral("：此文件不是文本文件，不能进行分词测试！"));
    }
    QString why;
    auto analysis = analyseText(state, file.text, options, &why);
    if (!analysis)
        return fail(error, name + QStringLiteral("：") + why);
    return analysis;
}

std::optional<TextAnalysis> analyseText(coding::AppState &state, const QString &text,
                                        const AnalyseOptions &options, QString *error) {
    // "打开(&O)" of the open-file dialog.
    prepare::PrepareOptions prepareOptions;
    prepareOptions.filterSymbols = options.filterSymbols;
    prepareOptions.filterAlphaNum = options.filterAlphaNum;
    QString why;
    if (options.filterSymbols) {
        prepare::FilterList filters;
        if (!prepare::FilterFiles(state.appDir).load(&filters, &why))
            return fail(error, why);
        prepareOptions.symbols = filters.symbols();
    }
    coding::LibraryError libraryError{coding::LibraryError::Kind::NoLibrary, {}, {}, 0};
    const auto prepared = state.library ? prepare::segmentAndPrepare(*state.library, text,
                                                                     prepareOptions, &libraryError)
                                        : std::nullopt;
    if (!prepared)
        return fail(error, widgets::libraryMessage(libraryError));
    return analysePrepared(state, *prepared, error);
}

bool isExampleFile(const QString &path) {
    return path.endsWith(QLatin1Char('.') + prepare::kExampleSuffix, Qt::CaseInsensitive);
}

std::optional<TextAnalysis> analysePrepared(coding::AppState &state,
                                            const prepare::PreparedText &prepared, QString *error) {
    if (!prepare::holdsChineseCharacter(prepared))
        return fail(error, QStringLiteral("此文件中的汉字太少，不适于进行分词测试！"));

    // The hand-over to the test window: the text becomes the current text, its
    // classes counted from its tags, the results of earlier tests gone.
    state.setText(prepared.text, prepared.tags);

    // "更多信息(&M)" and "全文键数(&K)…".
    state.derived.textTables = coding::buildTextTables(
        state, state.text.text, state.text.SegmentTags, coding::TableKind::TestText);
    if (!state.derived.textTables)
        return fail(error, widgets::codeDatabaseMessage(state.codeDatabase.error()));
    state.derived.textKeys = countTextKeys(state);

    TextAnalysis a;
    a.segmentation = prepare::insertSeparators(prepared).text;
    a.HzCount = state.text.HzCount;
    a.SymCount = state.text.SymCount;
    a.AlphaCount = state.text.AlphaCount;
    a.TextKeyCounts = *state.derived.textKeys;
    return a;
}

QString formatAnalysis(const TextAnalysis &analysis) {
    QString out = analysis.segmentation + QLatin1Char('\n');
    for (const ClassLine &line : classLines(analysis))
        out += line.label + QString::number(line.value) + QLatin1Char('\n');
    for (const KeyCountLine &line : keyCountLines())
        out += line.label + QString::number(analysis.TextKeyCounts[size_t(line.index)]) +
               QLatin1Char('\n');
    return out;
}

QJsonObject analysisToJson(const TextAnalysis &analysis) {
    const auto classes = classLines(analysis);
    QJsonObject characters{
        {QStringLiteral("total"), classes[0].value},
        {QStringLiteral("hz"), classes[1].value},
        {QStringLiteral("symbols"), classes[2].value},
        {QStringLiteral("alphanum"), classes[3].value},
    };
    QJsonArray keys;
    for (const KeyCountLine &line : keyCountLines())
        keys.append(QJsonObject{
            {QStringLiteral("label"), line.label},
            {QStringLiteral("index"), line.index},
            {QStringLiteral("value"), analysis.TextKeyCounts[size_t(line.index)]},
        });
    return QJsonObject{
        {QStringLiteral("segmentation"), analysis.segmentation},
        {QStringLiteral("characters"), characters},
        {QStringLiteral("keys"), keys},
    };
}

} // namespace stats
