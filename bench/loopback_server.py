"""The benchmark's web server: generated test pages on 127.0.0.1, and beacons
that the pages fetch so that the server can note when things happened.

Pages /p/K (K = 0..19) are about 200 KB of HTML each: a style sheet, a table,
a script and five pictures (four PNGs and an SVG), all generated here and all
served with "Cache-Control: no-store", so every visit fetches everything again.

The page's script fetches /b/load?r=R&n=N from its onload handler and
/b/paint?r=R&n=N two animation frames later, R and N being copied from the
page's own query. The server notes time.monotonic() (CLOCK_MONOTONIC, the
clock the driver uses too) as each beacon arrives.
"""

import http.server
import struct
import threading
import time
import urllib.parse
import zlib

PAGE_COUNT = 20
PICTURES_PER_PAGE = 4
TABLE_ROWS = 1800


def _lcg(seed):
    state = (seed * 2654435761 + 12345) & 0xFFFFFFFF
    while True:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        yield state >> 8


def make_png(width, height, seed):
    """A truecolour PNG: a gradient with some generated noise in it."""
    rnd = _lcg(seed)
    rows = bytearray()
    for y in range(height):
        line = bytearray()
        for x in range(width):
            n = next(rnd) & 0x07
            line += bytes(((x * 255 // width + n) & 0xFF,
                           (y * 255 // height + seed * 37) & 0xFF,
                           ((x ^ y) + n) & 0xFF))
        # Filter "sub": each byte as the difference from the pixel to its left.
        rows.append(1)
        rows += bytes((line[i] - (line[i - 3] if i >= 3 else 0)) & 0xFF for i in range(len(line)))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


def make_svg(seed):
    rnd = _lcg(seed)
    shapes = []
    for i in range(60):
        x, y, r = next(rnd) % 300, next(rnd) % 150, 4 + next(rnd) % 20
        hue = next(rnd) % 360
        shapes.append(f'<circle cx="{x}" cy="{y}" r="{r}" fill="hsl({hue},60%,55%)" opacity="0.7"/>')
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="300" height="150" viewBox="0 0 300 150">'
            '<rect width="300" height="150" fill="#f4f1ea"/>' + "".join(shapes) + "</svg>").encode()


def make_script(k):
    return f"""// Page {k}: totals the table, then reports onload and the first frames.
// With "to=M" in its query, page n opens page n + 1 once its load is over,
// until n is M: a chain of navigations that needs no driver in between.
(function () {{
  var q = location.search, p = new URLSearchParams(q);
  var n = Number(p.get('n')), to = p.has('to') ? Number(p.get('to')) : n;
  document.addEventListener('DOMContentLoaded', function () {{
    var cells = document.querySelectorAll('td.n'), sum = 0;
    for (var i = 0; i < cells.length; i++) sum += parseInt(cells[i].textContent, 10) || 0;
    document.getElementById('total').textContent = String(sum);
  }});
  window.addEventListener('load', function () {{
    fetch('/b/load' + q, {{cache: 'no-store'}});
    requestAnimationFrame(function () {{
      requestAnimationFrame(function () {{ fetch('/b/paint' + q, {{cache: 'no-store'}}); }});
    }});
    if (n < to)
      setTimeout(function () {{
        location.assign('/p/' + ((n + 1) % {PAGE_COUNT}) + '?r=' + p.get('r') + '&n=' + (n + 1) + '&to=' + to);
      }}, 0);
  }});
}})();
""".encode()


def make_page(k):
    rnd = _lcg(1000 + k)
    css = ["body{font:13px/1.4 sans-serif;margin:8px;color:#222;background:#fff}",
           "table{border-collapse:collapse;width:100%}",
           "td,th{border:1px solid #ccc;padding:2px 4px}",
           "th{background:#e8eef6;position:sticky;top:0}",
           ".pics img{margin:4px;border:1px solid #999}"]
    for i in range(40):
        css.append(f".c{i}{{color:hsl({next(rnd) % 360},50%,35%);background:hsl({next(rnd) % 360},40%,96%)}}")
    pictures = "".join(f'<img src="/i/{k}-{i}.png" width="160" height="120" alt="">'
                       for i in range(PICTURES_PER_PAGE))
    rows = []
    for r in range(TABLE_ROWS):
        a, b, c = next(rnd) % 100000, next(rnd) % 1000, next(rnd) % 40
        rows.append(f'<tr class="c{c}"><td>{r}</td><td>item-{k}-{r}</td><td class="n">{a}</td>'
                    f'<td class="n">{b}</td><td>{"abcdefgh"[r % 8] * (1 + r % 5)}</td></tr>')
    html = f"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Test page {k}</title>
<style>{"".join(css)}</style>
<script src="/s/{k}.js"></script>
</head><body>
<h1>Test page {k}</h1>
<div class="pics">{pictures}<img src="/i/{k}.svg" width="300" height="150" alt=""></div>
<p>Total: <span id="total">-</span></p>
<table><thead><tr><th>#</th><th>name</th><th>a</th><th>b</th><th>text</th></tr></thead><tbody>
{"".join(rows)}
</tbody></table>
</body></html>
"""
    return html.encode()


class Beacons:
    """The arrival times of beacons, with a wait for one to come."""

    def __init__(self):
        self._times = {}
        self._cond = threading.Condition()

    def note(self, kind, run, seq):
        now = time.monotonic()
        with self._cond:
            self._times.setdefault((kind, run, seq), now)
            self._cond.notify_all()

    def wait(self, kind, run, seq, timeout):
        """The time the beacon came, or None when it has not come in time."""
        deadline = time.monotonic() + timeout
        key = (kind, run, seq)
        with self._cond:
            while key not in self._times:
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self._cond.wait(left)
            return self._times[key]


class LoopbackServer:
    def __init__(self):
        self.beacons = Beacons()
        self.resources = {}
        for k in range(PAGE_COUNT):
            self.resources[f"/p/{k}"] = ("text/html; charset=utf-8", make_page(k))
            self.resources[f"/s/{k}.js"] = ("text/javascript", make_script(k))
            self.resources[f"/i/{k}.svg"] = ("image/svg+xml", make_svg(k))
            for i in range(PICTURES_PER_PAGE):
                self.resources[f"/i/{k}-{i}.png"] = ("image/png", make_png(160, 120, k * 10 + i))
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"
            # Headers and body go out in separate writes; with Nagle's rule the
            # body would wait for the client's delayed acknowledgement.
            disable_nagle_algorithm = True

            def handle(self):
                try:
                    super().handle()
                except ConnectionError:
                    pass  # a page left before its beacon was answered

            def do_GET(self):
                url = urllib.parse.urlsplit(self.path)
                if url.path.startswith("/b/"):
                    q = urllib.parse.parse_qs(url.query)
                    server.beacons.note(url.path[3:], q.get("r", [""])[0], int(q.get("n", ["-1"])[0]))
                    self._send(204, "text/plain", b"")
                    return
                if url.path.startswith("/p/"):
                    # When the page was asked for: splits a figure into the time
                    # before the request and the time the page took.
                    q = urllib.parse.parse_qs(url.query)
                    server.beacons.note("request", q.get("r", [""])[0], int(q.get("n", ["-1"])[0]))
                found = server.resources.get(url.path)
                if found is None:
                    self._send(404, "text/plain", b"not here")
                else:
                    self._send(200, *found)

            def _send(self, status, kind, body):
                self.send_response(status)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self._httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self._httpd.daemon_threads = True
        self.port = self._httpd.server_address[1]
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)

    def start(self):
        self._thread.start()
        return self

    def stop(self):
        self._httpd.shutdown()
        self._httpd.server_close()

    def page_url(self, k, run, seq, to=None):
        """Page k, reporting as navigation seq of the run; with `to`, the
        first page of a chain that goes on by itself up to navigation `to`."""
        chain = f"&to={to}" if to is not None else ""
        return f"http://127.0.0.1:{self.port}/p/{k % PAGE_COUNT}?r={run}&n={seq}{chain}"

    def page_bytes(self, k):
        """The page with everything it loads, in bytes."""
        total = len(self.resources[f"/p/{k}"][1]) + len(self.resources[f"/s/{k}.js"][1])
        total += len(self.resources[f"/i/{k}.svg"][1])
        total += sum(len(self.resources[f"/i/{k}-{i}.png"][1]) for i in range(PICTURES_PER_PAGE))
        return total


if __name__ == "__main__":
    # Serves until interrupted, for looking at the pages by hand.
    s = LoopbackServer().start()
    print(s.port, flush=True)
    print(f"page 0: {len(s.resources['/p/0'][1])} bytes of HTML, {s.page_bytes(0)} bytes in all", flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        s.stop()
