#include "appstate.h"

#include "tags.h"

namespace coding {

void AppState::setText(const QString &newText, const QString &tags) {
    text.text = newText;
    text.SegmentTags = tags;
    const ClassCounts counts = countClasses(tags);
    text.HzCount = counts.HzCount;
    text.SymCount = counts.SymCount;
    text.AlphaCount = counts.AlphaCount;
    test = {};
    derived = {};
}

void AppState::beginTest() {
    test.TypedText.clear();
    derived.result.reset();
    derived.learner.reset();
    derived.typed.reset();
    derived.userKeys.reset();
}

} // namespace coding
