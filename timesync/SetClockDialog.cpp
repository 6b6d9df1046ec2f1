#include "timesync/SetClockDialog.h"

#include "app/ClockApp.h"
#include "app/Formatting.h"
#include "app/ProgramFiles.h"
#include "platform/ProgramPath.h"
#include "platform/Resources.h"
#include "res/resource.h"
#include "timesync/ServerList.h"
#include "timesync/SystemClockSetter.h"
#include "timesync/TimeSyncSocket.h"
#include "ui/SkinnedDialog.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// The national time service the introduction names.
const char kDefaultTimeServer[] = "tick.usno.navy.mil";
constexpr UINT_PTR kTickTimer = 101;
constexpr int kTimeoutTicks = 4;
constexpr int kLongestServerName = 127;

const DialogSkin kSkin = {IDB_BANNER_SET_CLOCK, 332, kBannerBandHeight, ControlColours::Standard,
                          {{IDOK, IDB_FACES_SET}, {IDCANCEL, IDB_FACES_CLOSE}, {kHelpButton, IDB_FACES_HELP}},
                          {IDC_SERVER_GROUP}, "\\help\\SynchTime.htm", true, 0};

class SetClockDialog : public SkinnedDialog {
public:
    SetClockDialog(ClockApp& app, ClockSetter& clock, PerformanceCounter& counter)
        : SkinnedDialog(IDD_SET_CLOCK, kSkin, {app.dialogBrushLight, app.dialogBrushDark}),
          app_(app),
          socket_(clock, counter) {}

private:
    bool onInitDialog() override {
        initialised_ = true;
        SendDlgItemMessageA(hwnd(), IDC_OTHER_SERVER_NAME, EM_LIMITTEXT, kLongestServerName, 0);
        {
            std::lock_guard<RecursiveLock> hold(app_.optionsLock);
            SetDlgItemTextA(hwnd(), IDC_OTHER_SERVER_NAME, FieldText(app_.options.customTimeServer).c_str());
        }
        SetDlgItemTextA(hwnd(), IDC_SYNC_INTRO, LoadResourceString(IDS_SYNC_INTRO).c_str());
        SetDlgItemTextA(hwnd(), IDC_SYNC_STATUS, LoadResourceString(IDS_SYNC_ADVICE).c_str());
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
        HDC dc = GetDC(list);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
        int widest = 0;
        for (const TimeServer& server : servers_) {
            SIZE size = {};
            GetTextExtentPoint32A(dc, server.description.c_str(), int(server.description.size()), &size);
            widest = std::max(widest, int(size.cx));
        }
        SelectObject(dc, previous);
        ReleaseDC(list, dc);
        RECT unit = {0, 0, 4, 8};  // dialog units, in which list-box tab stops are given
        MapDialogRect(hwnd(), &unit);
        const int tabStop = std::max(200, (widest + 12) * 4 / std::max<int>(unit.right, 1));
        SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    }

    // The typed server when asked for (which may be nothing but blanks: the exchange then says
    // no server has that name), else the selected one (nothing when its host or its
    // description is empty), else the built-in default.
    std::string chosenServer() const {
        if (IsDlgButtonChecked(hwnd(), IDC_OTHER_SERVER) == BST_CHECKED) {
            char name[kLongestServerName + 1] = "";
            GetDlgItemTextA(hwnd(), IDC_OTHER_SERVER_NAME, name, sizeof name);
            return name;
        }
        const LRESULT item = SendDlgItemMessageA(hwnd(), IDC_SERVER_LIST, LB_GETCURSEL, 0, 0);
        if (item == LB_ERR) return kDefaultTimeServer;
        const auto index = std::size_t(SendDlgItemMessageA(hwnd(), IDC_SERVER_LIST, LB_GETITEMDATA, item, 0));
        if (index >= servers_.size() || servers_[index].description.empty()) return "";
        return servers_[index].host;
    }

    void setStatus(const std::string& text) { SetDlgItemTextA(hwnd(), IDC_SYNC_STATUS, text.c_str()); }

    void startSynchronizing() {
        const std::string server = chosenServer();
        if (server.empty() && IsDlgButtonChecked(hwnd(), IDC_OTHER_SERVER) != BST_CHECKED) return;
        setStatus(LoadResourceString(IDS_SYNC_ATTEMPTING));
        // The replies are timed: they should not wait behind other programs.
        SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
        socket_.synchronize(server);
        SetTimer(hwnd(), kTickTimer, 1000, nullptr);
        ticks_ = 0;
    }

    std::string outcomeText() const {
        const TimeSyncExchange& e = socket_.exchange();
        switch (e.outcome()) {
        case SyncOutcome::ClockSet:
            return Printf(LoadResourceString(IDS_SYNC_DONE).c_str(), e.maxError(),
                          e.correction() == 0 ? 1 : e.correction());
        case SyncOutcome::SocketError: {
            // The Windows Sockets codes' texts have the codes as their ids.
            const int code = e.socketError();
            const std::string text = code >= 10000 && code < 12000 ? LoadResourceString(UINT(code)) : "";
            return text.empty() ? Printf(LoadResourceString(IDS_UNKNOWN_SOCKET_ERROR).c_str(), code) : text;
        }
        case SyncOutcome::OutOfRange:
            return LoadResourceString(IDS_SYNC_OUT_OF_RANGE);
        case SyncOutcome::SetFailed:
            return LoadResourceString(IDS_SYNC_SET_FAILED) + e.failure();
        case SyncOutcome::Running:
            break;
        }
        return LoadResourceString(IDS_SYNC_TIMEOUT);
    }

    void stopSynchronizing() {
        KillTimer(hwnd(), kTickTimer);
        socket_.close();
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    }

    void onTick() {
        ++ticks_;
        if (socket_.exchange().done() || ticks_ >= kTimeoutTicks) {
            setStatus(outcomeText());
            stopSynchronizing();
        }
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

    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        if (message == WM_TIMER && wParam == kTickTimer) {
            onTick();
            result = 0;
            return true;
        }
        // The typed server is kept; a dialog that ended at once never showed it.
        if (message == WM_DESTROY && initialised_) {
            char name[kLongestServerName + 1] = "";
            GetDlgItemTextA(hwnd(), IDC_OTHER_SERVER_NAME, name, sizeof name);
            {
                std::lock_guard<RecursiveLock> hold(app_.optionsLock);
                SetFieldText(app_.options.customTimeServer, std::string(name));
            }
            stopSynchronizing();
        }
        return SkinnedDialog::handleMessage(message, wParam, lParam, result);
    }

    ClockApp& app_;
    TimeSyncSocket socket_;
    std::vector<TimeServer> servers_;
    int ticks_ = 0;
    bool initialised_ = false;
};

}  // namespace

INT_PTR RunSetClockDialog(HWND owner, ClockApp& app) {
    SystemClockSetter clock;
    SystemPerformanceCounter counter;
    SetClockDialog dialog(app, clock, counter);
    return dialog.runModal(owner);
}
