// A worker: this same program started again as a process of its own, which
// gets its tasks on its standard input and answers on its standard output
// (CreateProcess on Windows, posix_spawn elsewhere). Nothing of a task is on
// its command line or in its environment: a process listing shows neither.
#pragma once

#include <string>
#include <vector>

class WorkerProcess {
public:
    WorkerProcess() = default;
    ~WorkerProcess();  // kills a worker still running
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    // Starts this program with the one argument `mode`, standard error on the
    // null device, and this process's environment but the variables whose
    // names begin with one of `withheld` (any letter case). False when it
    // could not be started.
    bool Start(const std::string& mode, const std::vector<std::string>& withheld);

    // Writes to the worker's standard input; false when it cannot take it
    // (it ended). CloseInput tells it that nothing more comes.
    bool Send(const std::string& bytes);
    void CloseInput();

    // Reads what the worker has written so far, waiting at most `milliseconds`
    // for more. True once the worker has closed its standard output (it ended).
    bool ReadFor(unsigned milliseconds);
    // What it has written and the caller has not taken yet.
    std::string& Received() { return answer_; }

    // Waits until one of the workers has written something or has ended, at
    // most `milliseconds`; the caller then reads each with ReadFor(0).
    static void WaitForAny(const std::vector<WorkerProcess*>& workers, unsigned milliseconds);

    // Ends the worker at once and waits for it.
    void Kill();
    // Waits for a worker that has ended; its exit code, or -1.
    int Wait();

    bool Running() const { return started_ && !waited_; }
    long ProcessId() const;

private:
    std::string answer_;
    bool started_ = false;
    bool waited_ = false;
    bool ended_ = false;
#ifdef _WIN32
    void* process_ = nullptr;
    void* output_ = nullptr;
    void* input_ = nullptr;
    unsigned long id_ = 0;
#else
    int pid_ = -1;
    int output_ = -1;
    int input_ = -1;
    int exitCode_ = -1;
#endif
};

// The path of this program's own executable, for starting it as a worker.
std::string OwnExecutablePath();

// Called first in a worker: it ends when the run that started it ends, even
// when that run was ended at once (its deadline): no worker waits on in a
// logon nobody reads. Linux: the parent's death signal; Windows: the run puts
// each worker into a job that ends with it (WorkerProcess::Start).
void EndWithStartingProcess();
