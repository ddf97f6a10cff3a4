#include "chm/project/HhpOptions.h"

#include "base/AsciiText.h"
#include "base/Lcid.h"
#include "chm/project/HhpNotice.h"
#include "formats/ProjectSections.h"

#include <array>
#include <optional>

namespace folvane::chm {

namespace {

enum class Use {
    Text,
    // A path, perhaps in quotes: file names cannot hold a quote, so one pair goes.
    Path,
    Language,
    // Yes or No.
    Switch,
    // No effect on the help file.
    Silent,
    // Would change the help file; we do not do what it asks, and say so when it asks.
    Ignored,
};

struct Option {
    std::string_view key;
    Use use;
    std::string HhpProject::*text = nullptr;
    bool HhpProject::*flag = nullptr;
};

constexpr std::array kOptions{
    Option{formats::option::kCompiledFile, Use::Path, &HhpProject::compiledFile},
    Option{formats::option::kContentsFile, Use::Path, &HhpProject::contentsFile},
    Option{"Index file", Use::Path, &HhpProject::indexFile},
    Option{formats::option::kDefaultTopic, Use::Path, &HhpProject::defaultTopic},
    Option{formats::option::kDefaultWindow, Use::Text, &HhpProject::defaultWindow},
    Option{formats::option::kTitle, Use::Text, &HhpProject::title},
    Option{"Default Font", Use::Text, &HhpProject::defaultFont},
    Option{"Full text search stop list file", Use::Path, &HhpProject::stopListFile},
    Option{"Language", Use::Language},
    Option{"Full-text search", Use::Switch, nullptr, &HhpProject::fullTextSearch},
    Option{"Binary Index", Use::Switch, nullptr, &HhpProject::binaryIndex},
    Option{"Binary TOC", Use::Switch, nullptr, &HhpProject::binaryToc},
    // Text the help file never shows, and switches of the compiler's own window and files.
    Option{"CITATION", Use::Silent},
    Option{"COPYRIGHT", Use::Silent},
    Option{"Compatibility", Use::Silent},
    Option{"Display compile notes", Use::Silent},
    Option{"Display compile progress", Use::Silent},
    Option{"Tmpdir", Use::Silent},
    Option{"Auto Index", Use::Ignored},
    Option{"Auto TOC", Use::Ignored},
    Option{"Create CHI file", Use::Ignored},
    Option{"DBCS", Use::Ignored},
    Option{"Enhanced decompilation", Use::Ignored},
    Option{"Error log file", Use::Ignored},
    Option{"Flat", Use::Ignored},
    Option{"Prefix", Use::Ignored},
    Option{"Sample Staging Path", Use::Ignored},
    Option{"Sample list file", Use::Ignored},
};

const Option* find(std::string_view key) {
    for (const Option& option : kOptions) {
        if (AsciiText::equalsIgnoringCase(option.key, key))
            return &option;
    }
    return nullptr;
}

std::optional<bool> switchValue(std::string_view value) {
    for (const std::string_view on : {"Yes", "1", "True"}) {
        if (AsciiText::equalsIgnoringCase(value, on))
            return true;
    }
    for (const std::string_view off : {"No", "0", "False", ""}) {
        if (AsciiText::equalsIgnoringCase(value, off))
            return false;
    }
    return std::nullopt;
}

// "Binary TOC=No", "Auto TOC=0" or an empty file name ask for nothing.
bool asksForSomething(std::string_view value) {
    return switchValue(value).value_or(true);
}

void applyLanguage(HhpProject& project, std::string_view value) {
    project.language = Lcid::parse(value);
    if (!project.language && !value.empty())
        project.notices.push_back(HhpNotice::unknownLanguage(value));
}

void applySwitch(HhpProject& project, const Option& option, std::string_view value) {
    const std::optional<bool> on = switchValue(value);
    project.*(option.flag) = on.value_or(false);
    if (!on)
        project.notices.push_back(HhpNotice::unknownSwitch(option.key, value));
}

} // namespace

void HhpOptions::apply(HhpProject& project, std::string_view key, std::string_view value) {
    const Option* option = find(key);
    if (option == nullptr) {
        project.notices.push_back(HhpNotice::unknownOption(key));
        return;
    }
    switch (option->use) {
    case Use::Text:
        project.*(option->text) = value;
        break;
    case Use::Path:
        project.*(option->text) = formats::unquotedPath(value);
        break;
    case Use::Language:
        applyLanguage(project, value);
        break;
    case Use::Switch:
        applySwitch(project, *option, value);
        break;
    case Use::Silent:
        break;
    case Use::Ignored:
        if (asksForSomething(value))
            project.notices.push_back(HhpNotice::ignoredOption(option->key));
        break;
    }
}

} // namespace folvane::chm
