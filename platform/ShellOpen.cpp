#include "platform/ShellOpen.h"

#include "platform/SystemError.h"
#include "platform/WideText.h"

#include <shellapi.h>

bool OpenWithShell(HWND owner, const std::string& target, int show, std::string* failure) {
    const std::wstring file = WideFromUtf8(target);
    // The shell's own error box is not shown: the caller says what failed, in its own words.
    SHELLEXECUTEINFOW execute = {sizeof(execute)};
    execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.hwnd = owner;
    execute.lpVerb = L"open";
    execute.lpFile = file.c_str();
    execute.nShow = show;
    if (ShellExecuteExW(&execute)) return true;
    if (failure != nullptr) *failure = SystemErrorText(GetLastError());
    return false;
}
