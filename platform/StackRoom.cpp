#include "platform/StackRoom.h"

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>

namespace {

// True when the main thread's stack may grow to `needed`, raising the soft
// limit if the hard limit allows it.
bool MainStackHolds(size_t needed) {
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) != 0) return true;   // nothing better to go on
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed) return true;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < needed) return false;
    limit.rlim_cur = needed;
    return setrlimit(RLIMIT_STACK, &limit) == 0;
}

struct ThreadRun {
    const std::function<int()>* body;
    sigset_t mask;
    int status;
};

void* RunThread(void* argument) {
    auto* run = static_cast<ThreadRun*>(argument);
    pthread_sigmask(SIG_SETMASK, &run->mask, nullptr);
    run->status = (*run->body)();
    return nullptr;
}

}  // namespace

int RunWithStackRoom(size_t needed, const std::function<int()>& body) {
    if (MainStackHolds(needed)) return body();
    ThreadRun run{&body, {}, 0};
    // The thread starts with everything blocked and unblocks what the main
    // thread had; the main thread keeps them blocked, so that Ctrl-C, the
    // termination signals and the rest interrupt the thread that works.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &run.mask);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_t thread{};
    const bool started = pthread_attr_setstacksize(&attributes, needed) == 0 &&
                         pthread_create(&thread, &attributes, RunThread, &run) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) {
        // No thread to be had: the run goes on within the limit it has.
        pthread_sigmask(SIG_SETMASK, &run.mask, nullptr);
        return body();
    }
    pthread_join(thread, nullptr);
    pthread_sigmask(SIG_SETMASK, &run.mask, nullptr);
    return run.status;
}
