#include "OrvConfig.h"

#include <fstream>
#include <stdexcept>

#include "OrvValidation.h"

namespace orv {

std::string OrvConfig::effectivePublicUrl() const {
    if (!publicUrl.empty()) {
        std::string u = publicUrl;
        while (!u.empty() && u.back() == '/') u.pop_back();
        return u;
    }
    return "http://" + listen + ":" + std::to_string(port);
}

OrvVersionTable OrvConfig::effectiveVersionTable() const {
    OrvVersionTable table = updateTable;
    if (!updateVersion.empty() && !updateFile.empty()) {
        bool listed = false;
        for (const auto& e : table.entries()) listed = listed || compareVersions(e.version, updateVersion) == 0;
        if (!listed) table.add(OrvVersionEntry{updateVersion, updateFile, 0});
    }
    return table;
}

namespace {

int toInt(const std::string& key, const std::string& value, int lo, int hi) {
    size_t used = 0;
    long v;
    try {
        v = std::stol(value, &used);
    } catch (...) {
        throw std::invalid_argument(key + ": not a number: " + value);
    }
    if (used != value.size() || v < lo || v > hi)
        throw std::invalid_argument(key + ": out of range " + std::to_string(lo) + ".." +
                                    std::to_string(hi) + ": " + value);
    return static_cast<int>(v);
}

std::string decimal(const std::string& key, const std::string& value) {
    toInt(key, value, 0, 1000000000);
    return value;
}

}  // namespace

void applySetting(OrvConfig& c, const std::string& rawKey, const std::string& value) {
    std::string key = rawKey;
    for (char& ch : key)
        if (ch == '-') ch = '_';
    if (key == "listen") c.listen = value;
    else if (key == "port") c.port = toInt(key, value, 0, 65535);
    else if (key == "data") c.dataDir = value;
    else if (key == "public_url") c.publicUrl = value;
    else if (key == "threads") c.threads = toInt(key, value, 1, 4096);
    else if (key == "session_idle") c.sessionIdle = toInt(key, value, 10, 30 * 86400);
    else if (key == "banner_period") c.bannerPeriod = toInt(key, value, 0, 86400);
    else if (key == "chat_server") c.chatServer = value;
    else if (key == "chat_port") c.chatPort = decimal(key, value);
    else if (key == "chat_delay") c.chatDelay = decimal(key, value);
    else if (key == "chat_ping_rate") c.chatPingRate = decimal(key, value);
    else if (key == "idle_limit") c.idleLimit = toInt(key, value, 0, 86400 * 7);
    else if (key == "mail_from") c.mailFrom = value;
    else if (key == "smtp_host") c.smtpHost = value;
    else if (key == "smtp_port") c.smtpPort = toInt(key, value, 1, 65535);
    else if (key == "update_version") {
        if (!value.empty() && !isValidVersion(value)) throw std::invalid_argument(key + ": not a version: " + value);
        c.updateVersion = value;
    } else if (key == "update_file") {
        if (value.find('/') != std::string::npos || value == ".." || value == ".")
            throw std::invalid_argument(key + ": a file name inside <data>/download is expected");
        c.updateFile = value;
    } else if (key == "update_entry") {
        c.updateTable.add(OrvVersionTable::parseEntry(value));
    } else if (key == "update_hold_minutes") c.updateHoldMinutes = toInt(key, value, 0, 120);
    else if (key == "update_retry_minutes") c.updateRetryMinutes = toInt(key, value, 1, 120);
    else if (key == "admin_token") c.adminToken = value;
    else if (key == "password_resend_seconds") c.passwordResendSeconds = toInt(key, value, 0, 86400);
    else if (key == "password_strength") {
        if (value != "interactive" && value != "moderate" && value != "min")
            throw std::invalid_argument(key + ": interactive, moderate or min expected");
        c.passwordStrength = value;
    } else throw std::invalid_argument("unknown setting: " + rawKey);
}

void applyConfigFile(OrvConfig& config, const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::invalid_argument("cannot read configuration file " + path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string t = trimBlanks(line);
        if (t.empty() || t[0] == '#') continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos)
            throw std::invalid_argument(path + ":" + std::to_string(number) + ": expected key = value");
        try {
            applySetting(config, trimBlanks(t.substr(0, eq)), trimBlanks(t.substr(eq + 1)));
        } catch (const std::invalid_argument& e) {
            throw std::invalid_argument(path + ":" + std::to_string(number) + ": " + e.what());
        }
    }
}

void applyCommandLine(OrvConfig& config, const std::vector<std::string>& args) {
    // The configuration file first, so that the other options override it.
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--config") applyConfigFile(config, args[i + 1]);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            config.help = true;
            continue;
        }
        if (a.rfind("--", 0) != 0) throw std::invalid_argument("unexpected argument: " + a);
        std::string key = a.substr(2), value;
        size_t eq = key.find('=');
        if (eq != std::string::npos) {
            value = key.substr(eq + 1);
            key = key.substr(0, eq);
        } else {
            if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
            value = args[++i];
        }
        if (key == "config") continue;
        if (key == "demo") {
            config.demo = true;
            config.dataDir = value;
            continue;
        }
        applySetting(config, key, value);
    }
}

const char* configUsage() {
    return "usage: orvane-server [--config FILE] [--demo DIR | --data DIR] [--listen ADDR] [--port N]\n"
           "                     [--SETTING VALUE]...\n"
           "Settings (also as 'setting = value' lines of the configuration file):\n"
           "  listen, port, data, public-url, threads, session-idle,\n"
           "  banner-period, chat-server, chat-port, chat-delay, chat-ping-rate, idle-limit,\n"
           "  mail-from, smtp-host, smtp-port,\n"
           "  update-entry \"VERSION ARCHIVE [MINUTES]\" (repeatable), update-version, update-file,\n"
           "  update-hold-minutes, update-retry-minutes,\n"
           "  admin-token, password-strength (interactive, moderate, min), password-resend-seconds\n"
           "--demo DIR creates (once) and serves the demo network in DIR.\n";
}

}  // namespace orv
