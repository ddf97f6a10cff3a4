#pragma once

#include <QString>

namespace folvane {

class ListBox;

// Copies every line of one list into another: texts, markers and (where the destination
// has them) selection flags, with optional find-and-replace pairs joined by NUL:
// find1, NUL, replacement1, NUL, find2, ... Pairs apply in order, ignoring case.
void CopyList(ListBox& SrcL, ListBox& DesL, bool ClearSrc, const QString& Find_ReplaceStr);

} // namespace folvane
