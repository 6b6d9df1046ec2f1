#include "desktop/Commands.h"

const Command* CommandTable::find(UINT id) const {
    for (const Command& command : commands_) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

bool CommandTable::available(const Command& command) const {
    return running_.count(command.id) == 0 && (!command.available || command.available());
}

bool CommandTable::run(UINT id, HWND owner) {
    const Command* command = find(id);
    if (command == nullptr) return false;
    if (!available(*command)) return true;
    running_.insert(id);
    // A copy: the handler may add commands, moving the table's entries.
    const std::function<void(HWND)> handler = command->run;
    handler(owner);
    running_.erase(id);
    return true;
}

void CommandTable::prepare(HMENU menu) const {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            prepare(sub);
            continue;
        }
        const Command* command = find(GetMenuItemID(menu, i));
        if (command == nullptr) continue;
        EnableMenuItem(menu, UINT(i), MF_BYPOSITION | (available(*command) ? MF_ENABLED : MF_GRAYED));
        const bool checked = command->checked && command->checked();
        CheckMenuItem(menu, UINT(i), MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}
