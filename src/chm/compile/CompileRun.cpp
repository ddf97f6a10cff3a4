#include "chm/compile/CompileRun.h"

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Lcid.h"
#include "base/SystemLocale.h"
#include "chm/CompileError.h"
#include "chm/compile/CompileListener.h"
#include "chm/compile/LinkedFiles.h"
#include "chm/compile/PageReferences.h"
#include "chm/itsf/ContainerWriter.h"
#include "chm/lzx/ParallelLzx.h"
#include "chm/platform/AbsolutePath.h"
#include "chm/platform/FileKind.h"
#include "chm/platform/InputFile.h"
#include "chm/platform/OutputFile.h"
#include "chm/platform/SystemMemory.h"
#include "chm/platform/Utf8Path.h"
#include "chm/project/HhpReader.h"
#include "chm/search/FullTextFile.h"
#include "chm/search/PageIndexer.h"
#include "chm/search/WordBreaker.h"
#include "formats/TextDecoding.h"
#include "formats/WindowFields.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <unordered_map>

namespace folvane::chm {

namespace {

constexpr std::uint64_t kMaxProjectBytes = 64ull << 20;
constexpr std::uint64_t kMaxSitemapBytes = 512ull << 20;
constexpr std::uint64_t kMaxStopListBytes = 1ull << 20;
constexpr std::size_t kReadBuffer = 1 << 20;
constexpr std::size_t kMaxDeadLinksShown = 20;
constexpr std::size_t kMaxContextWarningsShown = 20;
// Words past this much of one page are not indexed, so a huge page cannot exhaust memory.
constexpr std::uint64_t kMaxIndexedBytes = 32ull << 20;
// The search index's words in memory, at most, and at least unless asked for less.
constexpr std::uint64_t kMostIndexMemory = 1ull << 30;
constexpr std::uint64_t kLeastIndexMemory = 64ull << 20;
// The index file of words that went to runs is written through this much memory.
constexpr std::size_t kSpilledFullTextMemory = 16u << 20;
constexpr const char* kFullTextName = "/$FIftiMain";
// Seconds between 1601, where Windows counts from, and 1970.
constexpr std::uint64_t kFileTimeEpoch = 11644473600ull;

// A value without blanks around it and without one pair of quotes.
std::string trimmed(std::string_view text) {
    std::string_view t = AsciiText::trimmed(text);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        t = t.substr(1, t.size() - 2);
    return std::string(t);
}

// Seconds since 1970: now, or SOURCE_DATE_EPOCH where a reproducible build sets it.
std::uint64_t compileTime() {
    const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
    std::uint64_t seconds = 0;
    if (fixed != nullptr && *fixed != '\0') {
        const char* end = fixed + std::char_traits<char>::length(fixed);
        const auto [p, error] = std::from_chars(fixed, end, seconds);
        if (error == std::errc() && p == end && seconds < 0xFFFFFFFFull)
            return seconds;
    }
    return static_cast<std::uint64_t>(std::time(nullptr));
}

// Asked for, or a quarter of what the machine has, within bounds.
std::uint64_t indexMemoryBudget(std::uint64_t asked) {
    if (asked > 0)
        return asked;
    const std::uint64_t usable = usableMemoryBytes();
    return usable == 0 ? kMostIndexMemory : std::clamp(usable / 4, kLeastIndexMemory, kMostIndexMemory);
}

} // namespace

CompileRun::CompileRun(CompileListener& listener, const Compiler::Options& options)
    : listener_(listener), options_(options), work_(options.threads) {}

CompileResult CompileRun::run(const std::filesystem::path& projectFile) {
    started_ = std::chrono::steady_clock::now();
    readProject(projectFile);
    resolveOutput();
    refuseOutputOverInput();
    contents_ = readSitemap(project_.contentsFile, "目录文件");
    index_ = readSitemap(project_.indexFile, "索引文件");
    chooseLanguage();
    planPages();
    addLinkedFiles();
    reportDeadLinks();
    readContextIds();
    readPageKeywords();
    write();
    result_.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    return result_;
}

void CompileRun::readProject(const std::filesystem::path& projectFile) {
    const std::filesystem::path absolute = absolutePath(projectFile);
    paths_ = std::make_unique<ProjectPaths>(utf8FromPath(absolute.parent_path()));
    locator_ = std::make_unique<FileLocator>(*paths_, listener_);
    projectFull_ = paths_->tidy(utf8FromPath(absolute));
    if (fileKind(absolute) != FileKind::File)
        throw CompileError("找不到项目文件：" + projectFull_);
    project_ = HhpReader::readFile(InputFile::readAll(absolute, kMaxProjectBytes), systemAnsiCodePage());
    for (const std::string& notice : project_.notices)
        listener_.notice(notice);
}

// The project file and the files its sections include, as UTF-8.
std::string CompileRun::projectText(const std::filesystem::path& file) const {
    return formats::decodeText(InputFile::readAll(file, kMaxProjectBytes), project_.textCodePage).utf8;
}

void CompileRun::resolveOutput() {
    std::string written = trimmed(project_.compiledFile);
    if (written.empty())
        written = utf8FromPath(pathFromUtf8(projectFull_).stem()) + ".chm";
    const LocatedFile file = locator_->locate(written);
    outputFull_ = file.diskPath;
    // A new file goes into its folder as the disk spells that.
    const std::size_t slash = file.fullPath.rfind('/');
    if (!file.exists && slash != std::string::npos && slash > 0) {
        const LocatedFile folder = locator_->locateFull(file.fullPath.substr(0, slash));
        if (folder.exists)
            outputFull_ = folder.diskPath + file.fullPath.substr(slash);
    }
    const std::filesystem::path output = pathFromUtf8(outputFull_);
    if (fileKind(output) == FileKind::Folder)
        throw CompileError("输出文件是一个文件夹：" + outputFull_);
    if (fileKind(output.parent_path()) != FileKind::Folder)
        throw CompileError("输出文件夹不存在：" + utf8FromPath(output.parent_path()));
    result_.outputFile = outputFull_;
}

// The help file takes the place of what was there: never one of the project's own files, and
// another file only when asked to.
void CompileRun::refuseOutputOverInput() const {
    if (paths_->sameFile(outputFull_, projectFull_))
        throw CompileError("输出文件不能是项目文件本身：" + outputFull_);
    for (const auto& [written, what] :
         {std::pair{&project_.contentsFile, "目录文件"}, {&project_.indexFile, "索引文件"}})
        if (!trimmed(*written).empty() && paths_->sameFile(outputFull_, paths_->resolve(trimmed(*written))))
            throw CompileError(std::string("输出文件不能是项目的") + what + "：" + outputFull_);
    const std::filesystem::path output = pathFromUtf8(outputFull_);
    if (options_.replaceAnyOutput || fileKind(output) != FileKind::File)
        return;
    InputFile existing;
    std::string error;
    std::array<std::uint8_t, 4> signature{};
    const bool read = existing.open(output, error) && (existing.size() == 0 || existing.read(signature) == 4);
    if (read && existing.size() > 0 && std::string_view(reinterpret_cast<const char*>(signature.data()), 4) != "ITSF")
        throw CompileError("输出文件已存在且不是帮助文件，没有替换它（hhc --force 可替换）：" + outputFull_);
    if (isReadOnly(output))
        throw CompileError("输出文件是只读的，没有替换它（hhc --force 可替换）：" + outputFull_);
}

std::optional<SitemapFile> CompileRun::readSitemap(const std::string& asWritten, const char* what) {
    const std::string written = trimmed(asWritten);
    if (written.empty())
        return std::nullopt;
    const LocatedFile file = locator_->locate(written);
    std::string bytes;
    try {
        bytes = InputFile::readAll(pathFromUtf8(file.diskPath), kMaxSitemapBytes);
    } catch (const CompileError& e) {
        listener_.warning(std::string(what) + "不能读取，帮助文件里没有它：" + e.what());
        ++result_.missingFiles;
        return std::nullopt;
    }
    sitemapFiles_.push_back(file.diskPath);
    formats::DecodedText text = formats::decodeText(bytes, project_.textCodePage);
    // In the project's code page it keeps its bytes; anything else is read as UTF-8.
    if (text.fromCodePage)
        return SitemapFile{file.storedName, SitemapText(std::move(bytes), project_.textCodePage)};
    return SitemapFile{file.storedName, SitemapText(std::move(text.utf8))};
}

void CompileRun::chooseLanguage() {
    std::optional<std::uint32_t> lcid = project_.language;
    if (!lcid)
        lcid = systemLcid();
    if (!lcid) {
        // What the reader sees and the help file must spell: the title, the home page, the
        // entries' names and pages; not properties such as a font.
        bool cjk = Lcid::containsCjk(project_.title) || Lcid::containsCjk(project_.defaultTopic);
        for (const std::optional<SitemapFile>* sitemap : {&contents_, &index_}) {
            if (!sitemap->has_value())
                continue;
            for (const SitemapObject& object : (*sitemap)->text.objects()) {
                if (object.type != "text/sitemap")
                    continue;
                for (const SitemapParam& param : object.params)
                    cjk = cjk || ((param.name == "name" || param.name == "keyword" || param.name == "local") &&
                                  Lcid::containsCjk(param.value));
            }
        }
        lcid = cjk ? kLcidChineseSimplified : kLcidEnglishUs;
    }
    result_.lcid = *lcid;
    result_.codePage = Lcid::ansiCodePage(*lcid);
    if (!CodePage::supported(result_.codePage))
        listener_.warning("本机不能转换代码页 " + std::to_string(result_.codePage) + "，文字按 UTF-8 写入");
}

void CompileRun::planPages() {
    pages_ = std::make_unique<PageList>(*locator_, listener_, result_.codePage);
    for (const char* name : SystemFileSet::kReservedNames)
        pages_->reserve(name);
    for (const std::optional<SitemapFile>* sitemap : {&contents_, &index_}) {
        if (!sitemap->has_value())
            continue;
        pages_->reserve((*sitemap)->name);
    }
    for (const std::string& file : sitemapFiles_)
        pages_->storeElsewhere(file);
    pages_->exclude(outputFull_, "已跳过输出文件本身");
    pages_->exclude(projectFull_, "已跳过项目文件");
    // An earlier compile under the default name, before the output was named otherwise.
    const std::string earlier = paths_->resolve(utf8FromPath(pathFromUtf8(projectFull_).stem()) + ".chm");
    if (!paths_->sameFile(earlier, outputFull_))
        pages_->exclude(earlier, "已跳过以前编译出的帮助文件");
    for (const std::string& file : project_.files)
        pages_->add(file);
    result_.missingFiles += pages_->failed();
}

void CompileRun::addLinkedFiles() {
    LinkedFiles linked(*pages_, *locator_, listener_, work_, result_.codePage);
    // What the contents, the index and the windows open is stored as the pages' links are.
    for (const std::optional<SitemapFile>* sitemap : {&contents_, &index_}) {
        if (!sitemap->has_value())
            continue;
        for (const SitemapObject& object : (*sitemap)->text.objects())
            for (const SitemapParam& param : object.params)
                if (param.name == "local" || param.name == "imagelist")
                    linked.addFromRoot(param.value);
    }
    std::vector<std::string> topics{trimmed(project_.defaultTopic)};
    for (const HhpWindow& window : project_.windows)
        for (formats::WindowField field : {formats::WindowField::DefaultFile, formats::WindowField::HomeFile})
            topics.push_back(trimmed(formats::windowField(window.fields, field)));
    for (const std::string& topic : topics)
        if (!topic.empty() && !paths_->isAbsolute(topic))
            linked.addFromRoot(topic);
    linked.run();
    result_.files = pages_->pages().size();
    result_.linkedFiles = linked.added();
    links_ = std::make_unique<LocalLinks>(*pages_);
}

void CompileRun::reportDeadLinks() const {
    const std::string home = topicLink(project_.defaultTopic);
    if (!home.empty() && !hasUrlScheme(home) && links_->target(home).empty())
        listener_.warning("默认页面不在帮助文件里：" + trimmed(project_.defaultTopic));
    if (!contents_)
        return;
    std::size_t dead = 0;
    for (const SitemapObject& object : contents_->text.objects()) {
        const std::string local = object.param("local");
        if (object.type != "text/sitemap" || local.empty() || hasUrlScheme(local))
            continue;
        if (!links_->target(local).empty())
            continue;
        if (++dead <= kMaxDeadLinksShown)
            listener_.warning("目录项指向的文件不在帮助文件里：" + local);
    }
    if (dead > kMaxDeadLinksShown)
        listener_.warning("……另有 " + std::to_string(dead - kMaxDeadLinksShown) + " 个目录项指向的文件不在帮助文件里");
}

void CompileRun::readContextIds() {
    if (project_.map.empty() && project_.aliases.empty())
        return;
    const std::string projectName = utf8FromPath(pathFromUtf8(projectFull_).filename());
    ContextIdReader reader(projectName, projectFull_,
                           [this](const std::string& includer, const std::string& written, std::string& error) {
                               return readIncluded(includer, written, error);
                           });
    const std::vector<ContextTopic> topics = reader.read(project_.map, project_.aliases);
    std::vector<std::string> warnings = reader.warnings();
    for (const ContextTopic& topic : topics) {
        const std::string link = topicLink(topic.topic);
        if (!hasUrlScheme(link) && links_->target(link).empty())
            warnings.push_back(ContextIdReader::message(topic.place, "别名指向的文件不在帮助文件里：" + topic.topic));
        contextLinks_.push_back({topic.id, link});
    }
    for (std::size_t i = 0; i < std::min(warnings.size(), kMaxContextWarningsShown); ++i)
        listener_.warning(warnings[i]);
    if (warnings.size() > kMaxContextWarningsShown)
        listener_.warning("……另有 " + std::to_string(warnings.size() - kMaxContextWarningsShown) +
                          " 条上下文帮助（[MAP]、[ALIAS]）的警告");
}

// Keywords in pages go into the binary index. They decide which files it holds, which the
// layout must know before the pages are compressed, so the pages are read once ahead.
void CompileRun::readPageKeywords() {
    if (!project_.binaryIndex)
        return;
    for (const PlannedPage& page : pages_->pages()) {
        if (!isHtmlPageName(page.name))
            continue;
        try {
            pageKeywords_.scan(InputFile::readAll(page.source, kMaxIndexedBytes), result_.codePage,
                               escapedLink(page.name.substr(1)));
        } catch (const CompileError&) {
            // Too large to look into, or unreadable: the compile says so when it stores it.
        }
    }
}

// A file that #include names, found from the folder of the file that names it.
std::optional<IncludedText> CompileRun::readIncluded(const std::string& includer, const std::string& written,
                                                     std::string& error) const {
    const std::string folder = utf8FromPath(pathFromUtf8(includer).parent_path());
    const std::string full = ProjectPaths(folder).resolve(written);
    try {
        return IncludedText{written, full, projectText(pathFromUtf8(locator_->locateFull(full).diskPath))};
    } catch (const CompileError& e) {
        error = e.what();
        return std::nullopt;
    }
}

std::string CompileRun::topicLink(std::string_view topic) const {
    const std::string t = trimmed(topic);
    if (t.empty() || hasUrlScheme(t))
        return t;
    const auto stored = [this](const std::string& full) {
        return pages_->holds(paths_->storedName(full)) || locator_->locateFull(full).exists;
    };
    const auto link = [this](const std::string& full) { return escapedLink(paths_->storedName(full).substr(1)); };
    // A home page picked in the program keeps the separator before its place in the folder.
    const bool leadingSeparator = t[0] == '/' || (nativePathRules() == PathRules::Windows && t[0] == '\\');
    if (leadingSeparator && t.size() > 1 && t[1] != '/' && t[1] != '\\') {
        const std::string inside = paths_->resolve(t.substr(1));
        if (stored(inside))
            return link(inside);
    }
    const std::string full = paths_->resolve(t);
    if (stored(full))
        return link(full);
    const std::size_t hash = t.find('#');
    const std::string base = t.substr(0, hash);
    const std::string fragment = hash == std::string::npos ? std::string() : t.substr(hash);
    if (hash != std::string::npos && hash > 0 && stored(paths_->resolve(base)))
        return link(paths_->resolve(base)) + fragment;
    // Escaped already, or naming no file: as written, from the root.
    return nameFromRoot(paths_->isAbsolute(t) ? paths_->storedName(full) : t).substr(1);
}

std::vector<PageTopic> CompileRun::pageTopics(const std::vector<std::size_t>& htmlPages,
                                              const std::vector<std::string>& titles) const {
    // A page without a title of its own is named as the contents name it, or by its file name.
    std::unordered_map<std::string, std::string> contentsNames;
    if (contents_) {
        for (const SitemapObject& object : contents_->text.objects()) {
            const std::string local = object.param("local");
            if (object.type == "text/sitemap" && !local.empty())
                contentsNames.emplace(links_->target(local), shownName(object.param("name")));
        }
    }
    std::vector<PageTopic> topics;
    topics.reserve(htmlPages.size());
    for (std::size_t i = 0; i < htmlPages.size(); ++i) {
        const std::string& name = pages_->pages()[htmlPages[i]].name;
        std::string title = i < titles.size() ? titles[i] : std::string();
        if (title.empty()) {
            const auto named = contentsNames.find(name);
            title = named != contentsNames.end() && !named->second.empty() ? named->second
                                                                           : name.substr(name.rfind('/') + 1);
        }
        topics.push_back({std::move(title), escapedLink(name.substr(1))});
    }
    return topics;
}

std::unordered_set<std::string> CompileRun::stopWords() {
    std::unordered_set<std::string> words;
    const std::string written = trimmed(project_.stopListFile);
    if (written.empty())
        return words;
    std::string bytes;
    try {
        bytes = InputFile::readAll(pathFromUtf8(locator_->locate(written).diskPath), kMaxStopListBytes);
    } catch (const CompileError& e) {
        listener_.warning(std::string("全文搜索的停用词文件不能读取，搜索索引包含所有的词：") + e.what());
        return words;
    }
    // Cut as pages are, so that each stop word is the word the index would hold.
    WordBreaker::split(formats::decodeText(bytes, project_.textCodePage).utf8, 0,
                       [&words](std::string_view word, std::uint32_t) { words.emplace(word); });
    return words;
}

void CompileRun::write() {
    const std::uint64_t now = compileTime();
    const SystemFileSet::Input input = systemInput(now);
    SystemFileSet system(input);
    std::uint64_t length = 0;
    std::vector<DirectoryEntry> entries = layout(system, length);
    std::vector<std::string> closing = system.closingNames();
    if (project_.fullTextSearch)
        closing.push_back(kFullTextName);

    OutputFile out(pathFromUtf8(outputFull_));
    ContainerWriter container(out, result_.lcid, input.timestamp);
    container.plan(std::move(system.plain), std::move(entries), closing);
    ParallelLzx lzx(work_, [&container](const CompressedSpan& span) { container.append(span); });
    std::uint64_t done = 0;
    const Feed feed = [&](std::span<const std::uint8_t> bytes) {
        lzx.write(bytes);
        done += bytes.size();
        listener_.progress(std::min(done, length), length);
    };
    for (const MadeFile& file : system.compressed)
        feed(file.bytes);
    std::optional<FullTextSink> fullText;
    const std::vector<PageTopic> topics = streamPages(feed, fullText);
    const std::vector<DirectoryEntry> placed = closeStream(system, topics, fullText, feed, length);
    lzx.finish();
    container.finish(placed, length);
    out.commit();
    result_.uncompressedBytes = length;
    result_.fileBytes = container.fileLength();
}

SystemFileSet::Input CompileRun::systemInput(std::uint64_t now) const {
    SystemFileSet::Input input;
    input.project = &project_;
    input.lcid = result_.lcid;
    input.codePage = result_.codePage;
    input.contents = contents_ ? &*contents_ : nullptr;
    input.index = index_ ? &*index_ : nullptr;
    input.topicLink = [this](std::string_view topic) { return topicLink(topic); };
    input.mapLocal = [this](const std::string& local) { return links_->stored(local); };
    input.outputStem = AsciiText::lowered(utf8FromPath(pathFromUtf8(outputFull_).stem()));
    input.timestamp = static_cast<std::uint32_t>(now);
    input.fileTime = (now + kFileTimeEpoch) * 10000000ull;
    input.contextLinks = contextLinks_;
    input.pageKeywords = &pageKeywords_;
    return input;
}

// The files whose sizes are known before the stream starts, and where the stream has reached after them.
std::vector<DirectoryEntry> CompileRun::layout(const SystemFileSet& system, std::uint64_t& length) const {
    std::vector<DirectoryEntry> entries;
    for (const MadeFile& file : system.compressed) {
        entries.push_back({file.name, 1, length, file.bytes.size()});
        length += file.bytes.size();
    }
    for (const PlannedPage& page : pages_->pages()) {
        entries.push_back({page.name, 1, length, page.size});
        length += page.size;
    }
    if (length > 0xFFFFFFFFull)
        listener_.warning("内容超过 4 GB：有些阅读器打不开这样的帮助文件");
    return entries;
}

// Feeds every page to the stream, reading the HTML pages for the search index on the way.
std::vector<PageTopic> CompileRun::streamPages(const Feed& feed, std::optional<FullTextSink>& fullText) {
    std::optional<PageIndexer> indexer;
    const std::uint64_t indexMemory = indexMemoryBudget(options_.indexMemoryBytes);
    if (project_.fullTextSearch)
        indexer.emplace(work_, result_.codePage,
                        WordIndex::Limits{indexMemory, result_.codePage, pathFromUtf8(outputFull_).parent_path()});
    std::vector<std::size_t> htmlPages;
    std::vector<std::uint8_t> buffer(kReadBuffer);
    for (std::size_t p = 0; p < pages_->pages().size(); ++p) {
        const PlannedPage& page = pages_->pages()[p];
        const bool indexed = indexer && isHtmlPageName(page.name);
        std::string text = streamPage(page, indexed, buffer, feed);
        if (indexed) {
            htmlPages.push_back(p);
            indexer->add(std::move(text));
        }
    }
    if (!indexer)
        return {};
    if (!indexer->finish())
        listener_.warning("内存不足：全文搜索索引缺少部分页面的词");
    const WordIndex& words = indexer->words();
    const std::unordered_set<std::string> stop = stopWords();
    // In memory unless the words went to runs: it is then about as large as they are.
    fullText.emplace(pathFromUtf8(outputFull_).parent_path(),
                     words.runs() > 0 ? kSpilledFullTextMemory : indexMemory / 2);
    FullTextFile::write(*words.sorted(), words.roots(),
                        {result_.codePage, result_.lcid, static_cast<std::uint32_t>(htmlPages.size()), &stop},
                        *fullText);
    result_.searchIndex = true;
    result_.indexedPages = htmlPages.size();
    result_.indexBytes = fullText->size();
    return pageTopics(htmlPages, indexer->titles());
}

// Feeds one page; returns its text for the search index when it is to be indexed.
std::string CompileRun::streamPage(const PlannedPage& page, bool indexed, std::span<std::uint8_t> buffer,
                                   const Feed& feed) const {
    InputFile file;
    std::string error;
    if (!file.open(page.source, error))
        throw CompileError("无法读取文件：" + page.fullPath + "：" + error);
    std::string text;
    std::uint64_t read = 0;
    for (std::size_t n; (n = file.read(buffer)) > 0;) {
        read += n;
        if (read > page.size)
            break;
        if (indexed && text.size() < kMaxIndexedBytes)
            text.append(reinterpret_cast<const char*>(buffer.data()),
                        std::min<std::size_t>(n, kMaxIndexedBytes - text.size()));
        feed(std::span<const std::uint8_t>(buffer.data(), n));
    }
    if (read != page.size)
        throw CompileError("文件在编译期间被改动，请重新编译：" + page.fullPath);
    return text;
}

// The files whose sizes the pages decide, after them in the stream.
std::vector<DirectoryEntry> CompileRun::closeStream(SystemFileSet& system, const std::vector<PageTopic>& topics,
                                                    const std::optional<FullTextSink>& fullText, const Feed& feed,
                                                    std::uint64_t& length) const {
    const std::vector<MadeFile> closingFiles = system.closingFiles(topics);
    if (system.shortenedKeywords() > 0)
        listener_.warning("二进制索引中有 " + std::to_string(system.shortenedKeywords()) +
                          " 个关键字链接的页面太多，只保留了前面的部分");
    std::vector<DirectoryEntry> placed;
    for (const MadeFile& file : closingFiles) {
        placed.push_back({file.name, 1, length, file.bytes.size()});
        length += file.bytes.size();
        feed(file.bytes);
    }
    if (fullText) {
        placed.push_back({kFullTextName, 1, length, fullText->size()});
        length += fullText->size();
        fullText->read(feed);
    }
    return placed;
}

} // namespace folvane::chm
