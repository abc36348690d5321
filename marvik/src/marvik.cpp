// The C interface: process-wide state, lazy thread-safe loading and argument checks.
#include "marvik/marvik.h"

#include "codes.h"
#include "custom_words.h"
#include "dictionary.h"
#include "internal.h"
#include "segmenter.h"
#include "utf.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <shared_mutex>
#include <string>
#include <unistd.h>

namespace marvik {

namespace {

struct State {
    // Guards everything below but the flag and the error; loading and changes to the
    // custom words take it exclusively, segmentation and code look-ups shared.
    std::shared_mutex mutex;
    std::atomic<bool> loaded{false};
    std::unique_ptr<Dictionary> dict;
    CustomWords custom;
    bool customRead = false; // custom holds the words of the file at customPath()
    std::string userPath;    // set by MarvikSetUserDictPath; empty: the default

    std::mutex errorMutex;
    std::string lastError;
};

// Never destroyed, so that calls made while the process exits still find it.
State &state() {
    static State *s = new State;
    return *s;
}

void setError(State &s, std::string message) {
    std::lock_guard lock(s.errorMutex);
    s.lastError = std::move(message);
}

std::string defaultCustomPath() {
    std::string base;
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd *pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : nullptr;
        }
        if (!home || !*home)
            return {};
        base = std::string(home) + "/.local/share";
    }
    return base + "/Trevix2006/custom.dic";
}

std::string customPath(const State &s) {
    return s.userPath.empty() ? defaultCustomPath() : s.userPath;
}

void readCustomWords(State &s) {
    s.custom.read(customPath(s));
    s.customRead = true;
}

int16_t ensureLoaded(const char16_t *dictDir) {
    State &s = state();
    if (s.loaded.load(std::memory_order_acquire))
        return MARVIK_OK;
    std::unique_lock lock(s.mutex);
    if (s.loaded.load(std::memory_order_relaxed))
        return MARVIK_OK;
    std::string dir;
    if (!dictDir) {
        setError(s, "marvik.dic: no dictionary directory given");
        return MARVIK_ERR_DICTIONARY;
    }
    if (!utf16ToUtf8(nulTerminated(dictDir), dir)) {
        setError(s, "marvik.dic: the dictionary directory is not valid UTF-16");
        return MARVIK_ERR_DICTIONARY;
    }
    std::string path = dir;
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    path += "marvik.dic";
    try {
        std::string error;
        std::unique_ptr<Dictionary> dict = Dictionary::load(path, error);
        if (!dict) {
            setError(s, std::move(error));
            return MARVIK_ERR_DICTIONARY;
        }
        s.dict = std::move(dict);
        readCustomWords(s);
    } catch (const std::exception &e) {
        s.dict.reset();
        setError(s, std::string("marvik.dic: cannot load: ") + e.what());
        return MARVIK_ERR_DICTIONARY;
    }
    setError(s, {});
    s.loaded.store(true, std::memory_order_release);
    return MARVIK_OK;
}

// The number of characters (code points) of word.
std::size_t characterCount(std::u16string_view word) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < word.size(); ++i, ++n) {
        if (isHighSurrogate(word[i]) && i + 1 < word.size() && isLowSurrogate(word[i + 1]))
            ++i;
    }
    return n;
}

} // namespace

void resetForTests() {
    State &s = state();
    std::unique_lock lock(s.mutex);
    s.loaded.store(false);
    s.dict.reset();
    s.custom.clear();
    s.customRead = false;
    s.userPath.clear();
    setError(s, {});
}

} // namespace marvik

using namespace marvik;

int16_t MarvikLoad(const char16_t *dictDir) {
    try {
        return ensureLoaded(dictDir);
    } catch (...) {
        return MARVIK_ERR_DICTIONARY;
    }
}

const char *MarvikLastError(void) {
    // A copy per thread, so that the text stays valid while another thread fails anew.
    thread_local std::string copy;
    try {
        State &s = state();
        std::lock_guard lock(s.errorMutex);
        copy = s.lastError;
    } catch (...) {
        return "";
    }
    return copy.c_str();
}

int16_t MarvikSetUserDictPath(const char16_t *path) {
    try {
        std::string p;
        if (path && !utf16ToUtf8(nulTerminated(path), p))
            return MARVIK_ERR_ARGUMENT;
        State &s = state();
        std::unique_lock lock(s.mutex);
        s.userPath = std::move(p);
        s.custom.clear();
        s.customRead = false;
        if (s.dict)
            readCustomWords(s);
        return MARVIK_OK;
    } catch (...) {
        return MARVIK_ERR_ARGUMENT;
    }
}

int16_t DivideSentence(const char16_t *dictDir, const char16_t *text, int32_t textLen,
                       char16_t *tags, int32_t tagsCapacity) {
    if (!text || !tags || textLen < 0 || tagsCapacity < 0)
        return MARVIK_ERR_ARGUMENT;
    try {
        if (const int16_t r = ensureLoaded(dictDir); r != MARVIK_OK)
            return r;
        if (tagsCapacity < textLen)
            return MARVIK_ERR_BUFFER;
        State &s = state();
        std::shared_lock lock(s.mutex);
        segment(*s.dict, &s.custom.trie(), text, static_cast<std::size_t>(textLen), tags);
        if (tagsCapacity > textLen)
            tags[textLen] = 0;
        return MARVIK_OK;
    } catch (...) {
        return MARVIK_ERR_DICTIONARY;
    }
}

int16_t Convert(const char16_t *word, char16_t *codeBuf, int32_t capacity) {
    if (!word || !codeBuf || capacity < 0)
        return MARVIK_ERR_ARGUMENT;
    try {
        State &s = state();
        std::shared_lock lock(s.mutex);
        if (!s.dict)
            return MARVIK_ERR_DICTIONARY;
        const std::string code = wordCode(*s.dict, nulTerminated(word));
        if (code.size() + 1 > static_cast<std::size_t>(capacity))
            return MARVIK_ERR_BUFFER;
        for (std::size_t i = 0; i < code.size(); ++i)
            codeBuf[i] = static_cast<char16_t>(code[i]);
        codeBuf[code.size()] = 0;
        return static_cast<int16_t>(code.size());
    } catch (...) {
        return MARVIK_ERR_DICTIONARY;
    }
}

int16_t AddWord(const char16_t *code, const char16_t *word) {
    if (!code || !word)
        return -1;
    try {
        const std::u16string_view w = nulTerminated(word);
        const std::u16string_view c = nulTerminated(code);
        if (!isUsableCustomWord(w) || !isUsableCustomCode(c))
            return -1;
        State &s = state();
        std::unique_lock lock(s.mutex);
        const std::string path = customPath(s);
        if (path.empty())
            return -1;
        if (!s.customRead)
            readCustomWords(s);
        if ((s.dict && s.dict->words().find(w) != 0) || s.custom.code(w))
            return 1;
        return s.custom.append(path, std::u16string(w), std::string(c.begin(), c.end())) ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

int16_t GetItemCode(const char16_t *item, char16_t *codeBuf, int32_t capacity) {
    if (!item || !codeBuf || capacity < 0)
        return -1;
    try {
        State &s = state();
        std::shared_lock lock(s.mutex);
        if (!s.dict)
            return -1;
        const std::u16string_view w = nulTerminated(item);
        // A character's own code comes first, then a custom word's, then the code rule.
        std::string code;
        if (characterCount(w) == 1)
            code = wordCode(*s.dict, w);
        if (code.empty()) {
            if (const std::string *custom = s.custom.code(w))
                code = *custom;
            else
                code = wordCode(*s.dict, w);
        }
        if (code.empty())
            return 0;
        if (code.size() > static_cast<std::size_t>(capacity))
            return -1;
        for (std::size_t i = 0; i < code.size(); ++i)
            codeBuf[i] = static_cast<char16_t>(code[i]);
        for (std::size_t i = code.size(); i < static_cast<std::size_t>(capacity); ++i)
            codeBuf[i] = u' ';
        return static_cast<int16_t>(code.size());
    } catch (...) {
        return -1;
    }
}
