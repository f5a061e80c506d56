#!/usr/bin/env python3
"""Remote search and document server of the engine's tests (python3 stdlib only).

It answers the HTTP client's two requests as a base's server does:
  GET /<mode>/<parts>[/<maxdoc>]?search&<n>&<escaped question>
  GET /<mode>/<parts>[/<maxdoc>]?docu&<n>[&text]
(the base's connection record gives server "127.0.0.1:<port>" and script
"<mode>/<parts>[/<maxdoc>]"). The search's <n> is not used. Replies are HTTP/1.0
without a length: the body ends with the connection.

Usage:
  remote_server.py start DIR   starts a server in the background and returns once it
                               listens; DIR/ports then holds "<port> <refused port>".
                               The server ends with the process that ran "start"
                               (ctest) even when "stop" never comes.
  remote_server.py stop DIR    stops the server started on DIR.
  remote_server.py serve DIR [OWNER_PID]   runs in the foreground.
  remote_server.py selftest    checks the replies against strict readers of their
                               format: normal ones read back, malformed ones fail.
Every request line is appended to DIR/requests.log. Nothing listens on the
refused port (a socket is bound there and never listens): connecting fails.

The generated base: documents 1..maxdoc (default 1000). Document d's text is
  "Document <d>" followed by " texte" (d % 5) times.
Its score is (d * 37) % 100 + 1. <parts> gives one letter per part number of the
table: "t" plain text, "z" LZSS-compressed (mode 3), "." no field; default "t".

Search: the question holds criteria "[i,c=value]" joined by " AND ", " OR ", " EX ",
evaluated left to right (brackets are ignored). The words of a value must all
match: "m<k>" matches the documents d with d % k == 0, "d<k>" document k, "all"
every document; any other word matches none. Reply, one "key:value" a line:
  COUNT:<hits>  MAXNODOC:<maxdoc>  HIGH:<word,word>   (HIGH only with words)
  DATA:<hits>   then per hit "<text>\\t<d>.<score>\\n"             (first part plain)
  DATACOMP:<hits> then per hit three little-endian 32-bit words (d, stored
                length, expanded length) and the stored bytes  (first part compressed)
No hit: COUNT:0 and MAXNODOC only.

Document d: "<field>-1#0" and a pending-text line, then for each part p that has
a field "<field>p#a" (plain) or "<field>p#a,b" (compressed: a stored bytes, b
expanded), each header line followed by its a bytes. A request number's top
byte (a part named in the number) is ignored: d is its low 24 bits.

Modes:
  normal             the replies above
  slow               reads the request and never answers (until the client leaves)
  close              reads the request and closes without a byte
  endless            a field that claims 2,000,000,000 bytes, then bytes until the
                     client leaves
  truncated          the normal reply cut inside its document block, or two bytes
                     into the first field's bytes
  oversized          document: one plain field of 2,000,000 bytes (too long for a
                     catalogue of widths 20/20/30); search: COUNT:70000 with
                     MAXNODOC:2147483647 and 1200-byte lines
  malformed-<seed>   the normal reply with one damage, chosen by the seed, that a
                     sound reader refuses: search: a key without value, more
                     documents announced than sent, a block cut short, a line
                     without tab, a document number negative or above MAXNODOC, a
                     stored length beyond the reply; document (its last field): a
                     length beyond the reply, a part number of 255 or more, a header
                     without numbers, a negative length, numbers beyond 31 bits,
                     bytes cut short
  noise-<seed>       the normal reply damaged at random (cuts, bit flips, random
                     bytes, odd numbers): a sound reader may refuse it or not
  status-<code>      an HTTP status line with that code and a small body
"""
import errno
import http.server
import os
import random
import select
import signal
import socket
import struct
import subprocess
import sys
import threading
import time
import urllib.parse

DEFAULT_MAXDOC = 1000


def doc_text(d):
    return ("Document %d" % d + " texte" * (d % 5)).encode("latin-1")


def doc_score(d):
    return (d * 37) % 100 + 1


def lzss_literals(data):
    """A mode-3 LZSS stream of literals only: bits most significant first,
    "1 bbbbbbbb" per byte, then "0 00000000000" (end of stream), zero-padded."""
    bits = []
    for b in data:
        bits.append(1)
        bits.extend((b >> i) & 1 for i in range(7, -1, -1))
    bits.extend([0] * 12)
    while len(bits) % 8:
        bits.append(0)
    out = bytearray()
    for i in range(0, len(bits), 8):
        v = 0
        for bit in bits[i:i + 8]:
            v = (v << 1) | bit
        out.append(v)
    return bytes(out)


def word_hits(word, maxdoc):
    if word == "all":
        return set(range(1, maxdoc + 1))
    if len(word) > 1 and word[0] in "md" and word[1:].isdigit():
        k = int(word[1:])
        if word[0] == "d":
            return {k} if 1 <= k <= maxdoc else set()
        return set(range(k, maxdoc + 1, k)) if k > 0 else set()
    return set()


def evaluate(question, maxdoc):
    """Criteria "[i,c=value]" joined by AND / OR / EX, left to right."""
    result, words, op, at = None, [], "AND", 0
    while True:
        open_at = question.find("[", at)
        if open_at < 0:
            break
        between = question[at:open_at].upper().split()
        for token in between:
            if token in ("AND", "OR", "EX"):
                op = token
        close_at = question.find("]", open_at)
        if close_at < 0:
            break
        item = question[open_at + 1:close_at]
        at = close_at + 1
        value = item.split("=", 1)[1] if "=" in item else ""
        hits = None
        for word in value.split():
            words.append(word)
            found = word_hits(word, maxdoc)
            hits = found if hits is None else hits & found
        if hits is None:
            continue
        if result is None:
            result = hits
        elif op == "OR":
            result = result | hits
        elif op == "EX":
            result = result - hits
        else:
            result = result & hits
        op = "AND"
    return sorted(result or ()), words


def search_reply(question, parts, maxdoc):
    hits, words = evaluate(question, maxdoc)
    head = b"COUNT:%d\nMAXNODOC:%d\n" % (len(hits), maxdoc)
    if words:
        head += b"HIGH:" + ",".join(words).encode("latin-1") + b"\n"
    if not hits:
        return head, b""
    kind = next((k for k in parts if k != "."), "t")
    if kind == "z":
        body = b""
        for d in hits:
            text = doc_text(d)
            stored = lzss_literals(text)
            body += struct.pack("<III", d, len(stored), len(text)) + stored
        return head + b"DATACOMP:%d\n" % len(hits), body
    body = b"".join(doc_text(d) + b"\t%d.%d\n" % (d, doc_score(d)) for d in hits)
    return head + b"DATA:%d\n" % len(hits), body


def document_reply(d, parts):
    head = b"<field>-1#0\npending %d\n" % d
    body = b""
    for number, kind in enumerate(parts):
        text = doc_text(d)
        if kind == "t":
            body += b"<field>%d#%d\n" % (number, len(text)) + text
        elif kind == "z":
            stored = lzss_literals(text)
            body += b"<field>%d#%d,%d\n" % (number, len(stored), len(text)) + stored
    return head + body


def refusable_search(reply, seed, maxdoc):
    """The search reply with one damage that a sound reader refuses."""
    rng = random.Random(seed)
    head, mark, block = reply.partition(b"DATA")
    if not mark:
        return reply.replace(b"MAXNODOC:%d" % maxdoc, b"MAXNODOC:", 1)
    key, _, items = block.partition(b"\n")
    head += mark + key + b"\n"
    text = not key.startswith(b"COMP")
    kind = rng.randrange(6)
    if kind == 0:  # a key without its value
        return reply.replace(b"MAXNODOC:%d" % maxdoc, b"MAXNODOC:", 1)
    if kind == 1:  # more documents announced than sent
        count = int(head.split(b"COUNT:", 1)[1].split(b"\n", 1)[0])
        return head.replace(b"COUNT:%d" % count, b"COUNT:%d" % (count + rng.randrange(1, 6)), 1) + items
    if kind == 2:  # cut inside the document block
        return head + items[:rng.randrange(len(items))]
    if text:
        lines = items.split(b"\n")[:-1]
        i = rng.randrange(len(lines))
        line, _, number = lines[i].rpartition(b"\t")
        d = number.split(b".")[0]
        lines[i] = [
            line + b" " + number,  # no tab
            line + b"\t-" + number,  # a negative document
            line + b"\t" + number.replace(d, b"%d" % (maxdoc + 1 + rng.randrange(1000)), 1),  # above MAXNODOC
        ][kind - 3]
        return head + b"".join(l + b"\n" for l in lines)
    # Compressed items: three words (document, stored, expanded) then the stored bytes.
    d, stored, expanded = struct.unpack("<III", items[:12])
    first = [
        (maxdoc + 1 + rng.randrange(1000), stored, expanded),  # above MAXNODOC
        (0xFFFFFFFF, stored, expanded),  # a negative document
        (d, len(items) + rng.randrange(1, 100), expanded),  # more stored bytes than the reply holds
    ][kind - 3]
    return head + struct.pack("<III", *first) + items[12:]


def refusable_document(reply, seed):
    """The document reply with one damage that a sound reader refuses."""
    rng = random.Random(seed)
    at = reply.rfind(b"<field>")
    if at < 0 or reply[at:].startswith(b"<field>-"):
        return reply + b"<field>x#1\nx"
    header, _, data = reply[at:].partition(b"\n")
    number, _, lengths = header[7:].partition(b"#")
    a = int(lengths.split(b",")[0])
    rest = lengths[len(b"%d" % a):]
    kind = rng.randrange(6)
    if kind == 0:  # more bytes announced than sent
        header = b"<field>%s#%d%s" % (number, a + rng.randrange(1, 100), rest)
    elif kind == 1:  # a part no table has
        header = b"<field>%d#%s" % (rng.randrange(255, 100000), lengths)
    elif kind == 2:  # no number
        header = rng.choice([b"<field>x#" + lengths, b"<field>%s#x%s" % (number, rest), b"<field>%s%s" % (number, lengths)])
    elif kind == 3:  # a negative length
        header = b"<field>%s#-%s" % (number, lengths)
    elif kind == 4:  # numbers beyond 31 bits
        header = rng.choice([b"<field>4294967296#" + lengths, b"<field>%s#99999999999%s" % (number, rest)])
    else:  # cut inside the field's bytes
        data = data[:rng.randrange(len(data))]
    return reply[:at] + header + b"\n" + data


def noise(reply, seed, search):
    """The reply damaged at random: a sound reader may refuse it or not."""
    rng = random.Random(seed)
    kinds = [
        lambda r: r[:rng.randrange(len(r) + 1)],
        lambda r: bytes(b ^ (1 << rng.randrange(8)) if rng.random() < 0.05 else b for b in r),
        lambda r: r + bytes(rng.randrange(256) for _ in range(rng.randrange(1, 64))),
        lambda r: bytes(rng.randrange(256) for _ in range(rng.randrange(0, 300))),
    ]
    if search:
        kinds += [
            lambda r: r.replace(b"COUNT:", b"COUNT:%d" % rng.choice([-5, 0, 99999999, 2 ** 31]), 1),
            lambda r: r.replace(b"MAXNODOC:", b"MAXNODOC:%d" % rng.choice([-1, 0, 3, 2 ** 31 - 1]), 1),
            lambda r: r.replace(b"DATA:", b"DATACOMP:", 1),
            lambda r: r.replace(b"DATACOMP:", b"DATA:", 1),
            lambda r: r + b"\n" * rng.randrange(1, 5),
            lambda r: r.replace(b"\n", b"\n" + b"x" * rng.randrange(990, 1100), 1),
        ]
    else:
        kinds += [
            lambda r: r.replace(b",", b",-", 1),
            lambda r: r.replace(b"#", b"#" + b"9" * rng.randrange(1, 1200), 1),
            lambda r: r.replace(b"<field>", b"<field>" + b" " * rng.randrange(990, 1100), 1),
            lambda r: r.replace(b"<field>0#", b"<field>0#1e3", 1),
        ]
    for _ in range(rng.randrange(1, 3)):
        reply = rng.choice(kinds)(reply)
    return reply


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        with self.server.log_lock:
            with open(os.path.join(self.server.dir, "requests.log"), "a", encoding="latin-1") as log:
                log.write(self.requestline + "\n")
        path, _, query = self.path.partition("?")
        if "://" in path:
            path = "/" + path.split("://", 1)[1].partition("/")[2]
        segments = [s for s in path.split("/") if s]
        mode = segments[0] if segments else "normal"
        parts = segments[1] if len(segments) > 1 else "t"
        maxdoc = int(segments[2]) if len(segments) > 2 and segments[2].isdigit() else DEFAULT_MAXDOC
        args = query.split("&")
        kind = args[0]
        number = int(args[1]) & 0xFFFFFF if len(args) > 1 and args[1].isdigit() else 0
        search = kind == "search"
        if search:
            question = urllib.parse.unquote("&".join(args[2:]), encoding="latin-1")
            head, data = search_reply(question, parts, maxdoc)
            reply = head + data
        else:
            reply = document_reply(number, parts)
        try:
            self.answer(mode, search, reply, maxdoc)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def send_raw(self, body, status="200 OK", content="text/plain"):
        self.wfile.write(b"HTTP/1.0 " + status.encode() + b"\r\nContent-Type: " + content.encode() + b"\r\n\r\n" + body)
        self.wfile.flush()

    def answer(self, mode, search, reply, maxdoc):
        content = "application/x-kysearch" if search else "application/x-kydocument"
        if mode == "slow":
            # Waits for the client to give up: its closing makes the socket readable.
            select.select([self.connection], [], [], 120)
        elif mode == "close":
            return
        elif mode == "endless":
            self.wfile.write(b"HTTP/1.0 200 OK\r\n\r\n<field>0#2000000000\n")
            while True:
                self.wfile.write(b"x" * 65536)
        elif mode == "truncated":
            # Inside the document block, or inside the first field's bytes.
            mark = max(reply.find(b"DATA") if search else reply.find(b"<field>0"), 0)
            data = reply.find(b"\n", mark) + 1
            self.send_raw(reply[:data + max((len(reply) - data) // 2 if search else 2, 1)], content=content)
        elif mode == "oversized":
            if search:
                line = b"o" * 1200 + b"\t%d.50\n"
                body = b"COUNT:70000\nMAXNODOC:2147483647\nDATA:70000\n" + b"".join(line % (d + 1) for d in range(300))
            else:
                body = b"<field>0#2000000\n" + b"x" * 2000000
            self.send_raw(body, content=content)
        elif mode.startswith("malformed") or mode.startswith("noise"):
            seed = int(mode.split("-", 1)[1]) if "-" in mode and mode.split("-", 1)[1].isdigit() else 0
            if mode.startswith("noise"):
                reply = noise(reply, seed, search)
            elif search:
                reply = refusable_search(reply, seed, maxdoc)
            else:
                reply = refusable_document(reply, seed)
            self.send_raw(reply, content=content)
        elif mode.startswith("status-"):
            self.send_raw(b"status body\n", status=mode.split("-", 1)[1] + " Test")
        else:
            self.send_raw(reply, content=content)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def ours(pid, directory):
    """True when pid runs this script serving directory: a stale pid file never names a stranger."""
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            words = f.read().split(b"\0")
    except OSError:
        return False
    return any(w.endswith(b"remote_server.py") for w in words) and os.fsencode(directory) in words


def serve(directory, owner):
    os.makedirs(directory, exist_ok=True)
    server = Server(("127.0.0.1", 0), Handler)
    server.dir = directory
    server.log_lock = threading.Lock()
    refused = socket.socket()
    refused.bind(("127.0.0.1", 0))
    if owner:
        def watch():
            while alive(owner):
                time.sleep(1)
            os._exit(0)
        threading.Thread(target=watch, daemon=True).start()
    ports = os.path.join(directory, "ports")
    with open(ports + ".tmp", "w") as f:
        f.write("%d %d\n" % (server.server_address[1], refused.getsockname()[1]))
    os.replace(ports + ".tmp", ports)
    server.serve_forever()


def stop(directory):
    pid_file = os.path.join(directory, "server.pid")
    try:
        with open(pid_file) as f:
            pid = int(f.read().strip() or 0)
    except (OSError, ValueError):
        pid = 0
    if pid and ours(pid, directory):
        try:
            os.kill(pid, signal.SIGTERM)
        except OSError as e:
            if e.errno != errno.ESRCH:
                raise
    for name in ("server.pid", "ports"):
        try:
            os.remove(os.path.join(directory, name))
        except FileNotFoundError:
            pass


def start(directory):
    stop(directory)
    os.makedirs(directory, exist_ok=True)
    for name in ("requests.log",):
        try:
            os.remove(os.path.join(directory, name))
        except FileNotFoundError:
            pass
    with open(os.path.join(directory, "server.log"), "w") as log:
        child = subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", directory, str(os.getppid())],
                                 stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    with open(os.path.join(directory, "server.pid"), "w") as f:
        f.write("%d\n" % child.pid)
    ports = os.path.join(directory, "ports")
    for _ in range(100):
        if os.path.exists(ports):
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.1)
    sys.stderr.write("remote_server: the server did not start\n")
    stop(directory)
    return 1


def read_search(reply, compressed):
    """A strict reader of a search reply: (count, maxdoc, documents, words), or a
    ValueError naming what a sound reader refuses."""
    count, maxdoc, docs, words, at = 0, None, [], [], 0
    while at < len(reply):
        end = reply.find(b"\n", at)
        end = len(reply) if end < 0 else end + 1
        line, at = reply[at:end].strip(b" \t\r\n"), end
        if b":" not in line:
            continue
        key, value = line.split(b":", 1)
        if not value.strip():
            raise ValueError("a key without value")
        if key == b"COUNT":
            count = int(value)
        elif key == b"MAXNODOC":
            maxdoc = int(value)
        elif key == b"HIGH":
            words = value.decode("latin-1").split(",")
        elif key in (b"DATA", b"DATACOMP"):
            for _ in range(count):
                if compressed:
                    if len(reply) - at < 12:
                        raise ValueError("an item cut short")
                    d, stored, _ = struct.unpack("<iII", reply[at:at + 12])
                    if stored > len(reply) - at - 12:
                        raise ValueError("stored bytes beyond the reply")
                    at += 12 + stored
                else:
                    end = reply.find(b"\n", at)
                    if end < 0:
                        raise ValueError("a line cut short")
                    item, at = reply[at:end], end + 1
                    if b"\t" not in item:
                        raise ValueError("a line without tab")
                    number = item.rsplit(b"\t", 1)[1].split(b".")[0]
                    if not number.isdigit():
                        raise ValueError("no document number")
                    d = int(number)
                if maxdoc is None or d < 0 or d > maxdoc or (docs and d < docs[0]):
                    raise ValueError("a document outside the base")
                docs.append(d)
    return count, maxdoc, docs, words


def read_document(reply, parts):
    """A strict reader of a document reply: {part: bytes}, or a ValueError."""
    fields, at = {}, 0
    while at < len(reply):
        end = reply.find(b"\n", at)
        end = len(reply) if end < 0 else end + 1
        line, at = reply[at:end].strip(b" \t\r\n"), end
        mark = line.find(b"<field>")
        if mark < 0:
            continue
        header = line[mark + 7:].decode("latin-1")
        number, sep, lengths = header.partition("#")
        a, _, b = lengths.partition(",")
        numbers = [number.lstrip("-"), a] + ([b] if b else [])
        if not sep or not all(n.isdigit() and int(n) < 2 ** 31 for n in numbers):
            raise ValueError("a bad field header")
        if int(number) < 0 and number.startswith("-"):
            at = reply.find(b"\n", at) + 1 or len(reply)
            continue
        if int(number) >= parts:
            raise ValueError("an unknown part")
        if int(a) > len(reply) - at:
            raise ValueError("a field longer than the reply")
        fields.setdefault(int(number), reply[at:at + int(a)])
        at += int(a)
    return fields


def selftest():
    """The replies against the strict readers: normal ones read back, malformed ones are refused."""
    failures = []
    for kinds in ("t", "z"):
        for question in ("[0,1=m7]", "[0,1=zz]", "[0,1=m3] OR [1,2=d1] EX [2,1=m9]"):
            head, data = search_reply(question, kinds, 30)
            expected, _ = evaluate(question, 30)
            if read_search(head + data, kinds == "z")[2] != expected:
                failures.append("normal search %s %s" % (kinds, question))
            for seed in range(300):
                try:
                    read_search(refusable_search(head + data, seed, 30), kinds == "z")
                    failures.append("malformed search %s %s seed %d" % (kinds, question, seed))
                except ValueError:
                    pass
    for kinds in ("t", "tz", ".z"):
        reply = document_reply(7, kinds)
        fields = read_document(reply, 2)
        if fields.get(0, b"") != (doc_text(7) if kinds[0] == "t" else b""):
            failures.append("normal document " + kinds)
        for seed in range(300):
            try:
                read_document(refusable_document(reply, seed), 255)
                failures.append("malformed document %s seed %d" % (kinds, seed))
            except ValueError:
                pass
    for failure in failures[:20]:
        sys.stderr.write(failure + "\n")
    return 1 if failures else 0


def main():
    if len(sys.argv) == 2 and sys.argv[1] == "selftest":
        return selftest()
    if len(sys.argv) < 3 or sys.argv[1] not in ("start", "stop", "serve"):
        sys.stderr.write(__doc__)
        return 2
    directory = os.path.abspath(sys.argv[2])
    if sys.argv[1] == "start":
        return start(directory)
    if sys.argv[1] == "stop":
        stop(directory)
        return 0
    serve(directory, int(sys.argv[3]) if len(sys.argv) > 3 else 0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
