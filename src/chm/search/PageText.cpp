#include "chm/search/PageText.h"

#include "base/AsciiText.h"
#include "base/Utf8.h"
#include "formats/CharacterReferences.h"
#include "formats/HtmlTag.h"
#include "formats/TextDecoding.h"

#include <algorithm>
#include <array>

namespace folvane::chm {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Block tags part words ("<p>", "<td>", "<br>"); inline ones ("<b>", "<a>") do not, so
// "foo<b>bar</b>" is one word, as it reads. Hidden ones show none of their content.
enum class TagKind : std::uint8_t { Inline, Block, Title, Hidden };

struct KnownTag {
    std::string_view name;
    TagKind kind;
};

constexpr std::array kKnownTags{
    KnownTag{"address", TagKind::Block}, KnownTag{"applet", TagKind::Block},     KnownTag{"article", TagKind::Block},
    KnownTag{"aside", TagKind::Block},   KnownTag{"blockquote", TagKind::Block}, KnownTag{"body", TagKind::Block},
    KnownTag{"br", TagKind::Block},      KnownTag{"caption", TagKind::Block},    KnownTag{"center", TagKind::Block},
    KnownTag{"dd", TagKind::Block},      KnownTag{"details", TagKind::Block},    KnownTag{"dir", TagKind::Block},
    KnownTag{"div", TagKind::Block},     KnownTag{"dl", TagKind::Block},         KnownTag{"dt", TagKind::Block},
    KnownTag{"embed", TagKind::Block},   KnownTag{"fieldset", TagKind::Block},   KnownTag{"figcaption", TagKind::Block},
    KnownTag{"figure", TagKind::Block},  KnownTag{"footer", TagKind::Block},     KnownTag{"form", TagKind::Block},
    KnownTag{"frame", TagKind::Block},   KnownTag{"frameset", TagKind::Block},   KnownTag{"h1", TagKind::Block},
    KnownTag{"h2", TagKind::Block},      KnownTag{"h3", TagKind::Block},         KnownTag{"h4", TagKind::Block},
    KnownTag{"h5", TagKind::Block},      KnownTag{"h6", TagKind::Block},         KnownTag{"head", TagKind::Block},
    KnownTag{"header", TagKind::Block},  KnownTag{"hr", TagKind::Block},         KnownTag{"html", TagKind::Block},
    KnownTag{"iframe", TagKind::Block},  KnownTag{"img", TagKind::Block},        KnownTag{"input", TagKind::Block},
    KnownTag{"legend", TagKind::Block},  KnownTag{"li", TagKind::Block},         KnownTag{"main", TagKind::Block},
    KnownTag{"menu", TagKind::Block},    KnownTag{"nav", TagKind::Block},        KnownTag{"noframes", TagKind::Block},
    KnownTag{"object", TagKind::Block},  KnownTag{"ol", TagKind::Block},         KnownTag{"optgroup", TagKind::Block},
    KnownTag{"option", TagKind::Block},  KnownTag{"p", TagKind::Block},          KnownTag{"pre", TagKind::Block},
    KnownTag{"script", TagKind::Hidden}, KnownTag{"section", TagKind::Block},    KnownTag{"select", TagKind::Block},
    KnownTag{"style", TagKind::Hidden},  KnownTag{"summary", TagKind::Block},    KnownTag{"table", TagKind::Block},
    KnownTag{"tbody", TagKind::Block},   KnownTag{"td", TagKind::Block},         KnownTag{"textarea", TagKind::Block},
    KnownTag{"tfoot", TagKind::Block},   KnownTag{"th", TagKind::Block},         KnownTag{"thead", TagKind::Block},
    KnownTag{"title", TagKind::Title},   KnownTag{"tr", TagKind::Block},         KnownTag{"ul", TagKind::Block},
};
static_assert(std::ranges::is_sorted(kKnownTags, {}, &KnownTag::name));

constexpr std::size_t kLongestKnownTag = 10; // "blockquote", "figcaption"
constexpr std::size_t kKeyBytes = 8;

// The first eight bytes of a lower-case name as one number: tags are looked up by comparing
// numbers, and only a match of a longer name is compared in full.
constexpr std::uint64_t tagKey(std::string_view lowered) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < std::min(lowered.size(), kKeyBytes); ++i)
        key |= std::uint64_t{static_cast<unsigned char>(lowered[i])} << (8 * (kKeyBytes - 1 - i));
    return key;
}

struct KeyedTag {
    std::uint64_t key;
    KnownTag tag;
};

constexpr auto kKeyedTags = [] {
    std::array<KeyedTag, kKnownTags.size()> keyed{};
    for (std::size_t i = 0; i < kKnownTags.size(); ++i)
        keyed[i] = {tagKey(kKnownTags[i].name), kKnownTags[i]};
    return keyed;
}();
static_assert(std::ranges::adjacent_find(kKeyedTags, std::ranges::greater_equal{}, &KeyedTag::key) == kKeyedTags.end());

KnownTag knownTag(std::string_view name) {
    if (name.size() > kLongestKnownTag)
        return {name, TagKind::Inline};
    std::array<char, kLongestKnownTag> buffer{};
    std::ranges::transform(name, buffer.begin(), AsciiText::lower);
    const std::string_view lowered(buffer.data(), name.size());
    const std::uint64_t key = tagKey(lowered);
    const auto found = std::ranges::lower_bound(kKeyedTags, key, {}, &KeyedTag::key);
    if (found == kKeyedTags.end() || found->key != key || found->tag.name.size() != name.size() ||
        (name.size() > kKeyBytes && found->tag.name != lowered))
        return {name, TagKind::Inline};
    return found->tag;
}

// What each byte of page text asks for.
enum class ByteClass : std::uint8_t { Plain, Space, Markup, Reference, LatinLead };

constexpr std::array<ByteClass, 256> kByteClasses = [] {
    std::array<ByteClass, 256> classes{};
    for (int c = 0; c <= ' '; ++c)
        classes[c] = ByteClass::Space;
    classes[0x7F] = ByteClass::Space;
    classes['<'] = ByteClass::Markup;
    classes['&'] = ByteClass::Reference;
    // Lead byte of U+0080..U+00BF, among them the C1 controls and the no-break space.
    classes[0xC2] = ByteClass::LatinLead;
    return classes;
}();

ByteClass classOf(char c) {
    return kByteClasses[static_cast<unsigned char>(c)];
}

void appendSpace(std::string& out) {
    if (!out.empty() && out.back() != ' ')
        out += ' ';
}

bool isBlankCodePoint(char32_t c) {
    return c <= 0x20 || c == 0x7F || (c >= 0x80 && c <= 0xA0);
}

void appendCodePoint(std::string& out, char32_t c) {
    if (isBlankCodePoint(c))
        appendSpace(out);
    else
        Utf8::append(out, c);
}

// "&eacute;", "&#233;": '&' stays as written where it starts no reference.
std::size_t appendReference(std::string& out, std::string_view text, std::size_t amp) {
    if (const auto reference = formats::characterReference(text, amp, formats::ReferenceRule::PageText)) {
        appendCodePoint(out, reference->codePoint);
        return amp + reference->length;
    }
    out += '&';
    return amp + 1;
}

// A space inside a run of plain text is kept with the run, unless it follows another.
bool continuesRun(std::string_view text, std::size_t pos, std::size_t runStart) {
    const ByteClass byteClass = classOf(text[pos]);
    return byteClass == ByteClass::Plain || (text[pos] == ' ' && pos > runStart && text[pos - 1] != ' ');
}

// Text up to the next '<' (returned), references decoded and blanks run together.
std::size_t appendText(std::string& out, std::string_view text, std::size_t pos) {
    while (pos < text.size()) {
        const std::size_t runStart = pos;
        while (pos < text.size() && continuesRun(text, pos, runStart))
            ++pos;
        out.append(text.data() + runStart, pos - runStart);
        if (pos >= text.size())
            break;
        switch (classOf(text[pos])) {
        case ByteClass::Markup:
            return pos;
        case ByteClass::Reference:
            pos = appendReference(out, text, pos);
            break;
        case ByteClass::Space:
            appendSpace(out);
            ++pos;
            break;
        case ByteClass::LatinLead:
            if (pos + 1 < text.size() && static_cast<unsigned char>(text[pos + 1]) <= 0xA0) {
                appendSpace(out);
            } else {
                out.append(text.substr(pos, 2));
            }
            pos += 2;
            break;
        case ByteClass::Plain:
            break;
        }
    }
    return text.size();
}

// Text where '<' is only a character: the content of <title>.
void appendCharacterData(std::string& out, std::string_view text) {
    std::size_t pos = 0;
    while ((pos = appendText(out, text, pos)) < text.size()) {
        out += '<';
        ++pos;
    }
}

void trimEnd(std::string& text) {
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
}

// Reads a page's markup, left to right, into its title and body text.
class PageScanner {
public:
    explicit PageScanner(std::string_view text) : text_(text) { page_.body.reserve(text.size()); }

    PageText run() {
        std::size_t pos = 0;
        while (pos < text_.size()) {
            pos = appendText(page_.body, text_, pos);
            if (pos < text_.size())
                pos = markup(pos);
        }
        trimEnd(page_.title);
        trimEnd(page_.body);
        return std::move(page_);
    }

private:
    // At a '<': a tag, a comment, a declaration, or just the character.
    std::size_t markup(std::size_t at) {
        const char next = at + 1 < text_.size() ? text_[at + 1] : '\0';
        if (formats::HtmlTag::isLetter(next))
            return startTag(at + 1);
        if (next == '/')
            return endTagOrBogus(at + 2);
        if (next == '!')
            return text_.substr(at).starts_with("<!--") ? commentEnd(at + 4) : pastNext('>', at + 2);
        if (next == '?')
            return pastNext('>', at + 2);
        page_.body += '<';
        return at + 1;
    }

    std::size_t startTag(std::size_t nameStart) {
        const std::size_t nameEnd = formats::HtmlTag::nameEnd(text_, nameStart);
        const KnownTag tag = knownTag(text_.substr(nameStart, nameEnd - nameStart));
        const std::size_t pos = formats::HtmlTag::end(text_, nameEnd);
        if (tag.kind == TagKind::Inline)
            return pos;
        appendSpace(page_.body);
        if (tag.kind == TagKind::Title && !hasTitle_) {
            hasTitle_ = true;
            return rawTextEnd(pos, tag.name, &page_.title);
        }
        // A second title is as hidden as the first.
        if (tag.kind == TagKind::Title || tag.kind == TagKind::Hidden)
            return rawTextEnd(pos, tag.name, nullptr);
        return pos;
    }

    // After "</".
    std::size_t endTagOrBogus(std::size_t nameStart) {
        if (nameStart >= text_.size()) {
            page_.body += "</";
            return text_.size();
        }
        if (text_[nameStart] == '>')
            return nameStart + 1;
        if (!formats::HtmlTag::isLetter(text_[nameStart]))
            return pastNext('>', nameStart);
        const std::size_t nameEnd = formats::HtmlTag::nameEnd(text_, nameStart);
        if (knownTag(text_.substr(nameStart, nameEnd - nameStart)).kind != TagKind::Inline)
            appendSpace(page_.body);
        return formats::HtmlTag::end(text_, nameEnd);
    }

    // After "<!--". "<!-->" and "<!--->" are empty comments.
    std::size_t commentEnd(std::size_t pos) const {
        const std::string_view rest = text_.substr(pos);
        if (rest.starts_with(">"))
            return pos + 1;
        if (rest.starts_with("->"))
            return pos + 2;
        const std::size_t close = rest.find("-->");
        return close == npos ? text_.size() : pos + close + 3;
    }

    std::size_t pastNext(char c, std::size_t pos) const {
        const std::size_t found = text_.find(c, pos);
        return found == npos ? text_.size() : found + 1;
    }

    // The content of <title>, <script> or <style> runs to its own end tag (or to the end
    // of the page) whatever it holds. Returns the position past the end tag.
    std::size_t rawTextEnd(std::size_t pos, std::string_view lowerName, std::string* content) const {
        const std::size_t endTag = endTagAt(pos, lowerName);
        if (content != nullptr)
            appendCharacterData(*content, text_.substr(pos, endTag - pos));
        if (endTag >= text_.size())
            return text_.size();
        return formats::HtmlTag::end(text_, endTag + 2 + lowerName.size());
    }

    // Where "</name" followed by a blank, '/' or '>' starts, in any case.
    std::size_t endTagAt(std::size_t pos, std::string_view lowerName) const {
        for (pos = text_.find("</", pos); pos != npos; pos = text_.find("</", pos + 1)) {
            const std::size_t after = pos + 2 + lowerName.size();
            if (after <= text_.size() &&
                AsciiText::equalsIgnoringCase(text_.substr(pos + 2, lowerName.size()), lowerName) &&
                (after == text_.size() || formats::HtmlTag::isSpace(text_[after]) || text_[after] == '/' ||
                 text_[after] == '>'))
                return pos;
        }
        return text_.size();
    }

    std::string_view text_;
    PageText page_;
    bool hasTitle_ = false;
};

} // namespace

PageText extractPageText(std::string_view bytes, std::uint32_t fallbackCodePage) {
    const std::string text = formats::decodePage(bytes, fallbackCodePage);
    return PageScanner(text).run();
}

} // namespace folvane::chm
