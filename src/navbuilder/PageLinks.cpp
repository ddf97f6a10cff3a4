#include "navbuilder/PageLinks.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace folvane {

namespace {

// How far a link's text is read for its caption, and the longest caption that browses.
constexpr qsizetype kLongestCaption = 300;
constexpr qsizetype kLongestBrowsingCaption = 20;

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool is(QStringView name, QLatin1StringView what) {
    return name.size() == what.size() && name.compare(what, Qt::CaseInsensitive) == 0;
}

enum class Tag { Other, Link, Area, Frame, List, Item, Script, Style, Nav, Empty };

// Tags are looked at one by one, so the few that matter are told apart by length and letters.
Tag tagOf(QStringView name) {
    if (name.size() > 6)
        return Tag::Other;
    std::array<char, 6> lower{};
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0x80)
            return Tag::Other;
        lower[static_cast<size_t>(i)] = static_cast<char>(c | 0x20);
    }
    const std::string_view n(lower.data(), static_cast<size_t>(name.size()));
    if (n == "a")
        return Tag::Link;
    if (n == "area")
        return Tag::Area;
    if (n == "frame" || n == "iframe")
        return Tag::Frame;
    if (n == "ul" || n == "ol" || n == "dl")
        return Tag::List;
    if (n == "li" || n == "dt")
        return Tag::Item;
    if (n == "script")
        return Tag::Script;
    if (n == "style")
        return Tag::Style;
    if (n == "nav")
        return Tag::Nav;
    if (n == "img" || n == "br" || n == "hr" || n == "input" || n == "meta" || n == "link")
        return Tag::Empty;
    return Tag::Other;
}

struct NamedReference {
    QLatin1StringView name;
    char16_t character;
};
// What link addresses and browsing captions use.
constexpr std::array<NamedReference, 17> kNamedReferences{{
    {QLatin1StringView("amp"), u'&'},
    {QLatin1StringView("lt"), u'<'},
    {QLatin1StringView("gt"), u'>'},
    {QLatin1StringView("quot"), u'"'},
    {QLatin1StringView("apos"), u'\''},
    {QLatin1StringView("nbsp"), u'\u00a0'},
    {QLatin1StringView("laquo"), u'«'},
    {QLatin1StringView("raquo"), u'»'},
    {QLatin1StringView("lsaquo"), u'‹'},
    {QLatin1StringView("rsaquo"), u'›'},
    {QLatin1StringView("larr"), u'←'},
    {QLatin1StringView("rarr"), u'→'},
    {QLatin1StringView("uarr"), u'↑'},
    {QLatin1StringView("lArr"), u'⇐'},
    {QLatin1StringView("rArr"), u'⇒'},
    {QLatin1StringView("middot"), u'·'},
    {QLatin1StringView("hellip"), u'…'},
}};

int digitValue(QChar c, bool hex) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (hex && (u | 0x20) >= u'a' && (u | 0x20) <= u'f')
        return (u | 0x20) - u'a' + 10;
    return -1;
}

// Appends the character the reference at text[amp] stands for and returns its length, or 0
// when the '&' is just a character. Numeric references may lack their ';'.
qsizetype appendReference(QStringView text, qsizetype amp, QString& out) {
    qsizetype i = amp + 1;
    if (i < text.size() && text[i] == u'#') {
        const bool hex = i + 1 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X');
        i += hex ? 2 : 1;
        const qsizetype digits = i;
        char32_t code = 0;
        for (int d = 0; i < text.size() && i - digits < 8 && (d = digitValue(text[i], hex)) >= 0; ++i)
            code = code * (hex ? 16 : 10) + static_cast<char32_t>(d);
        if (i == digits)
            return 0;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        out.append(QChar::fromUcs4(code));
        if (i < text.size() && text[i] == u';')
            ++i;
        return i - amp;
    }
    const qsizetype semicolon = text.indexOf(u';', i);
    if (semicolon < 0 || semicolon - i > 8)
        return 0;
    const QStringView name = text.sliced(i, semicolon - i);
    for (const NamedReference& r : kNamedReferences) {
        if (name == r.name) {
            out.append(QChar(r.character));
            return semicolon + 1 - amp;
        }
    }
    return 0;
}

QString decodeReferences(QStringView text) {
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'&') {
            const qsizetype length = appendReference(text, i, out);
            if (length > 0) {
                i += length;
                continue;
            }
        }
        out.append(text[i++]);
    }
    return out;
}

// rel values that point along the book rather than into it.
bool isBrowsingRel(QStringView rel) {
    constexpr std::array<QLatin1StringView, 12> kinds{
        QLatin1StringView("next"),  QLatin1StringView("prev"),     QLatin1StringView("previous"),
        QLatin1StringView("up"),    QLatin1StringView("index"),    QLatin1StringView("search"),
        QLatin1StringView("first"), QLatin1StringView("last"),     QLatin1StringView("start"),
        QLatin1StringView("home"),  QLatin1StringView("contents"), QLatin1StringView("nofollow")};
    for (const QStringView token : rel.split(u' ', Qt::SkipEmptyParts))
        for (const QLatin1StringView kind : kinds)
            if (is(token.trimmed(), kind))
                return true;
    return false;
}

// The access keys generated manuals give previous, next, up and home.
bool isBrowsingKey(QStringView key) {
    const QStringView k = key.trimmed();
    return k.size() == 1 && QStringView(u"nNpPuUhH").contains(k[0]);
}

// Arrows and punctuation around a browsing caption ("« Previous", "Next >>", "[上一页]").
bool isCaptionDecoration(QChar c) {
    if (c.unicode() < 0x80)
        return c.isSpace() || QLatin1StringView("<>|[]()-:.,/\\").contains(c);
    return c.isSpace() || QStringView(u"«»‹›←→↑↓⇐⇒◀▶◁▷◄►–—·•").contains(c);
}

struct BrowsingCaptions {
    QSet<QString> words; // case folded
    QSet<char16_t> firstLetters;
};

bool isBrowsingCaption(QStringView caption) {
    static const BrowsingCaptions captions = [] {
        const QStringView words = u"prev|previous|next|up|home|top|back|forward|previous page|next page|"
                                  u"previous chapter|next chapter|previous section|next section|previous topic|"
                                  u"next topic|back to top|go to top|"
                                  u"上一页|下一页|上页|下页|前一页|后一页|上一章|下一章|上一节|下一节|上一篇|下一篇|"
                                  u"上一级|上一层|起始页|首页|主页|返回|返回首页|返回顶部|返回目录|回到顶部|"
                                  u"上一頁|下一頁|前一頁|後一頁|上一節|下一節|上一級|起始頁|首頁|返回首頁|"
                                  u"前へ|次へ|上へ|ホーム|zurück|weiter|nach oben|vorherige|nächste|précédent|"
                                  u"suivant|haut|accueil|anterior|siguiente|arriba|inicio";
        BrowsingCaptions set;
        for (const QStringView w : words.split(u'|')) {
            set.words.insert(w.toString().toCaseFolded());
            set.firstLetters.insert(w[0].toCaseFolded().unicode());
        }
        return set;
    }();
    QStringView words = caption;
    while (!words.isEmpty() && isCaptionDecoration(words.front()))
        words = words.sliced(1);
    while (!words.isEmpty() && isCaptionDecoration(words.back()))
        words.chop(1);
    if (words.isEmpty()) // arrows alone
        return std::any_of(caption.begin(), caption.end(), [](QChar c) { return !c.isSpace(); });
    return words.size() <= kLongestBrowsingCaption &&
           captions.firstLetters.contains(words[0].toCaseFolded().unicode()) &&
           captions.words.contains(words.toString().simplified().toCaseFolded());
}

class Scanner {
public:
    explicit Scanner(QStringView html) : t_(html) {}

    void run();
    QList<PageLinks::Link> links;
    QList<qint32> itemParents;
    QStringList decoded; // addresses with character references, which links view

private:
    struct Attribute {
        QStringView name;
        QStringView value;
    };
    struct List {
        qint32 owner;   // the item the list stands in
        qint32 current; // its item being read
    };
    // A <nav> or an element with role="navigation", until its end tag.
    struct Region {
        QStringView name; // empty outside any
        int nested = 0;   // elements of the same name open inside it
    };

    // Reads the attributes from pos to the end of the tag, calling take for each; returns
    // the position after the tag's '>'. A quote opens a value only right after '=', so a
    // stray quote does not swallow the page.
    template <typename Take> qsizetype attributes(qsizetype pos, Take take) const;
    qsizetype skipPast(qsizetype from, QLatin1StringView closing) const;
    qint32 enclosingItem() const;
    // Whether the text of the link whose start tag ends at pos, with the alt texts of its
    // pictures, is a browsing caption.
    bool browsingCaptionAfter(qsizetype pos) const;
    void addLink(QStringView address, bool navigation);
    void followRegion(QStringView name, Tag tag, bool closing, bool navigationRole);

    QStringView t_;
    std::vector<List> lists_;
    Region region_;
};

void Scanner::followRegion(QStringView name, Tag tag, bool closing, bool navigationRole) {
    if (region_.name.isEmpty()) {
        if (!closing && tag != Tag::Empty && (tag == Tag::Nav || navigationRole))
            region_ = Region{name, 0};
        return;
    }
    if (name.compare(region_.name, Qt::CaseInsensitive) != 0)
        return;
    if (!closing)
        ++region_.nested;
    else if (region_.nested-- == 0)
        region_ = Region{};
}

template <typename Take> qsizetype Scanner::attributes(qsizetype i, Take take) const {
    const qsizetype n = t_.size();
    while (i < n) {
        while (i < n && isBlank(t_[i]))
            ++i;
        if (i >= n)
            break;
        if (t_[i] == u'>')
            return i + 1;
        const qsizetype nameBegin = i;
        while (i < n && !isBlank(t_[i]) && t_[i] != u'=' && t_[i] != u'>' && t_[i] != u'/')
            ++i;
        const QStringView name = t_.sliced(nameBegin, i - nameBegin);
        while (i < n && isBlank(t_[i]))
            ++i;
        if (i >= n || t_[i] != u'=') {
            if (name.isEmpty() && i < n && t_[i] != u'>')
                ++i; // a stray '/' or quote
            continue;
        }
        ++i;
        while (i < n && isBlank(t_[i]))
            ++i;
        QStringView value;
        if (i < n && (t_[i] == u'"' || t_[i] == u'\'')) {
            qsizetype end = t_.indexOf(t_[i], i + 1);
            if (end < 0)
                end = n;
            value = t_.sliced(i + 1, end - i - 1);
            i = std::min(end + 1, n);
        } else {
            const qsizetype begin = i;
            while (i < n && !isBlank(t_[i]) && t_[i] != u'>')
                ++i;
            value = t_.sliced(begin, i - begin);
        }
        take(Attribute{name, value});
    }
    return n;
}

qsizetype Scanner::skipPast(qsizetype from, QLatin1StringView closing) const {
    const qsizetype at = t_.indexOf(closing, from, Qt::CaseInsensitive);
    return at < 0 ? t_.size() : at + closing.size();
}

qint32 Scanner::enclosingItem() const {
    if (lists_.empty())
        return -1;
    return lists_.back().current >= 0 ? lists_.back().current : lists_.back().owner;
}

bool Scanner::browsingCaptionAfter(qsizetype pos) const {
    const QStringView window = t_.sliced(pos, std::min(kLongestCaption, t_.size() - pos));
    // Most captions are plain text up to "</a>".
    const qsizetype lt = window.indexOf(u'<');
    if (lt >= 0 && lt + 2 < window.size() && window[lt + 1] == u'/' && (window[lt + 2].unicode() | 0x20) == u'a' &&
        (lt + 3 == window.size() || !isAsciiLetter(window[lt + 3])) && !window.first(lt).contains(u'&'))
        return isBrowsingCaption(window.first(lt));
    QString text;
    for (qsizetype i = 0; i < window.size();) {
        if (window[i] != u'<') {
            const qsizetype next = window.indexOf(u'<', i);
            const qsizetype end = next < 0 ? window.size() : next;
            text += window.sliced(i, end - i);
            i = end;
            continue;
        }
        const bool closing = i + 1 < window.size() && window[i + 1] == u'/';
        qsizetype nameEnd = i + (closing ? 2 : 1);
        while (nameEnd < window.size() && isAsciiLetter(window[nameEnd]))
            ++nameEnd;
        const QStringView name = window.sliced(i + (closing ? 2 : 1), nameEnd - i - (closing ? 2 : 1));
        if (is(name, QLatin1StringView("a")))
            return isBrowsingCaption(decodeReferences(text));
        const qsizetype end = window.indexOf(u'>', nameEnd);
        if (end < 0)
            break;
        if (!closing && is(name, QLatin1StringView("img"))) {
            Scanner inner(window.sliced(nameEnd, end + 1 - nameEnd));
            inner.attributes(0, [&text](const Attribute& a) {
                if (is(a.name, QLatin1StringView("alt")))
                    text += u' ' + a.value.toString() + u' ';
            });
        }
        i = end + 1;
    }
    return false;
}

void Scanner::addLink(QStringView address, bool navigation) {
    address = address.trimmed();
    if (address.contains(u'&')) {
        decoded.append(decodeReferences(address));
        address = decoded.constLast();
    }
    links.append(PageLinks::Link{address, enclosingItem(), navigation, !region_.name.isEmpty()});
}

void Scanner::run() {
    const qsizetype n = t_.size();
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype lt = t_.indexOf(u'<', pos);
        if (lt < 0 || lt + 1 >= n)
            return;
        const QChar next = t_[lt + 1];
        if (next == u'!' || next == u'?') {
            const bool comment = lt + 3 < n && t_[lt + 2] == u'-' && t_[lt + 3] == u'-';
            pos = comment ? skipPast(lt + 4, QLatin1StringView("-->")) : skipPast(lt, QLatin1StringView(">"));
            continue;
        }
        const bool closing = next == u'/';
        const qsizetype nameBegin = lt + (closing ? 2 : 1);
        if (nameBegin >= n || !isAsciiLetter(t_[nameBegin])) {
            pos = lt + 1; // a '<' that is just text
            continue;
        }
        qsizetype nameEnd = nameBegin;
        while (nameEnd < n && !isBlank(t_[nameEnd]) && t_[nameEnd] != u'>' && t_[nameEnd] != u'/')
            ++nameEnd;
        const QStringView name = t_.sliced(nameBegin, nameEnd - nameBegin);
        const Tag tag = tagOf(name);

        const bool linkTag = !closing && (tag == Tag::Link || tag == Tag::Area);
        const bool frameTag = !closing && tag == Tag::Frame;
        QStringView address;
        bool hasAddress = false;
        bool navigation = false;
        bool navigationRole = false;
        pos = attributes(nameEnd, [&](const Attribute& a) {
            if (!linkTag && !frameTag) {
                navigationRole = navigationRole || (is(a.name, QLatin1StringView("role")) &&
                                                    is(a.value.trimmed(), QLatin1StringView("navigation")));
                return;
            }
            if (is(a.name, linkTag ? QLatin1StringView("href") : QLatin1StringView("src"))) {
                address = a.value;
                hasAddress = true;
            } else if (linkTag && is(a.name, QLatin1StringView("rel"))) {
                navigation = navigation || isBrowsingRel(a.value);
            } else if (linkTag && is(a.name, QLatin1StringView("accesskey"))) {
                navigation = navigation || isBrowsingKey(a.value);
            }
        });

        followRegion(name, tag, closing, navigationRole);
        switch (tag) {
        case Tag::List:
            if (closing) {
                if (!lists_.empty())
                    lists_.pop_back();
            } else {
                lists_.push_back(List{enclosingItem(), -1});
            }
            break;
        case Tag::Item:
            if (!closing && !lists_.empty()) {
                lists_.back().current = static_cast<qint32>(itemParents.size());
                itemParents.append(lists_.back().owner);
            }
            break;
        case Tag::Script:
            if (!closing)
                pos = skipPast(pos, QLatin1StringView("</script"));
            break;
        case Tag::Style:
            if (!closing)
                pos = skipPast(pos, QLatin1StringView("</style"));
            break;
        case Tag::Link:
        case Tag::Area:
        case Tag::Frame:
            if (hasAddress) {
                if (tag == Tag::Link && !navigation)
                    navigation = browsingCaptionAfter(pos);
                addLink(address, navigation);
            }
            break;
        case Tag::Nav:
        case Tag::Empty:
        case Tag::Other:
            break;
        }
    }
}

} // namespace

PageLinks PageLinks::scan(const QString& html) {
    PageLinks result;
    result.html_ = html;
    Scanner scanner(result.html_);
    scanner.run();
    result.links_ = std::move(scanner.links);
    result.itemParents_ = std::move(scanner.itemParents);
    result.decoded_ = std::move(scanner.decoded);
    return result;
}

} // namespace folvane
