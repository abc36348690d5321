#pragma once

#include <QList>
#include <QString>

#include <memory>

namespace coding {

struct AppState;

// The values of the eleven settings, as the program uses them. Colours are COLORREF
// values, 0x00BBGGRR, red in the low byte (coding::colorFromColorRef).
struct SettingValues {
    qint32 AltColor1 = 0;     // words tagged "0"
    qint32 AltColor2 = 0;     // words tagged "1"
    qint32 RightColor = 0;    // correctly typed text
    qint32 ErrorColor = 0;    // wrongly typed text
    qint32 SymColor = 0;      // punctuation (tag "2")
    qint32 AlphaColor = 0;    // letters and digits (tag "4")
    bool NeedJmTips = false;  // hint mark on words that have a short code
    bool NeedFc = false;      // show the segmentation by colours
    bool AutoOpenIme = false; // switch the input method on when a test starts
    bool IsLimitTime = false; // limit the test time
    int LimitTimeLen = 0;     // the time limit in minutes

    friend bool operator==(const SettingValues &, const SettingValues &) = default;
};

class SettingsFile;

// The eleven per-user settings. This class is the only place that knows the keys,
// their stored forms and their defaults, and the only user of the settings file
// (settingsfile.h, the file QSettings keeps for organisation and application
// "Trevix2006"), group "用户设置". All values are stored as text: colours as the
// decimal COLORREF, switches as True/False, the time limit as decimal minutes. A
// value that is not plain text reads as empty.
class Settings {
public:
    // In the order in which they are seeded and loaded.
    enum class Key {
        AltColor1,
        AltColor2,
        RightColor,
        ErrorColor,
        SymColor,
        AlphaColor,
        NeedJmTips,
        NeedFc,
        AutoOpenIme,
        IsLimitTime,
        LimitTimeLen,
    };
    enum class Kind { Color, Switch, Minutes };

    struct KeyInfo {
        Key key;
        QString name; // the key in the store
        Kind kind;
        QString defaultText; // the default in its stored form
    };
    static const QList<KeyInfo> &keys();
    static const KeyInfo &info(Key key);

    Settings();
    // The settings in the file at path rather than the user's.
    explicit Settings(const QString &path);
    ~Settings();
    Settings(const Settings &) = delete;
    Settings &operator=(const Settings &) = delete;

    // The stored text of a key; an absent key reads as the empty string.
    QString storedText(Key key) const;

    // Writes the default of every key whose stored text is empty; keys that hold
    // any other text, or a value that is no plain text, are left as they are.
    void seedDefaults();

    // Converts every stored value into its field of values. A value that cannot be
    // converted gives the key's default; the stored text is left as it is.
    void loadInto(SettingValues &values) const;

    // Writes one field, or all eleven, back in the stored form. Returns false when
    // the store could not be written.
    bool save(const SettingValues &values, Key key);
    bool saveAll(const SettingValues &values);
    // Writes text as key's stored value, as the user typed it (a time limit of "05").
    bool saveText(Key key, const QString &text);

    // The stored form of a field's current value.
    static QString storedForm(const SettingValues &values, Key key);

    // Puts the six colour defaults back into values (the stored values are not touched).
    static void resetColors(SettingValues &values);

    // Why the file could not be read (too large, unreadable): the defaults are used
    // then and the file is not overwritten.
    QString loadError() const { return m_loadError; }

private:
    std::unique_ptr<SettingsFile> m_store;
    QString m_loadError;
};

// Seeds missing settings with their defaults, then loads all eleven into
// state.settings.
void LoadSettings(AppState &state);

} // namespace coding
