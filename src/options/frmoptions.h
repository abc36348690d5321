#pragma once

#include "coding/appstate.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace options {

// "选项设置": the six display colours, the switches 需要分词, 自动打开输入法 and
// 需要简码提示, and the time limit of a test. Colour buttons and check boxes are
// working copies until "确定(&O)", which writes every setting through
// coding::Settings; only "恢复默认颜色(&D)" puts the default colours into the
// running program at once. The dialog does not know the test window: after each
// OK it emits displayChanged() when a setting that colours the test text changed.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    // The colour buttons, in the order in which OK writes them.
    enum ColorButton { Alt1, Alt2, Right, Error, Sym, Alpha };
    static constexpr int kColorButtons = 6;

    explicit frmOptions(coding::AppState &state, QWidget *parent = nullptr);
    ~frmOptions() override;

    // The colour a button shows (COLORREF), the dialog's working copy.
    qint32 buttonColor(ColorButton button) const { return m_colors[button]; }
    // A colour that the text colouring uses may have changed during this visit.
    bool colorChanged() const { return m_colorChanged; }

    // Runs a dialog modally (the filter-symbol editor); tests replace it.
    std::function<int(QDialog &)> execDialog = [](QDialog &dialog) { return dialog.exec(); };

signals:
    // After an OK: the colours, 需要分词 or 需要简码提示 changed, so a test text on
    // screen is to be coloured again.
    void displayChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseColor(ColorButton button);
    void cmdResetColor_Click();
    void cmdOK_Click();
    void cmdDefineFilter_Click();
    void showColor(ColorButton button, qint32 color);
    void limitChoiceChanged();
    void tellExclamation(const QString &text);

    coding::AppState &m_state;
    std::array<qint32, kColorButtons> m_colors{};
    bool m_colorChanged = false;
    bool m_needFcAtLoad = false;
    bool m_needJmTipsAtLoad = false;

public:
    QGroupBox *Frame1;
    std::array<QPushButton *, kColorButtons> colorButtons{}; // cmdSetColor1 … cmdSetAlphaColor
    std::array<QLabel *, kColorButtons> colorLabels{};       // Label1 … lblalphacolor
    QPushButton *cmdResetColor;
    QGroupBox *Frame2;
    QCheckBox *ckNeedFc;
    QCheckBox *ckAutoOpenIme;
    QCheckBox *ckJmTips;
    QRadioButton *opLimitTime;
    QRadioButton *opNoLimitTime;
    QLineEdit *txtLimitTime;
    QLabel *Label6;
    QPushButton *cmdDefineFilter;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
};

} // namespace options
