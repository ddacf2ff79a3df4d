#include "run/ParallelListing.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "platform/Watchdog.h"
#include "platform/WorkerProcess.h"

namespace {


// The environment's credentials stay with the run: a worker gets its system's
// logon data through its task only.
std::vector<std::string> WithheldVariables() {
    return {"SPACEWARDEN_USER",     "SPACEWARDEN_PASSWORD", "prtg_windowsuser",
            "prtg_windowspassword", "prtg_linuxuser",       "prtg_linuxpassword"};
}

constexpr std::size_t NoSystem = static_cast<std::size_t>(-1);

WorkerAnswer FailedAnswer(const std::string& failure) {
    WorkerAnswer answer;
    answer.Outcome = WorkerOutcome::Failed;
    answer.Failure = failure;
    return answer;
}

std::string NoAnswerText(const ListedSystem& system) {
    return "Error 1021: Check of " + system.Entries.Destination + " ended without an answer !";
}

// A worker of the pool and the system it checks now (NoSystem: it waits for one), since when.
struct Slot {
    std::unique_ptr<WorkerProcess> Worker;
    std::size_t System = NoSystem;
    unsigned long long Since = 0;
};

// Two workers start at once: while one checks a system, the other checks the
// next and the run takes the first one's answer. A further worker starts only
// when every worker there is has been busy this long: systems that answer at
// once are taken by the workers already there (a start costs more than such a
// system), slow ones get all n workers within a few milliseconds.
constexpr std::size_t WorkersAtOnce = 2;
constexpr unsigned long long BusyBeforeAnotherWorker = 2;

}  // namespace

void CheckSideBySide(const std::vector<ListedSystem>& systems, const WorkerTask& task, unsigned parallel,
                     unsigned long long shareMilliseconds, const ListedSystemDone& done) {
    const std::size_t count = systems.size();
    std::vector<std::unique_ptr<WorkerAnswer>> answers(count);
    // No more workers than systems to check.
    std::size_t toCheck = 0;
    for (const ListedSystem& system : systems) toCheck += system.NeedsCheck() ? 1 : 0;
    std::vector<Slot> slots(std::max<std::size_t>(1, std::min<std::size_t>(parallel, toCheck)));
    const std::vector<std::string> withheld = WithheldVariables();
    // A run that ends the process ends its workers first.
    const std::function<void()> endWorkers = [&slots] {
        for (Slot& slot : slots)
            if (slot.Worker) slot.Worker->Kill();
    };
    std::size_t nextToStart = 0, nextToHand = 0;
    bool shareOver = false;

    // Whether a further worker may start: NoWait when it may now, 0 while a worker is free, else the
    // milliseconds until every worker there is has been busy long enough.
    constexpr unsigned long long NoWait = ~0ULL;
    const auto anotherWorkerIn = [&]() -> unsigned long long {
        unsigned long long youngest = NoWait;
        std::size_t running = 0;
        const unsigned long long now = MillisecondsSinceProcessStart();
        for (const Slot& slot : slots) {
            if (!slot.Worker) continue;
            ++running;
            if (slot.System == NoSystem) return 0;
            youngest = std::min(youngest, now - slot.Since);
        }
        return running < WorkersAtOnce || youngest >= BusyBeforeAnotherWorker ? NoWait
                                                                             : BusyBeforeAnotherWorker - youngest;
    };
    unsigned long long rampWait = 0;  // how long until a further worker may start, when one waits for that

    const auto destinationFileInUse = [&] {
        for (const Slot& slot : slots)
            if (slot.System != NoSystem && systems[slot.System].UsesDestinationFile) return true;
        return false;
    };
    // A worker that can take no more: its system (if any) failed, its slot free for a new one.
    const auto retire = [&](Slot& slot, const std::string& failure) {
        if (slot.System != NoSystem && !answers[slot.System])
            answers[slot.System] = std::make_unique<WorkerAnswer>(FailedAnswer(failure));
        slot.Worker->Kill();
        slot.Worker.reset();
        slot.System = NoSystem;
    };

    while (nextToHand < count) {
        // The next systems in listing order go to free workers, started as needed; a logon by destination
        // file waits for the one before it (one SapRfc.ini).
        while (!shareOver && nextToStart < count && !systems[nextToStart].NeedsCheck()) ++nextToStart;
        for (Slot& slot : slots) {
            if (shareOver || nextToStart >= count || slot.System != NoSystem) continue;
            const ListedSystem& system = systems[nextToStart];
            if (system.UsesDestinationFile && destinationFileInUse()) break;
            // A worker that ended after its last answer is replaced.
            if (slot.Worker && slot.Worker->ReadFor(0)) retire(slot, "");
            if (!slot.Worker) {
                const unsigned long long wait = anotherWorkerIn();
                if (wait != NoWait) {
                    rampWait = wait;
                    continue;
                }
                slot.Worker = std::make_unique<WorkerProcess>();
                if (!slot.Worker->Start(WorkerModeArgument, withheld)) {
                    answers[nextToStart] = std::make_unique<WorkerAnswer>(
                        FailedAnswer("Error 1021: Check of " + system.Entries.Destination + " could not be started !"));
                    slot.Worker.reset();
                    ++nextToStart;
                    while (nextToStart < count && !systems[nextToStart].NeedsCheck()) ++nextToStart;
                    continue;
                }
            }
            WorkerTask own = task;
            own.Entries = system.Entries;
            own.CarriedSystemNumber = system.CarriedSystemNumber;
            slot.System = nextToStart;
            slot.Since = MillisecondsSinceProcessStart();
            if (!slot.Worker->Send(Framed(EncodeTask(own)))) retire(slot, NoAnswerText(system));
            ++nextToStart;
            while (nextToStart < count && !systems[nextToStart].NeedsCheck()) ++nextToStart;
        }
        // A worker with nothing more to do ends: it holds no connection, only a process.
        if (nextToStart >= count || shareOver)
            for (Slot& slot : slots)
                if (slot.Worker && slot.System == NoSystem) retire(slot, "");

        // Hand on every system whose turn it is and that is done.
        while (nextToHand < count && (!systems[nextToHand].NeedsCheck() || answers[nextToHand])) {
            done(systems[nextToHand], answers[nextToHand].get(), endWorkers);
            ++nextToHand;
        }
        if (nextToHand == count) break;

        // The share of the deadline is over: what has not answered fails, started or not.
        if (!shareOver && shareMilliseconds > 0 && MillisecondsSinceProcessStart() >= shareMilliseconds) {
            shareOver = true;
            const std::string after = " after " + std::to_string(shareMilliseconds / 1000) + " s !";
            for (Slot& slot : slots)
                if (slot.Worker && slot.System != NoSystem)
                    retire(slot, "Error 1019: RFC-Timeout for " + systems[slot.System].Entries.Destination + after);
            for (std::size_t at = nextToHand; at < count; ++at)
                if (systems[at].NeedsCheck() && !answers[at])
                    answers[at] = std::make_unique<WorkerAnswer>(
                        FailedAnswer("Error 1019: RFC-Timeout for " + systems[at].Entries.Destination + after));
            continue;
        }

        // Take what the busy workers have said; wait a little when none has said anything.
        bool progressed = false;
        for (Slot& slot : slots) {
            if (!slot.Worker || slot.System == NoSystem) continue;
            const bool closed = slot.Worker->ReadFor(0);
            std::string message;
            bool broken = false;
            if (TakeFramed(slot.Worker->Received(), message, broken)) {
                auto answer = std::make_unique<WorkerAnswer>();
                if (!DecodeAnswer(message, *answer)) *answer = FailedAnswer(NoAnswerText(systems[slot.System]));
                answers[slot.System] = std::move(answer);
                slot.System = NoSystem;
                // A worker that ended after its answer (it ended the run) takes no further system.
                if (closed) retire(slot, "");
                progressed = true;
            } else if (broken || closed) {
                retire(slot, NoAnswerText(systems[slot.System]));
                progressed = true;
            }
        }
        // None has said anything: wait for the first that does, whichever it is.
        if (!progressed) {
            std::vector<WorkerProcess*> busy;
            for (Slot& slot : slots)
                if (slot.Worker && slot.System != NoSystem) busy.push_back(slot.Worker.get());
            WorkerProcess::WaitForAny(busy, rampWait > 0 ? static_cast<unsigned>(std::min(rampWait, 5ULL)) : 5);
        }
        rampWait = 0;
    }
    for (Slot& slot : slots)
        if (slot.Worker) retire(slot, "");
}
