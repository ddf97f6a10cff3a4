#include "RealisticSite.h"

#include "HelpPageWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace folvane {

namespace {
constexpr std::uint32_t kSeed = 20240611;
constexpr std::array kTopFolders{"start", "guide", "howto", "reference", "api", "admin", "faq", "appendix"};
constexpr std::array kPictureTypes{".png", ".gif", ".jpg"};
constexpr std::uint32_t kLargestPicture = 40000;

// Chapters below each top folder, sections below some chapters, details below some sections.
std::vector<std::string> folderTree(std::mt19937& random) {
    std::vector<std::string> folders;
    for (const char* top : kTopFolders) {
        folders.emplace_back(top);
        for (std::uint32_t c = 0, chapters = 2 + random() % 6; c < chapters; ++c) {
            const std::string chapter = std::string(top) + "/ch" + std::to_string(c);
            folders.push_back(chapter);
            for (std::uint32_t s = 0, sections = random() % 4; s < sections; ++s) {
                folders.push_back(chapter + "/sec" + std::to_string(s));
                if (random() % 3 == 0)
                    folders.push_back(folders.back() + "/details");
            }
        }
    }
    return folders;
}

std::vector<std::string> pagePaths(std::mt19937& random, const std::vector<std::string>& folders) {
    const WordPicker names = WordPicker::english(random, 2000);
    std::vector<std::string> pages;
    for (int n = 0; n < RealisticSite::kPages; ++n) {
        const std::string& folder = folders[random() % folders.size()];
        pages.push_back(folder + "/" + names.at(random() % 2000) + "_" + names.at(random() % 2000) + "_" +
                        std::to_string(n) + (random() % 8 == 0 ? ".html" : ".htm"));
    }
    return pages;
}

std::vector<std::string> picturePaths(std::mt19937& random) {
    std::vector<std::string> pictures;
    for (int n = 0; n < RealisticSite::kPictures; ++n)
        pictures.push_back(std::string(kTopFolders[random() % kTopFolders.size()]) + "/images/fig" + std::to_string(n) +
                           kPictureTypes[random() % kPictureTypes.size()]);
    return pictures;
}

std::string toRootFrom(const std::string& path) {
    std::string up;
    for (char c : path)
        if (c == '/')
            up += "../";
    return up;
}

qint64 writeFile(const QString& root, const std::string& path, const std::string& bytes) {
    const QString full = root + u'/' + QString::fromStdString(path);
    QDir().mkpath(full.section(u'/', 0, -2));
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    return file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Random bytes, which compress no better than real pictures do.
std::string pictureBytes(std::mt19937& random) {
    std::string bytes(1000 + random() % kLargestPicture, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string styleSheet() {
    return "body { font-family: Verdana, \"SimSun\", sans-serif; font-size: 10pt; margin: 8px; }\r\n"
           "h1 { font-size: 16pt; color: #003366; }\r\nh2 { font-size: 13pt; color: #003366; }\r\n"
           "table { border: 1px solid #999; }\r\nth { text-align: left; }\r\n"
           ".note { background: #fffbe0; }\r\n.crumbs { font-size: 8pt; }\r\npre { font-family: Consolas; }\r\n";
}

std::string script() {
    return "function toggle(id) {\r\n  var e = document.getElementById(id);\r\n"
           "  if (e) e.style.display = e.style.display == 'none' ? 'block' : 'none';\r\n}\r\n";
}
} // namespace

RealisticSite::Made RealisticSite::make(const QString& root) {
    std::mt19937 random(kSeed);
    const std::vector<std::string> folders = folderTree(random);
    const std::vector<std::string> pages = pagePaths(random, folders);
    const std::vector<std::string> pictures = picturePaths(random);
    Made made;
    made.bytes += writeFile(root, "styles/help.css", styleSheet());
    made.bytes += writeFile(root, "scripts/help.js", script());
    for (const std::string& picture : pictures)
        made.bytes += writeFile(root, picture, pictureBytes(random));
    HelpPageWriter writer(kSeed + 1, pages, pictures);
    made.bytes += writeFile(root, "index.htm", writer.page(""));
    for (const std::string& page : pages)
        made.bytes += writeFile(root, page, writer.page(toRootFrom(page)));
    made.pages = static_cast<int>(pages.size()) + 1;
    made.pictures = static_cast<int>(pictures.size());
    for (QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();
         it.next())
        ++made.folders;
    return made;
}

} // namespace folvane
