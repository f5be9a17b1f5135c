#pragma once
// Capture of the process's standard output. While the main window lives, standard output is an
// anonymous pipe: the device-console tool inherits its write end as standard output and error, and
// a reader thread (CThreadPipe) copies whatever arrives into the message log when debug mode is on,
// so a tool never blocks on a full pipe.
#include "app/AppContext.h"
#include "platform/ports/Processes.h"
#include "platform/ports/SystemInfo.h"

#include <atomic>
#include <cstddef>
#include <thread>

// One per process, owned by CApp (the main window starts the capture); it outlives nothing it
// uses: its destruction stops the capture and joins the reader.
struct OutputPipe {
    OutputPipe() = default;
    OutputPipe(const OutputPipe&) = delete;
    OutputPipe& operator=(const OutputPipe&) = delete;
    // A capture still running is stopped.
    ~OutputPipe();

    // Inheritable; installed as the process's standard output.
    ports::PipeHandle writeEnd;
    // The running CThreadPipe. It owns the read end and closes it when the pipe breaks.
    std::thread reader;
    // Standard output was redirected and must be put back.
    bool redirected = false;
    // The port the pipe belongs to.
    ports::Processes* processes = nullptr;

    bool capturing() const { return static_cast<bool>(writeEnd) || reader.joinable(); }
};

// The reader thread's work: reads chunks of at most kChunkBytes until the pipe breaks or a read
// fails; in debug mode each chunk is converted from the ANSI code page and logged in black as it
// arrives (so a line may be split over two messages), otherwise it is dropped.
class CThreadPipe {
public:
    static constexpr std::size_t kChunkBytes = 4095;

    // `debugMode` is read at each chunk; it must outlive the reader (the context's flag does).
    CThreadPipe(ports::Processes& processes, ports::SystemInfo& system, const std::atomic<int>& debugMode,
                ports::PipeHandle readEnd);
    void run();

private:
    ports::Processes& processes_;
    ports::SystemInfo& system_;
    const std::atomic<int>& debugMode_;
    ports::PipeHandle readEnd_;
};

// Creates the pipe (both ends inheritable, default size), makes its write end the process's
// standard output and starts the reader. Does nothing while `pipe` is capturing already. The error
// of the failing step otherwise; a pipe that could not be made leaves the process as it was.
[[nodiscard]] ports::Status StartOutputCapture(const app::AppContext& ctx, OutputPipe& pipe);

// Closes the write end (the reader then drains the pipe, sees it break and ends), puts the former
// standard output back and waits for the reader without a time-out. Children that inherited the
// write end must have ended by then, as the device-console tool has when RunDeviceTool returns.
void StopOutputCapture(OutputPipe& pipe);
