#include "frmoptions.h"

#include "coding/colorref.h"
#include "coding/settings.h"
#include "prepare/frmdeffilter.h"
#include "widgets/centring.h"
#include "widgets/digitbox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace options {

namespace {

using coding::SettingValues;
using Key = coding::Settings::Key;

const QString kMessageTitle = QStringLiteral("提示信息");

struct ColorControl {
    const char *button;
    const char *label;
    const char *caption;
    Key key;
    qint32 SettingValues::*field;
};
const ColorControl kColorControls[frmOptions::kColorButtons] = {
    {"cmdSetColor1", "Label1", "交替颜色一", Key::AltColor1, &SettingValues::AltColor1},
    {"cmdSetColor2", "Label2", "交替颜色二", Key::AltColor2, &SettingValues::AltColor2},
    {"cmdSetRightColor", "Label3", "正确文字颜色", Key::RightColor, &SettingValues::RightColor},
    {"cmdSetErrorColor", "Label4", "错误文字颜色", Key::ErrorColor, &SettingValues::ErrorColor},
    {"cmdSetSymColor", "lblsymcolor", "标点符号颜色", Key::SymColor, &SettingValues::SymColor},
    {"cmdSetAlphaColor", "lblalphacolor", "英文及数字颜色", Key::AlphaColor,
     &SettingValues::AlphaColor},
};

// The numeric value of the leading digits of text (0 when it has none).
int leadingNumber(const QString &text) {
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 1'000'000)
            break;
    }
    return value;
}

template <typename T> T *named(T *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmOptions::frmOptions(coding::AppState &state, QWidget *parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("选项设置"));
    setModal(true);

    // Colours.
    Frame1 = named(new QGroupBox(QStringLiteral("颜色设置"), this), "Frame1");
    auto *colorGrid = new QGridLayout(Frame1);
    for (int i = 0; i < kColorButtons; ++i) {
        const ColorControl &c = kColorControls[i];
        colorLabels[i] = named(new QLabel(QString::fromUtf8(c.caption), Frame1), c.label);
        colorButtons[i] = named(new QPushButton(Frame1), c.button);
        colorButtons[i]->setAutoDefault(false);
        colorButtons[i]->setFixedSize(72, 24);
        colorButtons[i]->setAccessibleName(QString::fromUtf8(c.caption));
        colorLabels[i]->setBuddy(colorButtons[i]);
        colorGrid->addWidget(colorLabels[i], i, 0);
        colorGrid->addWidget(colorButtons[i], i, 1);
        const auto button = ColorButton(i);
        connect(colorButtons[i], &QPushButton::clicked, this,
                [this, button] { chooseColor(button); });
    }
    cmdResetColor =
        named(new QPushButton(QStringLiteral("恢复默认颜色(&D)"), Frame1), "cmdResetColor");
    cmdResetColor->setAutoDefault(false);
    colorGrid->addWidget(cmdResetColor, kColorButtons, 0, 1, 2);
    connect(cmdResetColor, &QPushButton::clicked, this, &frmOptions::cmdResetColor_Click);

    // The other options.
    Frame2 = named(new QGroupBox(QStringLiteral("其他选项设置"), this), "Frame2");
    auto *other = new QVBoxLayout(Frame2);
    ckNeedFc = named(new QCheckBox(QStringLiteral("需要分词"), Frame2), "ckNeedFc");
    ckAutoOpenIme =
        named(new QCheckBox(QStringLiteral("自动打开Qorvan输入法"), Frame2), "ckAutoOpenIme");
    ckJmTips = named(new QCheckBox(QStringLiteral("需要简码提示"), Frame2), "ckJmTips");
    opLimitTime = named(new QRadioButton(QStringLiteral("限制时间"), Frame2), "opLimitTime");
    opNoLimitTime = named(new QRadioButton(QStringLiteral("不限制时间"), Frame2), "opNoLimitTime");
    txtLimitTime = named(new QLineEdit(Frame2), "txtLimitTime");
    txtLimitTime->setMaxLength(2);
    txtLimitTime->setFixedWidth(40);
    txtLimitTime->setFont(
        QFont(QStringLiteral("Times New Roman"), txtLimitTime->font().pointSize()));
    widgets::makeDigitBox(*txtLimitTime);
    txtLimitTime->installEventFilter(this);
    Label6 = named(new QLabel(QStringLiteral("分钟"), Frame2), "Label6");
    cmdDefineFilter =
        named(new QPushButton(QStringLiteral("自定义过滤符号(&F)"), Frame2), "cmdDefineFilter");
    cmdDefineFilter->setAutoDefault(false);
    other->addWidget(ckNeedFc);
    other->addWidget(ckAutoOpenIme);
    other->addWidget(ckJmTips);
    auto *limit = new QHBoxLayout;
    limit->addWidget(opLimitTime);
    limit->addWidget(txtLimitTime);
    limit->addWidget(Label6);
    limit->addStretch();
    other->addLayout(limit);
    other->addWidget(opNoLimitTime);
    other->addStretch();
    other->addWidget(cmdDefineFilter);
    connect(opLimitTime, &QRadioButton::toggled, this, &frmOptions::limitChoiceChanged);
    connect(cmdDefineFilter, &QPushButton::clicked, this, &frmOptions::cmdDefineFilter_Click);

    // OK (Enter) and Cancel (Esc).
    cmdOK = named(new QPushButton(QStringLiteral("确定(&O)"), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("取消(&C)"), this), "cmdCancel");
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *frames = new QHBoxLayout;
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addLayout(buttons);

    // Load: the settings as the program holds them.
    const SettingValues &s = m_state.settings;
    for (int i = 0; i < kColorButtons; ++i)
        showColor(ColorButton(i), s.*kColorControls[i].field);
    m_colorChanged = false;
    ckNeedFc->setChecked(s.NeedFc);
    m_needFcAtLoad = s.NeedFc;
    ckAutoOpenIme->setChecked(s.AutoOpenIme);
    ckJmTips->setChecked(s.NeedJmTips);
    m_needJmTipsAtLoad = s.NeedJmTips;
    if (s.IsLimitTime) {
        opLimitTime->setChecked(true);
        txtLimitTime->setText(QString::number(s.LimitTimeLen));
    } else {
        opNoLimitTime->setChecked(true);
    }
    limitChoiceChanged();
    widgets::centreOnFirstShow(*this);
}

frmOptions::~frmOptions() = default;

void frmOptions::showColor(ColorButton button, qint32 color) {
    m_colors[button] = color;
    const QColor c = coding::colorFromColorRef(color);
    colorButtons[button]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }")
            .arg(c.name()));
    colorButtons[button]->setProperty("colorref", color);
}

void frmOptions::limitChoiceChanged() {
    txtLimitTime->setEnabled(opLimitTime->isChecked());
}

void frmOptions::tellExclamation(const QString &text) {
    m_state.services.messages().show(text, kMessageTitle, coding::MsgButtons::Ok,
                                     coding::MsgIcon::Exclamation);
}

void frmOptions::chooseColor(ColorButton button) {
    const qint32 old = m_colors[button];
    // The colour dialog starts at the button's colour; a cancel changes nothing.
    const std::optional<QColor> chosen =
        m_state.services.colors().getColor(coding::colorFromColorRef(old));
    if (!chosen || !chosen->isValid())
        return;
    const qint32 color = coding::colorRefFromColor(*chosen);
    // The right colour counts as changed whenever a colour was chosen, the error
    // colour never (typed text is coloured afresh at each test); the others when the
    // colour differs, even if it is then refused.
    if (button == Right || (button != Error && color != old))
        m_colorChanged = true;
    for (int i = 0; i < kColorButtons; ++i) {
        if (i != button && m_colors[i] == color) {
            tellExclamation(QStringLiteral("所选颜色与已使用的颜色相同，请使用其它颜色！"));
            return;
        }
    }
    showColor(button, color);
}

void frmOptions::cmdResetColor_Click() {
    // The defaults take effect in the program at once, even if the dialog is then
    // cancelled; the store is written only by OK.
    coding::Settings::resetColors(m_state.settings);
    for (int i = 0; i < kColorButtons; ++i) {
        const qint32 def = m_state.settings.*kColorControls[i].field;
        if (m_colors[i] == def)
            continue;
        showColor(ColorButton(i), def);
        if (i != Right && i != Error)
            m_colorChanged = true;
    }
}

void frmOptions::cmdOK_Click() {
    SettingValues &s = m_state.settings;
    coding::Settings store;
    bool written = true;
    for (int i = 0; i < kColorButtons; ++i) {
        s.*kColorControls[i].field = m_colors[i];
        written = store.save(s, kColorControls[i].key) && written;
    }
    s.NeedJmTips = ckJmTips->isChecked();
    written = store.save(s, Key::NeedJmTips) && written;
    s.NeedFc = ckNeedFc->isChecked();
    written = store.save(s, Key::NeedFc) && written;
    s.AutoOpenIme = ckAutoOpenIme->isChecked();
    written = store.save(s, Key::AutoOpenIme) && written;

    bool limitAccepted = true;
    int minutes = 0;
    if (opLimitTime->isChecked()) {
        s.IsLimitTime = true;
        minutes = leadingNumber(txtLimitTime->text());
        if (minutes < 5) {
            limitAccepted = false;
            tellExclamation(QStringLiteral("输入的限制时间为(5～99)分钟，请重新输入！"));
            txtLimitTime->setFocus();
        } else {
            // As typed: "05" stays "05".
            written = store.saveText(Key::LimitTimeLen, txtLimitTime->text()) && written;
        }
    } else {
        s.IsLimitTime = false;
    }
    written = store.save(s, Key::IsLimitTime) && written;

    if (s.IsLimitTime && limitAccepted)
        s.LimitTimeLen = minutes;
    if (!written)
        tellExclamation(QStringLiteral("设置无法写入配置文件，下次启动时将恢复原来的设置！"));
    if (limitAccepted)
        accept();

    if (m_colorChanged || s.NeedFc != m_needFcAtLoad || s.NeedJmTips != m_needJmTipsAtLoad)
        emit displayChanged();
}

void frmOptions::cmdDefineFilter_Click() {
    prepare::frmDefFilter dialog(m_state, this);
    execDialog(dialog);
}

bool frmOptions::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtLimitTime && widgets::dropsNonDigitKey(*event, m_state.services.beep()))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace options
