#include "platform/Win32Registry.h"

#include <windows.h>

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

}  // namespace

bool Win32Registry::setString(RegistryRoot root, const std::string& keyPath,
                              const std::string& valueName, const std::string& data,
                              bool createKey) {
    HKEY key = nullptr;
    LONG opened = createKey
        ? RegCreateKeyExA(RootKey(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, nullptr)
        : RegOpenKeyExA(RootKey(root), keyPath.c_str(), 0, KEY_SET_VALUE, &key);
    if (opened != ERROR_SUCCESS) return false;
    LONG set = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(data.data()),
                              static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

bool Win32Registry::getString(RegistryRoot root, const std::string& keyPath,
                              const std::string& valueName, std::string& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKey(root), keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    LONG read = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    if (read == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        data.assign(size, '\0');
        read = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(read == ERROR_SUCCESS ? size : 0);
    } else if (read == ERROR_SUCCESS) {
        read = ERROR_INVALID_DATA;
    }
    RegCloseKey(key);
    return read == ERROR_SUCCESS;
}

bool Win32Registry::deleteValue(RegistryRoot root, const std::string& keyPath,
                                const std::string& valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKey(root), keyPath.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    LONG deleted = RegDeleteValueA(key, valueName.c_str());
    RegCloseKey(key);
    return deleted == ERROR_SUCCESS;
}
