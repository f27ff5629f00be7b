// A stand-in for the CUPS client library that fails on cue, for the print
// tests: loaded in place of libcups.so.2 (recibo::setPrintLibrary), it passes
// every call on to the real library, except that at the step named in
// RECIBO_CUPS_FAULT ("<function>:<what>") it first
//   stop  pauses the scheduler (SIGSTOP to the process RECIBO_CUPS_SCHEDULER),
//   kill  ends the scheduler (SIGKILL),
//   cut   cuts the connection the call is made on, as a lost network does,
//   narrow  pauses the scheduler, and lets the connection hold only a few
//         kilobytes on their way (a page then cannot go through whole),
//   stall<ms>  pauses the scheduler for that many milliseconds, as a slow
//         one that answers late but in time.
// The step "any" stands for every one of them. Functions it does not name
// come from the real library, which it links.

#include <cups/cups.h>

#include <dlfcn.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// The real library's own function.
template <typename Function> Function real(const char *name)
{
    static void *const library = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
    return reinterpret_cast<Function>(dlsym(library, name));
}

// Calls the library makes among its own functions pass straight on.
thread_local bool insideLibrary = false;

void onCue(const char *function, http_t *http)
{
    if (insideLibrary)
        return;
    const char *cue = std::getenv("RECIBO_CUPS_FAULT");
    if (!cue)
        return;
    const std::string wanted(cue);
    const std::string step = wanted.substr(0, wanted.find(':'));
    const std::string what = wanted.substr(wanted.find(':') + 1);
    if (step != function && step != "any")
        return;
    const char *scheduler = std::getenv("RECIBO_CUPS_SCHEDULER");
    const pid_t pid = scheduler ? pid_t(std::atol(scheduler)) : 0;
    if (what == "stop" && pid > 0)
        kill(pid, SIGSTOP);
    else if (what == "kill" && pid > 0)
        kill(pid, SIGKILL);
    else if (what == "narrow" && pid > 0 && http) {
        const int small = 4096;
        setsockopt(httpGetFd(http), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
        kill(pid, SIGSTOP);
    } else if (what == "cut" && http)
        shutdown(httpGetFd(http), SHUT_RDWR);
    else if (what.rfind("stall", 0) == 0 && pid > 0 && kill(pid, SIGSTOP) == 0)
        std::thread([pid, pause = std::chrono::milliseconds(std::atol(what.c_str() + 5))] {
            std::this_thread::sleep_for(pause);
            kill(pid, SIGCONT);
        }).detach();
}

template <typename Function, typename... Args> auto pass(const char *name, http_t *http, Args... args)
{
    onCue(name, http);
    insideLibrary = true;
    auto result = real<Function>(name)(http, args...);
    insideLibrary = false;
    return result;
}

} // namespace

extern "C" {

cups_dest_t *cupsGetNamedDest(http_t *http, const char *name, const char *instance)
{
    return pass<decltype(&cupsGetNamedDest)>("cupsGetNamedDest", http, name, instance);
}

ipp_t *cupsDoRequest(http_t *http, ipp_t *request, const char *resource)
{
    return pass<decltype(&cupsDoRequest)>("cupsDoRequest", http, request, resource);
}

http_status_t cupsStartDocument(http_t *http, const char *name, int job, const char *docname, const char *format,
                                int last)
{
    return pass<decltype(&cupsStartDocument)>("cupsStartDocument", http, name, job, docname, format, last);
}

http_status_t cupsWriteRequestData(http_t *http, const char *buffer, size_t length)
{
    return pass<decltype(&cupsWriteRequestData)>("cupsWriteRequestData", http, buffer, length);
}

ipp_t *cupsGetResponse(http_t *http, const char *resource)
{
    return pass<decltype(&cupsGetResponse)>("cupsGetResponse", http, resource);
}
}
