#include "project/ContentsFileReader.h"

#include "base/AsciiText.h"
#include "formats/CharacterReferences.h"
#include "formats/SitemapScanner.h"
#include "toc/ListBox.h"

#include <algorithm>

namespace folvane {

namespace {

QString decoded(std::string_view value, formats::ReferenceRule rule) {
    return QString::fromStdString(formats::decodeCharacterReferences(value, rule));
}

// The first value of the param called name; merged entries repeat them.
const formats::SitemapRawParam* firstParam(const formats::SitemapRawObject& object, std::string_view name) {
    const auto found = std::ranges::find_if(object.params, [name](const formats::SitemapRawParam& p) {
        return AsciiText::equalsIgnoringCase(AsciiText::trimmed(p.name), name);
    });
    return found == object.params.end() ? nullptr : &*found;
}

} // namespace

QList<ContentsItem> readContentsFile(const QString& text) {
    const std::string utf8 = text.toStdString();
    QList<ContentsItem> items;
    for (const formats::SitemapRawObject& object : formats::scanSitemap(utf8)) {
        const formats::SitemapRawParam* name = firstParam(object, "name");
        if (!AsciiText::equalsIgnoringCase(AsciiText::trimmed(object.type), "text/sitemap") || name == nullptr)
            continue;
        ContentsItem item;
        item.text = decoded(name->value, formats::ReferenceRule::WrittenName);
        const int depth = std::max(0, object.depth - 1);
        const int spaces = lineDepth(item.text);
        if (spaces < depth)
            item.text.prepend(QString(depth - spaces, u' '));
        if (const formats::SitemapRawParam* local = firstParam(object, "local")) {
            item.local = decoded(local->value, formats::ReferenceRule::WrittenPath);
            item.hasLocal = true;
            item.localAsWritten = QString::fromStdString(std::string(local->value));
        }
        items.append(item);
    }
    return items;
}

} // namespace folvane
