#pragma once

#include "coding/appstate.h"
#include "widgets/pictures.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTextEdit;

namespace widgets {
class PictureButton;
}

namespace words {

// "添加自定义词": adds one word with a numeric custom code through the
// segmentation library's AddWord. The library proposes a code (Convert) at every
// change of the word; the word may be picked with the mouse from a segmentation
// result file (*.fcr) shown on the left.
class DlgAddWord : public QDialog {
    Q_OBJECT
public:
    explicit DlgAddWord(coding::AppState &state, QWidget *parent = nullptr);
    ~DlgAddWord() override;

    QTextEdit *txtResult;
    QLabel *lblTips;
    QLabel *lblword;
    QLineEdit *txtWord;
    QLabel *lblcode;
    QLineEdit *txtCode;
    widgets::PictureButton *cmdModiRes;
    widgets::PictureButton *cmdAddWord;
    widgets::PictureButton *cmdExit;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void txtWord_Change();
    void applyEnablingRule();
    void txtResult_Click();
    void cmdAddWord_Click();
    void cmdModiRes_Click();

    coding::AppState &m_state;
    widgets::Background m_background;
};

} // namespace words
