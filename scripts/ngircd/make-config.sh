#!/usr/bin/env bash
# make-config.sh PORT DIR BIN_DIR: writes the configuration of one chat
# server instance on 127.0.0.1:PORT into DIR and prints the path of
# ngircd.conf. BIN_DIR holds orvane-chat-auth (the PAM helper, copied into
# DIR) of the host build.
#
# DIR afterwards:
#   ngircd.conf     the chat server's configuration (owner only: link passwords)
#   ngircd.motd
#   keeper.link     the two link passwords of the room keeper (owner only)
#   pam.service     the PAM service "orvane-chat-PORT"; run-ngircd.sh installs
#                   it in /etc/pam.d while the instance runs
#   orvane-chat-auth  the PAM helper; it reads
#   auth-server     "host:port" of orvane-server, written by whoever starts it
#
# What the chat needs from the server (server/keeper/README.md explains it):
# - every client authenticated through PAM: the user name is the identity
#   the client asks for ("O<id>" or "R<id>"), the password the member's
#   session id, which the helper checks with orvane-server;
# - identities only from the room keeper: "O*", "R*" and the keeper's own
#   nick belong to the keeper's server link (ServiceMask), clients are
#   restricted (user mode r: no nick changes of their own);
# - no channels made by clients (AllowedChannelTypes empty), no IRC
#   operators: the keeper holds the rooms;
# - nicks of 30 characters, CTCP passed through;
# - flood protection on, each penalty at most one second, so a client that
#   keeps to the chat delay is never held up for long;
# - many connections from one address (everybody is on loopback in tests).
# The link passwords are made once per DIR and kept when it is written again.
set -euo pipefail
usage="usage: make-config.sh PORT DIR BIN_DIR"
port=${1:?$usage}
dir=${2:?$usage}
bin_dir=${3:?$usage}
case $port in ''|*[!0-9]*) echo "$usage: PORT must be a number" >&2; exit 2 ;; esac
if [ ! -x "$bin_dir/orvane-chat-auth" ]; then
    echo "make-config.sh: $bin_dir/orvane-chat-auth is missing (build the host tree first)" >&2
    exit 1
fi
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
case $dir in *[[:space:]]*) echo "make-config.sh: DIR must not contain blanks: $dir" >&2; exit 2 ;; esac

# As root the chat server drops to ServerUID/ServerGID before it runs PAM:
# that user must reach the helper and its address file.
user=nobody
group=$(id -gn nobody 2>/dev/null || echo nogroup)
path=$dir
while [ "$path" != / ]; do
    if [ "$(( $(stat -c '%a' "$path") % 2 ))" -ne 1 ] && [ "$path" != "$dir" ]; then
        echo "make-config.sh: $path is not searchable by others; the chat server's PAM helper could not be run there" >&2
        exit 1
    fi
    path=$(dirname "$path")
done
chmod 755 "$dir"
umask 077

new_password() { head -c 24 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | head -c 32; }
keeper_password=$(sed -n 's/^keeper-password=//p' "$dir/keeper.link" 2>/dev/null || true)
server_password=$(sed -n 's/^server-password=//p' "$dir/keeper.link" 2>/dev/null || true)
[ -n "$keeper_password" ] || keeper_password=$(new_password)
[ -n "$server_password" ] || server_password=$(new_password)
printf 'keeper-password=%s\nserver-password=%s\n' "$keeper_password" "$server_password" > "$dir/keeper.link"

cp "$bin_dir/orvane-chat-auth" "$dir/orvane-chat-auth.new"
chmod 755 "$dir/orvane-chat-auth.new"
mv -f "$dir/orvane-chat-auth.new" "$dir/orvane-chat-auth"
service=orvane-chat-$port
cat > "$dir/pam.service" <<PAM
# The Orvane chat server on port $port: a client's password is a member's
# session id, checked by orvane-server (see server/keeper/README.md).
auth required pam_exec.so expose_authtok quiet $dir/orvane-chat-auth $dir/auth-server
account required pam_permit.so
PAM
chmod 644 "$dir/pam.service"

cat > "$dir/ngircd.motd" <<'MOTD'
Orvane chat
MOTD
chmod 644 "$dir/ngircd.motd"

cat > "$dir/ngircd.conf" <<CONF
[Global]
	Name = chat.orvane.local
	Info = Orvane chat server
	AdminInfo1 = Orvane chat server
	AdminInfo2 = loopback only
	AdminEMail = admin@localhost
	Listen = 127.0.0.1
	Ports = $port
	MotdFile = $dir/ngircd.motd
	ServerUID = $user
	ServerGID = $group

[Limits]
	MaxNickLength = 30
	MaxJoins = 0
	MaxConnections = 0
	MaxConnectionsIP = 0
	MaxListSize = 5000
	MaxPenaltyTime = 1
	PingTimeout = 120
	PongTimeout = 30

[Options]
	DNS = no
	Ident = no
	PAM = yes
	PAMIsOptional = no
	PAMServiceName = $service
	ScrubCTCP = no
	MorePrivacy = no
	DefaultUserModes = r
	AllowedChannelTypes =
	OperCanUseMode = no

[Server]
	Name = keeper.orvane.local
	MyPassword = $keeper_password
	PeerPassword = $server_password
	ServiceMask = O*,R*,ChatKeeper
	Passive = yes
CONF
echo "$dir/ngircd.conf"
