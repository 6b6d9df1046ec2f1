// Registry access behind an interface, so that tests can watch what is written.
#pragma once

#include <string>

enum class RegistryRoot { CurrentUser, LocalMachine };

class Registry {
public:
    virtual ~Registry() = default;
    // Sets a string (REG_SZ) value to `data` (UTF-8; embedded and trailing NULs are kept). With `createKey` the key is
    // created when missing; otherwise only an existing key is opened. False on any failure.
    virtual bool setString(RegistryRoot root, const std::string& keyPath,
                           const std::string& valueName, const std::string& data,
                           bool createKey) = 0;
    // Reads a string value into `data` (UTF-8, NULs kept), opening the key for reading only.
    // False when the key or value is missing or not a string.
    virtual bool getString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                           std::string& data) = 0;
    // Deletes a value from an existing key. False on any failure.
    virtual bool deleteValue(RegistryRoot root, const std::string& keyPath,
                             const std::string& valueName) = 0;
};
