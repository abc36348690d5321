#include "inputmethod.h"

#include "fcitxbackend.h"
#include "ibusbackend.h"

#include <QFileInfo>

namespace ime {

namespace {

const QString kMissingText =
    QStringLiteral("本计算机未安装Qorvan输入法第四版，\r\n本软件大部分功能无法正常使用！");
const QString kNoFrameworkText = QStringLiteral(
    "本计算机没有运行输入法框架（IBus 或 Fcitx 5），\r\n无法使用Qorvan输入法第四版。\r\n"
    "请先启动输入法框架（例如 ibus-daemon -drx 或 fcitx5 -d），再启动本软件。");
const QString kMissingTitle = QStringLiteral("Qorvan输入法第四版");
const QString kHandOverText =
    QStringLiteral("自定义词已加入自定义词库，但还不能用 %1 打出：\r\n%2");

QString idOf(const QList<InputMethodInfo> &methods, const QString &name) {
    for (const auto &method : methods)
        if (method.name == name && !method.id.isEmpty())
            return method.id;
    return {};
}

void tell(coding::AppState &state, const QString &text) {
    state.services.messages().show(text, kMissingTitle, coding::MsgButtons::Ok,
                                   coding::MsgIcon::Critical);
}

enum class Fcitx { Always, WhenOlder };

void handOver(coding::AppState &state, const QList<coding::CustomWord> &words,
              const UserPhraseFiles &files, Fcitx fcitx, const QString &customFile) {
    if (words.isEmpty())
        return;
    InputMethodBackend *backend = state.inputMethod.backend;
    const QString running = backend ? backend->frameworkName() : QString();
    QString ibusError;
    const int ibus = addIbusUserPhrases(files, words, &ibusError);
    QString fcitxError;
    int fcitxAdded = 0;
    const QFileInfo dictionary(files.fcitxDictionary);
    if (fcitx == Fcitx::Always || !dictionary.exists() ||
        dictionary.lastModified() < QFileInfo(customFile).lastModified())
        fcitxAdded = addFcitxUserPhrases(files, words, &fcitxError);
    const bool isIbus = running == QLatin1String("IBus");
    const bool isFcitx = running == QLatin1String("Fcitx 5");
    if ((isIbus && ibus > 0) || (isFcitx && fcitxAdded > 0)) {
        if (!state.inputMethod.ImeLayoutHandle.isEmpty())
            backend->reloadUserPhrases(state.inputMethod.ImeLayoutHandle);
    }
    const QString error = isIbus && ibus < 0          ? ibusError
                          : isFcitx && fcitxAdded < 0 ? fcitxError
                                                      : QString();
    if (!error.isEmpty())
        state.services.messages().show(kHandOverText.arg(running, error), kMissingTitle,
                                       coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
}

} // namespace

void HandOverCustomWords(coding::AppState &state, const QList<coding::CustomWord> &words,
                         const UserPhraseFiles &files) {
    handOver(state, words, files, Fcitx::Always, {});
}

void SyncCustomWords(coding::AppState &state, const UserPhraseFiles &files) {
    const QString customFile = state.library ? state.library->customWordFile() : QString();
    if (customFile.isEmpty())
        return;
    handOver(state, coding::readCustomWordFile(customFile), files, Fcitx::WhenOlder, customFile);
}

std::unique_ptr<InputMethodBackend> chooseInputMethodBackend() {
    // The framework that delivers Qt's typing is the one to switch; without a
    // hint Fcitx 5 goes first because it also answers as IBus.
    const bool ibusFirst = qEnvironmentVariable("QT_IM_MODULE").startsWith(QLatin1String("ibus"));
    if (ibusFirst) {
        if (auto ibus = IBusBackend::connect())
            return ibus;
    }
    if (auto fcitx = FcitxBackend::connect())
        return fcitx;
    if (!ibusFirst) {
        if (auto ibus = IBusBackend::connect())
            return ibus;
    }
    return nullptr;
}

void DetectInputMethod(coding::AppState &state, InputMethodBackend *backend) {
    state.inputMethod.backend = backend;
    if (!backend) {
        // No framework runs: nothing can be typed with the input method, and
        // installing it would not help.
        tell(state, kNoFrameworkText);
        return;
    }
    const auto methods = backend->list();
    if (!methods)
        return; // the framework does not answer: nothing to switch, nothing to say
    QString id = idOf(*methods, kImeNameFourth);
    if (id.isEmpty())
        id = idOf(*methods, kImeName2002);
    if (id.isEmpty())
        tell(state, kMissingText);
    else
        state.inputMethod.ImeLayoutHandle = id;
    state.inputMethod.EnglishLayoutHandle = backend->englishId();
}

void OpenInputMethod(coding::AppState &state) {
    if (state.inputMethod.backend && !state.inputMethod.ImeLayoutHandle.isEmpty())
        state.inputMethod.backend->activate(state.inputMethod.ImeLayoutHandle);
}

void CloseInputMethod(coding::AppState &state) {
    if (state.inputMethod.backend && !state.inputMethod.EnglishLayoutHandle.isEmpty())
        state.inputMethod.backend->activate(state.inputMethod.EnglishLayoutHandle);
}

} // namespace ime
