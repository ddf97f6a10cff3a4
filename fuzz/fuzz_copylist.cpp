// Copying between lists with find-and-replace pairs: every line arrives with its link, the
// source is emptied only when asked, and a single-selection list never holds two selections.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "toc/CopyList.h"
#include "toc/ListBox.h"

using namespace folvane;

namespace {
ListBox::Selection modeOf(int n) {
    return n == 0 ? ListBox::Selection::Single : n == 1 ? ListBox::Selection::Extended : ListBox::Selection::None;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    ListBox source(modeOf(input.number(3)));
    ListBox destination(modeOf(input.number(3)));
    const bool sameList = input.number(4) == 0;
    const bool clearSource = input.flag();
    const QStringList pairs = input.text().split(QChar(u'\0'), Qt::SkipEmptyParts);
    const int lines = input.number(64);
    for (int i = 0; i < lines && !input.atEnd(); ++i) {
        source.addItem(input.text());
        source.setItemData(i, input.number(7) - 3);
        if (source.hasSelectionFlags())
            source.setSelected(i, input.flag());
    }
    destination.addItem(QStringLiteral("old"));

    ListBox& target = sameList ? source : destination;
    const QList<ListEntry> before = source.entries();
    CopyList(source, target, clearSource, pairs);

    FUZZ_CHECK(target.count() == before.size());
    for (int i = 0; i < target.count(); ++i) {
        FUZZ_CHECK(target.itemData(i) == before[i].itemData);
        if (pairs.size() < 2)
            FUZZ_CHECK(target.text(i) == before[i].text);
    }
    if (target.selectionMode() == ListBox::Selection::Single)
        FUZZ_CHECK(target.selectedCount() <= 1);
    if (!sameList)
        FUZZ_CHECK(source.count() == (clearSource ? 0 : before.size()));
    FUZZ_CHECK(target.listIndex() >= -1 && target.listIndex() < target.count());
    return 0;
}
