// Reading contents files: any text reads without harm, and every contents list the program
// writes reads back with the same entry texts (saved again, the same bytes) and links.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "project/ContentsFileReader.h"
#include "project/HhcWriter.h"
#include "toc/ListBox.h"

using namespace folvane;

namespace {
// Entry texts as the window makes them: one line, no markup of a param of their own.
QString entryText(fuzz::FuzzInput& input) {
    QString text = input.text();
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\n' || c == u'<')
            c = u'_';
    }
    return text;
}

void roundTrip(fuzz::FuzzInput& input) {
    ListBox files;
    ListBox toc;
    const int entries = input.number(32);
    for (int i = 0; i < entries && !input.atEnd(); ++i) {
        files.addItem(QStringLiteral("/p/") + entryText(input).replace(u'"', u'_') + QStringLiteral(".htm"));
        const int depth = input.number(6);
        toc.addItem(QString(depth, u' ') + entryText(input));
        toc.setItemData(i, input.flag() ? -1 : i);
    }
    const QList<ContentsItem> items =
        readContentsFile(buildContentsFile(toc, files, QStringLiteral("/p"), PathStyle::Posix));
    FUZZ_CHECK(items.size() == toc.count());
    for (int i = 0; i < toc.count(); ++i) {
        // A name holding the text "&quot;" reads back as a quote, which saves as the same bytes.
        FUZZ_CHECK(items[i].text == QString(toc.text(i)).replace(QStringLiteral("&quot;"), QStringLiteral("\"")));
        FUZZ_CHECK(items[i].hasLocal == (toc.itemData(i) >= 0));
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    if (input.flag()) {
        roundTrip(input);
        return 0;
    }
    const QString text = input.text();
    const QList<ContentsItem> items = readContentsFile(text);
    // Every entry comes from an object of its own.
    FUZZ_CHECK(items.size() <= text.count(QStringLiteral("<object"), Qt::CaseInsensitive));
    return 0;
}
