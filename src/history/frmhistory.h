#pragma once

#include "coding/appstate.h"
#include "historyfigures.h"
#include "resultshistory.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

class QChartView;
class QLineSeries;

namespace history {

// The recorded tests as the history's table shows them; sorting reorders the
// tests themselves (fast for tens of thousands of rows).
class TestTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Time,
        Text,
        Duration,
        Total,
        Accuracy,
        Speed,
        EffSpeed,
        KeysPerChar,
        BestKeysPerChar,
        Count
    };

    void setEntries(QList<TestEntry> entries);
    const QList<TestEntry> &entries() const { return m_entries; }
    const TestEntry &entry(int row) const { return m_entries.at(row); }
    void removeEntry(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    QList<TestEntry> m_entries;
};

// "成绩记录": every test the learner took, the newest first (the table sorts by any
// column), a chart of speed, effective speed and accuracy over time for all texts
// or for the text of the selected test (a point a test, or a day or a week when
// there are many), the best and average figures, and for the selected test its
// review, its deletion (asked first) and the export of the table as CSV.
class frmHistory : public QDialog {
    Q_OBJECT
public:
    frmHistory(coding::AppState &state, ResultsHistory &history, QWidget *parent = nullptr);

    // Reads the tests from the history; false (the user told) when it cannot.
    bool load();

    // Runs a dialog modally; tests replace it so that nothing blocks.
    std::function<int(QDialog &)> execDialog = [](QDialog &dialog) { return dialog.exec(); };

    QTableView *tblTests;
    TestTableModel *model;
    QCheckBox *chkThisText;
    QChartView *chartView;
    QLineSeries *seriesSpeed, *seriesEffSpeed, *seriesAccuracy;
    QLabel *lblSummary;
    QLabel *lblGrouping;
    QPushButton *cmdReview, *cmdMissed, *cmdDelete, *cmdExport, *cmdClose;

    void cmdReview_Click();
    void cmdMissed_Click();
    void cmdDelete_Click();
    void cmdExport_Click();

private:
    int selectedRow() const;
    // The selected test as recorded, or nothing (the user told when it cannot be read).
    std::optional<TestDetail> selectedDetail();
    void updateChart();
    void updateSummary();
    void updateButtons();
    void tell(const QString &text, coding::MsgIcon icon);

    coding::AppState &m_state;
    ResultsHistory &m_history;
};

// Opens the history window over the program's history (state.history), as the
// main window and the result dialog do. Nothing when the program keeps none.
void showHistory(coding::AppState &state, QWidget *parent);

} // namespace history
