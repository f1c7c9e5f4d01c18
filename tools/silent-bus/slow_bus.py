#!/usr/bin/env python3
"""A session bus slow to answer, as at a busy login: every connection to SOCKET_PATH waits
DELAY seconds and is then passed through to the bus at ADDRESS (unix:path= or unix:abstract=).
Usage: slow_bus.py SOCKET_PATH ADDRESS DELAY"""
import os
import socket
import sys
import threading
import time

from silent_bus import forward


def forward_later(connection, address, delay):
    time.sleep(delay)
    forward(connection, address)


path, address, delay = sys.argv[1], sys.argv[2], float(sys.argv[3])
if os.path.exists(path):
    os.unlink(path)
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(path)
server.listen(16)
while True:
    connection, _ = server.accept()
    threading.Thread(target=forward_later, args=(connection, address, delay), daemon=True).start()
