#include "registry/RegFileText.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace folvane {

namespace {

using Key = MemoryRegistryBackend::Key;
using Value = MemoryRegistryBackend::Value;

constexpr QStringView kHeader = u"Windows Registry Editor Version 5.00";
constexpr QStringView kOldHeader = u"REGEDIT4";
constexpr QStringView kRootName = u"HKEY_CLASSES_ROOT";
constexpr QStringView kHexString = u"hex(1):";
constexpr int kHexBytesPerLine = 25;

QString quoted(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

bool needsHex(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
}

// hex(1): UTF-16LE bytes with the terminating NUL, wrapped like regedit does.
QString hexString(const QString& text) {
    QByteArray bytes;
    const QString terminated = text + QChar(u'\0');
    for (QChar c : terminated) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    QString out = kHexString.toString();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += (i % kHexBytesPerLine == 0) ? QStringLiteral(",\\\r\n  ") : QStringLiteral(",");
        out += QString::number(static_cast<uchar>(bytes[i]), 16).rightJustified(2, QLatin1Char('0'));
    }
    return out;
}

void formatKey(const Key& key, const QString& path, QString& out) {
    if (!path.isEmpty() || !key.values.empty()) {
        out += QLatin1Char('[') + kRootName + path + QStringLiteral("]\r\n");
        for (const Value& v : key.values) {
            out += v.name.isEmpty() ? QStringLiteral("@") : quoted(v.name);
            out += QLatin1Char('=');
            if (!v.isString)
                out += v.data;
            else
                out += needsHex(v.data) ? hexString(v.data) : quoted(v.data);
            out += QStringLiteral("\r\n");
        }
        out += QStringLiteral("\r\n");
    }
    for (const Key& sub : key.subKeys)
        formatKey(sub, path + QLatin1Char('\\') + sub.name, out);
}

std::optional<QString> decode(const QByteArray& bytes) {
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    if (bytes.startsWith("\xFF\xFE"))
        encoding = QStringConverter::Utf16LE;
    else if (bytes.startsWith("\xFE\xFF"))
        encoding = QStringConverter::Utf16BE;
    QStringDecoder decoder(encoding);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar(u'\0')))
        return std::nullopt;
    return text;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<QString> readQuoted(const QString& text, qsizetype& pos) {
    QString out;
    for (++pos; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'"') {
            ++pos;
            return out;
        }
        if (c == u'\\' && pos + 1 < text.size()) {
            const QChar next = text[++pos];
            if (next != u'\\' && next != u'"')
                out += c;
            out += next;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::optional<QString> readHexString(const QString& data) {
    QByteArray bytes;
    for (const QString& part : data.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint byte = part.trimmed().toUInt(&ok, 16);
        if (!ok || byte > 0xFF)
            return std::nullopt;
        bytes.append(static_cast<char>(byte));
    }
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<char16_t>(static_cast<uchar>(bytes[i]) | (static_cast<uchar>(bytes[i + 1]) << 8)));
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// Parses `@=...` or `"name"=...`; nothing when the line is not a value line we keep.
std::optional<Value> parseValue(const QString& line) {
    Value value;
    qsizetype pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else if (line.startsWith(QLatin1Char('"'))) {
        const std::optional<QString> name = readQuoted(line, pos);
        if (!name)
            return std::nullopt;
        value.name = *name;
    } else {
        return std::nullopt;
    }
    const QString rest = line.mid(pos).trimmed();
    if (!rest.startsWith(QLatin1Char('=')))
        return std::nullopt;
    const QString data = rest.mid(1).trimmed();
    if (data.startsWith(QLatin1Char('"'))) {
        pos = 0;
        const std::optional<QString> text = readQuoted(data, pos);
        if (!text || !data.mid(pos).trimmed().isEmpty())
            return std::nullopt;
        value.data = *text;
    } else if (data.startsWith(kHexString, Qt::CaseInsensitive)) {
        const std::optional<QString> text = readHexString(data.mid(kHexString.size()));
        if (!text)
            return std::nullopt;
        value.data = *text;
    } else if (data.isEmpty() || data == u"-") {
        return std::nullopt;
    } else {
        value.data = data;
        value.isString = false;
    }
    return value;
}

// The key path of a section header below the classes root, or nothing for other sections.
std::optional<QString> sectionPath(const QString& line) {
    const QString inner = line.mid(1, line.size() - 2);
    if (inner.startsWith(QLatin1Char('-')))
        return std::nullopt;
    const qsizetype cut = inner.indexOf(QLatin1Char('\\'));
    const QString root = cut < 0 ? inner : inner.left(cut);
    if (root.compare(kRootName, Qt::CaseInsensitive) != 0 && root.compare(u"HKCR", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return cut < 0 ? QString() : inner.mid(cut + 1);
}

// Lines with a value that continues on the next line (hex data) end with a backslash.
QStringList joinedLines(const QString& text) {
    QStringList lines;
    bool continues = false;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        line = line.trimmed();
        if (continues)
            lines.last() += line;
        else
            lines.append(line);
        continues = lines.last().endsWith(QLatin1Char('\\')) && !lines.last().startsWith(QLatin1Char('['));
        if (continues)
            lines.last().chop(1);
    }
    return lines;
}

} // namespace

QByteArray RegFileText::format(const Key& root) {
    QString out = kHeader.toString() + QStringLiteral("\r\n\r\n");
    formatKey(root, QString(), out);
    return out.toUtf8();
}

std::optional<Key> RegFileText::parse(const QByteArray& bytes) {
    const std::optional<QString> text = decode(bytes);
    if (!text)
        return std::nullopt;
    const QStringList lines = joinedLines(*text);
    auto first = std::find_if(lines.cbegin(), lines.cend(), [](const QString& l) { return !l.isEmpty(); });
    if (first == lines.cend())
        return Key();
    if (*first != kHeader && *first != kOldHeader)
        return std::nullopt;

    MemoryRegistryBackend tree;
    std::optional<QString> section;
    for (auto it = first + 1; it != lines.cend(); ++it) {
        const QString& line = *it;
        if (line.startsWith(QLatin1Char('['))) {
            section = line.endsWith(QLatin1Char(']')) ? sectionPath(line) : std::nullopt;
            if (section && tree.createKey(*section) != RegCode::Success)
                section.reset();
        } else if (section) {
            if (std::optional<Value> value = parseValue(line))
                tree.setValue(*section, std::move(*value));
        }
    }
    return tree.root();
}

} // namespace folvane
