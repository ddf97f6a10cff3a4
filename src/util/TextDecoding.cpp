#include "util/TextDecoding.h"

#include "platform/AnsiCodePage.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>
#include <utility>

namespace folvane {

namespace {

constexpr quint32 kUtf8 = 65001;
constexpr quint32 kGbk = 936;
// A charset is declared near the top of a page; browsers look no further either.
constexpr qsizetype kHeadBytes = 2048;

struct Label {
    const char* name;
    quint32 codePage;
};

// Labels such as windows-1251, cp936 and iso-8859-2 are read as numbers.
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
    Label{"gb18030", 54936},
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

std::optional<quint32> numberAfter(const QByteArray& label, const char* prefix) {
    const qsizetype length = qstrlen(prefix);
    if (!label.startsWith(prefix) || label.size() == length)
        return std::nullopt;
    bool ok = false;
    const uint number = label.mid(length).toUInt(&ok);
    return ok ? std::optional<quint32>(number) : std::nullopt;
}

// Only code pages that write ASCII as ASCII: the <meta> naming one was read as ASCII.
bool isAsciiCompatible(quint32 codePage) {
    constexpr std::array<quint32, 11> kOthers{437, 850, 852, 866, 874, 932, 936, 949, 950, 54936, kUtf8};
    return (codePage >= 1250 && codePage <= 1258) ||
           std::find(kOthers.begin(), kOthers.end(), codePage) != kOthers.end();
}

std::optional<quint32> codePageOfLabel(QByteArray label) {
    label = label.trimmed().toLower();
    for (const Label& known : kLabels)
        if (label == known.name)
            return known.codePage;
    for (const char* prefix : {"windows-", "cp", "x-cp"})
        if (const auto number = numberAfter(label, prefix); number && isAsciiCompatible(*number))
            return number;
    for (const char* prefix : {"iso-8859-", "iso8859-", "iso_8859-", "iso8859_"}) {
        // ISO 8859-1 is read as its superset 1252, as browsers do; 11 is Thai.
        if (const auto part = numberAfter(label, prefix)) {
            if (*part == 1)
                return 1252;
            if (*part == 11)
                return 874;
            if (*part >= 2 && *part <= 16 && *part != 12)
                return 28590 + *part;
        }
    }
    return std::nullopt;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// One attribute of a tag from pos on: its name lower-cased and its value; pos moves past it.
// An empty name: the tag ended.
std::pair<QByteArray, QByteArray> nextAttribute(const QByteArray& head, qsizetype& pos) {
    while (pos < head.size() && (isSpace(head[pos]) || head[pos] == '/'))
        ++pos;
    const qsizetype start = pos;
    while (pos < head.size() && !isSpace(head[pos]) && head[pos] != '=' && head[pos] != '>' && head[pos] != '/')
        ++pos;
    const QByteArray name = head.mid(start, pos - start).toLower();
    while (pos < head.size() && isSpace(head[pos]))
        ++pos;
    if (pos >= head.size() || head[pos] != '=')
        return {name, {}};
    ++pos;
    while (pos < head.size() && isSpace(head[pos]))
        ++pos;
    if (pos < head.size() && (head[pos] == '"' || head[pos] == '\'')) {
        const char quote = head[pos++];
        const qsizetype end = head.indexOf(quote, pos);
        const qsizetype stop = end < 0 ? head.size() : end;
        const QByteArray value = head.mid(pos, stop - pos);
        pos = end < 0 ? stop : stop + 1;
        return {name, value};
    }
    const qsizetype valueStart = pos;
    while (pos < head.size() && !isSpace(head[pos]) && head[pos] != '>')
        ++pos;
    return {name, head.mid(valueStart, pos - valueStart)};
}

// "text/html; charset=gbk": the label after "charset=".
QByteArray charsetInContent(const QByteArray& content) {
    const qsizetype at = content.toLower().indexOf("charset");
    if (at < 0)
        return {};
    qsizetype pos = at + 7;
    while (pos < content.size() && isSpace(content[pos]))
        ++pos;
    if (pos >= content.size() || content[pos] != '=')
        return {};
    qsizetype end = ++pos;
    while (end < content.size() && !isSpace(content[end]) && content[end] != ';')
        ++end;
    return content.mid(pos, end - pos);
}

// The code page the first <meta> with a known charset declares.
std::optional<quint32> declaredCodePage(const QByteArray& bytes) {
    const QByteArray head = bytes.left(kHeadBytes);
    for (qsizetype at = head.indexOf('<'); at >= 0; at = head.indexOf('<', at + 1)) {
        if (at + 5 >= head.size() || head.mid(at, 5).toLower() != "<meta" ||
            !(isSpace(head[at + 5]) || head[at + 5] == '/'))
            continue;
        qsizetype pos = at + 5;
        QByteArray charset;
        QByteArray content;
        for (auto [name, value] = nextAttribute(head, pos); !name.isEmpty();
             std::tie(name, value) = nextAttribute(head, pos)) {
            if (name == "charset" && charset.isEmpty())
                charset = value;
            else if (name == "content" && content.isEmpty())
                content = charsetInContent(value);
        }
        if (const auto codePage = codePageOfLabel(charset.isEmpty() ? content : charset))
            return codePage;
    }
    return std::nullopt;
}

} // namespace

QString decodeProjectText(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    // A byte-order mark says which encoding was meant, even where the bytes then go wrong.
    if (marked) {
        QStringDecoder decoder(*marked, QStringConverter::Flag::Stateless);
        return decoder(bytes);
    }
    // Stateless, so that a sequence cut off at the end counts as invalid too.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? decodeAnsiCodePage(bytes) : text;
}

QString decodePageText(const QByteArray& bytes) {
    if (QStringConverter::encodingForData(bytes))
        return decodeProjectText(bytes);
    std::optional<quint32> codePage = declaredCodePage(bytes);
    if (!codePage || *codePage == kUtf8)
        return decodeProjectText(bytes);
    std::optional<QString> text = decodeCodePage(bytes, *codePage);
    // Where GB18030 is missing, its subset GBK reads most pages that name it.
    if (!text && *codePage == 54936)
        text = decodeCodePage(bytes, kGbk);
    return text ? *text : decodeProjectText(bytes);
}

} // namespace folvane
