// A dialog from a template in the program's resources, modal or modeless, whose messages arrive
// at virtual member functions.
#pragma once

#include <windows.h>

// Whether `message` asks for a control's colours (WM_CTLCOLOR...): its answer is a brush.
bool IsControlColourMessage(UINT message);

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog over `owner` (none: null) until it ends; returns what end() was given, or
    // -1 when it could not be shown.
    INT_PTR runModal(HWND owner);
    // Shows the dialog over `owner` without disabling it; the message loop hands it its keys
    // (Tab, Enter, Escape). It lasts until end() or destroy(). False when it could not be made.
    bool openModeless(HWND owner);
    void destroy();
    HWND hwnd() const { return hwnd_; }
    int templateId() const { return templateId_; }

protected:
    // The dispatcher: the named handlers below; true when the message was handled (with
    // `result` as the answer).
    virtual bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // The controls exist; true to let the system set the focus.
    virtual bool onInitDialog() { return true; }
    // OK and Cancel end the dialog with their ids; true when handled. Clicks and menu
    // commands arrive here.
    virtual bool onCommand(UINT id);
    // A control's other notices (EN_CHANGE, LBN_SELCHANGE, CBN_SELCHANGE...); true when handled.
    virtual bool onControlNotice(UINT, UINT) { return false; }
    virtual void onDestroy() {}
    // A timer of the dialog's; true when handled.
    virtual bool onTimer(UINT_PTR) { return false; }
    // True when the background is done (`result` the answer); false lets the dialog manager erase.
    virtual bool onEraseBackground(HDC, INT_PTR&) { return false; }
    // An owner-drawn control of this dialog; true when drawn.
    virtual bool onDrawItem(const DRAWITEMSTRUCT&) { return false; }
    // On a monitor of another DPI: first onDpiChanged, before the dialog manager lays the
    // controls out anew; once it has, onDpiLaidOut, for what the dialog lays out itself (its
    // pictures).
    virtual void onDpiChanged() {}
    virtual void onDpiLaidOut() {}
    void end(INT_PTR result);
    // Checks radio button `id` and clears the others of its group; the checked one then holds
    // the group's only tab stop.
    void checkRadio(int id);

private:
    static constexpr UINT kDpiLaidOut = WM_APP + 0x2E0;  // posted to itself at WM_DPICHANGED
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    int templateId_;
    HWND hwnd_ = nullptr;
    bool modeless_ = false;
};
