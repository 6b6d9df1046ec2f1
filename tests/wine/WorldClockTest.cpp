// The World Clock window in the real solvane.exe: opened from the tray command, places added by
// typing their names, renamed, reordered and removed, and the globe turned over one of them.
#include "EarthClockFixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A few kilobytes in the program's memory, for the list view's messages that point to memory.
class RemoteBuffer {
public:
    explicit RemoteBuffer(HANDLE process) : process_(process) {
        at_ = VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (at_ != nullptr) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    }
    bool ready() const { return at_ != nullptr; }
    // The text of a cell of list view `list`.
    std::string cell(HWND list, int item, int column) const {
        LVITEMA request = {};
        request.iSubItem = column;
        request.cchTextMax = 512;
        request.pszText = static_cast<char*>(at_) + 1024;
        char text[512] = {};
        if (!WriteProcessMemory(process_, at_, &request, sizeof request, nullptr)) return "?";
        SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(item), LPARAM(at_));
        ReadProcessMemory(process_, static_cast<char*>(at_) + 1024, text, sizeof text - 1, nullptr);
        return text;
    }
    RECT itemRect(HWND list, int item) const {
        RECT r = {LVIR_LABEL, 0, 0, 0};
        WriteProcessMemory(process_, at_, &r, sizeof r, nullptr);
        SendMessageA(list, LVM_GETITEMRECT, WPARAM(item), LPARAM(at_));
        ReadProcessMemory(process_, at_, &r, sizeof r, nullptr);
        return r;
    }

private:
    static constexpr SIZE_T kSize = 4096;
    HANDLE process_;
    void* at_ = nullptr;
};

std::vector<std::string> Names(const RemoteBuffer& memory, HWND list) {
    std::vector<std::string> names;
    const int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) names.push_back(memory.cell(list, i, 0));
    return names;
}

// Types `text` into `edit` one character at a time, as the keyboard would.
void Type(HWND edit, const std::string& text) {
    for (char c : text) PostMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
}

void Press(HWND target, WORD key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// The first match shown for a typed name.
std::string FirstMatch(HWND matches) {
    wchar_t text[512] = {};
    if (SendMessageW(matches, LB_GETCOUNT, 0, 0) <= 0 || SendMessageW(matches, LB_GETTEXTLEN, 0, 0) >= 500) return "";
    SendMessageW(matches, LB_GETTEXT, 0, LPARAM(text));
    return Utf8FromWide(text, wcslen(text));
}

class WorldClock : public EarthClockTest {};

TEST_F(WorldClock, PlacesAddedByNameEditedInTheListAndTheGlobeTurnedOverOne) {
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\WorldPlaces.bin").c_str(), folder.path("WorldPlaces.bin").c_str(), FALSE));
    start();
    PostMessageA(hidden, WM_COMMAND, ID_WORLD_CLOCK, 0);
    HWND world = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (world = FindWindowA("SolvaneWorldClock", "World Clock")) != nullptr && IsWindowVisible(world); }, 15000));
    HWND list = GetDlgItem(world, IDC_WORLD_LIST), name = GetDlgItem(world, IDC_WORLD_NAME);
    HWND matches = GetDlgItem(world, IDC_WORLD_MATCHES);
    RemoteBuffer memory(program->process());
    ASSERT_TRUE(memory.ready());
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);

    // Typed names: the matches follow each key; Enter adds the first.
    Type(name, "Toky");
    ASSERT_TRUE(WaitUntil([&] { return FirstMatch(matches).rfind("Tokyo, Japan", 0) == 0; }, 10000)) << FirstMatch(matches);
    Type(name, "o");
    Press(name, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return Names(memory, list) == std::vector<std::string>{"Tokyo"}; }, 10000));
    EXPECT_EQ(WindowText(name), "") << "the name typed is taken";
    Type(name, "sydney, au");
    ASSERT_TRUE(WaitUntil([&] { return FirstMatch(matches).rfind("Sydney, Australia", 0) == 0; }, 10000)) << FirstMatch(matches);
    PostMessageA(world, WM_COMMAND, MAKEWPARAM(IDC_WORLD_ADD, BN_CLICKED), LPARAM(GetDlgItem(world, IDC_WORLD_ADD)));
    ASSERT_TRUE(WaitUntil([&] { return Names(memory, list) == std::vector<std::string>{"Tokyo", "Sydney"}; }, 10000));

    // Rename the new place (selected once added) in the list itself.
    PostMessageA(world, WM_COMMAND, MAKEWPARAM(IDC_WORLD_RENAME, BN_CLICKED), LPARAM(GetDlgItem(world, IDC_WORLD_RENAME)));
    HWND label = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (label = HWND(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0))) != nullptr; }, 10000));
    SendMessageA(label, WM_SETTEXT, 0, LPARAM("Harbour City"));
    Press(label, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return Names(memory, list) == std::vector<std::string>{"Tokyo", "Harbour City"}; }, 10000));

    // Reorder: Alt+Up takes the renamed place, still selected, up; then Delete takes it away.
    PostMessageA(list, WM_SYSKEYDOWN, VK_UP, 0x20000001);
    PostMessageA(list, WM_SYSKEYUP, VK_UP, 0xE0000001);
    ASSERT_TRUE(WaitUntil([&] { return Names(memory, list) == std::vector<std::string>{"Harbour City", "Tokyo"}; }, 10000));
    Press(list, VK_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return Names(memory, list) == std::vector<std::string>{"Tokyo"}; }, 10000));

    // Space takes Tokyo off the globe: its tick goes, and stays gone when the list is made anew.
    const auto ticked = [&] { return (SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12) == 2; };
    EXPECT_TRUE(ticked());
    Press(list, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !ticked(); }, 10000));

    // Tokyo's row: its time, UTC+9 (no daylight time), its sky and its own day.
    EXPECT_EQ(memory.cell(list, 0, 3), "UTC+9");
    const std::string sky = memory.cell(list, 0, 4);
    EXPECT_TRUE(sky == "Day" || sky == "Twilight" || sky == "Night") << sky;
    for (int column : {1, 5, 6, 7}) {
        EXPECT_NE(memory.cell(list, 0, column).find(':'), std::string::npos) << "column " << column << ": " << memory.cell(list, 0, column);
    }

    // A place by coordinates and a zone: near the South Pole in December the Sun never sets in
    // its own calendar day.
    Type(name, "Base Camp");
    Type(GetDlgItem(world, IDC_WORLD_LATITUDE), "-77.85");
    Type(GetDlgItem(world, IDC_WORLD_LONGITUDE), "166.67");
    ASSERT_GE(SendMessageA(GetDlgItem(world, IDC_WORLD_ZONE), CB_SELECTSTRING, WPARAM(-1), LPARAM("(UTC+09:00) Osaka")), 0);
    PostMessageA(world, WM_COMMAND, MAKEWPARAM(IDC_WORLD_ADD_COORDINATES, BN_CLICKED), LPARAM(GetDlgItem(world, IDC_WORLD_ADD_COORDINATES)));
    ASSERT_TRUE(WaitUntil([&] { return Names(memory, list) == std::vector<std::string>{"Tokyo", "Base Camp"}; }, 10000));
    EXPECT_EQ(memory.cell(list, 1, 3), "UTC+9");
    EXPECT_EQ(memory.cell(list, 1, 4), "Day");
    EXPECT_EQ(memory.cell(list, 1, 5), "-");
    EXPECT_EQ(memory.cell(list, 1, 7), "24:00");
    KeepScreenshot(SettledCapture(world), "world-clock.bmp");

    // A double click on Tokyo turns the globe over it: the mouse-drag viewpoint, stored.
    const RECT row = memory.itemRect(list, 0);
    const int x = (row.left + row.right) / 2, y = (row.top + row.bottom) / 2;
    // (Clicked again while synthetic input is lost on the way, as it may be under wine.)
    EXPECT_TRUE(WaitUntil([&] {
        SetForegroundWindow(world);
        for (DWORD press : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            MoveMouse(list, x, y, press);
        }
        return WaitUntil([&] { return ReadOptions(folder.path("user.bin")).viewpoint == kViewMouseDrag; }, 2000);
    }, 15000));
    EXPECT_NE(StaticTextHolding(world, "turned over Tokyo"), "");
    HWND view = FindWindowExA(frame, nullptr, nullptr, "3D Earth");
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 10000));
    KeepScreenshot(SettledCapture(frame), "world-clock-globe-over-tokyo.bmp");

    // Escape closes the window.
    Press(list, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(world); }, 10000));
    stop();
}

}  // namespace
