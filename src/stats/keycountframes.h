#pragma once

#include "keystrokes.h"

#include <array>

class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace stats {

// The frames of the two keystroke dialogs (DlgKeys, DlgUserKeys): "单字输入" with
// "使用标准码" and "使用简码", "词组输入" with the same two, each frame with its hint
// text, and in each row a caption label with the count label lblkeys(i) to its right.
// Lays them out in dialog (into layout) and returns the 24 count labels by index.
std::array<QLabel *, 24> buildKeyCountFrames(QDialog &dialog, QVBoxLayout &layout);

// The exit button OKButton (caption given) below the frames, the dialog's fixed size
// and its place in the middle of the screen.
QPushButton *addKeyCountExit(QDialog &dialog, QVBoxLayout &layout, const QString &caption);

// Shows each count as decimal text.
void showKeyCounts(const std::array<QLabel *, 24> &labels, const KeyCounts &counts);

} // namespace stats
