// Owners of the Win32 handles the programs hold: each frees its handle when it goes.
#pragma once

#include "platform/UniqueResource.h"

#include <windows.h>

#include <atomic>

// A handle that is null when empty and goes back through `Free`.
template <class Handle, auto Free>
struct NullEmptyTraits {
    using Value = Handle;
    static Handle empty() { return nullptr; }
    static void free(Handle handle) { Free(handle); }
};

// A kernel object (thread, event, mutex, process, token).
using KernelHandle = UniqueResource<NullEmptyTraits<HANDLE, &CloseHandle>>;

// An open file, or anything else whose "no handle" is INVALID_HANDLE_VALUE (CreateFile,
// CreateToolhelp32Snapshot).
struct FileHandleTraits {
    using Value = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void free(HANDLE handle) { CloseHandle(handle); }
};
using FileHandle = UniqueResource<FileHandleTraits>;

// A GDI object that DeleteObject frees. Deselect it from every DC first (SelectedObject).
template <class Handle>
using GdiObject = UniqueResource<NullEmptyTraits<Handle, &DeleteObject>>;
using GdiBitmap = GdiObject<HBITMAP>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiFont = GdiObject<HFONT>;
using GdiPen = GdiObject<HPEN>;
using GdiPalette = GdiObject<HPALETTE>;
using GdiRegion = GdiObject<HRGN>;

// A memory device context (CreateCompatibleDC); empty when it could not be made.
class MemoryDC : public UniqueResource<NullEmptyTraits<HDC, &DeleteDC>> {
public:
    using UniqueResource::UniqueResource;
    static MemoryDC CompatibleWith(HDC dc) { return MemoryDC(CreateCompatibleDC(dc)); }
    static MemoryDC CompatibleWithScreen();
};

// A handle, null when empty, that goes back through `Free(source, handle)`: it keeps what it
// came from (the window of a DC, the DC of a selection).
template <class Source, class Handle, auto Free>
struct BoundTraits {
    using Value = Handle;
    Source source = nullptr;
    static Handle empty() { return nullptr; }
    void free(Handle handle) const { Free(source, handle); }
};

// The device context of a window (of the screen for a null window), from GetDC.
class WindowDC : public UniqueResource<BoundTraits<HWND, HDC, &ReleaseDC>> {
public:
    WindowDC() = default;
    explicit WindowDC(HWND window) : UniqueResource(GetDC(window), {window}) {}
    HWND window() const { return traits().source; }
};

inline MemoryDC MemoryDC::CompatibleWithScreen() {
    WindowDC screen(nullptr);
    return CompatibleWith(screen.get());
}

// An object selected into a DC for a while: the one it replaced goes back when this goes.
class SelectedObject : public UniqueResource<BoundTraits<HDC, HGDIOBJ, &SelectObject>> {
public:
    SelectedObject() = default;
    SelectedObject(HDC dc, HGDIOBJ object) : UniqueResource(SelectObject(dc, object), {dc}) {}
};

// How many OpenGL contexts the process's GLContext owners hold now.
inline std::atomic<int>& LiveGLContexts() {
    static std::atomic<int> live{0};
    return live;
}

// An OpenGL rendering context: made not current (where it is current on this thread) before
// it is deleted.
struct GLContextTraits {
    using Value = HGLRC;
    static HGLRC empty() { return nullptr; }
    static void free(HGLRC context) {
        if (wglGetCurrentContext() == context) wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        --LiveGLContexts();
    }
};

class GLContext : public UniqueResource<GLContextTraits> {
public:
    GLContext() = default;
    // A context for the pixel format set on `dc`; empty on failure.
    static GLContext CreateFor(HDC dc) {
        GLContext made;
        if (HGLRC context = wglCreateContext(dc)) {
            ++LiveGLContexts();
            made.reset(context);
        }
        return made;
    }
};

// An icon the program made or loaded without LR_SHARED.
using IconHandle = UniqueResource<NullEmptyTraits<HICON, &DestroyIcon>>;
// A menu no window holds (a window destroys its own menu bar).
using MenuHandle = UniqueResource<NullEmptyTraits<HMENU, &DestroyMenu>>;
using RegistryKey = UniqueResource<NullEmptyTraits<HKEY, &RegCloseKey>>;

template <class Interface>
struct ComTraits {
    using Value = Interface*;
    static Interface* empty() { return nullptr; }
    static void free(Interface* object) { object->Release(); }
};

// One reference to a COM object.
template <class Interface>
class ComPtr : public UniqueResource<ComTraits<Interface>> {
public:
    using UniqueResource<ComTraits<Interface>>::UniqueResource;
    Interface* operator->() const { return this->get(); }
};
