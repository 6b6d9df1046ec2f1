#include "timesync/SetClockDialog.h"

#include "app/Formatting.h"
#include "app/ProgramFiles.h"
#include "platform/Elevation.h"
#include "platform/FolderTrustReading.h"
#include "platform/HandleOwners.h"
#include "platform/ProgramPath.h"
#include "platform/Resources.h"
#include "platform/SystemError.h"
#include "res/resource.h"
#include "timesync/ClockSettingCommand.h"
#include "timesync/HostLookup.h"
#include "timesync/ServerCourtesy.h"
#include "timesync/ServerList.h"
#include "timesync/SyncReport.h"
#include "ui/SkinBrushes.h"
#include "ui/SkinnedDialog.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

// The national time service the introduction names.
const char kDefaultTimeServer[] = "tick.usno.navy.mil";
constexpr UINT_PTR kStartTimer = 101;  // a synchronisation waits for the server's turn
constexpr UINT_PTR kWatchTimer = 102;  // the instance that sets the clock is watched
constexpr UINT kWatchMs = 250;
// The instance gives up after 40 seconds; one that never reports is not waited for longer.
constexpr ULONGLONG kLongestWaitMs = 45000;
constexpr int kLongestServerName = 127;

// What this run has asked of each server: at most one request every 4 seconds to any of them.
ServerCourtesy& Courtesy() {
    static ServerCourtesy courtesy(SyncSchedule().spacing);
    return courtesy;
}

double SteadySeconds() { return double(GetTickCount64()) / 1000; }

constexpr UINT kLookupFinished = WM_APP + 1;  // the server's name has been looked up

// A number the instance's report must carry back: a report of an earlier instance, or of
// another program guessing, is not taken for this one's.
uint64_t NewTicket() {
    std::random_device random;
    const uint64_t ticket = uint64_t(random()) << 32 | random();
    return ticket != 0 ? ticket : 1;
}

const DialogSkin kSkin = {IDB_BANNER_SET_CLOCK, 332, kBannerBandHeight, ControlColours::Standard,
                          {{IDOK, IDB_FACES_SET}, {IDCANCEL, IDB_FACES_CLOSE}, {kHelpButton, IDB_FACES_HELP}},
                          {IDC_SERVER_GROUP}, "\\help\\SynchTime.htm", true, 0};

// Whether the program that sets the clock may be started with administrator rights: only as a
// file, from a folder, that no one but the system and its administrators can change. An
// elevated process (which has loaded the folder's code already) starts it as before.
bool MayStartClockSetter(const std::string& program, bool elevated) {
    return elevated || ProgramFileIsTrusted(program);
}

// The dialog never sets the clock itself: a program of its own does, started with administrator
// rights (after the system asks the user) unless the dialog has them already, and reports back
// to the dialog's window.
class SetClockDialog : public SkinnedDialog {
public:
    explicit SetClockDialog(const SetClockRun& run)
        : SkinnedDialog(IDD_SET_CLOCK, kSkin, SharedSkinBrushes()), run_(run) {}

private:
    bool onInitDialog() override {
        initialised_ = true;
        SendDlgItemMessageA(hwnd(), IDC_OTHER_SERVER_NAME, EM_LIMITTEXT, kLongestServerName, 0);
        SetDlgItemTextA(hwnd(), IDC_OTHER_SERVER_NAME, run_.typedServer.c_str());
        SetDlgItemTextA(hwnd(), IDC_SYNC_INTRO, LoadResourceString(IDS_SYNC_INTRO).c_str());
        const bool elevated = ProcessIsElevated();
        if (MayStartClockSetter(ClockSetterPath(), elevated)) {
            SetDlgItemTextA(hwnd(), IDC_SYNC_STATUS, LoadResourceString(IDS_SYNC_ADVICE).c_str());
            // Setting the clock needs an administrator's rights: the system will ask for them.
            if (!elevated) setShield(IDOK, true);
        } else {
            SetDlgItemTextA(hwnd(), IDC_SYNC_STATUS, LoadResourceString(IDS_SYNC_UNTRUSTED_FOLDER).c_str());
            EnableWindow(GetDlgItem(hwnd(), IDOK), FALSE);
        }
        bool opened = false;
        std::size_t leftOut = 0;
        servers_ = ReadServerListFile(DataFilePath(ProgramPath(), "servers.txt"), opened, &leftOut);
        if (!opened) {
            MessageBoxA(hwnd(), LoadResourceString(IDS_NO_SERVER_LIST).c_str(),
                        LoadResourceString(IDS_APP_NAME).c_str(), MB_OK | MB_ICONERROR);
        }
        if (leftOut > 0) {
            std::string text = LoadResourceString(IDS_SERVER_LIST_CUT);
            const std::size_t insert = text.find("%1");
            if (insert != std::string::npos) text.replace(insert, 2, std::to_string(leftOut));
            MessageBoxA(hwnd(), text.c_str(), LoadResourceString(IDS_APP_NAME).c_str(), MB_OK | MB_ICONINFORMATION);
        }
        HWND list = GetDlgItem(hwnd(), IDC_SERVER_LIST);
        setHostColumn(list);
        for (std::size_t i = 0; i < servers_.size(); ++i) {
            const std::string entry = servers_[i].description + "\t" + servers_[i].host;
            const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
            if (item >= 0) SendMessageA(list, LB_SETITEMDATA, item, LPARAM(i));
        }
        return true;
    }

    // The hosts' column starts just after the longest description (in the list's font), so that
    // no description hides its host; at least where it always started.
    void setHostColumn(HWND list) {
        int widest = 0;
        {
            const WindowDC dc(list);
            const SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
            for (const TimeServer& server : servers_) {
                SIZE size = {};
                GetTextExtentPoint32A(dc.get(), server.description.c_str(), int(server.description.size()), &size);
                widest = std::max(widest, int(size.cx));
            }
        }
        RECT unit = {0, 0, 4, 8};  // dialog units, in which list-box tab stops are given
        MapDialogRect(hwnd(), &unit);
        const int tabStop = std::max(200, (widest + 12) * 4 / std::max<int>(unit.right, 1));
        SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    }

    static std::string ClockSetterPath() { return FileBesideProgram(ProgramPath(), kClockSetterProgram); }

    // The typed server when asked for (which may be nothing but blanks: the status then says no
    // server has that name), else the selected one, else the built-in default. False when the
    // selected entry names no server (its host or its description is empty): Set does nothing.
    bool chooseServer(std::string& server) const {
        if (IsDlgButtonChecked(hwnd(), IDC_OTHER_SERVER) == BST_CHECKED) {
            char name[kLongestServerName + 1] = "";
            GetDlgItemTextA(hwnd(), IDC_OTHER_SERVER_NAME, name, sizeof name);
            server = name;
            return true;
        }
        const LRESULT item = SendDlgItemMessageA(hwnd(), IDC_SERVER_LIST, LB_GETCURSEL, 0, 0);
        if (item == LB_ERR) {
            server = kDefaultTimeServer;
            return true;
        }
        const auto index = std::size_t(SendDlgItemMessageA(hwnd(), IDC_SERVER_LIST, LB_GETITEMDATA, item, 0));
        if (index >= servers_.size() || servers_[index].description.empty() || servers_[index].host.empty()) return false;
        server = servers_[index].host;
        return true;
    }

    void setStatus(const std::string& text) { SetDlgItemTextA(hwnd(), IDC_SYNC_STATUS, text.c_str()); }

    bool synchronizing() const { return synchronizing_; }

    // A press of Set: the server's name looked up first, unless it is an address already.
    void startSynchronizing() {
        std::string chosen;
        if (synchronizing() || !IsWindowEnabled(GetDlgItem(hwnd(), IDOK)) || !chooseServer(chosen)) return;
        const std::string server = TrimmedServerName(chosen);
        if (!IsValidServerName(server)) {
            setStatus(socketErrorText(WSAHOST_NOT_FOUND));  // no server has that name
            return;
        }
        synchronizing_ = true;
        setStatus(LoadResourceString(IDS_SYNC_ATTEMPTING));
        if (IsDottedAddress(server)) {
            startWithAddress(server);
        } else {
            lookup_ = StartHostLookup(hwnd(), kLookupFinished, ++lookups_, server);
        }
    }

    void onLookupFinished(WPARAM number) {
        if (lookup_ == nullptr || number != lookup_->number || !lookup_->done) return;  // a lookup since forgotten
        const std::shared_ptr<HostLookup> lookup = std::move(lookup_);
        if (lookup->error != 0) {
            finish(socketErrorText(lookup->error));
        } else {
            startWithAddress(inet_ntoa(lookup->address));
        }
    }

    // Servers are known by their address: names that lead to the same server share its turn
    // and its refusal.
    void startWithAddress(const std::string& address) {
        std::string code;
        if (Courtesy().hasRefused(address, code)) {
            finish(Printf(LoadResourceString(IDS_SYNC_REFUSED).c_str(), code.c_str()));
            return;
        }
        address_ = address;
        const double wait = Courtesy().waitBefore(address, SteadySeconds());
        if (wait > 0) {
            setStatus(Printf(LoadResourceString(IDS_SYNC_WAITING_TURN).c_str(), int(std::ceil(wait))));
            SetTimer(hwnd(), kStartTimer, UINT(wait * 1000) + 1, nullptr);
        } else {
            startInstance();
        }
    }

    void startInstance() {
        KillTimer(hwnd(), kStartTimer);
        setStatus(LoadResourceString(IDS_SYNC_ATTEMPTING));
        Courtesy().contacted(address_, SteadySeconds());
        ticket_ = NewTicket();
        const ClockSettingCommand command = {address_, uint64_t(reinterpret_cast<uintptr_t>(hwnd())), ticket_};
        DWORD error = ERROR_SUCCESS;
        if (!StartElevated(hwnd(), ClockSetterPath(), ClockSettingParameters(command), instance_, error)) {
            finish(error == ERROR_CANCELLED ? LoadResourceString(IDS_SYNC_NOT_PERMITTED)
                                            : LoadResourceString(IDS_SYNC_HELPER_FAILED) + SystemErrorText(error));
            return;
        }
        started_ = GetTickCount64();
        SetTimer(hwnd(), kWatchTimer, kWatchMs, nullptr);
    }

    // The instance reports before it ends; one that ended without a word, or takes far too
    // long, is given up. It may have asked the server until then. While it asks the user (its
    // box is owned by this dialog, which is disabled meanwhile) it takes what time it needs.
    void watchInstance() {
        const bool ended = WaitForSingleObject(instance_.get(), 0) == WAIT_OBJECT_0;
        if (!ended && (GetTickCount64() - started_ <= kLongestWaitMs || !IsWindowEnabled(hwnd()))) return;
        Courtesy().contacted(address_, SteadySeconds());
        finish(LoadResourceString(IDS_SYNC_NO_REPORT));
    }

    void onReport(const SyncReport& report) {
        if (report.outcome == int32_t(SyncOutcome::Running)) {
            setStatus(Printf(LoadResourceString(IDS_SYNC_PROGRESS).c_str(), report.requests[0] + report.requests[1]));
            return;
        }
        Courtesy().contacted(address_, SteadySeconds());
        // Starting the instance may have activated another of the program's windows; the
        // answer is shown here. A user who went on to another program is left there.
        DWORD foregroundProcess = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
        if (foregroundProcess == GetCurrentProcessId()) SetForegroundWindow(hwnd());
        if (report.outcome == int32_t(SyncOutcome::KissOfDeath)) Courtesy().refused(address_, report.kissCode);
        finish(reportText(report));
    }

    std::string socketErrorText(int code) const {
        // The Windows Sockets codes' texts have the codes as their ids.
        const std::string text = code >= 10000 && code < 12000 ? LoadResourceString(UINT(code)) : "";
        return text.empty() ? Printf(LoadResourceString(IDS_UNKNOWN_SOCKET_ERROR).c_str(), code) : text;
    }

    std::string reportText(const SyncReport& report) const {
        switch (SyncOutcome(report.outcome)) {
        case SyncOutcome::ClockSet:
            if (report.protocol == int32_t(SyncProtocol::Ntp)) {
                return Printf(LoadResourceString(IDS_SYNC_DONE_NTP).c_str(), report.maxError, report.correction,
                              report.delay, int(report.stratum));
            }
            return Printf(LoadResourceString(IDS_SYNC_DONE).c_str(), report.maxError,
                          CorrectionSecondsShown(report.correction));
        case SyncOutcome::SocketError:
            return socketErrorText(report.socketError);
        case SyncOutcome::OutOfRange:
            return LoadResourceString(IDS_SYNC_OUT_OF_RANGE);
        case SyncOutcome::SetFailed:
            return LoadResourceString(IDS_SYNC_SET_FAILED) + report.failure;
        case SyncOutcome::KissOfDeath:
            return Printf(LoadResourceString(IDS_SYNC_REFUSED).c_str(), report.kissCode);
        case SyncOutcome::Unsynchronised:
            return LoadResourceString(IDS_SYNC_UNSYNCHRONIZED);
        case SyncOutcome::AnswersDisagree:
            return LoadResourceString(IDS_SYNC_DISAGREE);
        case SyncOutcome::NotConfirmed:
            return LoadResourceString(IDS_SYNC_NOT_CONFIRMED);
        case SyncOutcome::Running:
        case SyncOutcome::ConfirmationNeeded:
        case SyncOutcome::TimedOut:
            break;
        }
        return LoadResourceString(IDS_SYNC_TIMEOUT);
    }

    void finish(const std::string& status) {
        // The instance's box disables the dialog while it asks; an instance that ended with its
        // box up (killed, or failed) left it disabled.
        if (instance_) EnableWindow(hwnd(), TRUE);
        stopSynchronizing();
        setStatus(status);
    }

    void stopSynchronizing() {
        KillTimer(hwnd(), kStartTimer);
        KillTimer(hwnd(), kWatchTimer);
        instance_.reset();
        lookup_.reset();
        synchronizing_ = false;
    }

    bool onCommand(UINT id) override {
        switch (id) {
        case IDOK:
            startSynchronizing();
            return true;
        case IDC_OTHER_SERVER: {
            const bool typed = IsDlgButtonChecked(hwnd(), IDC_OTHER_SERVER) == BST_CHECKED;
            EnableWindow(GetDlgItem(hwnd(), IDC_OTHER_SERVER_NAME), typed);
            if (typed) SetFocus(GetDlgItem(hwnd(), IDC_OTHER_SERVER_NAME));
            return true;
        }
        }
        return SkinnedDialog::onCommand(id);
    }

    bool onTimer(UINT_PTR id) override {
        if (id != kStartTimer && id != kWatchTimer) return false;
        if (id == kStartTimer && synchronizing() && !instance_) startInstance();
        if (id == kWatchTimer && instance_) watchInstance();
        return true;
    }

    // The elevated instance's report; true when it is one of this synchronisation's.
    bool onCopyData(const COPYDATASTRUCT* data) {
        SyncReport report;
        if (instance_ && data != nullptr && data->dwData == kSyncReportTag &&
            ReadSyncReport(data->lpData, data->cbData, report) && report.ticket == ticket_) {
            onReport(report);
            return true;
        }
        return false;
    }

    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        if (message == kLookupFinished) {
            onLookupFinished(wParam);
            result = 0;
            return true;
        }
        if (message == WM_COPYDATA) {
            result = onCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
            return true;
        }
        // The typed server is kept; a dialog that ended at once never showed it.
        if (message == WM_DESTROY && initialised_) {
            char name[kLongestServerName + 1] = "";
            GetDlgItemTextA(hwnd(), IDC_OTHER_SERVER_NAME, name, sizeof name);
            if (run_.keep) run_.keep(name);
            // An instance still running may ask the server again until it gives up: a later
            // synchronisation with that server waits for it.
            if (instance_ && WaitForSingleObject(instance_.get(), 0) != WAIT_OBJECT_0) {
                const double left = double(kLongestWaitMs - std::min(kLongestWaitMs, GetTickCount64() - started_)) / 1000;
                Courtesy().contacted(address_, SteadySeconds() + left);
            }
            stopSynchronizing();
        }
        return SkinnedDialog::handleMessage(message, wParam, lParam, result);
    }

    const SetClockRun& run_;
    std::vector<TimeServer> servers_;
    bool synchronizing_ = false;   // from a press of Set until its outcome shows
    std::shared_ptr<HostLookup> lookup_;  // the server's name being looked up
    WPARAM lookups_ = 0;
    std::string address_;          // the server's address
    uint64_t ticket_ = 0;          // the number the instance's report must carry
    KernelHandle instance_;        // the instance setting the clock
    ULONGLONG started_ = 0;
    bool initialised_ = false;
};

}  // namespace

INT_PTR RunSetClockDialog(HWND owner, const SetClockRun& run) {
    SetClockDialog dialog(run);
    return dialog.runModal(owner);
}
