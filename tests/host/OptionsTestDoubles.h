// Stand-ins for the registry, message boxes and the time zone, and a scratch folder.
#pragma once

#include "app/OptionsStore.h"
#include "platform/RecursiveLock.h"
#include "platform/Registry.h"
#include "platform/TimeZone.h"
#include "platform/UserPrompt.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RecordingRegistry : public Registry {
public:
    using Key = std::pair<RegistryRoot, std::string>;  // root and "key path\value name"
    std::map<Key, std::string> values;
    std::vector<std::string> existingKeys = {kRunKeyPath};

    bool setString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                   const std::string& data, bool createKey) override {
        if (!createKey && !hasKey(keyPath)) return false;
        values[{root, keyPath + "\\" + valueName}] = data;
        return true;
    }
    bool getString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                   std::string& data) override {
        const std::string* value = find(root, keyPath, valueName);
        if (value == nullptr) return false;
        data = *value;
        return true;
    }
    bool deleteValue(RegistryRoot root, const std::string& keyPath,
                     const std::string& valueName) override {
        return values.erase({root, keyPath + "\\" + valueName}) == 1;
    }
    const std::string* find(RegistryRoot root, const std::string& keyPath,
                            const std::string& valueName) const {
        auto it = values.find({root, keyPath + "\\" + valueName});
        return it == values.end() ? nullptr : &it->second;
    }

private:
    bool hasKey(const std::string& keyPath) const {
        for (const auto& key : existingKeys) if (key == keyPath) return true;
        return false;
    }
};

class RecordingPrompt : public UserPrompt {
public:
    std::vector<std::pair<unsigned, unsigned>> warnings;
    void warn(unsigned textId, unsigned captionId) override {
        warnings.emplace_back(textId, captionId);
    }
    void error(unsigned textId, unsigned captionId) override {
        errors.emplace_back(textId, captionId);
    }
    void warnFormatted(unsigned textId, unsigned captionId,
                       const std::vector<std::string>& inserts) override {
        formattedWarnings.push_back({textId, captionId, inserts});
    }
    std::vector<std::pair<unsigned, unsigned>> errors;
    struct Formatted {
        unsigned textId, captionId;
        std::vector<std::string> inserts;
    };
    std::vector<Formatted> formattedWarnings;
};

class FixedTimeZone : public TimeZoneSource {
public:
    TimeZoneInfo zone;
    TimeZoneInfo current() override { return zone; }
};

// A fresh folder holding the "program"; removed afterwards.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    std::filesystem::path dir;
    std::string programPath() const { return (dir / "solvane.exe").string(); }
    std::filesystem::path optionsFile() const { return dir / "user.bin"; }
    void writeFile(const std::filesystem::path& path, const std::vector<char>& bytes) const;
    std::vector<char> readFile(const std::filesystem::path& path) const;
    std::vector<std::string> names() const;  // of the files in it, sorted
};

// While it lives, no file of this process can grow (the file size limit is 0 and its signal
// ignored): every write fails as on a full disk, even as root.
class FullDisk {
public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    unsigned long long limit_;
};

// Everything LoadOptions and SaveOptions talk to, in one place.
struct OptionsWorld {
    ProgramFolder folder;
    RecordingRegistry registry;
    RecordingPrompt prompt;
    FixedTimeZone timeZone;
    RecursiveLock lock;
    OptionsServices services() {
        return OptionsServices{folder.programPath(), folder.optionsFile().string(), "", registry, prompt,
                               timeZone, lock, true};
    }
};
