// Feeds arbitrary bytes to the reading of the segmentation library's dictionary. A file
// it refuses gets a message naming the file; a file it takes segments a text into tags
// of the right kinds, one per unit, and gives codes of digits only.
#include "fuzzsupport.h"

#include "codes.h"
#include "dictionary.h"
#include "segmenter.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::string error;
    const auto dict = marvik::Dictionary::parse(bytes, "fuzz.dic", error);
    if (!dict) {
        fuzz::check(error.find("fuzz.dic") != std::string::npos, "a refusal that names no file");
        return 0;
    }
    static const std::u16string text =
        u"我们学习中文，今天天气很好。abc123 “分词”输入法𠀀测试\n第二行";
    std::u16string tags(text.size(), u'x');
    marvik::segment(*dict, nullptr, text.data(), text.size(), tags.data());
    for (std::size_t i = 0; i < text.size(); ++i)
        fuzz::check(tags[i] == u'0' || tags[i] == u'1' || tags[i] == u'2' || tags[i] == u'4',
                    "a tag that is none");
    // The words of the file segment too, and each word or character has a code of digits.
    for (std::size_t start = 0; start < text.size(); start += 3) {
        const std::string code =
            marvik::wordCode(*dict, std::u16string_view(text).substr(start, 4));
        fuzz::check(code.size() <= 6, "a code longer than six digits");
        for (const char c : code)
            fuzz::check(c >= '0' && c <= '9', "a code with something other than digits");
    }
    return 0;
}
