#!/usr/bin/env bash
# make-config.sh PORT DIR: writes the chat server's configuration into DIR
# (ngircd.conf and ngircd.motd) for a server on 127.0.0.1:PORT and prints
# the configuration's path.
#
# What the chat engine (outside/chat) needs from the server:
# - nicks of 30 characters: chat identities are "O"/"R" and a member id;
# - CTCP passed through (invitations, typing notices, room users);
# - rooms kept while empty: channel mode P, which only IRC operators may set,
#   so the engine opers with the "orvrooms" account for room work (its
#   password is also in outside/chat/ChatSession.cpp);
# - operators may change modes and topics of rooms they are not in;
# - many connections from one address (everybody is on loopback in tests),
#   and no penalties or look-ups that would slow a test run down.
set -euo pipefail
usage="usage: make-config.sh PORT DIR"
port=${1:?$usage}
dir=${2:?$usage}
case $port in ''|*[!0-9]*) echo "$usage: PORT must be a number" >&2; exit 2 ;; esac
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

# As root ngircd drops to ServerUID/ServerGID; it must still read both files.
chmod a+rx "$dir"
user=nobody
group=$(id -gn nobody 2>/dev/null || echo nogroup)

cat > "$dir/ngircd.motd" <<'MOTD'
Orvane chat
MOTD

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
	MaxPenaltyTime = 0
	PingTimeout = 120
	PongTimeout = 30

[Options]
	DNS = no
	Ident = no
	PAM = no
	ScrubCTCP = no
	MorePrivacy = no
	OperCanUseMode = yes
	OperChanPAutoOp = no
	AllowedChannelTypes = #

[Operator]
	Name = orvrooms
	Password = orvrooms-keeper
CONF
chmod a+r "$dir/ngircd.conf" "$dir/ngircd.motd"
echo "$dir/ngircd.conf"
