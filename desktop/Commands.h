// The program's commands in one table: what each does, whether it can be chosen now and
// whether it carries a check mark. The tray menu, the earth clock window's menu bar and its
// context menu all go through it.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <vector>

struct Command {
    UINT id;
    // Acts; `owner` is the window that a dialog it opens belongs to (none: null).
    std::function<void(HWND owner)> run;
    // Whether it can be chosen now; unset: always. A command is also unavailable while it
    // runs (its modal dialog is open).
    std::function<bool()> available = nullptr;
    // Whether it carries a check mark now; unset: never.
    std::function<bool()> checked = nullptr;
};

class CommandTable {
public:
    void add(Command command) { commands_.push_back(std::move(command)); }
    // Runs command `id` for `owner`; false for an id not in the table. A command not
    // available now does nothing.
    bool run(UINT id, HWND owner);
    // Greys and checks the entries of `menu` and of its submenus as the table says now.
    void prepare(HMENU menu) const;

private:
    const Command* find(UINT id) const;
    bool available(const Command& command) const;

    std::vector<Command> commands_;
    std::set<UINT> running_;
};
