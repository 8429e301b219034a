"""Lets another local user use an X server: "xhost +si:localuser:USER" without xhost.

    x_allow_user.py DISPLAY USER

Run as the X server's own user, which may always connect."""
import socket, struct, sys
display = sys.argv[1].lstrip(":").split(".")[0]
user = sys.argv[2].encode()
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.connect(f"/tmp/.X11-unix/X{display}")
s.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
def recv(n):
    b = b""
    while len(b) < n:
        c = s.recv(n - len(b))
        if not c: raise SystemExit("X server closed the connection")
        b += c
    return b
head = recv(8)
if head[0] != 1: raise SystemExit("X server refused the connection")
recv(struct.unpack("<H", head[6:8])[0] * 4)
address = b"localuser\0" + user
padded = address + b"\0" * (-len(address) % 4)
s.sendall(struct.pack("<BBHBxH", 109, 0, (8 + len(padded)) // 4, 5, len(address)) + padded)
s.sendall(struct.pack("<BxH", 43, 1))
reply = recv(32)
raise SystemExit(0 if reply[0] == 1 else f"X server refused ChangeHosts (error {reply[1]})")
