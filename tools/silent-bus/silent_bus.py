#!/usr/bin/env python3
"""A session bus that never answers: accepts every connection on a unix socket and then
stays silent, as a stopped daemon would. With a bus address as second argument, the first
connection is passed through to that bus, so a program finds the bus working at first.
Each connection held silent adds a line to SOCKET_PATH.held.
Usage: silent_bus.py SOCKET_PATH [FIRST_CONNECTION_ADDRESS]"""
import os
import socket
import sys
import threading


def pump(source, sink):
    while True:
        data = source.recv(65536)
        if not data:
            break
        sink.sendall(data)
    sink.close()


def forward(connection, address):
    """Joins the connection to the bus at a unix:path= or unix:abstract= address."""
    options = dict(part.split("=", 1) for part in address.split(":", 1)[1].split(","))
    target = options["path"] if "path" in options else "\0" + options["abstract"]
    upstream = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    upstream.connect(target)
    for source, sink in ((connection, upstream), (upstream, connection)):
        threading.Thread(target=pump, args=(source, sink), daemon=True).start()


def serve():
    path = sys.argv[1]
    first = sys.argv[2] if len(sys.argv) > 2 else None
    if os.path.exists(path):
        os.unlink(path)
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(path)
    server.listen(16)
    held = []
    while True:
        connection, _ = server.accept()
        if first:
            forward(connection, first)
            first = None
        else:
            held.append(connection)  # kept open, never read, never answered
            with open(path + ".held", "a") as note:
                note.write("held\n")


if __name__ == "__main__":
    serve()
