// Checks the Windows folder listing and whole-file read against a real file system:
// cross-compiled with mingw-w64 and run under Wine by scripts/test-windows-wine.sh. Plain
// C++, no Qt.

#include "base/FileReader.h"
#include "platform/WinFileSystemCalls_win.h"

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

using folvane::FileReader;
using folvane::WinFileSystemCalls;
using Read = FileReader::Status;

namespace {

int failures = 0;
int passes = 0;

void check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    ok ? ++passes : ++failures;
}

void writeFile(const std::wstring& path, const std::string& text, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

std::string utf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                         static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size));
    return out;
}

std::wstring fullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

// The folder scan's walk: every folder found is entered, a folder listed before yields nothing.
std::map<std::wstring, bool> walk(const std::wstring& root, int& listings, int& refused) {
    std::set<WinFileSystemCalls::FolderId> listed;
    std::map<std::wstring, bool> found;
    std::vector<std::wstring> pending{root};
    while (!pending.empty()) {
        const std::wstring folder = pending.back();
        pending.pop_back();
        WinFileSystemCalls::FolderId id;
        if (!WinFileSystemCalls::folderId(folder, id) || !listed.insert(id).second) {
            ++refused;
            continue;
        }
        ++listings;
        WinFileSystemCalls::listFolder(folder, [&](const std::wstring& name, bool isFolder) {
            const std::wstring path = folder + L"\\" + name;
            found[path.substr(root.size() + 1)] = isFolder;
            if (isFolder)
                pending.push_back(path);
        });
    }
    return found;
}

void listing(const std::wstring& root) {
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\子目录").c_str(), nullptr);
    writeFile(root + L"\\README", "readme");
    writeFile(root + L"\\隐藏.htm", "hidden", FILE_ATTRIBUTE_HIDDEN);
    writeFile(root + L"\\系统.htm", "system", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    writeFile(root + L"\\子目录\\页.htm", "page");
    // The loop: Wine 8 makes no junctions, so the script has put a symbolic link to the top
    // folder here, which Wine lists as a folder as Windows lists a junction.
    check(GetFileAttributesW((root + L"\\子目录\\loop").c_str()) != INVALID_FILE_ATTRIBUTES,
          "the link back to the top folder is there");
    const DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    check((GetFileAttributesW((root + L"\\系统.htm").c_str()) & hiddenSystem) == hiddenSystem,
          "the file system keeps the hidden and system attributes");
    int listings = 0;
    int refused = 0;
    const std::map<std::wstring, bool> found = walk(root, listings, refused);
    const std::map<std::wstring, bool> expected = {{L"README", false},         {L"隐藏.htm", false},
                                                   {L"系统.htm", false},       {L"子目录", true},
                                                   {L"子目录\\页.htm", false}, {L"子目录\\loop", true}};
    check(found == expected, "every entry listed once, hidden and system ones included, the link as a folder");
    check(listings == 2 && refused == 1, "the loop entered once, its second listing refused");
    for (const auto& [name, isFolder] : found)
        std::printf("     %s%s\n", utf8(name).c_str(), isFolder ? "\\" : "");
    WinFileSystemCalls::FolderId id;
    check(!WinFileSystemCalls::folderId(root + L"\\missing", id) &&
              !WinFileSystemCalls::listFolder(root + L"\\missing", [](const std::wstring&, bool) {}),
          "a missing folder gives no identity and no listing");
}

Read readFile(const std::wstring& path, std::uint64_t maxBytes, std::string& bytes) {
    return FileReader().readAll(path, maxBytes, bytes);
}

void reading(const std::wstring& root) {
    std::string bytes;
    check(readFile(root + L"\\README.", 100, bytes) == Read::Ok && bytes == "readme",
          "README listed as README. reads README");
    check(readFile(root + L"/子目录/页.htm", 100, bytes) == Read::Ok && bytes == "page",
          "forward slashes and Chinese names");
    check(readFile(root + L"\\隐藏.htm", 100, bytes) == Read::Ok, "hidden file reads");
    check(readFile(root + L"\\README", 5, bytes) == Read::TooBig && bytes.empty(), "a file over the limit is too big");
    check(readFile(root + L"\\子目录", 100, bytes) != Read::Ok, "a folder is no file");
    check(readFile(root + L"\\missing.htm", 100, bytes) == Read::CannotOpen, "missing file");
    check(readFile(L"NUL", 100, bytes) != Read::Ok, "a device is no file");
    check(readFile(L"", 100, bytes) == Read::CannotOpen, "empty path");
}

void longNames(const std::wstring& root) {
    // Past MAX_PATH only through "\\?\"; the calls take the ordinary form.
    std::wstring folder = fullPath(root);
    std::wstring created = L"\\\\?\\" + folder;
    for (wchar_t c = L'a'; c < L'a' + 6; ++c) {
        folder += L"\\" + std::wstring(50, c);
        created += L"\\" + std::wstring(50, c);
        CreateDirectoryW(created.c_str(), nullptr);
    }
    writeFile(created + L"\\长.htm", "long");
    std::string bytes;
    check(folder.size() > MAX_PATH && readFile(folder + L"\\长.htm", 100, bytes) == Read::Ok && bytes == "long",
          "a file past 260 characters reads");
    std::vector<std::wstring> names;
    WinFileSystemCalls::listFolder(folder, [&](const std::wstring& name, bool) { names.push_back(name); });
    check(names == std::vector<std::wstring>{L"长.htm"}, "a folder past 260 characters lists");
}

void writing(const std::wstring& root) {
    using Mode = WinFileSystemCalls::WriteMode;
    const std::wstring target = root + L"\\项目.hhp";
    std::string bytes;
    check(WinFileSystemCalls::writeFile(target, "first", Mode::Replace) == 0 &&
              WinFileSystemCalls::writeFile(target, "second, longer", Mode::Replace) == 0 &&
              readFile(target, 100, bytes) == Read::Ok && bytes == "second, longer",
          "a file replaced whole");
    check(WinFileSystemCalls::writeFile(target, " and more", Mode::Append) == 0 &&
              readFile(target, 100, bytes) == Read::Ok && bytes == "second, longer and more",
          "appending");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    check(WinFileSystemCalls::writeFile(target, "third", Mode::Replace) == ERROR_ACCESS_DENIED &&
              readFile(target, 100, bytes) == Read::Ok && bytes == "second, longer and more",
          "a read-only file is refused and stays");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    check(WinFileSystemCalls::writeFile(root + L"\\missing\\x.hhp", "x", Mode::Replace) == ERROR_PATH_NOT_FOUND,
          "a missing folder is named");
    int temporaries = 0;
    WinFileSystemCalls::listFolder(
        root, [&](const std::wstring& name, bool) { temporaries += name.starts_with(L"~folvane-") ? 1 : 0; });
    check(temporaries == 0, "no temporary file stays");
}

} // namespace

int main() {
    const std::wstring root = L"fs测试";
    listing(root);
    reading(root);
    longNames(root);
    writing(root);
    std::printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
