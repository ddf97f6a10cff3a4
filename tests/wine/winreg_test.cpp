// Checks the wide-character registry calls against a real registry: cross-compiled with
// mingw-w64 and run under Wine by scripts/test-windows-wine.sh. Plain C++, no Qt.

#include "registry/WinRegistryCalls_win.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

using folvane::WinRegistryCalls;

namespace {

const std::wstring kRoot = L"FolvaneWineTest";
const std::wstring kVerb = L"\u7f16\u8bd1(&E)"; // 编译(&E)

int failures = 0;
int passes = 0;

std::string utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        const unsigned u = static_cast<unsigned>(c) & 0xFFFF;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    ok ? ++passes : ++failures;
}

void checkCode(long got, long expected, const std::string& what) {
    check(got == expected, what + " -> " + std::to_string(got) +
                               (got == expected ? "" : " (expected " + std::to_string(expected) + ")"));
}

std::wstring read(const std::wstring& path, const std::wstring& name, long& code) {
    std::wstring value = L"<unchanged>";
    code = WinRegistryCalls::queryString(path, name, value);
    return value;
}

// The helpers' tree delete: every name collected first, then depth first.
void deleteTree(const std::wstring& parent, const std::wstring& sub) {
    const std::wstring path = parent.empty() ? sub : parent + L"\\" + sub;
    std::vector<std::wstring> names;
    std::wstring name;
    for (unsigned long i = 0; WinRegistryCalls::enumSubKey(path, i, name) == 0; ++i)
        names.push_back(name);
    for (const std::wstring& n : names)
        deleteTree(path, n);
    checkCode(WinRegistryCalls::deleteKey(parent, sub), 0, "delete " + utf8(path));
}

void createReadWrite() {
    checkCode(WinRegistryCalls::createKey(kRoot + L"\\a\\b"), 0, "create key with missing parents");
    checkCode(WinRegistryCalls::openKeyForRead(kRoot + L"\\a\\b"), 0, "open created key");
    checkCode(WinRegistryCalls::openKeyForRead(kRoot + L"\\missing"), ERROR_FILE_NOT_FOUND, "open missing key");
    long code = 0;
    read(kRoot + L"\\a", L"", code);
    checkCode(code, ERROR_FILE_NOT_FOUND, "read unset default value");
    checkCode(WinRegistryCalls::setString(kRoot + L"\\a", L"", L""), 0, "write empty default value");
    std::wstring value = read(kRoot + L"\\a", L"", code);
    checkCode(code, 0, "read empty default value");
    check(value.empty(), "empty default value reads as the empty string");
    checkCode(WinRegistryCalls::setString(kRoot + L"\\a", L"named", L"text"), 0, "write named value");
    check(read(kRoot + L"\\a", L"NAMED", code) == L"text" && code == 0, "read named value in other letter case");
}

void chineseVerb() {
    const std::wstring verbKey = kRoot + L"\\shell\\" + kVerb;
    const std::wstring command = L"\"C:\\prog\\hhc.exe\"  \"%1\"";
    checkCode(WinRegistryCalls::createKey(verbKey + L"\\command"), 0, "create key named " + utf8(kVerb));
    checkCode(WinRegistryCalls::setString(verbKey, L"", kVerb), 0, "write verb caption");
    checkCode(WinRegistryCalls::setString(verbKey + L"\\command", L"", command), 0, "write verb command");
    long code = 0;
    const std::wstring caption = read(verbKey, L"", code);
    check(caption == kVerb, "verb caption reads back as " + utf8(caption));
    check(read(verbKey + L"\\command", L"", code) == command, "verb command reads back intact");
    std::wstring name;
    checkCode(WinRegistryCalls::enumSubKey(kRoot + L"\\shell", 0, name), 0, "enumerate verb");
    check(name == kVerb, "enumerated verb name is " + utf8(name));
    checkCode(WinRegistryCalls::enumSubKey(kRoot + L"\\shell", 1, name), ERROR_NO_MORE_ITEMS, "enumerate past end");

    // What the ANSI API would have made of the same name on this code page.
    char ansi[256] = {};
    DWORD size = sizeof(ansi);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, verbKey.c_str(), 0, KEY_READ, &key) == 0) {
        RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE*>(ansi), &size);
        RegCloseKey(key);
    }
    std::printf("info ANSI code page %u; the ANSI API reads the caption as %u bytes:", GetACP(),
                static_cast<unsigned>(size));
    for (DWORD i = 0; i < size && ansi[i]; ++i)
        std::printf(" %02X", static_cast<unsigned char>(ansi[i]));
    std::printf("\n");
}

void otherValueShapes() {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CLASSES_ROOT, (kRoot + L"\\a").c_str(), 0, KEY_SET_VALUE, &key);
    const DWORD number = 1;
    RegSetValueExW(key, L"dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    RegSetValueExW(key, L"unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), sizeof(unterminated));
    RegCloseKey(key);
    long code = 0;
    read(kRoot + L"\\a", L"dword", code);
    checkCode(code, ERROR_UNSUPPORTED_TYPE, "read a DWORD as text");
    check(read(kRoot + L"\\a", L"unterminated", code) == L"abc" && code == 0, "text stored without NUL keeps its end");
}

void deleting() {
    checkCode(WinRegistryCalls::deleteKey(kRoot, L"a"), ERROR_ACCESS_DENIED, "delete key that has subkeys");
    checkCode(WinRegistryCalls::deleteKey(kRoot, L""), ERROR_INVALID_PARAMETER, "delete with empty name");
    checkCode(WinRegistryCalls::deleteKey(kRoot + L"\\none", L"x"), ERROR_FILE_NOT_FOUND, "delete below missing key");
    std::wstring first, second;
    WinRegistryCalls::enumSubKey(kRoot, 0, first);
    WinRegistryCalls::enumSubKey(kRoot, 1, second);
    check(first == L"a" && second == L"shell", "subkeys listed as a, shell");
    deleteTree(L"", kRoot);
    checkCode(WinRegistryCalls::openKeyForRead(kRoot), ERROR_FILE_NOT_FOUND, "tree is gone");
}

} // namespace

int main() {
    WinRegistryCalls::deleteKey(L"", kRoot); // a leftover of an aborted run, if it has no subkeys
    createReadWrite();
    chineseVerb();
    otherValueShapes();
    deleting();
    std::printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
