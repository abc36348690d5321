#pragma once

#include "coding/appstate.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace words {

// "自定义编码": changes the custom code of one word of the list.
class dlgZdyCode : public QDialog {
    Q_OBJECT
public:
    dlgZdyCode(coding::AppState &state, const QString &word, QWidget *parent = nullptr);

    // What the code box holds when the dialog closes (possibly empty).
    QString code() const;

    QLabel *lblZdyWord;
    QLineEdit *txtCode;
    QPushButton *cmdOk;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    coding::AppState &m_state;
};

// "自定义词列表": the words that the segmentation editor found without a code,
// each with a custom code proposed by the library; a click on a row changes its
// code (dlgZdyCode); OK adds every row through AddWord and tells how many were
// added. Closing the window adds nothing.
class dlgZdyWordList : public QDialog {
    Q_OBJECT
public:
    // handOver: the editor's words, each followed by one blank.
    dlgZdyWordList(coding::AppState &state, const QString &handOver, QWidget *parent = nullptr);

    // Runs dlgZdyCode modally; tests replace it.
    std::function<int(QDialog &)> execDialog = [](QDialog &dialog) { return dialog.exec(); };

    QLabel *Label1;
    QTableWidget *gridWordList;
    QPushButton *OKButton;

private:
    void gridWordList_Click(int row);
    void OKButton_Click();

    coding::AppState &m_state;
};

} // namespace words
