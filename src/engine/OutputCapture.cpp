#include "engine/OutputCapture.h"

#include "app/msglog/MessageLog.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace winerr = ports::winerr;

OutputPipe::~OutputPipe() {
    StopOutputCapture(*this);
}

CThreadPipe::CThreadPipe(ports::Processes& processes, ports::SystemInfo& system,
                         const std::atomic<int>& debugMode, ports::PipeHandle readEnd)
    : processes_(processes), system_(system), debugMode_(debugMode), readEnd_(std::move(readEnd)) {}

void CThreadPipe::run() {
    std::vector<std::uint8_t> chunk;
    for (;;) {
        chunk.clear();
        if (processes_.readPipe(readEnd_, kChunkBytes, chunk) != winerr::Success || chunk.empty())
            break;
        if (debugMode_.load() == 0)
            continue;
        std::wstring text;
        const std::string_view bytes(reinterpret_cast<const char*>(chunk.data()), chunk.size());
        if (system_.ansiToWide(bytes, text) == winerr::Success)
            PostLogMessage(text, msglog::kBlack);
    }
    readEnd_.reset();
}

ports::Status StartOutputCapture(const app::AppContext& ctx, OutputPipe& pipe) {
    if (pipe.capturing())
        return winerr::Success;
    auto& processes = ctx.platform.processes();
    ports::PipeHandle readEnd;
    ports::PipeHandle writeEnd;
    if (const auto status = processes.createPipe(true, readEnd, writeEnd); status != winerr::Success)
        return status;
    pipe.processes = &processes;
    // Without the redirection the tool still writes into the pipe (it gets the write end as its own
    // standard handles), so a failure here is reported but does not stop the capture.
    const auto redirect = processes.redirectStdOutput(writeEnd);
    pipe.redirected = redirect == winerr::Success;
    pipe.writeEnd = std::move(writeEnd);
    try {
        pipe.reader = std::thread([reader = CThreadPipe(processes, ctx.platform.system(), ctx.debugMode,
                                                        std::move(readEnd))]() mutable { reader.run(); });
    } catch (const std::system_error&) {
        StopOutputCapture(pipe);
        return winerr::NotEnoughMemory;
    }
    return redirect;
}

void StopOutputCapture(OutputPipe& pipe) {
    pipe.writeEnd.reset();
    if (pipe.redirected && pipe.processes)
        (void)pipe.processes->restoreStdOutput();
    pipe.redirected = false;
    if (pipe.reader.joinable())
        pipe.reader.join();
}
