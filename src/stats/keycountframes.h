#pragma once

#include "keystrokes.h"

#include <array>

class QDialog;
class QLabel;
class QVBoxLayout;

namespace stats {

// The frames of the two keystroke dialogs (DlgKeys, DlgUserKeys): "单字输入" with
// "使用标准码" and "使用简码", "词组输入" with the same two, each frame with its hint
// text, and in each row a caption label with the count label lblkeys(i) to its right.
// Lays them out in dialog (into layout) and returns the 24 count labels by index.
std::array<QLabel *, 24> buildKeyCountFrames(QDialog &dialog, QVBoxLayout &layout);

// Shows each count as decimal text.
void showKeyCounts(const std::array<QLabel *, 24> &labels, const KeyCounts &counts);

} // namespace stats
