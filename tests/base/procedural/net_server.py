#!/usr/bin/env python3
"""Origin server for the HTTP client tests: raw replies chosen by the request path.

Usage: net_server.py PORTFILE. Binds 127.0.0.1 on a free port, writes the port to
PORTFILE, serves until killed. Paths:
  /echo...           200, body = the request head exactly as received
  /status/NNN        status NNN, small body
  /nostatus          no status line: a CGI-style header, a blank line, a body
  /split             status line and header in several writes, then "BODY-AFTER-SPLIT"
  /big/N             200, body = N bytes of the pattern "0123456789"
  /endless           a status line, then header lines without end
  /cut/N             200 announcing N bytes in its Content-Length, then 12 of them and the close
  /chunked/whole     200, chunked: "hello world" in two chunks and the last chunk
  /chunked/cut       the same without the last chunk
  /silent            reads the request and never answers
  /auth              401 with a WWW-Authenticate challenge unless Basic user:secret is sent
  /p407/REST         acts as a proxy demanding Basic proxyuser:proxypass with 407 (tinyproxy
                     answers wrong credentials with 401), then serves /REST
  /envelope?Q        200, a "<msg>" reply: status 3, result Q, shown message over two lines
  /okreply?Q         200, the two lines "OK" and Q
  /static/gimp/REST  the file REST of the gimp-help-fr pages ($SV_NET_GIMP_ROOT, else the
                     unpacked package under the build folder's sample-src, $SV_BUILD_DIR or build), 404 when missing
  /static/pages/REST the file REST of the browser tests' pages (tests/web/browser/pages)
  /slow/MS/ROOT/REST the file /static/ROOT/REST, answered after MS milliseconds
  /sv/search?Q       the online service's search script: 200, "RESULTS\n" then Q (text/plain);
                     "/sv/search/fail?Q" answers 500 with no body
  /sv/control?Q      its control script: 200, one line "http://127.0.0.1/controlled?" + Q;
                     "/sv/control/empty" answers an empty 200, "/sv/control/long" 3000 bytes
  /sv/alert, /sv/home, /sv/liens_compl, /sv/account
                     its alert page, home complement, complement links and account page:
                     small HTML pages naming the route and the query
  /sv/accueil?Q      the complement start page: a titled page with the service's links
  /sv/redirect?id=ID&Q  the redirect page: "hom_compl" and "liens_compl" give those
                     pages, "accueil" the start page, any other id a page naming it
  /sv/account/login?login=L&password=P   "OK", cookie 1, cookie 2 for the account
                     "lecteur"/"secret" (lines), else "REFUS"
  /sv/account/passwd?login=L&password=P&new=N   "OK" when L/P is that account, else "REFUS"
  /sv/account/forgot?login=L             "OK" for "lecteur", else "REFUS"
Every request line is appended to requests.log beside PORTFILE.
"""
import base64
import os
import socketserver
import sys
import time


HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
STATIC_ROOTS = {
    "gimp": os.environ.get("SV_NET_GIMP_ROOT")
    or os.path.join(os.environ.get("SV_BUILD_DIR") or os.path.join(REPO, "build"),
                    "sample-src", "usr", "share", "gimp", "2.0", "help", "fr"),
    "pages": os.path.join(REPO, "tests", "web", "browser", "pages"),
}
TYPES = {".html": "text/html; charset=UTF-8", ".htm": "text/html", ".css": "text/css", ".png": "image/png",
         ".jpg": "image/jpeg", ".gif": "image/gif", ".js": "application/x-javascript", ".txt": "text/plain"}


def static_file(path):
    """(content type, bytes) of a /static/ROOT/REST path, or None; never outside the root."""
    parts = path.split("?", 1)[0].split("#", 1)[0].split("/", 3)
    if len(parts) < 4 or parts[2] not in STATIC_ROOTS:
        return None
    root = os.path.realpath(STATIC_ROOTS[parts[2]])
    target = os.path.realpath(os.path.join(root, parts[3]))
    if not target.startswith(root + os.sep) or not os.path.isfile(target):
        return None
    with open(target, "rb") as f:
        body = f.read()
    return TYPES.get(os.path.splitext(target)[1].lower(), "application/octet-stream"), body


LOG = None


START_PAGE = (
    "<html><head><title>Savantorium - compl\xe9ments</title></head>"
    "<body style=\"font-family:sans-serif;background:#f4f7fb\">"
    "<h2 style=\"color:#1e3c78\">Savantorium SVLINK</h2>"
    "<p>Les compl\xe9ments en ligne de votre encyclop\xe9die.</p>"
    "<ul><li><a href=\"/sv/redirect?id=hom_compl\">Accueil des compl\xe9ments</a></li>"
    "<li><a href=\"/sv/redirect?id=liens_compl&amp;ref=1\">Liens compl\xe9mentaires</a></li></ul>"
    "<p>%s</p></body></html>")


def query_values(query):
    values = {}
    for pair in query.split("&"):
        key, _, value = pair.partition("=")
        values[key] = value
    return values


def html(w, body):
    data = body.encode("latin-1")
    w(b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: %d\r\n\r\n" % len(data) + data)


def serve_account(w, route, query):
    values = query_values(query)
    known = values.get("login") == "lecteur"
    if route == "/sv/account/login" and known and values.get("password") == "secret":
        answer = "OK\nc1-lecteur\nc2-lecteur\n"
    elif route == "/sv/account/passwd" and known and values.get("password") == "secret" and values.get("new"):
        answer = "OK\n"
    elif route == "/sv/account/forgot" and known:
        answer = "OK\n"
    else:
        answer = "REFUS\n"
    w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + answer.encode("latin-1"))


def serve_service(w, path):
    route, _, query = path.partition("?")
    if route == "/sv/redirect":
        page = query_values(query).get("id", "")
        if page == "accueil":
            route = "/sv/accueil"
        elif page in ("hom_compl", "liens_compl"):
            route = "/sv/" + ("home" if page == "hom_compl" else page)
    if route == "/sv/accueil":
        html(w, START_PAGE % query)
        return
    if route.startswith("/sv/account/"):
        serve_account(w, route, query)
        return
    if route == "/sv/redirect":
        html(w, "<html><body><p>%s</p></body></html>" % query)
        return
    if route == "/sv/search":
        body = b"RESULTS\n" + query.encode("latin-1")
        w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body)
    elif route == "/sv/search/fail":
        w(b"HTTP/1.0 500 Failed\r\nContent-Length: 0\r\n\r\n")
    elif route == "/sv/control":
        w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nhttp://127.0.0.1/controlled?"
          + query.encode("latin-1") + b"\n")
    elif route == "/sv/control/empty":
        w(b"HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n")
    elif route == "/sv/control/long":
        w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nhttp://127.0.0.1/" + b"x" * 3000 + b"\n")
    elif route in ("/sv/alert", "/sv/home", "/sv/liens_compl", "/sv/account"):
        body = ("<html><body><p>%s</p><p>%s</p></body></html>" % (route[4:], query)).encode("latin-1")
        w(b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: %d\r\n\r\n" % len(body) + body)
    else:
        w(b"HTTP/1.0 404 Not Found\r\n\r\n")


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        head = b""
        while b"\r\n\r\n" not in head and b"\n\n" not in head:
            chunk = self.request.recv(4096)
            if not chunk:
                return
            head += chunk
        line = head.split(b"\n", 1)[0].decode("latin-1").strip()
        parts = line.split(" ")
        path = parts[1] if len(parts) > 1 else "/"
        if "://" in path:
            path = "/" + path.split("://", 1)[1].split("/", 1)[1]
        w = self.request.sendall
        if LOG:
            with open(LOG, "a") as log:
                log.write(line + "\n")
        try:
            if path.startswith("/p407/"):
                expected = b"Proxy-Authorization: Basic " + base64.b64encode(b"proxyuser:proxypass")
                if expected not in head:
                    w(b"HTTP/1.0 407 Proxy Authentication Required\r\n"
                      b"Proxy-Authenticate: Basic realm=\"strict\"\r\n\r\nno")
                    return
                path = path[len("/p407"):]
            if path.startswith("/moved/"):
                # /moved/CODE/N: N redirects of status CODE, then the method that arrived.
                _, _, code, n = path.split("?")[0].split("/")[:4]
                if int(n) > 0:
                    w(("HTTP/1.0 %s Moved\r\nLocation: /moved/%s/%d\r\n\r\n" % (code, code, int(n) - 1)).encode())
                else:
                    w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\narrived by " + parts[0].encode())
                return
            if path.startswith("/loop"):
                w(b"HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:%d/loop\r\n\r\n" % self.server.server_address[1])
                return
            if path.startswith("/form"):
                # The method, the address and the body a form sent.
                sep = b"\r\n\r\n" if b"\r\n\r\n" in head else b"\n\n"
                header, _, body = head.partition(sep)
                length = 0
                for h in header.split(b"\n"):
                    if h.lower().startswith(b"content-length:"):
                        length = int(h.split(b":", 1)[1])
                while len(body) < length:
                    chunk = self.request.recv(4096)
                    if not chunk:
                        break
                    body += chunk
                w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + line.encode("latin-1") + b"\n" + body)
                return
            if path.startswith("/echo") or path.startswith("/kysearch") or path.startswith("/kydoc"):
                w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + head)
            elif path.startswith("/status/"):
                code = path.split("/")[2].split("?")[0]
                w(("HTTP/1.0 %s Test\r\nContent-Type: text/plain\r\n\r\nstatus body\n" % code).encode())
            elif path.startswith("/nostatus"):
                w(b"Content-Type: text/plain\n\nbody without status line\n")
            elif path.startswith("/split"):
                for piece in (b"HTTP/1.0 20", b"0 OK\r\nContent-", b"Type: text/plain\r\n\r", b"\nBODY-AFTER-SPLIT"):
                    w(piece)
                    time.sleep(0.05)
            elif path.startswith("/big/"):
                n = int(path.split("/")[2].split("?")[0])
                body = (b"0123456789" * (n // 10 + 1))[:n]
                w(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % n + body)
            elif path.startswith("/cut/"):
                n = int(path.split("/")[2].split("?")[0])
                w(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n0123456789ab" % n)
            elif path.startswith("/chunked/"):
                body = b"5\r\nhello\r\n6;ext=1\r\n world\r\n"
                if path.startswith("/chunked/whole"):
                    body += b"0\r\n\r\n"
                w(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n" + body)
            elif path.startswith("/endless"):
                w(b"HTTP/1.0 200 OK\r\n")
                i = 0
                while True:
                    w(b"X-Filler-%d: %s\r\n" % (i, b"y" * 100))
                    i += 1
            elif path.startswith("/silent"):
                time.sleep(120)
            elif path.startswith("/auth"):
                expected = b"Authorization: Basic " + base64.b64encode(b"user:secret")
                if expected in head:
                    w(b"HTTP/1.0 200 OK\r\n\r\nwelcome")
                else:
                    w(b"HTTP/1.0 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"kyhttp test realm\"\r\n\r\nno")
            elif path.startswith("/static/") or path.startswith("/slow/"):
                if path.startswith("/slow/"):
                    delay, _, rest = path[len("/slow/"):].partition("/")
                    time.sleep(min(int(delay) if delay.isdigit() else 0, 10000) / 1000.0)
                    path = "/static/" + rest
                found = static_file(path)
                if found:
                    w(b"HTTP/1.0 200 OK\r\nContent-Type: %s\r\nContent-Length: %d\r\n\r\n"
                      % (found[0].encode(), len(found[1])) + found[1])
                else:
                    w(b"HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\n\r\nno such page\n")
            elif path.startswith("/sv/"):
                serve_service(w, path)
            elif path.startswith("/envelope") or path.startswith("/okreply"):
                query = path.split("?", 1)[1].encode("latin-1") if "?" in path else b""
                if path.startswith("/envelope"):
                    body = b"<msg>\n3\n" + query + b"\n1\nvoir \nla suite\n</msg>\n"
                else:
                    body = b"OK\n" + query + b"\n"
                w(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body)
            else:
                w(b"HTTP/1.0 404 Not Found\r\n\r\n")
        except (BrokenPipeError, ConnectionResetError):
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global LOG
    LOG = os.path.join(os.path.dirname(os.path.abspath(sys.argv[1])), "requests.log")
    server = Server(("127.0.0.1", 0), Handler)
    with open(sys.argv[1] + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(sys.argv[1] + ".tmp", sys.argv[1])
    server.serve_forever()


if __name__ == "__main__":
    main()
