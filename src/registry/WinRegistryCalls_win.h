#pragma once

// Free of Qt on purpose: this file is also built alone with a cross compiler and tested
// under Wine.

#include <string>

namespace folvane {

// The registry calls of the classes root through the wide-character API, so that names
// and values keep every character whatever the system's ANSI code page. Each call opens
// and closes its own keys and returns the Windows result code.
class WinRegistryCalls {
public:
    static long openKeyForRead(const std::wstring& keyPath);
    // Text up to the first NUL; REG_SZ, REG_EXPAND_SZ (unexpanded) and REG_MULTI_SZ (its
    // first string) count as text, other types give ERROR_UNSUPPORTED_TYPE.
    static long queryString(const std::wstring& keyPath, const std::wstring& valueName, std::wstring& value);
    static long createKey(const std::wstring& keyPath);
    // The empty string is written as a REG_SZ of length 0.
    static long setString(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& value);
    static long enumSubKey(const std::wstring& keyPath, unsigned long index, std::wstring& name);
    static long deleteKey(const std::wstring& parentPath, const std::wstring& subKey);
};

} // namespace folvane
