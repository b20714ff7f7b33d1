// orvane-server: the network's server.
#include <signal.h>

#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "OrvConfig.h"
#include "OrvDemo.h"
#include "OrvServer.h"

int main(int argc, char** argv) {
    orv::OrvConfig config;
    try {
        orv::applyCommandLine(config, std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-server: %s\n%s", e.what(), orv::configUsage());
        return 2;
    }
    if (config.help) {
        std::fputs(orv::configUsage(), stdout);
        return 0;
    }
    // Termination signals are taken by one waiting thread, not by handlers.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);
    try {
        orv::OrvServer server(config);
        // The port first: a busy port ends the start at once, before any work.
        int port = server.bind();
        if (config.demo) {
            std::fprintf(stderr, "orvane-server: preparing the demo network in %s\n", config.dataDir.c_str());
            if (orv::seedDemoNetwork(server))
                std::fprintf(stderr, "orvane-server: demo network created\n");
        }
        std::fprintf(stderr, "orvane-server: listening on %s:%d (data %s)\n", config.listen.c_str(), port,
                     config.dataDir.c_str());
        std::thread waiter([&server, signals] {
            int sig = 0;
            sigwait(&signals, &sig);
            server.stop();
        });
        bool served = server.serve();
        // serve() also ends on an error; wake the waiter in that case.
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
        if (!served) {
            std::fprintf(stderr, "orvane-server: accepting connections failed\n");
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-server: %s\n", e.what());
        return 1;
    }
    return 0;
}
