#include "timesync/ClockSettingInstance.h"

#include "timesync/ClockSettingCommand.h"
#include "timesync/SyncReport.h"
#include "timesync/SystemClockSetter.h"
#include "timesync/TimeSyncSocket.h"

#include <windows.h>

namespace {

// Long enough for the whole plan against a server that answers only the Time Protocol.
constexpr ULONGLONG kLongestSynchronisationMs = 40000;
constexpr UINT kReportWaitMs = 5000;

}  // namespace

int RunClockSettingInstance(const std::vector<std::string>& arguments) {
    ClockSettingCommand command;
    if (!ReadClockSettingCommand(arguments, command)) return -1;
    const HWND reportTo = reinterpret_cast<HWND>(static_cast<uintptr_t>(command.window));
    // Libraries loaded from now on come from the system's folder only (where the system can say
    // so: Windows 8 on, or 7 with its update); those the program imports came with it.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The replies are timed: they should not wait behind other programs.
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);

    SystemClockSetter clock;
    SystemPerformanceCounter counter;
    SyncReport report;
    WSADATA sockets;
    const int started = WSAStartup(MAKEWORD(2, 2), &sockets);
    if (started != 0) {
        report.outcome = int32_t(SyncOutcome::SocketError);
        report.socketError = started;
    } else {
        {
            TimeSyncSocket socket(clock, counter);
            socket.synchronize(command.address);
            const ULONGLONG deadline = GetTickCount64() + kLongestSynchronisationMs;
            while (!socket.exchange().done() && GetTickCount64() < deadline) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            }
            report = ReportOf(socket.exchange());
        }
        WSACleanup();
    }
    report.ticket = command.ticket;
    COPYDATASTRUCT data = {kSyncReportTag, sizeof report, &report};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(reportTo, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kReportWaitMs,
                        &answer);
    return report.outcome;
}
