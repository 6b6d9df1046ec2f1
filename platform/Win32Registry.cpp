#include "platform/Win32Registry.h"

#include "platform/FailureTrace.h"
#include "platform/HandleOwners.h"
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
    HKEY handle = nullptr;
    const std::wstring path = WideFromUtf8(keyPath);
    LONG opened = createKey
        ? RegCreateKeyExW(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &handle, nullptr)
        : RegOpenKeyExW(RootKey(root), path.c_str(), 0, KEY_SET_VALUE, &handle);
    if (opened != ERROR_SUCCESS) {
        TraceFailure("RegOpenKeyEx " + keyPath, DWORD(opened));
        return false;
    }
    const RegistryKey key(handle);
    const std::wstring wide = WideFromUtf8(data);
    LONG set = RegSetValueExW(key.get(), WideFromUtf8(valueName).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wide.data()),
                              static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    if (set != ERROR_SUCCESS) TraceFailure("RegSetValueEx " + keyPath + "\\" + valueName, DWORD(set));
    return set == ERROR_SUCCESS;
}

bool Win32Registry::getString(RegistryRoot root, const std::string& keyPath,
                              const std::string& valueName, std::string& data) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(RootKey(root), WideFromUtf8(keyPath).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) {
        return false;
    }
    const RegistryKey key(handle);
    const std::wstring name = WideFromUtf8(valueName);
    DWORD type = 0, size = 0;
    LONG read = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (read == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring wide(size / sizeof(wchar_t) + 1, L'\0');
        read = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&wide[0]), &size);
        wide.resize(read == ERROR_SUCCESS ? size / sizeof(wchar_t) : 0);
        data = Utf8FromWide(wide);
    } else if (read == ERROR_SUCCESS) {
        read = ERROR_INVALID_DATA;
    }
    // A value that is not there is an answer, not a failure.
    if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND) {
        TraceFailure("RegQueryValueEx " + keyPath + "\\" + valueName, DWORD(read));
    }
    return read == ERROR_SUCCESS;
}

bool Win32Registry::deleteValue(RegistryRoot root, const std::string& keyPath,
                                const std::string& valueName) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(RootKey(root), WideFromUtf8(keyPath).c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) {
        return false;
    }
    const RegistryKey key(handle);
    LONG deleted = RegDeleteValueW(key.get(), WideFromUtf8(valueName).c_str());
    return deleted == ERROR_SUCCESS;
}
