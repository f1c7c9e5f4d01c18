#!/usr/bin/env python3
"""A session bus that never answers: accepts every connection on a unix socket and then
stays silent, as a stopped daemon would. Usage: silent_bus.py SOCKET_PATH"""
import os
import socket
import sys

path = sys.argv[1]
if os.path.exists(path):
    os.unlink(path)
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(path)
server.listen(16)
held = []
while True:
    connection, _ = server.accept()
    held.append(connection)  # kept open, never read, never answered
