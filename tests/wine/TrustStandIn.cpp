#include "TrustStandIn.h"

#include "platform/WideText.h"

#include <winternl.h>

uintptr_t ExportedPlace(const std::string& exe, const char* name) {
    const HMODULE image = LoadLibraryExW(WideFromUtf8(exe).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (image == nullptr) return 0;
    const auto* place = reinterpret_cast<const char*>(reinterpret_cast<void*>(GetProcAddress(image, name)));
    const uintptr_t offset = place != nullptr ? uintptr_t(place - reinterpret_cast<const char*>(image)) : 0;
    FreeLibrary(image);
    return offset;
}

// At the place the export names in the image the process's environment block points to.
bool WriteTrustStandIn(HANDLE process, const std::string& exe) {
    const uintptr_t place = ExportedPlace(exe, "SolvaneFolderTrustStandIn");
    using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (place == 0 || query == nullptr || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return false;
    }
    uintptr_t image = 0;  // the environment block's ImageBaseAddress
    const int32_t value = 1;
    return ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + 0x10, &image, sizeof image,
                             nullptr) &&
           image != 0 &&
           WriteProcessMemory(process, reinterpret_cast<void*>(image + place), &value, sizeof value, nullptr);
}

