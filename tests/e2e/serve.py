#!/usr/bin/env python3
"""A loopback page server for end-to-end checks: serves the named pages from a
table, on 127.0.0.1 and a port the system picks, which it prints first."""
import http.server
import sys

PAGES = {
    "/main": "<html><head><meta charset='utf-8'><title>主页面</title></head><body>main</body></html>",
    "/popup": "<html><head><meta charset='utf-8'><title>新窗口</title></head><body>popup</body></html>",
}


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = PAGES.get(self.path)
        if body is None:
            self.send_error(404)
            return
        data = body.encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.timeout = 1
# Stops by itself: a check never takes this long.
for _ in range(120):
    server.handle_request()
