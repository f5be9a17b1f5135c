// Orvello.exe under Wine on a virtual display, driven through its automation channel on 127.0.0.1:
// the main page as the user meets it, the debug switch, the automatic Next and what cancels it, and
// Esc/Cancel ending the program with 0. Needs ORVELLO_GUI_EXE (the program) and WINE; screenshots go
// to ORVELLO_GUI_SHOTS. Every wait is bounded; the program is killed if it does not end.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

const char* env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

struct ControlLine {
    std::string cls, text;
    bool shown = false, enabled = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    std::string state;
};

class Program {
public:
    explicit Program(int port) : port_(port) {
        pid_ = fork();
        if (pid_ == 0) {
            setpgid(0, 0);
            setenv("ORVELLO_AUTOMATION", std::to_string(port).c_str(), 1);
            execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 1280x800x24", "timeout", "120", env("WINE"),
                   env("ORVELLO_GUI_EXE"), "-simulate", static_cast<char*>(nullptr));
            _exit(127);
        }
        // The channel opens once the window is shown.
        const auto end = std::chrono::steady_clock::now() + 60s;
        while (std::chrono::steady_clock::now() < end && !connectOnce())
            std::this_thread::sleep_for(250ms);
    }
    ~Program() {
        if (socket_ >= 0)
            close(socket_);
        if (pid_ > 0 && !exited_) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool connected() const { return socket_ >= 0; }

    // One request; the answer's lines without the final "ok" (or {"error ..."}).
    std::vector<std::string> ask(const std::string& request) {
        const std::string line = request + "\n";
        if (send(socket_, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size()))
            return {"error send"};
        std::vector<std::string> lines;
        for (;;) {
            const std::size_t end = buffer_.find('\n');
            if (end == std::string::npos) {
                char chunk[4096];
                timeval timeout{10, 0};
                setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
                const ssize_t n = recv(socket_, chunk, sizeof(chunk), 0);
                if (n <= 0)
                    return {"error no answer"};
                buffer_.append(chunk, static_cast<std::size_t>(n));
                continue;
            }
            std::string l = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            if (l == "ok")
                return lines;
            if (l.rfind("error", 0) == 0)
                return {l};
            lines.push_back(l);
        }
    }
    std::map<std::string, ControlLine> controls() {
        std::map<std::string, ControlLine> out;
        for (const std::string& l : ask("list")) {
            std::istringstream in(l);
            std::string name, shown, enabled, rect;
            ControlLine c;
            std::getline(in, name, '\t');
            std::getline(in, c.cls, '\t');
            std::getline(in, c.text, '\t');
            std::getline(in, shown, '\t');
            std::getline(in, enabled, '\t');
            std::getline(in, rect, '\t');
            std::getline(in, c.state, '\t');
            c.shown = shown == "1";
            c.enabled = enabled == "1";
            std::sscanf(rect.c_str(), "%d,%d,%d,%d", &c.left, &c.top, &c.right, &c.bottom);
            out[name] = c;
        }
        return out;
    }
    // Waits (at most 30 seconds) for the program to end; its exit code, or -1.
    int waitExit() {
        const auto end = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(100ms);
        }
        return -1;
    }
    void screenshot(const std::string& name) {
        if (const char* dir = env("ORVELLO_GUI_SHOTS"))
            EXPECT_TRUE(ask("screenshot Z:" + std::string(dir) + "/" + name + ".bmp").empty()) << name;
    }

private:
    bool connectOnce() {
        int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0) {
            socket_ = s;
            return true;
        }
        close(s);
        return false;
    }
    int port_;
    pid_t pid_ = -1;
    int socket_ = -1;
    bool exited_ = false;
    std::string buffer_;
};

class Gui : public testing::Test {
protected:
    void SetUp() override {
        if (!env("ORVELLO_GUI_EXE") || !env("WINE"))
            GTEST_SKIP() << "ORVELLO_GUI_EXE and WINE name the program and Wine";
        static int next = 0;
        program = std::make_unique<Program>(47200 + (getpid() % 500) + next++);
        ASSERT_TRUE(program->connected()) << "no automation channel within 60 s";
    }
    std::unique_ptr<Program> program;
};

TEST_F(Gui, TheMainPageShowsItsThreeOptionsAndButtonsInsideTheWindow) {
    auto controls = program->controls();
    program->screenshot("main-page");
    for (const char* name : {"chk_install_driver", "chk_update_driver", "chk_uninstall_driver",
                             "btn_form_main_next", "btn_form_main_cancel", "label_title"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(controls.count(name));
        const ControlLine& c = controls[name];
        EXPECT_TRUE(c.shown && c.enabled);
        EXPECT_FALSE(c.text.empty());
        EXPECT_GE(c.left, 0);
        EXPECT_LT(c.left, c.right);
        EXPECT_LT(c.top, c.bottom);
        EXPECT_LE(c.right, 560 * 2);
    }
    EXPECT_EQ(controls["chk_install_driver"].state, "1");
    EXPECT_EQ(program->ask("page"), std::vector<std::string>{"form_main"});
    EXPECT_TRUE(program->ask("key 27").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

TEST_F(Gui, CtrlF9ShowsAndHidesTheDebugLabel) {
    EXPECT_TRUE(program->ask("key 120 ctrl").empty());
    EXPECT_EQ(program->controls()["label_debug"].text, "DEBUG");
    program->screenshot("debug");
    EXPECT_TRUE(program->ask("key 120 ctrl").empty());
    EXPECT_EQ(program->controls()["label_debug"].text, "");
    EXPECT_TRUE(program->ask("click btn_form_main_cancel").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

TEST_F(Gui, TheAutomaticNextCountsWithoutInputAndAClickStopsIt) {
    // Counting runs for 1.5 s from the page's start; two readings apart show it moving.
    const int first = std::atoi(program->controls()["process_form_main"].state.c_str());
    std::this_thread::sleep_for(300ms);
    const int second = std::atoi(program->controls()["process_form_main"].state.c_str());
    if (first < 150)
        EXPECT_GT(second, first);
    EXPECT_TRUE(program->ask("click chk_update_driver").empty());
    auto controls = program->controls();
    EXPECT_EQ(controls["chk_update_driver"].state, "1");
    EXPECT_EQ(controls["chk_install_driver"].state, "0");
    EXPECT_EQ(controls["process_form_main"].state, "0");
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(program->controls()["process_form_main"].state, "0");
    program->screenshot("after-click");
    EXPECT_TRUE(program->ask("key 27").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

} // namespace
