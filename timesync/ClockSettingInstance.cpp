#include "timesync/ClockSettingInstance.h"

#include "app/Formatting.h"
#include "platform/HandleOwners.h"
#include "platform/Resources.h"
#include "platform/WideText.h"
#include "res/resource.h"
#include "timesync/ClockSettingCommand.h"
#include "timesync/SyncReport.h"
#include "timesync/SystemClockSetter.h"
#include "timesync/TimeSyncSocket.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cmath>

namespace {

// Long enough for the whole plan against a server that answers only the Time Protocol.
constexpr ULONGLONG kLongestSynchronisationMs = 40000;
constexpr UINT kReportWaitMs = 5000;
constexpr UINT kProgressWaitMs = 1000;

DWORD ParentProcessId() {
    const FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32W entry = {sizeof entry};
    DWORD parent = 0;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) {
            parent = entry.th32ParentProcessID;
            break;
        }
    }
    return parent;
}

// Whether process `id` was started before this one: a parent that has ended may have left its
// id to a later process, which is no parent.
bool StartedBeforeThisProcess(DWORD id) {
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) return false;
    FILETIME itsStart, ownStart, unused[3];
    const bool before = GetProcessTimes(process.get(), &itsStart, &unused[0], &unused[1], &unused[2]) &&
                        GetProcessTimes(GetCurrentProcess(), &ownStart, &unused[0], &unused[1], &unused[2]) &&
                        CompareFileTime(&itsStart, &ownStart) <= 0;
    return before;
}

// Whether `window` belongs to the process that started this one: reports and the question go
// to no other program's window.
bool BelongsToStartingProcess(HWND window) {
    DWORD windowProcess = 0;
    if (!IsWindow(window) || GetWindowThreadProcessId(window, &windowProcess) == 0) return false;
    const DWORD parent = ParentProcessId();
    return parent != 0 && windowProcess == parent && StartedBeforeThisProcess(parent);
}

void SendReport(HWND window, const SyncReport& report, UINT waitMs) {
    COPYDATASTRUCT data = {kSyncReportTag, sizeof report, const_cast<SyncReport*>(&report)};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, waitMs, &answer);
}

// Asks, in a box of this program's owned by the dialog, whether the clock may move by
// `correction` seconds. No answer (the dialog gone) is no.
bool ConfirmCorrection(HWND dialog, double correction) {
    const UINT question = correction > 0 ? IDS_SYNC_CONFIRM_AHEAD : IDS_SYNC_CONFIRM_BACK;
    const std::string text = Printf(LoadResourceString(question).c_str(), std::fabs(correction) / 86400);
    return MessageBoxW(dialog, WideFromUtf8(text).c_str(), WideFromUtf8(LoadResourceString(IDS_SYNC_CONFIRM_CAPTION)).c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

// Runs the synchronisation until it ends or is given up, telling `dialog` of each request.
SyncReport Synchronize(const ClockSettingCommand& command, HWND dialog) {
    SystemClockSetter clock;
    SystemPerformanceCounter counter;
    TimeSyncSocket socket(clock, counter);
    socket.synchronize(command.address);
    const ULONGLONG deadline = GetTickCount64() + kLongestSynchronisationMs;
    int told = 0;
    while (!socket.exchange().done() && GetTickCount64() < deadline) {
        const TimeSyncExchange& exchange = socket.exchange();
        const int asked = exchange.requests(SyncProtocol::Ntp) + exchange.requests(SyncProtocol::TimeProtocol);
        if (asked != told) {
            told = asked;
            SyncReport progress = ReportOf(exchange);
            progress.ticket = command.ticket;
            SendReport(dialog, progress, kProgressWaitMs);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    if (socket.exchange().outcome() == SyncOutcome::ConfirmationNeeded) {
        socket.confirmCorrection(ConfirmCorrection(dialog, socket.exchange().correction()));
    }
    SyncReport report = ReportOf(socket.exchange());
    if (!socket.exchange().done()) report.outcome = int32_t(SyncOutcome::TimedOut);  // given up
    return report;
}

}  // namespace

int RunClockSettingInstance(const std::vector<std::string>& arguments) {
    // Libraries loaded from now on (those the system's own libraries load) come from the
    // system's folder only, where the system can say so: Windows 8 on, or 7 with its update.
    // Those the program imports are all of the system's known libraries.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    ClockSettingCommand command;
    if (!ReadClockSettingCommand(arguments, command)) return -1;
    const HWND dialog = reinterpret_cast<HWND>(static_cast<uintptr_t>(command.window));
    if (!BelongsToStartingProcess(dialog)) return -1;
    // The replies are timed: they should not wait behind other programs.
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);

    SyncReport report;
    WSADATA sockets;
    const int started = WSAStartup(MAKEWORD(2, 2), &sockets);
    if (started != 0) {
        report.outcome = int32_t(SyncOutcome::SocketError);
        report.socketError = started;
    } else {
        report = Synchronize(command, dialog);
        WSACleanup();
    }
    report.ticket = command.ticket;
    SendReport(dialog, report, kReportWaitMs);
    return report.outcome;
}
