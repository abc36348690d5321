// Hooks into the library's process-wide state for its own tests and benchmarks.
#pragma once

namespace marvik {

// Forgets the loaded dictionary, the custom words, the custom file path and the last
// error, so that the next call loads again. Not for use while other threads call the
// library.
void resetForTests();

} // namespace marvik
