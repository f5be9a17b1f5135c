#pragma once
// The GUI suite's client: Orvello.exe started under Wine on a virtual display of its own, and its
// automation channel on 127.0.0.1. Every wait is bounded; the program is killed if it does not end.
// Needs ORVELLO_GUI_EXE (the program) and WINE; screenshots go to ORVELLO_GUI_SHOTS.
#include <gtest/gtest.h>

#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gui {

const char* env(const char* name);

// One line of the channel's "list": a control of the window the user acts on.
struct ControlLine {
    std::string cls, text;
    bool shown = false, enabled = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    std::string state;
};
using Controls = std::map<std::string, ControlLine>;

class Program {
public:
    // Starts the program with automation on `port` and connects (within 60 seconds).
    explicit Program(int port);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool connected() const { return socket_ >= 0; }

    // One request; the answer's lines without the final "ok", or the single line "error ...".
    std::vector<std::string> ask(const std::string& request);
    // The controls of the window the user acts on (the newest dialog, else the main window).
    Controls controls();
    // Reads the controls until `name` is among them (at most 15 seconds): a dialog opened or
    // closed. The controls then, or those of the last reading.
    Controls waitForControl(const std::string& name);
    // Waits (at most 30 seconds) for the program to end; its exit code, or -1.
    int waitExit();
    // The window's pixels into ORVELLO_GUI_SHOTS/<name>.bmp, when that is set.
    void screenshot(const std::string& name);

private:
    bool connectOnce();

    int port_;
    pid_t pid_ = -1;
    int socket_ = -1;
    bool exited_ = false;
    std::string buffer_;
};

class Gui : public testing::Test {
protected:
    void SetUp() override;
    std::unique_ptr<Program> program;
};

} // namespace gui
