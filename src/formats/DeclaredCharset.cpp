#include "formats/DeclaredCharset.h"

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "formats/HtmlTag.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace folvane::formats {

namespace {

constexpr std::uint32_t kUtf8 = CodePage::kUtf8;
constexpr std::uint32_t kGbk = CodePage::kGbk;
constexpr std::uint32_t kGb18030 = CodePage::kGb18030;
// A charset is declared near the start of a page; browsers look at no more than this either.
constexpr std::size_t kHeadBytes = 2048;
constexpr std::size_t kLongestLabel = 32;

struct Label {
    std::string_view name;
    std::uint32_t codePage;
};

// Sorted by name. Labels such as windows-1251, cp936 and iso-8859-2 are read as numbers.
constexpr std::array kLabels{
    Label{"ascii", 1252},
    Label{"big5", 950},
    Label{"big5-hkscs", 950},
    Label{"chinese", kGbk},
    Label{"cn-big5", 950},
    Label{"csgb2312", kGbk},
    Label{"csshiftjis", 932},
    Label{"euc-cn", kGbk},
    Label{"euc-jp", 20932},
    Label{"euc-kr", 949},
    Label{"gb18030", kGb18030},
    Label{"gb2312", kGbk},
    Label{"gbk", kGbk},
    Label{"ibm866", 866},
    Label{"koi8-r", 20866},
    Label{"koi8-u", 21866},
    Label{"ks_c_5601-1987", 949},
    Label{"l1", 1252},
    Label{"latin1", 1252},
    Label{"ms_kanji", 932},
    Label{"shift-jis", 932},
    Label{"shift_jis", 932},
    Label{"sjis", 932},
    Label{"tis-620", 874},
    Label{"unicode-1-1-utf-8", kUtf8},
    Label{"us-ascii", 1252},
    Label{"utf-8", kUtf8},
    Label{"utf8", kUtf8},
    Label{"windows-31j", 932},
    Label{"x-euc-jp", 20932},
    Label{"x-gbk", kGbk},
    Label{"x-sjis", 932},
    Label{"x-x-big5", 950},
};
static_assert(std::ranges::is_sorted(kLabels, {}, &Label::name));

std::optional<std::uint32_t> numberAfter(std::string_view label, std::string_view prefix) {
    if (!label.starts_with(prefix))
        return std::nullopt;
    const std::string_view digits = label.substr(prefix.size());
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return number;
}

// ISO 8859-1 is read as its superset 1252, as browsers do; 11 is Thai.
std::optional<std::uint32_t> isoCodePage(std::uint32_t part) {
    if (part == 1)
        return 1252;
    if (part == 11)
        return 874;
    if (part >= 2 && part <= 16 && part != 12)
        return 28590 + part;
    return std::nullopt;
}

// Only code pages that write ASCII as ASCII: the <meta> that names one was read as ASCII.
bool isAsciiCompatible(std::uint32_t codePage) {
    constexpr std::array kOthers{437u, 850u, 852u, 866u, 874u, 932u, 936u, 949u, 950u, kGb18030, kUtf8};
    return (codePage >= 1250 && codePage <= 1258) || std::ranges::find(kOthers, codePage) != kOthers.end();
}

std::optional<std::uint32_t> numberedCodePage(std::string_view label) {
    for (const std::string_view prefix : {"windows-", "cp", "x-cp"}) {
        if (const auto number = numberAfter(label, prefix); number && isAsciiCompatible(*number))
            return number;
    }
    for (const std::string_view prefix : {"iso-8859-", "iso8859-", "iso_8859-", "iso8859_"}) {
        if (const auto part = numberAfter(label, prefix))
            return isoCodePage(*part);
    }
    return std::nullopt;
}

// "charset=gbk" inside a Content-Type value: the label after '=', quoted or up to ';' or a blank.
std::string_view charsetInContentType(std::string_view content) {
    constexpr std::string_view kCharset = "charset";
    const std::string lowered = AsciiText::lowered(content);
    const std::size_t at = lowered.find(kCharset);
    if (at == std::string::npos)
        return {};
    std::size_t pos = at + kCharset.size();
    while (pos < content.size() && HtmlTag::isSpace(content[pos]))
        ++pos;
    if (pos >= content.size() || content[pos] != '=')
        return {};
    ++pos;
    while (pos < content.size() && (HtmlTag::isSpace(content[pos]) || content[pos] == '"' || content[pos] == '\''))
        ++pos;
    std::size_t end = pos;
    while (end < content.size() && !HtmlTag::isSpace(content[end]) && content[end] != ';' && content[end] != '"' &&
           content[end] != '\'')
        ++end;
    return content.substr(pos, end - pos);
}

// The label a <meta> tag gives, from charset="..." or from http-equiv's content="...; charset=...".
std::string_view metaLabel(std::string_view head, std::size_t& pos) {
    std::string_view charset;
    std::string_view contentCharset;
    HtmlTag::Attribute attribute;
    while (true) {
        pos = HtmlTag::nextAttribute(head, pos, attribute);
        if (attribute.name.empty())
            break;
        if (AsciiText::equalsIgnoringCase(attribute.name, "charset") && charset.empty())
            charset = attribute.value;
        else if (AsciiText::equalsIgnoringCase(attribute.name, "content") && contentCharset.empty())
            contentCharset = charsetInContentType(attribute.value);
    }
    return charset.empty() ? contentCharset : charset;
}

bool isMetaTag(std::string_view head, std::size_t at) {
    constexpr std::string_view kMeta = "<meta";
    if (at + kMeta.size() >= head.size())
        return false;
    return AsciiText::equalsIgnoringCase(head.substr(at, kMeta.size()), kMeta) &&
           (HtmlTag::isSpace(head[at + kMeta.size()]) || head[at + kMeta.size()] == '/');
}

} // namespace

std::optional<std::uint32_t> codePageOfLabel(std::string_view label) {
    label = AsciiText::trimmed(label);
    if (label.empty() || label.size() > kLongestLabel)
        return std::nullopt;
    const std::string lowered = AsciiText::lowered(label);
    const auto found = std::ranges::lower_bound(kLabels, std::string_view(lowered), {}, &Label::name);
    if (found != kLabels.end() && found->name == lowered)
        return found->codePage;
    return numberedCodePage(lowered);
}

std::optional<std::uint32_t> declaredCodePage(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, kHeadBytes);
    for (std::size_t at = head.find('<'); at != std::string_view::npos; at = head.find('<', at)) {
        if (!isMetaTag(head, at)) {
            ++at;
            continue;
        }
        at += 5;
        if (const auto codePage = codePageOfLabel(metaLabel(head, at)))
            return codePage;
    }
    return std::nullopt;
}

} // namespace folvane::formats
