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

} // namespace ime
