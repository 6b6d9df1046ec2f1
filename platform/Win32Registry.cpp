#include "platform/Win32Registry.h"

#include "platform/WideText.h"

#include <windows.h>

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

}  // namespace

// Names and data are UTF-8 here and UTF-16 in the registry, so that any path can be stored.
bool Win32Registry::setString(RegistryRoot root, const std::string& keyPath,
                              const std::string& valueName, const std::string& data,
                              bool createKey) {
    HKEY key = nullptr;
    const std::wstring path = WideFromUtf8(keyPath);
    LONG opened = createKey
        ? RegCreateKeyExW(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, nullptr)
        : RegOpenKeyExW(RootKey(root), path.c_str(), 0, KEY_SET_VALUE, &key);
    if (opened != ERROR_SUCCESS) return false;
    const std::wstring wide = WideFromUtf8(data);
    LONG set = RegSetValueExW(key, WideFromUtf8(valueName).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wide.data()),
                              static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

bool Win32Registry::getString(RegistryRoot root, const std::string& keyPath,
                              const std::string& valueName, std::string& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootKey(root), WideFromUtf8(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring name = WideFromUtf8(valueName);
    DWORD type = 0, size = 0;
    LONG read = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (read == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring wide(size / sizeof(wchar_t) + 1, L'\0');
        read = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&wide[0]), &size);
        wide.resize(read == ERROR_SUCCESS ? size / sizeof(wchar_t) : 0);
        data = Utf8FromWide(wide);
    } else if (read == ERROR_SUCCESS) {
        read = ERROR_INVALID_DATA;
    }
    RegCloseKey(key);
    return read == ERROR_SUCCESS;
}

bool Win32Registry::deleteValue(RegistryRoot root, const std::string& keyPath,
                                const std::string& valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootKey(root), WideFromUtf8(keyPath).c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    LONG deleted = RegDeleteValueW(key, WideFromUtf8(valueName).c_str());
    RegCloseKey(key);
    return deleted == ERROR_SUCCESS;
}
