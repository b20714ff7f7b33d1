// orvane-keeper: the room keeper of the Orvane chat (see server/keeper/README.md).
#include "KeeperOptions.h"
#include "KeeperService.h"

#include <csignal>
#include <cstdio>

#include <atomic>
#include <exception>

namespace {

std::atomic<bool> g_stop{false};

void OnStopSignal(int) { g_stop = true; }

}  // namespace

int main(int argc, char** argv) {
    keeper::KeeperOptions options;
    std::string error;
    if (!keeper::KeeperOptions::Parse(argc, argv, options, error)) {
        std::fprintf(stderr, "orvane-keeper: %s\n", error.c_str());
        return 2;
    }
    struct sigaction stopAction {};
    stopAction.sa_handler = OnStopSignal;
    sigaction(SIGINT, &stopAction, nullptr);
    sigaction(SIGTERM, &stopAction, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        keeper::KeeperService service(options);
        return service.Run(g_stop);
    } catch (const std::exception& failure) {
        // run-ngircd.sh starts the keeper again.
        std::fprintf(stderr, "orvane-keeper: stopped by an error: %s\n", failure.what());
        return 1;
    }
}
