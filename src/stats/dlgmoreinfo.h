#pragma once

#include "coding/appstate.h"
#include "coding/candidates.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTableWidget;

namespace stats {

// "详细信息": the distinct words of the test text, one grid per length class on a
// tab strip, with their counts, codes and candidate places (WordTable, built by
// the result dialog's "更多信息(&M)"; the place of each item among the candidates
// of its shortest code from jtdb.dat, empty when unknown), and the learner's
// figures: characters typed, input bursts by length, key presses and key presses
// per character (kept in the state for the statistics report). Leads to the
// keystroke dialogs DlgKeys and DlgUserKeys. Everything is recomputed each time it
// opens.
class DlgMoreInfo : public QDialog {
    Q_OBJECT
public:
    explicit DlgMoreInfo(coding::AppState &state, QWidget *parent = nullptr);

private:
    void fillGrid(QTableWidget &grid, size_t lengthClass, coding::CandidateTable &candidates);
    void showUserFigures();
    void tspWords_Click(int index);
    void cmdKeys_Click();
    void cmdUserKeys_Click();

    coding::AppState &m_state;

    QGroupBox *Frame1;
    QTabBar *tspWords;
    QStackedWidget *m_gridStack;
    std::array<QTableWidget *, 5> fgwords{};
    QGroupBox *Frame2;
    QLabel *Label1;
    QLabel *lblTotalWord;
    std::array<QLabel *, 5> lblWordLenCaptions{}; // Label2 ... Label6
    std::array<QLabel *, 5> lblWordLen{};
    QLabel *Label7;
    QLabel *lblUserKeys;
    QLabel *Label8;
    QLabel *lblAvrKeys;
    QLabel *Label9;
    QLabel *lblBestKeys; // 理论码长: the fewest keys of the text a character
    QPushButton *cmdKeys;
    QPushButton *cmdUserKeys;
    QPushButton *cmdOk;
};

} // namespace stats
