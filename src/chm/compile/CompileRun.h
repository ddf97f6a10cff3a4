#pragma once

#include "chm/compile/CompileResult.h"
#include "chm/compile/Compiler.h"
#include "chm/compile/FileLocator.h"
#include "chm/compile/LocalLinks.h"
#include "chm/compile/PageKeywords.h"
#include "chm/compile/PageList.h"
#include "chm/compile/ProjectPaths.h"
#include "chm/compile/SystemFileSet.h"
#include "chm/platform/WorkPipeline.h"
#include "chm/project/ContextIdReader.h"
#include "chm/project/HhpProject.h"
#include "chm/search/FullTextSink.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace folvane::chm {

class CompileListener;

// One compile, from reading the project to renaming the new help file into place.
class CompileRun {
public:
    CompileRun(CompileListener& listener, const Compiler::Options& options);

    CompileResult run(const std::filesystem::path& projectFile);

private:
    void readProject(const std::filesystem::path& projectFile);
    void resolveOutput();
    void refuseOutputOverInput() const;
    std::optional<SitemapFile> readSitemap(const std::string& asWritten, const char* what);
    void chooseLanguage();
    void planPages();
    void addLinkedFiles();
    std::unordered_set<std::string> stopWords();
    void reportDeadLinks() const;
    void readContextIds();
    void readPageKeywords();
    std::string projectText(const std::filesystem::path& file) const;
    std::optional<IncludedText> readIncluded(const std::string& includer, const std::string& written,
                                             std::string& error) const;
    using Feed = std::function<void(std::span<const std::uint8_t>)>;
    void write();
    SystemFileSet::Input systemInput(std::uint64_t now) const;
    std::vector<DirectoryEntry> layout(const SystemFileSet& system, std::uint64_t& length) const;
    std::vector<PageTopic> streamPages(const Feed& feed, std::optional<FullTextSink>& fullText);
    std::string streamPage(const PlannedPage& page, bool indexed, std::span<std::uint8_t> buffer,
                           const Feed& feed) const;
    std::vector<DirectoryEntry> closeStream(SystemFileSet& system, const std::vector<PageTopic>& topics,
                                            const std::optional<FullTextSink>& fullText, const Feed& feed,
                                            std::uint64_t& length) const;
    std::vector<PageTopic> pageTopics(const std::vector<std::size_t>& htmlPages,
                                      const std::vector<std::string>& titles) const;

    std::string topicLink(std::string_view topic) const;

    CompileListener& listener_;
    Compiler::Options options_;
    WorkPipeline work_;
    std::chrono::steady_clock::time_point started_;
    std::string projectFull_;
    HhpProject project_;
    std::unique_ptr<ProjectPaths> paths_;
    // Finds files as the project names them; its caches change as it looks.
    std::unique_ptr<FileLocator> locator_;
    std::string outputFull_;
    std::vector<std::string> sitemapFiles_; // on disk
    std::optional<SitemapFile> contents_;
    std::optional<SitemapFile> index_;
    std::unique_ptr<PageList> pages_;
    std::unique_ptr<LocalLinks> links_;
    std::vector<ContextLink> contextLinks_;
    PageKeywords pageKeywords_;
    CompileResult result_;
};

} // namespace folvane::chm
