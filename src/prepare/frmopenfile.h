#pragma once

#include "textreceiver.h"

#include "coding/appstate.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace prepare {

// "打开测试文件": the dialog through which every text enters the program. It reads
// and cleans a text file ("选择文件(&S)…"), segments, widens and filters it
// ("打开(&O)"), hands it to the window that opened it (a TextReceiver: the test
// window or the segmentation editor, as state.editor.EditorIsTarget says) and closes.
class frmOpenFile : public QDialog {
    Q_OBJECT
public:
    frmOpenFile(coding::AppState &state, TextReceiver &receiver, QWidget *parent = nullptr);

    // True once a file has been loaded that passed the length check (FileChosen).
    bool fileChosen() const { return m_fileChosen; }

private:
    void cmdSelectFile_Click();
    void cmdOpenFile_Click();
    void setProgress(int value, int maximum);
    void showExclamation(const QString &text);

    coding::AppState &m_state;
    TextReceiver &m_receiver;
    QString m_text; // the cleaned file text shown in txtFileContent
    bool m_fileChosen = false;

    QCheckBox *chkAlpha;
    QProgressBar *prgBar;
    QCheckBox *chkUserDefMb;
    QPlainTextEdit *txtFileContent;
    QPushButton *cmdSelectFile;
    QCheckBox *chkUseFilter;
    QPushButton *cmdExit;
    QPushButton *cmdOpenFile;
    QLabel *lblFileContent;
};

} // namespace prepare
