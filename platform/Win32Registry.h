// Registry access through the Win32 registry functions.
#pragma once

#include "platform/Registry.h"

class Win32Registry : public Registry {
public:
    bool setString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                   const std::string& data, bool createKey) override;
    bool getString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                   std::string& data) override;
    bool deleteValue(RegistryRoot root, const std::string& keyPath,
                     const std::string& valueName) override;
};
