#pragma once

// frmPreSplit, "分词结果处理 ": the segmentation editor. A text opened through the
// open-file dialog (this window is its TextReceiver) shows as words separated by
// blanks; "修    改" unlocks it so that the learner moves, adds or removes blanks;
// "保存结果" turns the words into a tag string (editedsegmentation.h) and saves the
// text, without blanks and coloured by the new tags, as an example file pair
// (examplefile.h) for the test window.
//
// The window is opened modally from the main window (run()).

#include "textreceiver.h"

#include "coding/appstate.h"
#include "widgets/layout.h"
#include "widgets/pictures.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QDialog;
class QEventLoop;
class QFrame;
class QLabel;
class QStatusBar;
class QTextEdit;

namespace widgets {
class PictureButton;
}

namespace prepare {

inline const QString kModifyCaption = QStringLiteral("修    改");
inline const QString kModifyingCaption = QStringLiteral("修 改 中");
inline const QString kSaveDialogTitle = QStringLiteral("保存修改结果");
// Asked when unsaved corrections would be lost (closing, opening another text).
inline const QString kUnsavedEditsQuestion =
    QStringLiteral("分词结果已经修改，但还没有保存。要保存修改结果吗？");

inline const QString kCustomCodesQuestion =
    QStringLiteral("例文中有些词没有编码。要现在为它们指定自定义编码吗？");

class frmPreSplit : public QMainWindow, public TextReceiver {
    Q_OBJECT
public:
    // Sizes of the design, in device-independent pixels (15 twips = 1 px).
    static constexpr QSize kDesignSize{800, 600};
    static constexpr QSize kMinimumSize{600, 533}; // 9000 x 8000 twips

    explicit frmPreSplit(coding::AppState &state, QWidget *parent = nullptr);
    ~frmPreSplit() override;

    // Opens the window modally over parent and returns when it has closed. When
    // its pictures are missing it tells the user and returns false: the program
    // is to end.
    // customWordList opens the list of the words that a save found without a code.
    using CustomWordList = std::function<void(QWidget &parent, const QString &handOver)>;
    static bool run(coding::AppState &state, QWidget &parent, CustomWordList customWordList = {});

    // Loading: centring, pictures, layout, settings, states, the help text. False
    // when a picture is missing: the message has been shown.
    bool Form_Load();
    // Shows the window modally and returns when it has closed.
    void exec();

    // Runs a dialog modally (the open-file dialog); tests replace it.
    std::function<int(QDialog &)> execDialog;
    // After a save that found words without a code, the program offers to give them
    // custom codes here (the window itself knows no custom words).
    CustomWordList customWordList;

    // The hand-over of the open-file dialog: the words separated by blanks.
    void receiveText(const PreparedText &prepared, const ProgressCallback &progress) override;

    // Event handlers, named as in the window's design.
    void cmdFile_Click();
    void cmdModify_Click();
    void cmdUndo_Click();
    void cmdReset_Click();
    // True when the example was saved.
    bool cmdSave_Click();
    void cmdExit_Click();

    // After a save: the words of the text that have no code in the code database
    // while their first character has one, each followed by a blank (for the
    // custom word list); empty when the last save found none.
    const QString &Tag() const { return m_tag; }
    // The example file of the last save (empty before one).
    const QString &savedFile() const { return m_savedFile; }
    std::array<int, 3> baseFontSizes() const { return m_baseFontSizes; }
    const widgets::LayoutScale &layoutScale() const { return m_layout; }

    // Controls, named as in the window's design.
    QTextEdit *txtMain;
    QLabel *lblPreSplit;
    QLabel *lblTips;
    QFrame *Shape1;
    widgets::PictureButton *cmdFile;
    widgets::PictureButton *cmdModify;
    widgets::PictureButton *cmdUndo;
    widgets::PictureButton *cmdReset;
    widgets::PictureButton *cmdSave;
    widgets::PictureButton *cmdExit;
    QStatusBar *StatusBar1;
    std::array<QLabel *, 2> StatusBar1Panels{}; // welcome, the file

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_Resize();
    void placeText();
    void setLocked(bool locked);
    void txtMain_Edited();
    // Recolours txtMain by state.text.SegmentTags, off the undo history.
    void colourText(const ProgressCallback &progress = {});
    // True when nothing unsaved would be lost: there were no corrections, or the
    // learner saved them or chose to drop them.
    bool unsavedEditsHandled();
    void enterPressed();

    coding::AppState &m_state;
    widgets::LayoutScale m_layout;
    widgets::Background m_background;
    std::array<int, 3> m_baseFontSizes{};
    QString m_tag;
    QString m_savedFile;
    bool m_edited = false;    // corrections not saved yet
    bool m_colouring = false; // txtMain changes by the program, not by the learner
    bool m_loaded = false;
    bool m_closed = false;
    QEventLoop *m_loop = nullptr;
};

} // namespace prepare
