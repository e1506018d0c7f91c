#!/usr/bin/env bash
# The command-line tool's own options: --version, --help, --home, errors.
# Usage: core_cli.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
source "$(dirname "$0")/../support/cli_harness.sh"

# expect CODE -- ARGS...: runs the tool, keeps stdout/stderr, checks the exit code.
expect() {
    local code="$1"; shift 2
    "$cli" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "'$*' exited $got, expected $code"
}

expect 0 -- --version
grep -Eq '^mavelo-cli [0-9]+\.[0-9]+\.[0-9]+$' "$work/out" || fail "version line: $(cat "$work/out")"
empty err

expect 0 -- --help
contains out "Usage: mavelo-cli"
contains out "settings"
empty err

expect 2 --
contains err "no command"
empty out

expect 2 -- no-such-command
contains err "unknown command 'no-such-command'"
empty out

expect 2 -- --bogus
contains err "unknown option '--bogus'"

expect 2 -- --home
contains err "--home needs a folder"

# --home names the program folder: it is created, and mavelo.ini is read there.
home="$work/home/sub"
expect 0 -- --home "$home" settings
[ -d "$home" ] || fail "--home folder not created"
contains out "^Width=800$"
contains out "^CurrentLanguage=English$"

printf '[window]\r\nshowsplashscreen=2\r\nWidth=abc\r\nHeight=700\r\n[MRU]\r\nCount=2\r\nFile0=/a.mvo\r\nFile1=/b.mvo\r\n' >"$home/mavelo.ini"
expect 0 -- --home "$home" settings
contains out "^ShowSplashScreen=0$"
contains out "^Width=800$"
contains out "^Height=700$"
contains out "^File1=/b.mvo$"

# MAVELO_HOME serves when --home is not given; --home wins over it.
other="$work/other"
MAVELO_HOME="$other" "$cli" settings >"$work/out" 2>"$work/err" || fail "MAVELO_HOME run failed"
[ -d "$other" ] || fail "MAVELO_HOME folder not created"
MAVELO_HOME="$other" "$cli" --home "$home" settings >"$work/out" 2>&1
contains out "^Height=700$"

expect 2 -- --home "$home" settings extra
contains err "takes no arguments"

# Every command's errors name the bad option or value (exit 2), and "--" lets
# a file whose name starts with "-" through, in mavelo-cli's own commands and
# in those it hands to mavelo-cli-sound alike.
while IFS='|' read -r code text args; do
    eval "set -- $args"
    expect "$code" -- --home "$home" "$@"
    contains err "$text"
done <<'CASES'
2|unknown option '--bogus'|list a.mvo --bogus
2|--sort: unknown sort order XYZ|list a.mvo --sort XYZ
2|--limit: takes a count of 1 or more, not 0|export a.mvo --template t -o out --limit 0
2|--type: wpl not in|builder create-playlists /nowhere --type wpl
2|unknown option '--everything'|covers import a.mvo b.cdb --everything
2|--year: not a number: abc|tags --write --year abc a.mp3
2|unknown option '--bogus'|measure --bogus a.wav
2|--tag-type: v3 not in|freedb a.m3u --tag-type v3
2|unknown command 'bogus'|covers bogus a.mvo
1|-odd.mvo|list -- -odd.mvo
1|-odd.mp3: no such file|tags -- -odd.mp3
1|/dev/null: not a regular file|tags /dev/null
1|File not found -odd.wav|measure -- -odd.wav
CASES

# Each command writes its own help, the sound commands' included.
for command in list scan tags "covers import" measure freedb; do
    eval "set -- $command --help"
    expect 0 -- "$@"
    contains out "Usage: mavelo-cli $command"
done

finish core_cli
