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
