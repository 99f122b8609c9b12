// Small owners for the handles a shell function releases on every way out.
#ifndef AMPWATCH_SCOPED_WIN32_H
#define AMPWATCH_SCOPED_WIN32_H

#include <windows.h>

// Owners are never copied: a copy would release the handle twice.
struct NoCopy {
    NoCopy() = default;
    NoCopy(const NoCopy &) = delete;
    NoCopy &operator=(const NoCopy &) = delete;
};

// A screen or window DC from GetDC.
struct ScopedWindowDc : NoCopy {
    HWND window;
    HDC dc;
    explicit ScopedWindowDc(HWND w) : window(w), dc(GetDC(w)) {}
    ~ScopedWindowDc() { if (dc) ReleaseDC(window, dc); }
};

// A memory DC from CreateCompatibleDC.
struct ScopedMemoryDc : NoCopy {
    HDC dc;
    explicit ScopedMemoryDc(HDC compatible) : dc(compatible ? CreateCompatibleDC(compatible) : nullptr) {}
    ~ScopedMemoryDc() { if (dc) DeleteDC(dc); }
};

// A pen, font or bitmap.
struct ScopedObject : NoCopy {
    HGDIOBJ object;
    explicit ScopedObject(HGDIOBJ o) : object(o) {}
    ~ScopedObject() { if (object) DeleteObject(object); }
};

// Selects an object into a DC and puts the previous one back; a null object
// selects nothing.
struct ScopedSelection : NoCopy {
    HDC dc;
    HGDIOBJ previous;
    ScopedSelection(HDC d, HGDIOBJ object) : dc(d), previous(d && object ? SelectObject(d, object) : nullptr) {}
    ~ScopedSelection() { if (previous) SelectObject(dc, previous); }
};

struct ScopedLibrary : NoCopy {
    HMODULE module;
    explicit ScopedLibrary(HMODULE m) : module(m) {}
    ~ScopedLibrary() { if (module) FreeLibrary(module); }
};

struct ScopedHandle : NoCopy {
    HANDLE handle;
    explicit ScopedHandle(HANDLE h) : handle(h) {}
    ~ScopedHandle() { if (handle) CloseHandle(handle); }
};


#endif
