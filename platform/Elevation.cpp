#include "platform/Elevation.h"

#include "platform/FailureTrace.h"
#include "platform/WideText.h"

#include <shellapi.h>

bool ProcessIsElevated() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
    const KernelHandle token(opened);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

bool StartElevated(HWND owner, const std::string& program, const std::string& parameters, KernelHandle& process,
                   DWORD& error) {
    const std::wstring file = WideFromUtf8(program), arguments = WideFromUtf8(parameters);
    SHELLEXECUTEINFOW execute = {sizeof(execute)};
    // The system's own error box is not shown: the caller says what failed, in its own words.
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.hwnd = owner;
    // Already elevated, the program is started as it is: "runas" would ask for nothing new.
    execute.lpVerb = ProcessIsElevated() ? nullptr : L"runas";
    execute.lpFile = file.c_str();
    execute.lpParameters = arguments.c_str();
    execute.nShow = SW_HIDE;
    process.reset();
    if (!ShellExecuteExW(&execute) || execute.hProcess == nullptr) {
        error = GetLastError();
        if (execute.hProcess == nullptr && error == ERROR_SUCCESS) error = ERROR_INVALID_HANDLE;
        if (error != ERROR_CANCELLED) TraceFailure("ShellExecuteEx " + program, error);  // not the user's No
        return false;
    }
    process.reset(execute.hProcess);
    error = ERROR_SUCCESS;
    return true;
}
