#pragma once

#include <string>
#include <string_view>

namespace folvane::chm {

class PageList;

// The "Local" values of a contents file against the files the help file stores. Viewers
// read a Local value as a link from the root: "\" or "/" between folders, "#" starts a
// fragment, "%" an escape, and some drop a raw "&". A value that names a stored file is
// written so that they all reach it.
class LocalLinks {
public:
    explicit LocalLinks(const PageList& pages);

    // The stored name a value reaches ("/sub/a.htm"); empty when it reaches none.
    std::string target(const std::string& local) const;
    // The value to store: the link from the root with "%", "#" and "&" of the file's name
    // escaped; values that reach no file, or were escaped already, stay as written.
    std::string stored(const std::string& local) const;

private:
    struct Resolved {
        std::string name;
        std::string fragment;
        bool escaped = false;
    };
    Resolved resolve(const std::string& local) const;

    const PageList& pages_;
};

// "http:", "ms-its:", "mk:@MSITStore:", "javascript:" ... but not a drive letter.
bool hasUrlScheme(std::string_view link);
// "%XX" sequences decoded; anything else kept.
std::string percentDecoded(const std::string& text);
// A stored name (without its leading "/") as a link: "%", "#" and "&" escaped.
std::string escapedLink(const std::string& name);

} // namespace folvane::chm
