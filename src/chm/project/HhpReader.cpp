#include "chm/project/HhpReader.h"

#include "chm/project/HhpNotice.h"
#include "chm/project/HhpOptions.h"
#include "chm/text/AsciiText.h"
#include "chm/text/Lcid.h"
#include "chm/text/TextDecoding.h"
#include "formats/WindowFields.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace folvane::chm {

namespace {

enum class Section { BeforeFirst, Options, Windows, Files, Alias, Map, Other };

// A section we accept without reading, with the entries it held.
struct SkippedSection {
    std::string name;
    std::size_t entries = 0;
};

struct Reading {
    HhpProject project;
    Section section = Section::BeforeFirst;
    std::size_t lineNumber = 0;
    std::size_t linesBeforeFirst = 0;
    std::vector<SkippedSection> skipped;
    std::size_t current = 0; // index in skipped while in Section::Other
};

// The line starting at pos, without its end: CR LF, LF or a lone CR. Sets pos past it.
std::string_view nextLine(std::string_view text, std::size_t& pos) {
    const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    const std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r')
        ++pos;
    if (pos < text.size() && text[pos] == '\n')
        ++pos;
    return line;
}

bool isComment(std::string_view trimmedLine) {
    return trimmedLine.empty() || trimmedLine.front() == ';';
}

bool isHeader(std::string_view trimmedLine) {
    return trimmedLine.size() >= 2 && trimmedLine.front() == '[' && trimmedLine.back() == ']';
}

void enterSection(Reading& r, std::string_view name) {
    if (AsciiText::equalsIgnoringCase(name, "OPTIONS")) {
        r.section = Section::Options;
    } else if (AsciiText::equalsIgnoringCase(name, "WINDOWS")) {
        r.section = Section::Windows;
    } else if (AsciiText::equalsIgnoringCase(name, "FILES")) {
        r.section = Section::Files;
    } else if (AsciiText::equalsIgnoringCase(name, "ALIAS")) {
        r.section = Section::Alias;
    } else if (AsciiText::equalsIgnoringCase(name, "MAP")) {
        r.section = Section::Map;
    } else {
        r.section = Section::Other;
        r.current = 0;
        while (r.current < r.skipped.size() && !AsciiText::equalsIgnoringCase(r.skipped[r.current].name, name))
            ++r.current;
        if (r.current == r.skipped.size())
            r.skipped.push_back({std::string(name)});
    }
}

void readOption(Reading& r, std::string_view line) {
    const std::size_t equals = line.find('=');
    const std::string_view key = AsciiText::trimmed(line.substr(0, equals));
    if (equals == std::string_view::npos || key.empty()) {
        r.project.notices.push_back(HhpNotice::notAnOption(r.lineNumber));
        return;
    }
    HhpOptions::apply(r.project, key, AsciiText::trimmed(line.substr(equals + 1)));
}

void readWindow(Reading& r, std::string_view line) {
    const std::size_t equals = line.find('=');
    const std::string_view name = AsciiText::trimmed(line.substr(0, equals));
    if (equals == std::string_view::npos || name.empty()) {
        r.project.notices.push_back(HhpNotice::notAWindow(r.lineNumber));
        return;
    }
    r.project.windows.push_back({std::string(name), formats::splitWindowFields(line.substr(equals + 1))});
}

void readLine(Reading& r, std::string_view line) {
    const std::string_view trimmedLine = AsciiText::trimmed(line);
    if (isComment(trimmedLine))
        return;
    if (isHeader(trimmedLine)) {
        enterSection(r, AsciiText::trimmed(trimmedLine.substr(1, trimmedLine.size() - 2)));
        return;
    }
    switch (r.section) {
    case Section::BeforeFirst:
        ++r.linesBeforeFirst;
        break;
    case Section::Options:
        readOption(r, line);
        break;
    case Section::Windows:
        readWindow(r, line);
        break;
    case Section::Files:
        // A name may start with blanks; none can end with them.
        r.project.files.emplace_back(AsciiText::trimmedRight(line));
        break;
    case Section::Alias:
        r.project.aliases.push_back({std::string(trimmedLine), r.lineNumber});
        break;
    case Section::Map:
        r.project.map.push_back({std::string(trimmedLine), r.lineNumber});
        break;
    case Section::Other:
        ++r.skipped[r.current].entries;
        break;
    }
}

void addSectionNotices(Reading& r) {
    if (r.linesBeforeFirst > 0)
        r.project.notices.push_back(HhpNotice::outsideSections(r.linesBeforeFirst));
    for (const SkippedSection& s : r.skipped) {
        if (s.entries > 0)
            r.project.notices.push_back(HhpNotice::ignoredEntries(s.name, s.entries));
    }
}

} // namespace

HhpProject HhpReader::read(std::string_view utf8Text) {
    Reading r;
    std::size_t pos = 0;
    while (pos < utf8Text.size()) {
        ++r.lineNumber;
        readLine(r, nextLine(utf8Text, pos));
    }
    addSectionNotices(r);
    return std::move(r.project);
}

HhpProject HhpReader::readFile(std::string_view bytes, std::uint32_t systemCodePage) {
    // The language is an ASCII number, which every ANSI code page spells alike.
    constexpr std::uint32_t kAsciiSafe = 1252;
    const DecodedText text = decodeText(bytes, kAsciiSafe);
    HhpProject project = read(text.utf8);
    const std::uint32_t codePage = project.language ? Lcid::ansiCodePage(*project.language) : systemCodePage;
    if (text.fromCodePage && codePage != kAsciiSafe)
        project = read(decodeText(bytes, codePage).utf8);
    project.textCodePage = codePage;
    return project;
}

} // namespace folvane::chm
