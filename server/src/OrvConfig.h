// Settings of the server, from a configuration file ("key = value" lines)
// and the command line ("--key value"), the command line winning.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "OrvVersionTable.h"

namespace orv {

struct OrvConfig {
    std::string listen = "127.0.0.1";
    int port = 8080;
    std::string dataDir = "orvane-data";
    std::string publicUrl;  // empty: http://listen:port
    int threads = 64;       // one per kept-alive connection
    int64_t sessionIdle = 1800;

    // Values of the log-in answer.
    int bannerPeriod = 100;
    std::string chatServer = "127.0.0.1";
    std::string chatPort = "6667";
    std::string chatDelay = "500";
    std::string chatPingRate = "60";
    int idleLimit = 900;

    // Mail.
    std::string mailFrom = "Orvane <no-reply@orvane.invalid>";
    std::string smtpHost;
    int smtpPort = 25;

    // Updates: the versions table ("update-entry" settings), and the older
    // single newest version with its file in <data>/download; a hold.
    OrvVersionTable updateTable;
    std::string updateVersion;
    std::string updateFile;
    int updateHoldMinutes = 0;
    int updateRetryMinutes = 60;

    std::string adminToken;  // empty: no notice endpoint
    std::string passwordStrength = "interactive";  // interactive, moderate or min
    int passwordResendSeconds = 60;  // least time between two mailed passwords

    bool demo = false;
    bool help = false;

    std::string effectivePublicUrl() const;
    // The table with the single update-version/update-file entry added
    // (unless the table lists that version itself).
    OrvVersionTable effectiveVersionTable() const;
};

// Throws std::invalid_argument with a message for the user on bad input.
void applyConfigFile(OrvConfig& config, const std::string& path);
void applyCommandLine(OrvConfig& config, const std::vector<std::string>& args);
// One setting by its name in the file (dashes and underscores alike).
void applySetting(OrvConfig& config, const std::string& key, const std::string& value);
const char* configUsage();

}  // namespace orv
