#include "platform/WorkerProcess.h"

#include <cctype>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

extern char** environ;
#endif

namespace {

// Whether an environment entry ("NAME=value") is one of the withheld variables.
bool Withheld(const char* entry, const std::vector<std::string>& withheld) {
    for (const std::string& prefix : withheld) {
        std::size_t at = 0;
        while (at < prefix.size() && entry[at] != '\0' &&
               std::toupper(static_cast<unsigned char>(entry[at])) == std::toupper(static_cast<unsigned char>(prefix[at])))
            ++at;
        if (at == prefix.size()) return true;
    }
    return false;
}

}  // namespace

#ifdef _WIN32

std::string OwnExecutablePath() {
    char path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return length == 0 || length >= sizeof path ? std::string() : std::string(path, length);
}

namespace {

// A worker's standard error goes nowhere: what it has to say is in its answer.
HANDLE NullDevice() {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

bool WorkerProcess::Start(const std::string& mode, const std::vector<std::string>& withheld) {
    // The environment block without the withheld variables: entries, each ended by a NUL, and one more NUL.
    std::string environment;
    char* block = GetEnvironmentStringsA();
    for (const char* entry = block; entry && *entry; entry += std::strlen(entry) + 1)
        if (!Withheld(entry, withheld)) environment.append(entry, std::strlen(entry) + 1);
    if (block) FreeEnvironmentStringsA(block);
    environment += '\0';
    if (environment.size() == 1) environment += '\0';

    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE taskRead = nullptr, taskWrite = nullptr, answerRead = nullptr, answerWrite = nullptr;
    if (!CreatePipe(&taskRead, &taskWrite, &inherited, 64 * 1024)) return false;
    if (!CreatePipe(&answerRead, &answerWrite, &inherited, 0)) {
        CloseHandle(taskRead);
        CloseHandle(taskWrite);
        return false;
    }
    // The worker inherits only its own ends.
    SetHandleInformation(taskWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(answerRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE nowhere = NullDevice();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = taskRead;
    startup.hStdOutput = answerWrite;
    startup.hStdError = nowhere;
    PROCESS_INFORMATION process{};
    const std::string program = OwnExecutablePath();
    std::string commandLine = "\"" + program + "\" " + mode;
    // No console: a worker talks through its pipes only. A console of its own (even a hidden one) is a
    // console host process that inherits the run's standard error; one that outlives a worker killed while
    // starting keeps the host's pipe open, and the host waits for an end of output that never comes.
    const BOOL created = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                                        environment.data(), nullptr, &startup, &process);
    CloseHandle(taskRead);
    CloseHandle(answerWrite);
    if (nowhere != INVALID_HANDLE_VALUE) CloseHandle(nowhere);
    if (!created) {
        CloseHandle(taskWrite);
        CloseHandle(answerRead);
        return false;
    }
    // The workers end with the run, however it ends: a job that kills them when its last handle, the run's, closes.
    static HANDLE workersJob = [] {
        HANDLE job = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (job && !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
            CloseHandle(job);
            job = nullptr;
        }
        return job;
    }();
    if (workersJob) AssignProcessToJobObject(workersJob, process.hProcess);
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    id_ = process.dwProcessId;
    output_ = answerRead;
    input_ = taskWrite;
    started_ = true;
    return true;
}

bool WorkerProcess::Send(const std::string& bytes) {
    // The pipe holds a task whole, so this write does not wait for the worker.
    DWORD written = 0;
    return input_ && WriteFile(static_cast<HANDLE>(input_), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                               nullptr) &&
           written == bytes.size();
}

void WorkerProcess::CloseInput() {
    if (input_) CloseHandle(static_cast<HANDLE>(input_));
    input_ = nullptr;
}

bool WorkerProcess::ReadFor(unsigned milliseconds) {
    if (ended_ || !started_) return true;
    const ULONGLONG until = GetTickCount64() + milliseconds;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) {
            ended_ = true;  // the worker closed its end
            return true;
        }
        if (available > 0) {
            std::string piece(available, '\0');
            DWORD read = 0;
            if (!ReadFile(output_, piece.data(), available, &read, nullptr)) {
                ended_ = true;
                return true;
            }
            answer_.append(piece, 0, read);
            continue;
        }
        if (GetTickCount64() >= until) return false;
        Sleep(2);
    }
}

void WorkerProcess::WaitForAny(const std::vector<WorkerProcess*>& workers, unsigned milliseconds) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    for (;;) {
        for (WorkerProcess* worker : workers) {
            if (worker->ended_ || !worker->started_) return;
            DWORD available = 0;
            if (!PeekNamedPipe(worker->output_, nullptr, 0, nullptr, &available, nullptr) || available > 0) return;
        }
        if (GetTickCount64() >= until) return;
        Sleep(1);
    }
}

void WorkerProcess::Kill() {
    if (!Running()) return;
    TerminateProcess(static_cast<HANDLE>(process_), 9);
    Wait();
}

int WorkerProcess::Wait() {
    if (!started_) return -1;
    if (!waited_) {
        WaitForSingleObject(static_cast<HANDLE>(process_), INFINITE);
        waited_ = true;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(static_cast<HANDLE>(process_), &code)) return -1;
    return static_cast<int>(code);
}

long WorkerProcess::ProcessId() const { return static_cast<long>(id_); }

void EndWithStartingProcess() {}

WorkerProcess::~WorkerProcess() {
    Kill();
    CloseInput();
    if (output_) CloseHandle(static_cast<HANDLE>(output_));
    if (process_) CloseHandle(static_cast<HANDLE>(process_));
}

#else

std::string OwnExecutablePath() {
    std::vector<char> path(PATH_MAX + 1);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length <= 0 ? std::string() : std::string(path.data(), static_cast<std::size_t>(length));
}

bool WorkerProcess::Start(const std::string& mode, const std::vector<std::string>& withheld) {
    std::vector<char*> environment;
    for (char** entry = environ; entry && *entry; ++entry)
        if (!Withheld(*entry, withheld)) environment.push_back(*entry);
    environment.push_back(nullptr);
    int taskPipe[2], answerPipe[2];
    if (pipe2(taskPipe, O_CLOEXEC) != 0) return false;
    if (pipe2(answerPipe, O_CLOEXEC) != 0) {
        close(taskPipe[0]);
        close(taskPipe[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, taskPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, answerPipe[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string program = OwnExecutablePath();
    char* const arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>(mode.c_str()), nullptr};
    const int spawned = posix_spawn(&pid_, program.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(taskPipe[0]);
    close(answerPipe[1]);
    if (spawned != 0) {
        close(taskPipe[1]);
        close(answerPipe[0]);
        pid_ = -1;
        return false;
    }
    started_ = true;
    output_ = answerPipe[0];
    input_ = taskPipe[1];
    return true;
}

bool WorkerProcess::Send(const std::string& bytes) {
    // A worker that ended makes the write fail (SIGPIPE is ignored).
    for (std::size_t done = 0; input_ >= 0 && done < bytes.size();) {
        const ssize_t count = write(input_, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        done += static_cast<std::size_t>(count);
    }
    return input_ >= 0;
}

void WorkerProcess::CloseInput() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

bool WorkerProcess::ReadFor(unsigned milliseconds) {
    if (ended_ || !started_) return true;
    pollfd ready{output_, POLLIN, 0};
    int waitFor = static_cast<int>(milliseconds);
    for (;;) {
        const int found = poll(&ready, 1, waitFor);
        if (found < 0 && errno == EINTR) continue;
        if (found <= 0) return false;
        char piece[4096];
        const ssize_t count = read(output_, piece, sizeof piece);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            ended_ = true;
            return true;
        }
        answer_.append(piece, static_cast<std::size_t>(count));
        waitFor = 0;  // take what is there, then go back to the caller
    }
}

void WorkerProcess::WaitForAny(const std::vector<WorkerProcess*>& workers, unsigned milliseconds) {
    std::vector<pollfd> ready;
    for (WorkerProcess* worker : workers) {
        if (worker->ended_ || !worker->started_) return;
        ready.push_back(pollfd{worker->output_, POLLIN, 0});
    }
    if (ready.empty()) return;
    while (poll(ready.data(), ready.size(), static_cast<int>(milliseconds)) < 0 && errno == EINTR) {
    }
}

void WorkerProcess::Kill() {
    if (!Running()) return;
    kill(pid_, SIGKILL);
    Wait();
}

int WorkerProcess::Wait() {
    if (!started_) return -1;
    int status = 0;
    if (!waited_) {
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        waited_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return exitCode_;
}

long WorkerProcess::ProcessId() const { return pid_; }

void EndWithStartingProcess() {
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The run may have ended before the line above: then this worker's parent is another.
    if (getppid() == 1) _exit(2);
#endif
}

WorkerProcess::~WorkerProcess() {
    Kill();
    CloseInput();
    if (output_ >= 0) close(output_);
}

#endif
