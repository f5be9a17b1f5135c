// The yardstick for the wizard's start-up under Wine: the least a Win32 program does to put a
// window on the screen. It opens one empty window of the wizard's size, paints it, writes
// "first paint done" to standard output and ends. scripts/bench.sh times it beside Orvello.exe,
// which writes "main window shown" once its main page is painted.
#include <windows.h>

namespace {

bool painted = false;

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        FillRect(ps.hdc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(hwnd, &ps);
        painted = true;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = L"OrvelloFirstPaint";
    if (!RegisterClassW(&windowClass))
        return 1;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"First paint", WS_POPUP | WS_VISIBLE, 100,
                                  100, 560, 400, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    // The same step the wizard takes before it reports its window shown: paint now, not later.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!painted)
        return 2;
    static const char line[] = "first paint done\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, sizeof(line) - 1, &written, nullptr);
    DestroyWindow(window);
    return 0;
}
