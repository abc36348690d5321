// trevix-seg: segments UTF-8 text from standard input with the library's dictionary and
// writes one line per input line: the words separated by blanks, or with --tags the tags.
#include "marvik/marvik.h"

#include "utf.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitDictionary = 2;

void printUsage(std::FILE *out) {
    std::fputs("Usage: trevix-seg [--tags] [--dict DIR]\n"
               "Splits the Chinese text on standard input into words and writes, for every\n"
               "input line, its words separated by blanks (blanks of the input are dropped).\n"
               "\n"
               "  --tags      write each line's tags instead: one per UTF-16 unit, 0/1 for\n"
               "              alternate Chinese words, 4 for runs of letters and digits, 2 for\n"
               "              everything else\n"
               "  --dict DIR  the directory of marvik.dic (default: the program's directory)\n"
               "  --help      show this help\n"
               "\n"
               "Exit status: 0 done, 1 bad arguments, 2 dictionary missing or damaged.\n",
               out);
}

std::string executableDirectory() {
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return ".";
    std::string path(buf.data(), static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isBlank(char16_t u) {
    return u == u' ' || u == u'\t' || u == u'\v' || u == u'\f' || u == u'\r' || u == 0x00A0 ||
           u == 0x1680 || (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 ||
           u == 0x202F || u == 0x205F || u == 0x3000 || u == 0xFEFF;
}

// The words of a line by its tags: every Chinese word, every run of letters and digits and
// every run of other characters between blanks.
std::vector<std::u16string_view> words(std::u16string_view text, std::u16string_view tags) {
    std::vector<std::u16string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t tag = tags[i];
        if (tag == u'2' && isBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && tags[j] == tag && !(tag == u'2' && isBlank(text[j])))
            ++j;
        out.push_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

} // namespace

int main(int argc, char **argv) {
    bool printTags = false;
    std::string dictDir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printUsage(stdout);
            return 0;
        } else if (arg == "--tags") {
            printTags = true;
        } else if (arg == "--dict") {
            if (i + 1 >= argc) {
                std::fputs("trevix-seg: --dict needs a directory\n", stderr);
                return kExitUsage;
            }
            dictDir = argv[++i];
        } else if (arg.starts_with("--dict=")) {
            dictDir = std::string(arg.substr(7));
        } else {
            std::fprintf(stderr, "trevix-seg: unknown argument \"%s\"\n", argv[i]);
            printUsage(stderr);
            return kExitUsage;
        }
    }
    if (dictDir.empty())
        dictDir = executableDirectory();

    const std::u16string dir = marvik::utf8ToUtf16Lossy(dictDir);
    if (MarvikLoad(dir.c_str()) != MARVIK_OK) {
        std::fprintf(stderr, "trevix-seg: %s\n", MarvikLastError());
        return kExitDictionary;
    }

    std::ios::sync_with_stdio(false);
    std::string line;
    std::u16string tags;
    std::string out;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::u16string text = marvik::utf8ToUtf16Lossy(line);
        tags.assign(text.size() + 1, u'\0');
        const int16_t r = DivideSentence(dir.c_str(), text.data(), int32_t(text.size()),
                                         tags.data(), int32_t(tags.size()));
        if (r != MARVIK_OK) {
            std::fprintf(stderr, "trevix-seg: segmentation failed (%d) %s\n", int(r),
                         MarvikLastError());
            return kExitDictionary;
        }
        tags.pop_back();
        out.clear();
        if (printTags) {
            for (const char16_t t : tags)
                out.push_back(static_cast<char>(t));
        } else {
            std::string word;
            for (const std::u16string_view w : words(text, tags)) {
                if (!out.empty())
                    out.push_back(' ');
                marvik::utf16ToUtf8(w, word);
                out += word;
            }
        }
        out.push_back('\n');
        std::cout << out;
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
