#include "chm/compile/LocalLinks.h"

#include "chm/compile/PageList.h"

#include <algorithm>

namespace folvane::chm {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string escapedLink(const std::string& name) {
    std::string out;
    for (const char c : name) {
        if (c == '%')
            out += "%25";
        else if (c == '#')
            out += "%23";
        else if (c == '&')
            out += "%26";
        else
            out += c;
    }
    return out;
}

std::string percentDecoded(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool hasUrlScheme(std::string_view link) {
    const std::size_t colon = link.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return false;
    return std::all_of(link.begin(), link.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == '.';
    });
}

LocalLinks::LocalLinks(const PageList& pages) : pages_(pages) {}

LocalLinks::Resolved LocalLinks::resolve(const std::string& local) const {
    std::string link = local;
    std::replace(link.begin(), link.end(), '\\', '/');
    if (pages_.holds(nameFromRoot(link)))
        return {nameFromRoot(link), {}, false};
    const std::size_t hash = link.find('#');
    const std::string base = link.substr(0, hash);
    const std::string fragment = hash == std::string::npos ? std::string() : link.substr(hash);
    if (pages_.holds(nameFromRoot(base)))
        return {nameFromRoot(base), fragment, false};
    const std::string decoded = percentDecoded(base);
    if (decoded != base && pages_.holds(nameFromRoot(decoded)))
        return {nameFromRoot(decoded), fragment, true};
    return {{}, fragment, false};
}

std::string LocalLinks::target(const std::string& local) const {
    return resolve(local).name;
}

std::string LocalLinks::stored(const std::string& local) const {
    const Resolved resolved = resolve(local);
    if (resolved.name.empty() || resolved.escaped)
        return local;
    const std::string link = escapedLink(resolved.name.substr(1)) + resolved.fragment;
    return link == local ? local : link;
}

} // namespace folvane::chm
