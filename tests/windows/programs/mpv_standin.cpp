// A stand-in for mpv.exe, for the tests of the Windows package under wine: it records the
// words it was started with in "mpv-standin.log" beside itself (one "word W" line each, in
// UTF-8, then "end"), opens a window with the title its --title= word gives, and stays
// until the window is closed or a minute passes.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    return text;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string record;
    std::wstring title = L"mpv";
    for (int i = 1; i < count; ++i) {
        record += "word " + Utf8(words[i]) + "\n";
        if (std::wcsncmp(words[i], L"--title=", 8) == 0) title = words[i] + 8;
    }
    record += "end\n";

    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self, length);
    log = log.substr(0, log.find_last_of(L"\\/") + 1) + L"mpv-standin.log";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, record.data(), DWORD(record.size()), &written, nullptr);
        CloseHandle(file);
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = L"mpv_standin";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"mpv_standin", title.c_str(), WS_POPUP | WS_VISIBLE, 700, 500,
                                  320, 240, nullptr, nullptr, instance, nullptr);
    SetTimer(window, 1, 60000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) DestroyWindow(window);
        DispatchMessageW(&message);
    }
    return 0;
}
