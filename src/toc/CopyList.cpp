#include "toc/CopyList.h"

#include "toc/ListBox.h"

namespace folvane {

namespace {
QString applyPairs(QString text, const QStringList& parts) {
    // A last find text without a partner is ignored; an empty find text changes nothing.
    for (qsizetype j = 0; j + 1 < parts.size(); j += 2) {
        if (!parts[j].isEmpty())
            text.replace(parts[j], parts[j + 1], Qt::CaseInsensitive);
    }
    return text;
}
} // namespace

void copyEntries(const ListBox& SrcL, ListBox& DesL, const QStringList& Find_ReplaceStr) {
    QList<ListEntry> copy = SrcL.entries();
    int lastSelected = -1;
    for (qsizetype i = 0; i < copy.size(); ++i) {
        if (!Find_ReplaceStr.isEmpty())
            copy[i].text = applyPairs(copy[i].text, Find_ReplaceStr);
        if (copy[i].selected)
            lastSelected = static_cast<int>(i);
    }
    {
        ListBox::Batch update(DesL);
        DesL.setEntries(std::move(copy));
        // A single-selection list keeps the last selected line, and it becomes current.
        if (DesL.hasSelectionFlags() && lastSelected >= 0 && DesL.selected(lastSelected))
            DesL.setListIndex(lastSelected);
    }
}

void CopyList(ListBox& SrcL, ListBox& DesL, bool ClearSrc, const QStringList& Find_ReplaceStr) {
    copyEntries(SrcL, DesL, Find_ReplaceStr);
    if (ClearSrc && &SrcL != &DesL)
        SrcL.clear();
}

} // namespace folvane
