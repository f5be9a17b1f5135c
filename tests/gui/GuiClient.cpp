#include "GuiClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace gui {

using namespace std::chrono_literals;

const char* env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

Program::Program(int port) : port_(port) {
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

Program::~Program() {
    if (socket_ >= 0)
        close(socket_);
    if (pid_ > 0 && !exited_) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::vector<std::string> Program::ask(const std::string& request) {
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

Controls Program::controls() {
    Controls out;
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

Controls Program::waitForControl(const std::string& name) {
    const auto end = std::chrono::steady_clock::now() + 15s;
    Controls now = controls();
    while (!now.count(name) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(100ms);
        now = controls();
    }
    return now;
}

int Program::waitExit() {
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

void Program::screenshot(const std::string& name) {
    if (const char* dir = env("ORVELLO_GUI_SHOTS"))
        EXPECT_TRUE(ask("screenshot Z:" + std::string(dir) + "/" + name + ".bmp").empty()) << name;
}

bool Program::connectOnce() {
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

void Gui::SetUp() {
    if (!env("ORVELLO_GUI_EXE") || !env("WINE"))
        GTEST_SKIP() << "ORVELLO_GUI_EXE and WINE name the program and Wine";
    static int next = 0;
    program = std::make_unique<Program>(47200 + (getpid() % 500) + next++);
    ASSERT_TRUE(program->connected()) << "no automation channel within 60 s";
}

} // namespace gui
