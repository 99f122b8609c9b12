// Small owners for the handles a shell function releases on every way out.
#ifndef AMPWATCH_SCOPED_WIN32_H
#define AMPWATCH_SCOPED_WIN32_H

#include <windows.h>

#define AMPWATCH_NO_COPY(Type)        \
    Type(const Type &) = delete;      \
    Type &operator=(const Type &) = delete

// A screen or window DC from GetDC.
struct ScopedWindowDc {
    HWND window;
    HDC dc;
    explicit ScopedWindowDc(HWND w) : window(w), dc(GetDC(w)) {}
    ~ScopedWindowDc() { if (dc) ReleaseDC(window, dc); }
    AMPWATCH_NO_COPY(ScopedWindowDc);
};

// A memory DC from CreateCompatibleDC.
struct ScopedMemoryDc {
    HDC dc;
    explicit ScopedMemoryDc(HDC compatible) : dc(compatible ? CreateCompatibleDC(compatible) : nullptr) {}
    ~ScopedMemoryDc() { if (dc) DeleteDC(dc); }
    AMPWATCH_NO_COPY(ScopedMemoryDc);
};

// A pen, font or bitmap.
struct ScopedObject {
    HGDIOBJ object;
    explicit ScopedObject(HGDIOBJ o) : object(o) {}
    ~ScopedObject() { if (object) DeleteObject(object); }
    AMPWATCH_NO_COPY(ScopedObject);
};

// Selects an object into a DC and puts the previous one back; a null object
// selects nothing.
struct ScopedSelection {
    HDC dc;
    HGDIOBJ previous;
    ScopedSelection(HDC d, HGDIOBJ object) : dc(d), previous(d && object ? SelectObject(d, object) : nullptr) {}
    ~ScopedSelection() { if (previous) SelectObject(dc, previous); }
    AMPWATCH_NO_COPY(ScopedSelection);
};

struct ScopedLibrary {
    HMODULE module;
    explicit ScopedLibrary(HMODULE m) : module(m) {}
    ~ScopedLibrary() { if (module) FreeLibrary(module); }
    AMPWATCH_NO_COPY(ScopedLibrary);
};

struct ScopedHandle {
    HANDLE handle;
    explicit ScopedHandle(HANDLE h) : handle(h) {}
    ~ScopedHandle() { if (handle) CloseHandle(handle); }
    AMPWATCH_NO_COPY(ScopedHandle);
};

#undef AMPWATCH_NO_COPY

#endif
