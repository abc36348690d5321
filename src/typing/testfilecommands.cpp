// The test window's file commands: opening an example, saving the text as an
// example or as plain text with word breaks, saving its word list (*.fcr) and the
// statistics report. Every file is written whole or not at all; a failed save is
// told, a cancelled dialog is not.
#include "frmfctest.h"
#include "testtextfile.h"
#include "testtextview.h"

#include "coding/rtf.h"
#include "coding/texttables.h"
#include "prepare/examplefile.h"
#include "prepare/textpreparation.h"
#include "stats/reportfiles.h"
#include "widgets/messages.h"

#include <QAction>
#include <QTextCursor>
#include <QTextDocument>

namespace typing {

namespace {

const QString kMessageTitle = QStringLiteral("提示信息");
const QString kPlainTextFilter = QStringLiteral("纯文本(*.txt)");
const QString kWordListFilter = QStringLiteral("分词结果(*.fcr)");
const QString kReportFilter = QStringLiteral("统计信息(*.txt)");

} // namespace

void frmFcTest::showSaveFailure(const QString &why) {
    m_state.services.messages().show(
        QStringLiteral("文件保存失败！（%1）\n").arg(why) + kDiskWriteMessage, kMessageTitle,
        coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
}

void frmFcTest::mnuOpenExample_Click() {
    const QString path = m_state.services.files().getOpenFileName(QStringLiteral("打开分词例文"),
                                                                  prepare::kExampleFilter);
    if (path.isEmpty())
        return;
    prepare::ExampleError error;
    const auto example = prepare::readExample(path, &error);
    coding::MessageService &messages = m_state.services.messages();
    if (!example) {
        // The missing companion is told under the program's title, with OK and
        // Cancel, as it has always been.
        if (error.kind == prepare::ExampleError::Kind::CompanionMissing)
            messages.show(prepare::exampleErrorMessage(error), kProgramTitle,
                          coding::MsgButtons::OkCancel, coding::MsgIcon::Exclamation);
        else
            messages.show(prepare::exampleErrorMessage(error), kMessageTitle,
                          coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
        return;
    }
    if (!prepare::holdsChineseCharacter({example->text.text, example->tags})) {
        messages.show(QStringLiteral("此文件中的汉字太少，不适于进行分词测试！"), kMessageTitle,
                      coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
        return;
    }

    // The example is the new text: its colours as saved, its classes from its
    // tags (letters and digits too), the results of earlier tests gone.
    mainText->clear();
    mainText->setCurrentCharFormat(QTextCharFormat());
    coding::applyRtfText(example->text, *mainText->document());
    mainText->moveCursor(QTextCursor::Start);
    m_state.setText(example->text.text, example->tags);
    removeTestTextCopy(m_state);
    m_textIsExample = true;
    m_session.textArrived();
    applyPhase(m_session.phase()); // the commands of an example, even from Ready to Ready
    mainText->show();
    SetPosofText();
}

void frmFcTest::mnuSaveResult_Click() {
    QString chosenFilter;
    QString path = m_state.services.files().getSaveFileName(
        QStringLiteral("保存分词例文"),
        prepare::kExampleFilter + QStringLiteral(";;") + kPlainTextFilter, {},
        prepare::kExampleSuffix, &chosenFilter);
    if (path.isEmpty())
        return;
    const QString &tags = m_state.text.SegmentTags;
    if (chosenFilter == kPlainTextFilter) {
        // One line: a blank wherever the tag changes.
        const QString line = prepare::insertSeparators({m_state.text.text, tags}).text;
        QString why;
        if (!stats::saveWholeFile(path, stats::fileBytes({line}), &why))
            showSaveFailure(why);
        return;
    }
    // A name without "sav" would make the companion the main file itself.
    if (prepare::companionPath(path) == path)
        path += QLatin1Char('.') + prepare::kExampleSuffix;
    prepare::ExampleError error;
    if (!prepare::writeExample(path, coding::rtfTextFromDocument(*mainText->document()), tags,
                               &error))
        m_state.services.messages().show(prepare::exampleErrorMessage(error), kMessageTitle,
                                         coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
}

bool frmFcTest::ensureWordTable() {
    if (m_state.derived.WordTableDone())
        return true;
    m_state.derived.textTables = coding::buildTextTables(
        m_state, m_state.text.text, m_state.text.SegmentTags, coding::TableKind::TestText);
    if (!m_state.derived.textTables) {
        widgets::reportCodeDatabaseError(m_state);
        return false;
    }
    return true;
}

void frmFcTest::mnuSaveTestFile_Click() {
    const QString path = m_state.services.files().getSaveFileName(
        QStringLiteral("保存分词结果"), kWordListFilter, {}, QStringLiteral("fcr"));
    if (path.isEmpty() || !ensureWordTable())
        return;
    QString why;
    if (!stats::saveWholeFile(
            path, stats::fileBytes(stats::wordListLines(*m_state.derived.textTables)), &why))
        showSaveFailure(why);
}

void frmFcTest::mnuStaSave_Click() {
    if (!m_state.derived.ResultStatsReady() && !m_state.derived.MoreInfoStatsReady()) {
        m_state.services.messages().show(QStringLiteral("请先进行统计再保存统计结果！"),
                                         kMessageTitle, coding::MsgButtons::Ok,
                                         coding::MsgIcon::Exclamation);
        return;
    }
    const QString path = m_state.services.files().getSaveFileName(
        QStringLiteral("保存统计结果"), kReportFilter, {}, QStringLiteral("txt"));
    // The report lists the text's words: a table not built yet is built now, as for
    // the word list, rather than leaving the list empty.
    if (path.isEmpty() || !ensureWordTable())
        return;
    QString why;
    if (!stats::saveWholeFile(path, stats::fileBytes(stats::statisticsReportLines(m_state)), &why))
        showSaveFailure(why);
}

} // namespace typing
