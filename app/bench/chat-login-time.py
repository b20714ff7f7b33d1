#!/usr/bin/env python3
"""chat-login-time.py HOST PORT SESSION MEMBER: milliseconds of one chat log-in
as Orvane makes it (PASS with the session, a neutral NICK, USER with the chat
identity), from connecting to the keeper renaming us to the identity: the chat
server's share of a start (ngircd, its password check against orvane-server,
the room keeper). Prints the time, or exits 1 with the reason."""
import socket
import sys
import time


def main():
    host, port, session, member = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    identity = "O" + member
    nick = "G%08x" % (int(time.monotonic() * 1e6) & 0xFFFFFFFF)
    start = time.monotonic()
    with socket.create_connection((host, port), timeout=30) as s:
        s.sendall(("PASS %s\r\nNICK %s\r\nUSER %s 0 * :Orvane chat\r\n" % (session, nick, identity)).encode())
        pending = b""
        while True:
            data = s.recv(4096)
            if not data:
                sys.exit("chat server closed the connection before the identity came")
            pending += data
            *lines, pending = pending.split(b"\r\n")
            for raw in lines:
                line = raw.decode("utf-8", "replace")
                parts = line.split(" ")
                if len(parts) >= 3 and parts[1] == "NICK" and parts[0][1:].split("!")[0].lower() == nick.lower():
                    if parts[2].lstrip(":").lower() == identity.lower():
                        elapsed = (time.monotonic() - start) * 1000
                        s.sendall(b"QUIT :bench\r\n")
                        print("%.1f" % elapsed)
                        return
                if len(parts) >= 2 and parts[1] in ("432", "433", "437", "465", "ERROR"):
                    sys.exit("chat log-in refused: " + line)


if __name__ == "__main__":
    main()
