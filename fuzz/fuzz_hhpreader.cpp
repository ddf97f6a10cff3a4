// Project files: any bytes, decoded from any code page, read without a crash; files and
// window fields are pieces of single lines of the text, notices are text to show.
#include "FuzzCheck.h"
#include "base/CodePage.h"
#include "base/Utf8.h"
#include "chm/project/HhpReader.h"
#include "formats/TextDecoding.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using namespace folvane;
using namespace folvane::chm;

namespace {

bool holdsLineEnd(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void checkText(std::string_view text) {
    FUZZ_CHECK(!holdsLineEnd(text));
    FUZZ_CHECK(Utf8::isValid(text));
}

void checkProject(const HhpProject& project, std::string_view text) {
    for (const std::string& file : project.files) {
        checkText(file);
        FUZZ_CHECK(!file.empty());
        FUZZ_CHECK(file.back() != ' ' && file.back() != '\t');
        FUZZ_CHECK(text.find(file) != std::string_view::npos);
    }
    for (const HhpWindow& window : project.windows) {
        checkText(window.name);
        FUZZ_CHECK(!window.name.empty());
        for (const std::string& field : window.fields)
            checkText(field);
    }
    for (const std::string* option :
         {&project.compiledFile, &project.contentsFile, &project.indexFile, &project.defaultTopic,
          &project.defaultWindow, &project.title, &project.defaultFont})
        checkText(*option);
    for (const std::string& notice : project.notices) {
        FUZZ_CHECK(!notice.empty());
        checkText(notice);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the code page of text that is not UTF-8.
    constexpr std::array<std::uint32_t, 8> codePages{936, 950, 932, 949, 1252, 1251, 1258, 65001};
    const std::uint32_t codePage = codePages[data[0] % codePages.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const formats::DecodedText decoded = formats::decodeText(bytes, codePage);
    FUZZ_CHECK(Utf8::isValid(decoded.utf8));
    checkProject(HhpReader::read(decoded.utf8), decoded.utf8);

    // Back to the code page and again to UTF-8: both ways take any text.
    const std::string encoded = CodePage::fromUtf8(decoded.utf8, codePage, CodePage::Unmappable::NumericReference);
    FUZZ_CHECK(Utf8::isValid(CodePage::toUtf8(encoded, codePage)));
    return 0;
}
