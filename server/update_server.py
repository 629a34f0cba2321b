"""The program's update page, served on 127.0.0.1, standard library only.

It answers both as a plain web server and as an HTTP proxy (a request line
with an absolute URI such as "GET http://host:80/path HTTP/1.0"), so the
program reaches it through its system proxy setting (http_proxy) whatever
host name is built into it. Switches produce the faults the program must
survive. Every request is logged as one JSON line when --log is given.

  python3 update_server.py --port-file F [--version 2.0] [--status 404]
      [--pad N] [--zero-before] [--utf8] [--drop before|after] [--endless]
      [--no-content-length] [--log requests.jsonl]
"""

import argparse
import json
import os
import socket
import socketserver
import sys
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
PAGE = os.path.join(HERE, "update_page.html")
START_GBK = "版本头{".encode("gbk")
END_GBK = "}版本尾".encode("gbk")


def make_body(options):
    with open(PAGE, "rb") as f:
        page = f.read()
    start, end = page.index(START_GBK), page.index(END_GBK)
    body = page[:start + len(START_GBK)] + options.version.encode("ascii") + page[end:]
    if options.utf8:
        body = body.replace(START_GBK, "版本头{".encode("utf-8")).replace(END_GBK, "}版本尾".encode("utf-8"))
    if options.zero_before:
        body = b"<!-- \x00 -->" + body
    if options.pad:
        body = b"<!--" + b"x" * options.pad + b"-->\n" + body
    if options.drop:
        body += b"<!--" + b"z" * 20000 + b"-->\n"
    return body


def drop_point(options, body):
    """Where a dropped connection stops: just before the start marker, or
    a little behind the end marker, well before the declared end."""
    start = body.find(START_GBK)
    if start < 0:
        start = body.find("版本头{".encode("utf-8"))
    if options.drop == "before":
        return max(start - 1, 0)
    return body.find(END_GBK) + len(END_GBK) + 100


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        head = []
        while True:
            line = self.rfile.readline(65536)
            if not line or line in (b"\r\n", b"\n"):
                break
            head.append(line.decode("latin-1").rstrip("\r\n"))
        if not head:
            return
        self.server.note(head)
        options = self.server.options
        body = self.server.body
        status = {200: "OK", 404: "Not Found"}.get(options.status, "Status")
        lines = ["HTTP/1.0 %d %s" % (options.status, status), "Content-Type: text/html; charset=gbk",
                 "Connection: close"]
        if not options.no_content_length and not options.endless:
            lines.append("Content-Length: %d" % len(body))
        try:
            self.wfile.write(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1"))
            if options.endless:
                chunk = b"<!-- " + b"y" * 65536 + b" -->"
                while True:
                    self.wfile.write(chunk)
            elif options.drop:
                self.wfile.write(body[:drop_point(options, body)])
                self.wfile.flush()
                # Drop the connection without a proper close, mid-body.
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
            else:
                self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, options):
        super().__init__(("127.0.0.1", options.port), Handler)
        self.options = options
        self.body = make_body(options)
        self.lock = threading.Lock()

    def note(self, head):
        if not self.options.log:
            return
        method, target, version = (head[0].split(" ") + ["", "", ""])[:3]
        headers = [line for line in head[1:]]
        with self.lock, open(self.options.log, "a", encoding="utf-8") as log:
            log.write(json.dumps({"method": method, "target": target, "version": version,
                                  "headers": headers}) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--version", default="2.0", help="the version the page publishes")
    parser.add_argument("--status", type=int, default=200)
    parser.add_argument("--pad", type=int, default=0, help="bytes of padding before the markers")
    parser.add_argument("--zero-before", action="store_true", help="a zero byte before the markers")
    parser.add_argument("--utf8", action="store_true", help="the markers in UTF-8")
    parser.add_argument("--drop", choices=("before", "after"),
                        help="drop the connection mid-body, before or after the markers")
    parser.add_argument("--endless", action="store_true", help="a body that never ends")
    parser.add_argument("--no-content-length", action="store_true")
    parser.add_argument("--log", help="append each request as a JSON line")
    options = parser.parse_args()
    server = Server(options)
    port = server.server_address[1]
    if options.port_file:
        with open(options.port_file + ".tmp", "w") as f:
            f.write("%d\n" % port)
        os.replace(options.port_file + ".tmp", options.port_file)
    print("update server on 127.0.0.1:%d" % port, flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
