// orvello-netprinter: a simulated network label printer (or several) that answers the wizard's
// network search. See README.md.
#include "NetworkPrinterResponder.h"
#include "base/Utf.h"
#include "platform/host/HostNetwork.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kUsage[] =
    "usage: orvello-netprinter [options]\n"
    "  --printer SPEC   a printer: name=..,model=..,firmware=..,dhcp=ON|OFF,ip=..,mask=..,gateway=..,mac=..\n"
    "                   [,malformed=no-marker|nul|oversized|empty|garbage][,copies=N]; repeat for\n"
    "                   several; copies=N stands for N printers (numbered names and MACs)\n"
    "  --file FILE      printers, one SPEC per line ('#' starts a comment)\n"
    "  --bind ADDRESS   the address to listen on (default 0.0.0.0)\n"
    "  --port N         the port to listen on (default 22368)\n"
    "  --seconds N      stop after N seconds (default 0: run until stopped)\n"
    "  --any-sender     also answer askers outside 127.0.0.0/8 (only inside a private network\n"
    "                   namespace or a test network)\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "orvello-netprinter: %s\n%s", message.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<netprinter::SimulatedPrinter> given;
    std::string bind = "0.0.0.0";
    unsigned port = 22368;
    unsigned seconds = 0;
    bool anySender = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        std::string error;
        if (arg == "--printer") {
            const char* v = value();
            if (!v)
                return fail("--printer needs a value");
            auto p = netprinter::parsePrinter(v, error);
            if (!p)
                return fail(error);
            given.push_back(*p);
        } else if (arg == "--file") {
            const char* v = value();
            std::ifstream in(v ? v : "");
            if (!v || !in)
                return fail("cannot read the printer file");
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (line.empty() || line[0] == '#')
                    continue;
                auto p = netprinter::parsePrinter(line, error);
                if (!p)
                    return fail(error);
                given.push_back(*p);
            }
        } else if (arg == "--port" || arg == "--seconds") {
            const char* v = value();
            char* end = nullptr;
            const unsigned long n = v ? std::strtoul(v, &end, 10) : 0;
            if (!v || *end != '\0')
                return fail(arg + " needs a number");
            (arg == "--port" ? port : seconds) = static_cast<unsigned>(n);
        } else if (arg == "--bind") {
            const char* v = value();
            if (!v)
                return fail("--bind needs an address");
            bind = v;
        } else if (arg == "--any-sender") {
            anySender = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            return fail("unknown option " + arg);
        }
    }
    if (given.empty())
        given.emplace_back();
    if (port == 0 || port > 65535)
        return fail("the port must be from 1 to 65535");
    std::vector<netprinter::SimulatedPrinter> printers;
    for (const auto& p : given) {
        if (p.copies == 1) {
            printers.push_back(p);
        } else {
            for (auto& c : netprinter::copiesOf(p, p.copies))
                printers.push_back(std::move(c));
        }
    }

    host::HostNetwork network;
    netprinter::NetworkPrinterResponder responder(network, printers, anySender);
    if (!responder.Open(text::fromUtf8(bind), static_cast<std::uint16_t>(port)))
        return fail("cannot listen on " + bind + ":" + std::to_string(port));
    std::printf("orvello-netprinter: %zu printer(s) listening on %s:%u\n", printers.size(), bind.c_str(),
                port);
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    while (seconds == 0 || std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds))
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    responder.Close();
    std::printf("orvello-netprinter: answered %llu request(s)\n",
                static_cast<unsigned long long>(responder.requestsAnswered()));
    return 0;
}
