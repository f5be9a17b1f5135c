#pragma once
// The control channel for GUI tests: with ORVELLO_AUTOMATION=<port> the program answers one-line
// requests on 127.0.0.1:<port> (never another address). A thread owned here accepts and reads;
// every request runs on the UI thread through the dispatcher. Off unless the variable is set.
// Requests address the window the user acts on: the newest open dialog, else the main frame.
//
//   list                 one line per leaf: name, class, text, shown, enabled, l,t,r,b, and the
//                        check (0/1) or progress value (else -), tab-separated
//   click NAME           a click on the native control (BM_CLICK), answered once it is handled
//   press NAME           a click answered at once, before it is handled: for a button that opens
//                        a dialog, whose loop runs until the dialog closes (and serves the
//                        requests meanwhile)
//   settext NAME TEXT    the user's typing into an edit
//   select NAME CHILD    a tab's page by name, a combo's row by number, an option (CHILD ignored)
//   missing NAME         how many characters of the control's text its font has no glyph for
//   key VK [ctrl]        a key press on the window (virtual-key code in decimal)
//   page                 the shown page of the main frame's tab
//   screenshot FILE      the window's pixels as a 24-bit BMP file
// Each answer ends with a line "ok" or "error <why>". Text is UTF-8.
#include "ui/win32/Win32Backend.h"

#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace ui::win32 {

class AutomationServer {
public:
    // Listens on 127.0.0.1:`port` for requests to the backend's frame; check listening().
    AutomationServer(Win32Backend& backend, unsigned short port);
    // Stops and joins the thread (before the frame goes).
    ~AutomationServer();
    AutomationServer(const AutomationServer&) = delete;
    AutomationServer& operator=(const AutomationServer&) = delete;

    bool listening() const { return listen_ != INVALID_SOCKET; }

    // The port asked for by ORVELLO_AUTOMATION, or 0 when automation is off.
    static unsigned short portFromEnvironment();

    // On the UI thread: the answer to one request line (UTF-8, no line break).
    static std::string answer(Win32Backend& backend, const std::string& request);

private:
    struct Pending {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::string reply;
    };
    void run();
    bool serve(SOCKET client);
    std::string onUiThread(const std::string& request);

    Win32Backend& backend_;
    SOCKET listen_ = INVALID_SOCKET;
    std::atomic<SOCKET> client_{INVALID_SOCKET};
    std::atomic<bool> stopping_{false};
    std::shared_ptr<Pending> current_;
    std::mutex mutex_;
    // A request read and not yet answered on the socket: a request that closes the program (Esc,
    // Cancel) still gets its answer before the connection goes.
    bool answering_ = false;
    std::condition_variable answered_;
    std::thread thread_;
};

} // namespace ui::win32
