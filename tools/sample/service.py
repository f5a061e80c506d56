#!/usr/bin/env python3
"""The local stand-in for the publisher's online service (tools/run.sh starts it).

service.py SAMPLE_WORK [PORT] serves on 127.0.0.1 (port 8642, the one the
sample's SVSITE and SERVERNAME name) until it is stopped:

  /accueil.html, /accueil2.html      the service's start page
  /redirect.php?id=hom_compl(_full)  the online complements' home (in its pane, or whole)
  /redirect.php?id=liens_compl&ref=SV<n>
                                     the web documents of article n
  /redirect.php?id=assistance        the assistance page (the connection check)
  /redirect.php?id=recherche&text=.. the extended search of an article's "@" link:
                                     the articles whose title holds every word
  /redirect.php?id=<other>           a page naming what was asked
  /sv/account/login|passwd|forgot     the account requests: "OK" (a login adds
                                     its two cookies) or "REFUS"
  /sv/recherche?action=..&text=..    the online search: the articles whose
                                     title holds every word, in the ".net"
                                     form (app/results/ANetResultFile.h)
  /sv/controle?url=..                the control script: the address to load

The articles' titles come from SAMPLE_WORK/articles.dat (Windows-1252);
pages are sent in Windows-1252 too, as the reader's own pages are.
"""
import html
import http.server
import sys
import unicodedata
import urllib.parse

PORT = 8642
ENCODING = "cp1252"
ACCOUNTS = {"invite": "invite"}  # the sample's default login


def read_titles(work):
    """The articles' (title, source package) by number, [] when there is no corpus."""
    titles = []
    try:
        with open(work + "/articles.dat", "rb") as f:
            data = f.read()
    except OSError:
        return titles
    at = 0
    while at < len(data):
        nl = data.find(b"\n", at)
        if nl < 0:
            break
        fields = data[at:nl].split(b"\t")
        if len(fields) != 4:
            break
        lt, le, lm = (int(x) for x in fields[1:])
        ext = data[nl + 1 + lt:nl + 1 + lt + le].decode(ENCODING, "replace")
        titles.append((data[nl + 1:nl + 1 + lt].decode(ENCODING, "replace"), ext.split("/", 1)[0]))
        at = nl + 1 + lt + le + lm
    return titles


def plain(text):
    """Lower case without accents: the words a search compares."""
    return "".join(c for c in unicodedata.normalize("NFD", text.lower()) if not unicodedata.combining(c))


# The online results' categories: by the article's source package.
CATEGORIES = [("gimp-help-fr", "Aide de GIMP"), ("libreoffice-help-fr", "Aide de LibreOffice"),
              ("manpages-fr", "Pages de manuel")]


def search(titles, text, limit=50):
    """The (number, title, category) of the articles whose title holds every word of text."""
    words = plain(text).split()
    if not words:
        return []
    found = []
    for n, (title, source) in enumerate(titles):
        t = plain(title)
        if all(w in t for w in words):
            category = next((k + 1 for k, (name, _) in enumerate(CATEGORIES) if name == source), len(CATEGORIES) + 1)
            found.append((n, title, category))
            if len(found) >= limit:
                break
    return found


def net_answer(found, site):
    """The online search's answer as the reader saves it (".net"): the
    category line ("id:label:count" entries apart by TAB), then a row a result,
    "category TAB title TAB address TAB summary"."""
    labels = CATEGORIES + [("", "Autres documents")]
    counts = [sum(1 for _n, _t, c in found if c == k + 1) for k in range(len(labels))]
    head = "\t".join("%d:%s:%d" % (k + 1, label, counts[k]) for k, (_name, label) in enumerate(labels))
    clean = lambda text: " ".join(text.replace("\t", " ").split())
    rows = "".join("%d\t%s\t%s/redirect.php?id=article&ref=SV%d\tArticle %d de l'encyclop\u00e9die en ligne.\n"
                   % (c, clean(t), site, n, n) for n, t, c in found)
    return head + "\n" + rows


def page(title, body):
    return ("<html><head><title>%s</title></head>\r\n"
            "<body style=\"font-family:sans-serif;background:#eef3f8\">\r\n"
            "<h2 style=\"color:#1d3f66\">%s</h2>\r\n%s\r\n</body></html>\r\n") % (
                html.escape(title), html.escape(title), body)


def account(operation, query):
    """The account request's answer lines."""
    login = query.get("login", "")
    password = query.get("password", "")
    if operation == "login":
        if ACCOUNTS.get(login) == password or (login and login not in ACCOUNTS and password):
            return "OK\nc1-%s\nc2-%s\n" % (login, len(password))
        return "REFUS\n"
    if operation == "passwd":
        if ACCOUNTS.get(login, password) == password and query.get("new"):
            ACCOUNTS[login] = query["new"]
            return "OK\n"
        return "REFUS\n"
    if operation == "forgot":
        return "OK\n" if login else "REFUS\n"
    return "REFUS\n"


class Service(http.server.BaseHTTPRequestHandler):
    titles = []

    def log_message(self, fmt, *args):  # the reader's own log says what it asked
        pass

    def send(self, text, kind="text/html"):
        body = text.encode(ENCODING, "replace")
        self.send_response(200)
        self.send_header("Content-Type", "%s; charset=windows-1252" % kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query, encoding=ENCODING))
        path = url.path
        if path in ("/accueil.html", "/accueil2.html", "/"):
            return self.send(self.home())
        if path == "/redirect.php":
            return self.send(self.redirect(query))
        if path.startswith("/sv/account/"):
            return self.send(account(path.rsplit("/", 1)[1], query), "text/plain")
        if path == "/sv/recherche":
            return self.send(self.results(query), "text/plain")
        if path == "/sv/controle":
            return self.send(query.get("url", "") + "\n", "text/plain")
        self.send_error(404)

    def home(self):
        links = "".join('<li><a href="/redirect.php?id=%s">%s</a></li>\r\n' % (pid, html.escape(label))
                        for pid, label in (("hom_compl", "Les compléments en ligne"),
                                           ("actualite", "L'actualité du mois"),
                                           ("assistance", "Assistance")))
        return page("Savantorium en ligne", "<p>Bienvenue sur le service en ligne de l'encyclopédie.</p>\r\n"
                    "<ul>\r\n%s</ul>" % links)

    def redirect(self, query):
        pid = query.get("id", "")
        if pid in ("hom_compl", "hom_compl_full"):
            items = "".join('<li><a href="/redirect.php?id=liens_compl&amp;ref=SV%d">%s</a></li>\r\n'
                            % (n, html.escape(t)) for n, (t, _source) in enumerate(self.titles[:20]))
            return page("Compléments en ligne", "<p>Les articles mis à jour ce mois-ci et leurs "
                        "liens vers le Web :</p>\r\n<ul>\r\n%s</ul>" % items)
        if pid == "liens_compl":
            ref = query.get("ref", "")
            n = int(ref[2:]) if ref.startswith("SV") and ref[2:].isdigit() else -1
            title = self.titles[n][0] if 0 <= n < len(self.titles) else ref
            return page("Sites Internet : " + title,
                        "<ul>\r\n<li><a href=\"/redirect.php?id=site&amp;ref=%s\">Documentation de r\u00e9f\u00e9rence"
                        "</a></li>\r\n<li><a href=\"/redirect.php?id=forum&amp;ref=%s\">Forum des lecteurs</a>"
                        "</li>\r\n</ul>" % (html.escape(ref), html.escape(ref)))
        if pid == "recherche":
            text = query.get("text", "")
            found = search(self.titles, text, 20)
            items = "".join('<li><a href="/redirect.php?id=liens_compl&amp;ref=SV%d">%s</a></li>\r\n'
                            % (n, html.escape(t)) for n, t, _c in found)
            return page("Recherche en ligne : " + text,
                        "<p>%d article(s) du service en ligne :</p>\r\n<ol>\r\n%s</ol>" % (len(found), items)
                        if found else "<p>Le service en ligne ne conna\u00eet aucun article de ce titre.</p>")
        if pid == "assistance":
            return page("Assistance", "<p>Le service en ligne r\u00e9pond.</p>")
        return page("Service en ligne", "<p>Page demand\u00e9e : %s</p>" % html.escape(pid))

    def results(self, query):
        text = query.get("text", "") or query.get("label", "")
        return net_answer(search(self.titles, text), "http://%s:%d" % self.server.server_address[:2])


def main():
    Service.titles = read_titles(sys.argv[1] if len(sys.argv) > 1 else ".")
    port = int(sys.argv[2]) if len(sys.argv) > 2 else PORT
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Service)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
