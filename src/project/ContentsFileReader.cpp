#include "project/ContentsFileReader.h"

#include "formats/CharacterReferences.h"
#include "toc/ListBox.h"

#include <algorithm>
#include <optional>

namespace folvane {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

struct Attribute {
    QString name; // lower case
    QString value;
};

struct Object {
    int depth = 0;
    bool isEntry = false;
    std::optional<QString> name;
    std::optional<QString> local;
    QString localAsWritten;
};

class ContentsScanner {
public:
    explicit ContentsScanner(const QString& text) : text_(text) {}

    QList<ContentsItem> scan();

private:
    bool startsWithAt(qsizetype at, QStringView lowerNeedle) const {
        return QStringView(text_).mid(at, lowerNeedle.size()).compare(lowerNeedle, Qt::CaseInsensitive) == 0;
    }
    qsizetype find(QStringView lowerNeedle, qsizetype from) const {
        const qsizetype at = text_.indexOf(lowerNeedle, from, Qt::CaseInsensitive);
        return at < 0 ? text_.size() : at;
    }
    QString tagName(qsizetype& pos) const;
    qsizetype quotedValueEnd(qsizetype begin, bool forgiving) const;
    QList<Attribute> attributes(qsizetype& pos, bool forgivingValue) const;
    void closeObject();
    void readParam(const QList<Attribute>& attributes);

    const QString& text_;
    QList<ContentsItem> items_;
    std::optional<Object> object_;
    int lists_ = 0;
};

// The tag's name in lower case ("/ul" for a closing tag); pos moves past it.
QString ContentsScanner::tagName(qsizetype& pos) const {
    const qsizetype begin = pos;
    while (pos < text_.size() && !isBlank(text_[pos]) && text_[pos] != u'>' && !(text_[pos] == u'/' && pos > begin))
        ++pos;
    return text_.mid(begin, pos - begin).toLower();
}

// Names written as they stand may hold quotes and angle brackets: the value runs to the last
// quote that closes the tag before the line, the next param or the object ends.
qsizetype ContentsScanner::quotedValueEnd(qsizetype begin, bool forgiving) const {
    const qsizetype first = text_.indexOf(u'"', begin);
    if (!forgiving)
        return first < 0 ? text_.size() : first;
    qsizetype limit = text_.indexOf(u'\n', begin);
    if (limit < 0)
        limit = text_.size();
    limit = std::min({limit, find(u"<param", begin), find(u"</object", begin)});
    for (qsizetype q = limit - 1; q >= begin; --q) {
        if (text_[q] != u'"')
            continue;
        qsizetype after = q + 1;
        while (after < text_.size() && (text_[after] == u' ' || text_[after] == u'\t' || text_[after] == u'\r'))
            ++after;
        if (after < text_.size() && (text_[after] == u'>' || startsWithAt(after, u"/>")))
            return q;
    }
    return first < 0 ? text_.size() : first;
}

// Reads attributes from pos to the end of the tag; pos moves past its ">". A "value" after a
// "name" is read forgivingly when forgivingValue is set.
QList<Attribute> ContentsScanner::attributes(qsizetype& pos, bool forgivingValue) const {
    QList<Attribute> out;
    bool nameSeen = false;
    while (pos < text_.size()) {
        const QChar c = text_[pos];
        if (c == u'>') {
            ++pos;
            break;
        }
        if (isBlank(c) || c == u'/' || c == u'"' || c == u'\'' || c == u'=') {
            ++pos;
            continue;
        }
        Attribute a;
        const qsizetype nameBegin = pos;
        while (pos < text_.size() && !isBlank(text_[pos]) && text_[pos] != u'=' && text_[pos] != u'>' &&
               text_[pos] != u'/')
            ++pos;
        a.name = text_.mid(nameBegin, pos - nameBegin).toLower();
        while (pos < text_.size() && isBlank(text_[pos]))
            ++pos;
        if (pos < text_.size() && text_[pos] == u'=') {
            ++pos;
            while (pos < text_.size() && isBlank(text_[pos]))
                ++pos;
            const QChar quote = pos < text_.size() ? text_[pos] : QChar();
            if (quote == u'"' || quote == u'\'') {
                const qsizetype begin = pos + 1;
                qsizetype end = text_.size();
                if (quote == u'"') {
                    end = quotedValueEnd(begin, forgivingValue && nameSeen && a.name == u"value");
                } else {
                    end = text_.indexOf(quote, begin);
                    end = end < 0 ? text_.size() : end;
                }
                a.value = text_.mid(begin, end - begin);
                pos = std::min(end + 1, text_.size());
            } else {
                const qsizetype begin = pos;
                while (pos < text_.size() && !isBlank(text_[pos]) && text_[pos] != u'>')
                    ++pos;
                a.value = text_.mid(begin, pos - begin);
            }
        }
        nameSeen = nameSeen || a.name == u"name";
        out.append(a);
    }
    return out;
}

QString decoded(const QString& value, formats::ReferenceRule rule) {
    return QString::fromStdString(formats::decodeCharacterReferences(value.toStdString(), rule));
}

void ContentsScanner::readParam(const QList<Attribute>& attributes) {
    QString name;
    std::optional<QString> value;
    for (const Attribute& a : attributes) {
        if (a.name == u"name")
            name = a.value.trimmed().toLower();
        else if (a.name == u"value" && !value)
            value = a.value;
    }
    if (!value)
        return;
    // The first Name and Local count; merged entries repeat them.
    if (name == u"name" && !object_->name)
        object_->name = decoded(*value, formats::ReferenceRule::WrittenName);
    else if (name == u"local" && !object_->local) {
        object_->local = decoded(*value, formats::ReferenceRule::WrittenPath);
        object_->localAsWritten = *value;
    }
}

void ContentsScanner::closeObject() {
    if (object_ && object_->isEntry && object_->name) {
        QString text = *object_->name;
        const int spaces = lineDepth(text);
        if (spaces < object_->depth)
            text.prepend(QString(object_->depth - spaces, u' '));
        items_.append({text, object_->local.value_or(QString()), object_->local.has_value(), object_->localAsWritten});
    }
    object_.reset();
}

QList<ContentsItem> ContentsScanner::scan() {
    qsizetype pos = 0;
    while ((pos = text_.indexOf(u'<', pos)) >= 0) {
        if (startsWithAt(pos, u"<!--")) {
            const qsizetype end = text_.indexOf(QStringLiteral("-->"), pos + 4);
            pos = end < 0 ? text_.size() : end + 3;
            continue;
        }
        ++pos;
        const QString tag = tagName(pos);
        const bool isParam = tag == u"param";
        const QList<Attribute> attrs = attributes(pos, isParam);
        if (isParam) {
            if (object_)
                readParam(attrs);
        } else if (tag == u"object") {
            closeObject();
            Object object;
            object.depth = std::max(0, lists_ - 1);
            for (const Attribute& a : attrs)
                if (a.name == u"type")
                    object.isEntry = a.value.trimmed().compare(u"text/sitemap", Qt::CaseInsensitive) == 0;
            object_ = object;
        } else if (tag == u"/object" || tag == u"li" || tag == u"/li") {
            closeObject();
        } else if (tag == u"ul" || tag == u"/ul") {
            closeObject();
            lists_ += tag == u"ul" ? 1 : -1;
        }
    }
    closeObject();
    return items_;
}

} // namespace

QList<ContentsItem> readContentsFile(const QString& text) {
    return ContentsScanner(text).scan();
}

} // namespace folvane
