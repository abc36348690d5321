#include "settings.h"

#include "appstate.h"

#include "settingsfile.h"

#include <limits>
#include <optional>

namespace coding {

namespace {

using Key = Settings::Key;
using Kind = Settings::Kind;

QString boolText(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<qint32> toColor(const QString &text) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(v);
}

// The words True and False in any letter case, or a number: 0 is false, any other
// number true.
std::optional<bool> toSwitch(const QString &text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v != 0.0;
}

std::optional<int> toMinutes(const QString &text) {
    bool ok = false;
    const short v = text.trimmed().toShort(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

// The field of a key, for reading (const state) and writing.
template <class State> auto &colorField(State &s, Key key) {
    switch (key) {
    case Key::AltColor1:
        return s.AltColor1;
    case Key::AltColor2:
        return s.AltColor2;
    case Key::RightColor:
        return s.RightColor;
    case Key::ErrorColor:
        return s.ErrorColor;
    case Key::SymColor:
        return s.SymColor;
    default:
        return s.AlphaColor;
    }
}

template <class State> auto &switchField(State &s, Key key) {
    switch (key) {
    case Key::NeedJmTips:
        return s.NeedJmTips;
    case Key::NeedFc:
        return s.NeedFc;
    case Key::AutoOpenIme:
        return s.AutoOpenIme;
    default:
        return s.IsLimitTime;
    }
}

// Sets the field of key from text; false when the text cannot be converted.
bool assign(SettingValues &s, const Settings::KeyInfo &k, const QString &text) {
    switch (k.kind) {
    case Kind::Color:
        if (const auto v = toColor(text)) {
            colorField(s, k.key) = *v;
            return true;
        }
        return false;
    case Kind::Switch:
        if (const auto v = toSwitch(text)) {
            switchField(s, k.key) = *v;
            return true;
        }
        return false;
    case Kind::Minutes:
        if (const auto v = toMinutes(text)) {
            s.LimitTimeLen = *v;
            return true;
        }
        return false;
    }
    return false;
}

} // namespace

const QList<Settings::KeyInfo> &Settings::keys() {
    static const QList<KeyInfo> table = {
        {Key::AltColor1, QStringLiteral("交替颜色一"), Kind::Color, QStringLiteral("0")},
        {Key::AltColor2, QStringLiteral("交替颜色二"), Kind::Color, QStringLiteral("16711680")},
        {Key::RightColor, QStringLiteral("正确文字颜色"), Kind::Color, QStringLiteral("65280")},
        {Key::ErrorColor, QStringLiteral("错误文字颜色"), Kind::Color, QStringLiteral("255")},
        {Key::SymColor, QStringLiteral("标点符号颜色"), Kind::Color, QStringLiteral("16711935")},
        {Key::AlphaColor, QStringLiteral("字母及数字颜色"), Kind::Color,
         QStringLiteral("16776960")},
        {Key::NeedJmTips, QStringLiteral("需要简码提示"), Kind::Switch, QStringLiteral("True")},
        {Key::NeedFc, QStringLiteral("需要分词"), Kind::Switch, QStringLiteral("True")},
        {Key::AutoOpenIme, QStringLiteral("是否自动打开输入法"), Kind::Switch,
         QStringLiteral("True")},
        {Key::IsLimitTime, QStringLiteral("是否限制时间"), Kind::Switch, QStringLiteral("False")},
        {Key::LimitTimeLen, QStringLiteral("限制时间长度"), Kind::Minutes, QStringLiteral("5")},
    };
    return table;
}

const Settings::KeyInfo &Settings::info(Key key) {
    return keys().at(int(key));
}

namespace {
const QString kGroup = QStringLiteral("用户设置");
}

Settings::Settings() : Settings(SettingsFile::defaultPath()) {}

Settings::Settings(const QString &path) : m_store(std::make_unique<SettingsFile>(path)) {
    m_store->load(&m_loadError);
}

Settings::~Settings() {
    if (m_store->changed())
        m_store->save();
}

QString Settings::storedText(Key key) const {
    return m_store->value(kGroup, info(key).name).value_or(QString());
}

void Settings::seedDefaults() {
    for (const KeyInfo &k : keys()) {
        if (!m_store->holdsValue(kGroup, k.name))
            m_store->setValue(kGroup, k.name, k.defaultText);
    }
}

void Settings::loadInto(SettingValues &values) const {
    for (const KeyInfo &k : keys()) {
        if (!assign(values, k, storedText(k.key)))
            assign(values, k, k.defaultText);
    }
}

QString Settings::storedForm(const SettingValues &values, Key key) {
    switch (info(key).kind) {
    case Kind::Color:
        return QString::number(colorField(values, key));
    case Kind::Switch:
        return boolText(switchField(values, key));
    case Kind::Minutes:
        return QString::number(values.LimitTimeLen);
    }
    return {};
}

bool Settings::save(const SettingValues &values, Key key) {
    m_store->setValue(kGroup, info(key).name, storedForm(values, key));
    return m_store->save();
}

bool Settings::saveText(Key key, const QString &text) {
    m_store->setValue(kGroup, info(key).name, text);
    return m_store->save();
}

bool Settings::saveAll(const SettingValues &values) {
    for (const KeyInfo &k : keys())
        m_store->setValue(kGroup, k.name, storedForm(values, k.key));
    return m_store->save();
}

void Settings::resetColors(SettingValues &values) {
    for (const KeyInfo &k : keys()) {
        if (k.kind == Kind::Color)
            assign(values, k, k.defaultText);
    }
}

void LoadSettings(AppState &state) {
    Settings settings;
    settings.seedDefaults();
    settings.loadInto(state.settings);
}

} // namespace coding
