#pragma once

#include "coding/appstate.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace stats {

inline const QString kMoreInfoQuestion =
    QStringLiteral("统计过程根据文字的多少，可能需要较长时间，要继续吗？");

// "统计信息": the outcome of a typing test. It shows the character classes of the
// text (HzCount, SymCount, AlphaCount), the test's duration (TestDuration), the
// accuracy, the speed and the effective speed of RightCount and ErrCount, and
// leaves the three figures in AccuracyText, SpeedText and EffSpeedText
// (ResultStatsReady). "更多信息(&M)" builds the character and word tables of the
// text for the detailed statistics; "退   出(&X)" gives the test text back the
// colours it had before the test and closes the dialog. Closing it any other way
// (Esc, the window's close button) does the same, so that the text never keeps the
// learner's right and wrong colours into the next test.
class DlgResult : public QDialog {
    Q_OBJECT
public:
    // testText: the plain text of the test; restoreTestText: puts the colours of
    // the test text back (the test window's temp.zh or a new colouring).
    DlgResult(coding::AppState &state, const QString &testText,
              std::function<void()> restoreTestText, QWidget *parent = nullptr);

    // Runs a dialog modally; tests replace it so that nothing blocks.
    std::function<int(QDialog &)> execDialog = [](QDialog &dialog) { return dialog.exec(); };

    void cmdMorInfo_Click();
    void cmdOk_Click();
    // Shows "成绩记录(&H)…", which calls openHistory (the results history).
    void setOpenHistory(std::function<void()> openHistory);
    // Shows "错过的捷径(&S)…", which calls openMissed (the shortcuts the test missed).
    void setOpenMissed(std::function<void()> openMissed);

    // Controls, named as in the dialog's design.
    QGroupBox *Frame1;
    QLabel *Label1, *lblTotal, *Label3, *lblHz, *Label5, *lblSym, *Label8, *lblAlpha;
    QGroupBox *Frame2;
    QLabel *label2, *lblTime, *label4, *lblRgtRate, *label6, *lblRate, *label7, *lblEffRate;
    QPushButton *cmdMorInfo;
    QPushButton *cmdOk;
    QPushButton *cmdHistory; // hidden until setOpenHistory
    QPushButton *cmdMissed;  // hidden until setOpenMissed

public slots:
    void reject() override;

private:
    void Form_Load();

    coding::AppState &m_state;
    QString m_testText;
    std::function<void()> m_restoreTestText;
    bool m_leaving = false;
    std::function<void()> m_openHistory;
    std::function<void()> m_openMissed;
};

} // namespace stats
