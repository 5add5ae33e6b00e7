#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The tests' calendar servers on 127.0.0.1, on a free port printed once they answer.

caldavserver.py radicale FOLDER [tls]   Radicale, user "u" with password "p", storage in FOLDER
caldavserver.py hostile MODE            a server that answers every request badly: MODE is
                                        huge, control, malformed, redirect, or silent
                                        (it reads the request and never answers)

The server ends when this script is terminated.
"""
import http.server
import os
import signal
import socket
import subprocess
import sys
import time


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def radicale(folder, tls):
    port = free_port()
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "users"), "w") as users:
        users.write("u:p\n")
    config = os.path.join(folder, "config")
    with open(config, "w") as out:
        out.write(f"[server]\nhosts = 127.0.0.1:{port}\n")
        if tls:
            key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                            "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                           check=True, capture_output=True)
            out.write(f"ssl = True\ncertificate = {cert}\nkey = {key}\n")
        out.write(f"[auth]\ntype = htpasswd\nhtpasswd_filename = {folder}/users\n"
                  "htpasswd_encryption = plain\n"
                  f"[storage]\nfilesystem_folder = {folder}/collections\n"
                  "[rights]\ntype = owner_only\n[logging]\nlevel = warning\n")
    server = subprocess.Popen([sys.executable, "-m", "radicale", "--config", config])
    # The server's end ends the wait below, and this script with it.
    signal.signal(signal.SIGTERM, lambda *_: server.terminate())
    for _ in range(200):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=0.1).close()
            break
        except OSError:
            time.sleep(0.05)
    print(port, flush=True)
    server.wait()


EVENT = ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//x//EN\r\nBEGIN:VEVENT\r\n"
         "UID:hostile\r\nDTSTAMP:20261208T000000Z\r\nDTSTART:20261208T100000\r\n"
         "SUMMARY:{}\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")


class Hostile(http.server.BaseHTTPRequestHandler):
    mode = ""

    def log_message(self, *args):
        pass

    def answer(self, status, body, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def handle_any(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        if self.mode == "silent":
            time.sleep(3600)
        if self.mode == "redirect":
            return self.answer(301, b"", [("Location", "http://127.0.0.2:9/elsewhere/")])
        if self.command == "PROPFIND":
            return self.answer(207, b'<?xml version="1.0"?><d:multistatus xmlns:d="DAV:" '
                               b'xmlns:c="urn:ietf:params:xml:ns:caldav"><d:response>'
                               b'<d:href>/cal/</d:href><d:propstat><d:prop><d:resourcetype>'
                               b'<d:collection/><c:calendar/></d:resourcetype></d:prop>'
                               b'<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>'
                               b'</d:multistatus>')
        if self.mode == "huge":
            return self.answer(207, b"<" * (40 * 1024 * 1024))
        if self.command != "REPORT":
            return self.answer(403, b"")
        summary = "Bonjour\u009b[31m\\nsecond\u0085 fin" if self.mode == "control" else "x"
        data = EVENT.format(summary) if self.mode == "control" else "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:garbage\r\nSUMMARY;=:\r\n\x00"
        escaped = data.replace("&", "&amp;").replace("<", "&lt;")
        self.answer(207, ('<?xml version="1.0"?><d:multistatus xmlns:d="DAV:" '
                          'xmlns:c="urn:ietf:params:xml:ns:caldav"><d:response>'
                          '<d:href>/cal/a.ics</d:href><d:propstat><d:prop><d:getetag>"1"</d:getetag>'
                          f'<c:calendar-data>{escaped}</c:calendar-data></d:prop>'
                          '<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>'
                          '</d:multistatus>').encode())

    do_PROPFIND = do_REPORT = do_PUT = do_DELETE = do_GET = do_MKCALENDAR = handle_any


def hostile(mode):
    Hostile.mode = mode
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Hostile)
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    if sys.argv[1] == "radicale":
        radicale(sys.argv[2], len(sys.argv) > 3 and sys.argv[3] == "tls")
    else:
        hostile(sys.argv[2])
