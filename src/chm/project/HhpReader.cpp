#include "chm/project/HhpReader.h"

#include "base/AsciiText.h"
#include "base/Lcid.h"
#include "chm/project/HhpNotice.h"
#include "chm/project/HhpOptions.h"
#include "formats/ProjectSections.h"
#include "formats/TextDecoding.h"
#include "formats/WindowFields.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace folvane::chm {

namespace {

// A section we accept without reading, with the entries it held.
struct SkippedSection {
    std::string_view name;
    std::size_t entries = 0;
};

void readOptions(HhpProject& project, const formats::ProjectSection& section) {
    for (const formats::ProjectLine& line : section.lines) {
        if (const auto entry = formats::projectEntry(line.text))
            HhpOptions::apply(project, entry->key, AsciiText::trimmed(entry->value));
        else
            project.notices.push_back(HhpNotice::notAnOption(line.number));
    }
}

void readWindows(HhpProject& project, const formats::ProjectSection& section) {
    for (const formats::ProjectLine& line : section.lines) {
        if (const auto entry = formats::projectEntry(line.text))
            project.windows.push_back({std::string(entry->key), formats::splitWindowFields(entry->value)});
        else
            project.notices.push_back(HhpNotice::notAWindow(line.number));
    }
}

void readLines(std::vector<HhpLine>& out, const formats::ProjectSection& section) {
    for (const formats::ProjectLine& line : section.lines)
        out.push_back({std::string(AsciiText::trimmed(line.text)), line.number});
}

void skip(std::vector<SkippedSection>& skipped, const formats::ProjectSection& section) {
    auto same = std::ranges::find_if(
        skipped, [&section](const SkippedSection& s) { return AsciiText::equalsIgnoringCase(s.name, section.name); });
    if (same == skipped.end())
        same = skipped.insert(skipped.end(), {section.name});
    same->entries += section.lines.size();
}

} // namespace

HhpProject HhpReader::read(std::string_view utf8Text) {
    const formats::ProjectSections file = formats::readProjectSections(utf8Text);
    HhpProject project;
    std::vector<SkippedSection> skipped;
    for (const formats::ProjectSection& section : file.sections) {
        if (section.is("OPTIONS")) {
            readOptions(project, section);
        } else if (section.is("WINDOWS")) {
            readWindows(project, section);
        } else if (section.is("FILES")) {
            for (const formats::ProjectLine& line : section.lines)
                project.files.emplace_back(AsciiText::trimmedRight(line.text));
        } else if (section.is("ALIAS")) {
            readLines(project.aliases, section);
        } else if (section.is("MAP")) {
            readLines(project.map, section);
        } else {
            skip(skipped, section);
        }
    }
    if (!file.beforeFirst.empty())
        project.notices.push_back(HhpNotice::outsideSections(file.beforeFirst.size()));
    for (const SkippedSection& s : skipped) {
        if (s.entries > 0)
            project.notices.push_back(HhpNotice::ignoredEntries(s.name, s.entries));
    }
    return project;
}

HhpProject HhpReader::readFile(std::string_view bytes, std::uint32_t systemCodePage) {
    // The language is an ASCII number, which every ANSI code page spells alike.
    constexpr std::uint32_t kAsciiSafe = 1252;
    const formats::DecodedText text = formats::decodeText(bytes, kAsciiSafe);
    HhpProject project = read(text.utf8);
    const std::uint32_t codePage = project.language ? Lcid::ansiCodePage(*project.language) : systemCodePage;
    if (text.fromCodePage && codePage != kAsciiSafe)
        project = read(formats::decodeText(bytes, codePage).utf8);
    project.textCodePage = codePage;
    return project;
}

} // namespace folvane::chm
