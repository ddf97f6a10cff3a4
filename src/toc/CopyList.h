#pragma once

#include <QStringList>

namespace folvane {

class ListBox;

// Copies every line of one list into another: texts, markers and (where the destination
// has them) selection flags, with optional find-and-replace pairs: find1, replacement1,
// find2, ... Pairs apply in order, ignoring case.
void CopyList(ListBox& SrcL, ListBox& DesL, bool ClearSrc, const QStringList& Find_ReplaceStr = {});
// The same copy from a list it leaves alone.
void copyEntries(const ListBox& SrcL, ListBox& DesL, const QStringList& Find_ReplaceStr = {});

} // namespace folvane
