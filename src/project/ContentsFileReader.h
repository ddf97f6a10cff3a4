#pragma once

#include <QList>
#include <QString>

namespace folvane {

// One entry of a contents file: its text as a contents list holds it (the depth as leading
// spaces) and its "Local" target, if it has one.
struct ContentsItem {
    QString text;
    QString local;
    bool hasLocal = false;
    // The target before its character references were decoded: a file may be named so.
    QString localAsWritten;
};

// The entries of a contents file (an HTML sitemap) in order, read as viewers read it: tags and
// attributes in any case and order, "</LI>" and "</OBJECT>" optional, other tools' headers,
// site properties and extra params passed over. An entry's depth is the nesting of its
// "<UL>" lists below the outer one; a name that already starts with that many spaces or
// more (the program writes depths so) keeps them. A double-quoted value ends at the last
// quote on its line that closes the tag, so a name holding quotes stays whole. In names only
// "&quot;" is turned back into a quote; targets are decoded like the paths they are.
QList<ContentsItem> readContentsFile(const QString& text);

} // namespace folvane
