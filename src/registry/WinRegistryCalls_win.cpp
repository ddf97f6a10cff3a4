#include "registry/WinRegistryCalls_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace folvane {

namespace {

// Closes the key when the call ends, whichever way it ends.
class OpenedKey {
public:
    OpenedKey() = default;
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    ~OpenedKey() {
        if (key_)
            RegCloseKey(key_);
    }
    LONG open(const std::wstring& path, REGSAM access) {
        return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, access, &key_);
    }
    LONG create(const std::wstring& path) {
        return RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                               &key_, nullptr);
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool isText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A value may grow between the size probe and the read; a few tries cover that.
constexpr int kReadTries = 4;

} // namespace

long WinRegistryCalls::openKeyForRead(const std::wstring& keyPath) {
    OpenedKey key;
    return key.open(keyPath, KEY_READ);
}

long WinRegistryCalls::queryString(const std::wstring& keyPath, const std::wstring& valueName, std::wstring& value) {
    OpenedKey key;
    if (const LONG result = key.open(keyPath, KEY_READ); result != ERROR_SUCCESS)
        return result;
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        LONG result = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
            return result;
        if (!isText(type))
            return ERROR_UNSUPPORTED_TYPE;
        if (size < sizeof(wchar_t)) {
            value.clear();
            return ERROR_SUCCESS;
        }
        // One character more than asked for: the stored text need not end with a NUL.
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        result = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                  &size);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return result;
        if (!isText(type))
            return ERROR_UNSUPPORTED_TYPE;
        value.assign(buffer.data(), size / sizeof(wchar_t));
        value.erase(std::min(value.find(L'\0'), value.size()));
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

long WinRegistryCalls::createKey(const std::wstring& keyPath) {
    OpenedKey key;
    return key.create(keyPath);
}

long WinRegistryCalls::setString(const std::wstring& keyPath, const std::wstring& valueName,
                                 const std::wstring& value) {
    if (value.size() >= MAXDWORD / sizeof(wchar_t) - 1)
        return ERROR_INVALID_PARAMETER;
    OpenedKey key;
    if (const LONG result = key.open(keyPath, KEY_SET_VALUE); result != ERROR_SUCCESS)
        return result;
    const DWORD bytes = value.empty() ? 0 : static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

long WinRegistryCalls::enumSubKey(const std::wstring& keyPath, unsigned long index, std::wstring& name) {
    OpenedKey key;
    if (const LONG result = key.open(keyPath, KEY_READ); result != ERROR_SUCCESS)
        return result;
    // Key names have at most 255 characters.
    wchar_t buffer[256] = {};
    DWORD length = 256;
    const LONG result = RegEnumKeyExW(key.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS)
        name.assign(buffer, length);
    return result;
}

long WinRegistryCalls::deleteKey(const std::wstring& parentPath, const std::wstring& subKey) {
    // An empty name would delete the parent itself.
    if (subKey.empty())
        return ERROR_INVALID_PARAMETER;
    OpenedKey parent;
    if (const LONG result = parent.open(parentPath, KEY_READ); result != ERROR_SUCCESS)
        return result;
    return RegDeleteKeyW(parent.get(), subKey.c_str());
}

} // namespace folvane
