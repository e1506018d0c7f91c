#!/usr/bin/env bash
# mavelo-cli discid and freedb on a small album, against a CDDB server this
# script runs on 127.0.0.1 (python3).  Usage: freedb_cli.sh MAVELO-CLI TEST-DATA
set -uo pipefail
cli="$1"
data="$2"
source "$(dirname "$0")/../support/cli_harness.sh"
export MAVELO_HOME="$work/home"
mkdir -p "$MAVELO_HOME" "$work/album"

if ! command -v python3 >/dev/null; then echo "SKIP: python3 is needed for the CDDB server"; exit 0; fi

cp "$data/player/tone.mp3" "$work/album/a.mp3"
cp "$data/player/tone.mp3" "$work/album/b.mp3"
printf 'a.mp3\nb.mp3\n' >"$work/album/list.m3u"

# discid: the id and the query command of the measured tracks.
"$cli" discid "$work/album/list.m3u" >"$work/out" 2>"$work/err" || fail "discid exit code"
id="$(head -n 1 "$work/out")"
[[ "$id" =~ ^[0-9a-f]{8}$ ]] || fail "discid id: $id"
contains out "^cddb+query+$id+2+0+[1-9][0-9]*+[0-9]*$"
"$cli" discid "$work/missing.m3u" >"$work/out" 2>"$work/err" && fail "discid of a missing playlist"
contains err "cannot read the playlist"

# The CDDB server: the query answers two matches, reads come from the golden replies.
cat >"$work/server.py" <<'PY'
import http.server, sys, urllib.parse
data = sys.argv[1]
class H(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        q = urllib.parse.urlparse(self.path).query
        cmd = urllib.parse.parse_qs(q).get("cmd", [""])[0]
        with open(sys.argv[2] + "/requests", "a") as log: log.write(self.path + "\n")
        try: mode = open(sys.argv[2] + "/mode").read().strip()
        except OSError: mode = ""
        if mode == "evil" and cmd.startswith("cddb query"):
            body = b"211 list follows\r\nro&cmd=x#ck 14026c03 Evil / Category\r\n.\r\n"
            self.send_response(200); self.send_header("Content-Length", str(len(body))); self.end_headers()
            self.wfile.write(body); return
        if mode == "cut" and cmd.startswith("cddb read"):
            # no Content-Length: the reply ends where the connection closes
            self.send_response(200); self.send_header("Connection", "close"); self.end_headers()
            self.wfile.write(b"210 rock 14026c03 entry follows\r\nDTITLE=Cut Artist /")
            self.close_connection = True; return
        if mode == "huge" and cmd.startswith("cddb read"):
            self.send_response(200); self.send_header("Connection", "close"); self.end_headers()
            self.wfile.write(b"210 rock 14026c03 entry follows\r\n")
            try:
                for _ in range(100000): self.wfile.write(b"EXTD=" + b"x" * 100 + b"\r\n")
            except OSError: pass
            self.close_connection = True; return
        if cmd.startswith("cddb query"): name = "query_211_inexact.txt"
        elif cmd == "cddb read rock 14026c03": name = "read_basic.txt"
        else: name = "read_401_missing.txt"
        body = open(data + "/cddb/" + name, "rb").read()
        self.send_response(200); self.send_header("Content-Length", str(len(body))); self.end_headers()
        self.wfile.write(body)
    def log_message(self, *a): pass
s = http.server.HTTPServer(("127.0.0.1", 0), H)
open(sys.argv[2] + "/port", "w").write(str(s.server_port))
s.serve_forever()
PY
python3 "$work/server.py" "$data" "$work" &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$work/port")/~cddb/cddb.cgi"

# The lookup: matches and the first match's record.
"$cli" freedb "$work/album/list.m3u" --server "$url" >"$work/out" 2>"$work/err" || fail "freedb exit code"
contains out '"comment":"2 albums were found on FreeDB"'
contains out '"category":"blues","discid":"14026c04"'
contains out '"artist":"Artist One"'
contains out '"title":"Closing Time"'
contains requests "cmd=cddb+query+$id+2+"
contains requests "proto=6"
contains requests "+Mavelo+v1%2E00%2E01"

# A chosen record that the server does not have.
"$cli" freedb "$work/album/list.m3u" --server "$url" --read blues 14026c04 >"$work/out" 2>"$work/err" \
  && fail "freedb --read of a missing entry"
contains err "401 rock 14026c03 No such CD entry"

# No server listening: reported, not a crash.
"$cli" freedb "$work/album/list.m3u" --server "http://127.0.0.1:9/x" >"$work/out" 2>"$work/err" \
  && fail "freedb without a server"
contains out "Could not connect to FreeDB"

"$cli" freedb "$work/album/list.m3u" --tag-type v3 >"$work/out" 2>"$work/err"; [ $? -eq 2 ] || fail "bad --tag-type"

# A category from the server goes into the read request encoded: it cannot
# add fields to the request.
echo evil >"$work/mode"
"$cli" freedb "$work/album/list.m3u" --server "$url" >"$work/out" 2>"$work/err"
contains requests "cmd=cddb+read+ro%26cmd%3Dx%23ck+14026c03&hello="

# A reply cut short, or one too large, is a failure: nothing is written or renamed.
before="$(ls "$work/album"; cat "$work/album/list.m3u")"
for mode in cut huge; do
    echo $mode >"$work/mode"
    "$cli" freedb "$work/album/list.m3u" --server "$url" --apply --rename-files --rename-playlist \
        >"$work/out" 2>"$work/err" && fail "freedb --apply with a $mode reply: exit 0"
    contains out '"success":0'
    contains out "No album information found"
    [ "$(ls "$work/album"; cat "$work/album/list.m3u")" = "$before" ] || fail "$mode reply changed the album"
    "$cli" freedb "$work/album/list.m3u" --server "$url" >"$work/out" 2>"$work/err" \
        && fail "freedb with a $mode reply: exit 0"
done
contains err "The answer is larger than 4 MB"
echo cut >"$work/mode"
"$cli" freedb "$work/album/list.m3u" --server "$url" >"$work/out" 2>"$work/err"
contains err "cut short"
"$cli" tags "$work/album/a.mp3" >"$work/out"
grep -q "Cut Artist" "$work/out" && fail "a cut reply reached the tags"
rm -f "$work/mode"

# --apply: the first complete match is written and the files renamed.
"$cli" freedb "$work/album/list.m3u" --server "$url" --apply --tag-type both --rename-files \
  --rename-playlist >"$work/out" 2>"$work/err" || fail "freedb --apply: $(cat "$work/err")"
contains out '"success":1'
[ -f "$work/album/01 - Opening.mp3" ] || fail "track 1 not renamed: $(ls "$work/album")"
[ -f "$work/album/02 - Closing Time.mp3" ] || fail "track 2 not renamed"
[ -f "$work/album/Artist One - First Album (1999).m3u" ] || fail "playlist not renamed"
[ ! -e "$work/album/list.m3u" ] || fail "old playlist left"
grep -q "01 - Opening.mp3" "$work/album/Artist One - First Album (1999).m3u" || fail "playlist not rewritten"
"$cli" tags "$work/album/01 - Opening.mp3" >"$work/out"
contains out '"title":"Opening"'
contains out '"genre":"rock"'

finish freedb_cli
