#pragma once

// Finding the Qorvan input method among the installed input methods and switching
// between it and the English keyboard around a test.
//
// main() picks the running framework with chooseInputMethodBackend(), keeps the
// backend alive for the whole run and calls DetectInputMethod once at start-up;
// the test window calls OpenInputMethod and CloseInputMethod. The handles (the ids
// of the two input methods) and the backend live in the AppState.

#include "coding/appstate.h"
#include "ime/inputmethodbackend.h"
#include "ime/userphrases.h"

#include <memory>

namespace ime {

// The display names searched for, in this order of preference.
inline const QString kImeNameFourth = QStringLiteral("Qorvan输入法第四版");
inline const QString kImeName2002 = QStringLiteral("Qorvan输入法2002简易版");

// A backend for the framework that is running (Fcitx 5 or IBus), or null when
// none is.
std::unique_ptr<InputMethodBackend> chooseInputMethodBackend();

// Looks for "Qorvan输入法第四版", then for "Qorvan输入法2002简易版", among the
// input methods of backend (exact comparison) and sets state.inputMethod.ImeLayoutHandle and
// state.inputMethod.EnglishLayoutHandle; remembers backend in state.inputMethod.backend. When
// neither is installed it tells the user once through state.services.messages(); when
// backend is null (no framework runs) it says that instead, and how to start one. When
// the framework cannot be asked it stays silent and sets nothing.
void DetectInputMethod(coding::AppState &state, InputMethodBackend *backend);

// Switches the typing to the Qorvan input method. Fcitx 5 switches the focused
// text field: call it when the input box has the focus.
void OpenInputMethod(coding::AppState &state);

// Switches the typing back to the English keyboard.
void CloseInputMethod(coding::AppState &state);

// Makes custom words that the library has just added typeable with their codes:
// adds them to the user's own phrases of both frameworks (files) and has the
// running framework read its phrases again. When the running framework's files
// cannot be written, the user is told why, once for the call; a framework that
// does not run is written for too, silently.
void HandOverCustomWords(coding::AppState &state, const QList<coding::CustomWord> &words,
                         const UserPhraseFiles &files = UserPhraseFiles::forUser());

// At start-up: hands over the words of the library's custom-word file that the
// frameworks may lack (added by trevix-seg, or before the files existed). The
// Fcitx 5 dictionary is left alone when it is newer than the custom-word file.
void SyncCustomWords(coding::AppState &state,
                     const UserPhraseFiles &files = UserPhraseFiles::forUser());

} // namespace ime
