#include "run/ParallelListing.h"

#include <memory>

#include "platform/Watchdog.h"
#include "platform/WorkerProcess.h"

namespace {

// The workers of the run, so that a run that ends the process ends them first.
std::vector<std::unique_ptr<WorkerProcess>>* Workers = nullptr;

// The environment's credentials stay with the run: a worker gets its system's
// logon data through its task only.
const std::vector<std::string> WithheldVariables = {"SPACEWARDEN_USER", "SPACEWARDEN_PASSWORD", "prtg_windowsuser",
                                                    "prtg_windowspassword", "prtg_linuxuser", "prtg_linuxpassword"};

WorkerAnswer FailedAnswer(const std::string& failure) {
    WorkerAnswer answer;
    answer.Outcome = WorkerOutcome::Failed;
    answer.Failure = failure;
    return answer;
}

WorkerAnswer AnswerOf(WorkerProcess& worker, const ListedSystem& system) {
    worker.Wait();
    WorkerAnswer answer;
    if (DecodeAnswer(worker.Answer(), answer)) return answer;
    return FailedAnswer("Error 1021: Check of " + system.Entries.Destination + " ended without an answer !");
}

}  // namespace

void CheckSideBySide(const std::vector<ListedSystem>& systems, const WorkerTask& task, unsigned parallel,
                     unsigned long long shareMilliseconds, const ListedSystemDone& done) {
    const std::size_t count = systems.size();
    std::vector<std::unique_ptr<WorkerProcess>> workers(count);
    std::vector<std::unique_ptr<WorkerAnswer>> answers(count);
    Workers = &workers;
    std::size_t nextToStart = 0, nextToHand = 0;
    unsigned running = 0;
    bool destinationFileInUse = false;
    bool shareOver = false;

    while (nextToHand < count) {
        // Start workers in listing order; a logon by destination file waits for the one before it (one SapRfc.ini).
        while (!shareOver && running < parallel && nextToStart < count) {
            const ListedSystem& system = systems[nextToStart];
            if (!system.NeedsCheck()) {
                ++nextToStart;
                continue;
            }
            if (system.UsesDestinationFile && destinationFileInUse) break;
            WorkerTask own = task;
            own.Entries = system.Entries;
            own.CarriedSystemNumber = system.CarriedSystemNumber;
            workers[nextToStart] = std::make_unique<WorkerProcess>();
            if (workers[nextToStart]->Start(WorkerModeArgument, EncodeTask(own), WithheldVariables)) {
                ++running;
                destinationFileInUse = destinationFileInUse || system.UsesDestinationFile;
            } else {
                answers[nextToStart] = std::make_unique<WorkerAnswer>(
                    FailedAnswer("Error 1021: Check of " + system.Entries.Destination + " could not be started !"));
                workers[nextToStart].reset();
            }
            ++nextToStart;
        }

        // Hand on every system whose turn it is and that is done.
        while (nextToHand < count && (!systems[nextToHand].NeedsCheck() || answers[nextToHand])) {
            done(systems[nextToHand], answers[nextToHand].get());
            ++nextToHand;
        }
        if (nextToHand == count) break;

        // The share of the deadline is over: what has not answered fails, started or not.
        if (!shareOver && shareMilliseconds > 0 && MillisecondsSinceProcessStart() >= shareMilliseconds) {
            shareOver = true;
            const std::string after = " after " + std::to_string(shareMilliseconds / 1000) + " s !";
            for (std::size_t at = nextToHand; at < count; ++at) {
                if (!systems[at].NeedsCheck() || answers[at]) continue;
                if (workers[at]) workers[at]->Kill();
                answers[at] = std::make_unique<WorkerAnswer>(
                    FailedAnswer("Error 1019: RFC-Timeout for " + systems[at].Entries.Destination + after));
            }
            running = 0;
            continue;
        }

        // Wait a little for any worker to say more.
        bool progressed = false;
        for (std::size_t at = nextToHand; at < nextToStart; ++at) {
            WorkerProcess* worker = workers[at].get();
            if (!worker || answers[at] || !worker->ReadFor(0)) continue;
            answers[at] = std::make_unique<WorkerAnswer>(AnswerOf(*worker, systems[at]));
            --running;
            if (systems[at].UsesDestinationFile) destinationFileInUse = false;
            progressed = true;
        }
        if (!progressed) {
            for (std::size_t at = nextToHand; at < nextToStart; ++at) {
                if (workers[at] && !answers[at]) {
                    workers[at]->ReadFor(5);
                    break;
                }
            }
        }
    }
    Workers = nullptr;
}

void EndAllWorkers() {
    if (!Workers) return;
    for (auto& worker : *Workers)
        if (worker) worker->Kill();
}
